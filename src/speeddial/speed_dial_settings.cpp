#include "speeddial/speed_dial_settings.h"

#include "settings/context.h"
#include "text/scan.h"

namespace setutily {

namespace {

// A page's "N: number" lines; a line missing gives an empty entry.
void ReadNumbers(std::string_view page, const Settings<SpeedDialEntry>&,
                 std::span<SpeedDialEntry> entries, int firstNumber) {
  for (std::size_t k = 0; k < entries.size(); ++k) {
    entries[k].number = ReadListEntry(page, firstNumber + static_cast<int>(k));
  }
}

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
      .title = "短縮番号",
      .settings = &kEntrySettings,
      .entries = Entries,
      .shows = {"show shortnum num1\r", "show shortnum num2\r"},
      .readPage = ReadNumbers};
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
  if (ReadList(context, SpeedDialEntryList(), read) == 0) return 0;
  list.baseline = read;
  list.AdoptBaseline();
  return 1;
}

int WriteSpeedDial(DeviceContext& context, SpeedDialCopies& list, WriteFailure* failure) {
  return WriteGroup(context, list, SpeedDialEntryList(), 0, failure);
}

}  // namespace setutily
