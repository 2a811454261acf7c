#include "speeddial/speed_dial_settings.h"

#include "settings/context.h"
#include "text/scan.h"

namespace setutily {

namespace {

// The two pages of the list: the command that shows each, and its first
// device number.
struct SpeedDialPage {
  const char* command;
  int firstNumber;
};
constexpr SpeedDialPage kPages[] = {
    {"show shortnum num1\r", 1},
    {"show shortnum num2\r", 1 + kSpeedDialPageSize},
};

// "{}" is the entry's device number; the number is its list line's text.
const Settings<SpeedDialEntry> kEntrySettings = {
    Text(&SpeedDialEntry::number).Phone().Bytes(53)
        .Message(u"電話番号%1の入力に間違いがあります。")
        .Sends("shortnum add {} %s\r"),
};

std::array<SpeedDialEntry, kSpeedDialCount>& Entries(SpeedDialList& list) { return list.entries; }

}  // namespace

const ListOf<SpeedDialList, SpeedDialEntry, kSpeedDialCount>& SpeedDialEntryList() {
  static const ListOf<SpeedDialList, SpeedDialEntry, kSpeedDialCount> list{
      .title = "短縮番号", .settings = &kEntrySettings, .entries = Entries};
  return list;
}

ConfigCategory SpeedDialConfig() {
  return ConfigCategory{"短縮番号設定",
                        [](DeviceContext& context) {
                          return ReadSpeedDial(context, context.records.Of<SpeedDialList>());
                        },
                        {}}
      .Add(ConfigGroupOf(SpeedDialEntryList()));
}

int ReadSpeedDial(DeviceContext& context, SpeedDialCopies& list) {
  SpeedDialList read;
  for (const SpeedDialPage& page : kPages) {
    if (FetchReply(context, page.command) == 0) return 0;
    for (int n = page.firstNumber; n < page.firstNumber + kSpeedDialPageSize; ++n) {
      read.entries[static_cast<std::size_t>(n - 1)].number = ReadListEntry(context.replyText, n);
    }
  }
  list.baseline = read;
  list.AdoptBaseline();
  return 1;
}

int WriteSpeedDial(DeviceContext& context, SpeedDialCopies& list, WriteFailure* failure) {
  return WriteGroup(context, list, SpeedDialEntryList(), 0, failure);
}

}  // namespace setutily
