#include "incoming/incoming_settings.h"

#include <optional>
#include <string_view>

#include "settings/context.h"
#include "settings/read_table.h"
#include "settings/shared_settings.h"
#include "text/scan.h"

namespace setutily {

namespace {

using S = IncomingControlSettings;
using E = IncomingEntry;

const Settings<S> kStandardSettings = {
    Choice(&S::ring_select_service, "ring select service:",
           {"arrive ring_select ntt\r", "arrive ring_select pseudo\r"}),
    Choice(&S::trouble_tel_service, "trouble tel service:",
           {"arrive trouble_tel ntt\r", "arrive trouble_tel pseudo\r"}),
    TelRank(&S::default_tel1_rank, "default tel1 rank:", "arrive ranking default tel1"),
    TelRank(&S::default_tel2_rank, "default tel2 rank:", "arrive ranking default tel2"),
    TelRank(&S::default_tel3_rank, "default tel3 rank:", "arrive ranking default tel3"),
    DataRank(&S::default_data_rank, "default data rank:", "arrive ranking default data"),
    DataRank(&S::default_usb_rank, "default usb rank:", "arrive ranking default usb"),
    DataRank(&S::default_pna_rank, "default pna rank:", "arrive ranking default pna"),
    RingPattern(&S::default_ring, "default ring:", "arrive ring_select default"),
    TelRank(&S::noid_tel1_rank, "noid tel1 rank:", "arrive ranking noid tel1"),
    TelRank(&S::noid_tel2_rank, "noid tel2 rank:", "arrive ranking noid tel2"),
    TelRank(&S::noid_tel3_rank, "noid tel3 rank:", "arrive ranking noid tel3"),
    DataRank(&S::noid_data_rank, "noid data rank:", "arrive ranking noid data"),
    DataRank(&S::noid_usb_rank, "noid usb rank:", "arrive ranking noid usb"),
    DataRank(&S::noid_pna_rank, "noid pna rank:", "arrive ranking noid pna"),
    RingPattern(&S::noid_ring, "noid ring:", "arrive ring_select noid"),
    RingPattern(&S::ntt_ring, "ntt ring:", "arrive ring_select"),
};

// "{}" is the entry number, 1-20. The number is its list line's text; the
// ranks are searched in the lines of its entry only.
const Settings<E> kEntrySettings = {
    Text(&E::number).Phone().Bytes(53)
        .Message(u"電話番号%1の入力に間違いがあります。")
        .Sends("arrive address {} %s\r"),
    TelRank(&E::tel1_rank, "tel1 rank:", "arrive ranking {} tel1"),
    TelRank(&E::tel2_rank, "tel2 rank:", "arrive ranking {} tel2"),
    TelRank(&E::tel3_rank, "tel3 rank:", "arrive ranking {} tel3"),
    DataRank(&E::data_rank, "data rank:", "arrive ranking {} data"),
    DataRank(&E::usb_rank, "usb rank:", "arrive ranking {} usb"),
    DataRank(&E::pna_rank, "pna rank:", "arrive ranking {} pna"),
    RingPattern(&E::ring, "ring:", "arrive ring_select {}"),
};

// Each entry's values from its page: the number from its "N: " line
// (surrounding blanks removed), the ranks from that entry's own lines. An
// entry missing from the page reads as an empty number and missing labels.
void ReadEntries(std::string_view page, const Settings<E>& settings, std::span<E> entries,
                 int firstNumber) {
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const int number = firstNumber + static_cast<int>(k);
    const std::optional<std::string_view> line = FindListLine(page, number);
    entries[k].number =
        line ? std::string(TrimSpace(line->substr(0, kMaxValueLength))) : std::string();
    ReadFields(ListBlock(page, number), settings, entries[k]);
  }
}

}  // namespace

namespace {

IncomingControlSettings& Standard(IncomingControlSettings& settings, int) { return settings; }
std::array<IncomingEntry, kIncomingEntryCount>& Entries(IncomingControlSettings& settings) {
  return settings.entries;
}

}  // namespace

const GroupOf<IncomingControlSettings, IncomingControlSettings>& IncomingStandardGroup() {
  static const GroupOf<IncomingControlSettings, IncomingControlSettings> group{
      .title = "標準",
      .settings = &kStandardSettings,
      .project = Standard,
      .show = "show arrive basic\r"};
  return group;
}

const ListOf<IncomingControlSettings, IncomingEntry, kIncomingEntryCount>& IncomingEntryList() {
  static const ListOf<IncomingControlSettings, IncomingEntry, kIncomingEntryCount> list{
      .title = "電話番号別",
      .settings = &kEntrySettings,
      .entries = Entries,
      .perInstance = kIncomingPageSize,
      .shows = {"show arrive num1\r", "show arrive num2\r"},
      .readPage = ReadEntries,
  };
  return list;
}

ConfigCategory IncomingControlConfig() {
  return ConfigCategory{"着信制御設定",
                        [](DeviceContext& context) {
                          return ReadIncomingControl(
                              context, context.records.Of<IncomingControlSettings>());
                        },
                        {}}
      .Add(ConfigGroupsOf(IncomingStandardGroup()))
      .Add(ConfigGroupOf(IncomingEntryList()));
}

int ReadIncomingControl(DeviceContext& context, IncomingControlCopies& incoming) {
  if (ReadGroup(context, IncomingStandardGroup(), 0, incoming.baseline) == 0 ||
      ReadList(context, IncomingEntryList(), incoming.baseline) == 0) {
    return 0;
  }
  incoming.AdoptBaseline();
  return 1;
}

int WriteIncomingControl(DeviceContext& context, IncomingControlCopies& incoming,
                         IncomingSection section, WriteFailure* failure) {
  const int index = static_cast<int>(section);
  if (index == 0) return WriteGroup(context, incoming, IncomingStandardGroup(), 0, failure);
  if (index == 1 || index == 2) return WriteGroup(context, incoming, IncomingEntryList(), index - 1, failure);
  return 1;
}

}  // namespace setutily
