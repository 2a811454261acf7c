#include "incoming/incoming_settings.h"

#include <optional>
#include <span>
#include <string_view>

#include "settings/context.h"
#include "settings/read_table.h"
#include "text/scan.h"

namespace setutily {

namespace {

using S = IncomingControlSettings;
using E = IncomingEntry;

// The device prints data-port ranks on the telephone scale: normal is 1,
// anything else counts as rejected.
int FoldDataRank(int reported) { return reported == 1 ? 0 : 1; }

const ReadTable<S> kBasicLabels = {
    {"ring select service:", &S::ring_select_service},
    {"trouble tel service:", &S::trouble_tel_service},
    {"ntt ring:", &S::ntt_ring},
    {"default tel1 rank:", &S::default_tel1_rank},
    {"default tel2 rank:", &S::default_tel2_rank},
    {"default tel3 rank:", &S::default_tel3_rank},
    Number("default data rank:", &S::default_data_rank).Adjust(FoldDataRank),
    Number("default usb rank:", &S::default_usb_rank).Adjust(FoldDataRank),
    Number("default pna rank:", &S::default_pna_rank).Adjust(FoldDataRank),
    {"default ring:", &S::default_ring},
    {"noid tel1 rank:", &S::noid_tel1_rank},
    {"noid tel2 rank:", &S::noid_tel2_rank},
    {"noid tel3 rank:", &S::noid_tel3_rank},
    Number("noid data rank:", &S::noid_data_rank).Adjust(FoldDataRank),
    Number("noid usb rank:", &S::noid_usb_rank).Adjust(FoldDataRank),
    Number("noid pna rank:", &S::noid_pna_rank).Adjust(FoldDataRank),
    {"noid ring:", &S::noid_ring},
};

// Searched in the lines of one entry only.
const ReadTable<E> kEntryLabels = {
    {"tel1 rank:", &E::tel1_rank},
    {"tel2 rank:", &E::tel2_rank},
    {"tel3 rank:", &E::tel3_rank},
    Number("data rank:", &E::data_rank).Adjust(FoldDataRank),
    Number("usb rank:", &E::usb_rank).Adjust(FoldDataRank),
    Number("pna rank:", &E::pna_rank).Adjust(FoldDataRank),
    {"ring:", &E::ring},
};

struct Page {
  const char* command;
  int firstNumber;
};
constexpr Page kPages[] = {
    {"show arrive num1\r", 1},
    {"show arrive num2\r", 1 + kIncomingPageSize},
};

// In sending order. A code without a command sends nothing: the two
// services send only for 0 and 1, never "pseudo" for a value the form could
// not show.
const WriteTable<S> kStandardCommands = {
    SendChoice(&S::ring_select_service,
               {"arrive ring_select ntt\r", "arrive ring_select pseudo\r"}),
    SendChoice(&S::trouble_tel_service,
               {"arrive trouble_tel ntt\r", "arrive trouble_tel pseudo\r"}),
    SendChoice(&S::default_tel1_rank,
               {"arrive ranking default tel1 precede\r", "arrive ranking default tel1 normal\r",
                "arrive ranking default tel1 delay\r", "arrive ranking default tel1 reject\r"}),
    SendChoice(&S::default_tel2_rank,
               {"arrive ranking default tel2 precede\r", "arrive ranking default tel2 normal\r",
                "arrive ranking default tel2 delay\r", "arrive ranking default tel2 reject\r"}),
    SendChoice(&S::default_tel3_rank,
               {"arrive ranking default tel3 precede\r", "arrive ranking default tel3 normal\r",
                "arrive ranking default tel3 delay\r", "arrive ranking default tel3 reject\r"}),
    SendChoice(&S::default_data_rank,
               {"arrive ranking default data normal\r", "arrive ranking default data reject\r"}),
    SendChoice(&S::default_usb_rank,
               {"arrive ranking default usb normal\r", "arrive ranking default usb reject\r"}),
    SendChoice(&S::default_pna_rank,
               {"arrive ranking default pna normal\r", "arrive ranking default pna reject\r"}),
    SendChoice(&S::default_ring,
               {"arrive ring_select default ring1\r", "arrive ring_select default ring2\r",
                "arrive ring_select default ring3\r"}),
    SendChoice(&S::noid_tel1_rank,
               {"arrive ranking noid tel1 precede\r", "arrive ranking noid tel1 normal\r",
                "arrive ranking noid tel1 delay\r", "arrive ranking noid tel1 reject\r"}),
    SendChoice(&S::noid_tel2_rank,
               {"arrive ranking noid tel2 precede\r", "arrive ranking noid tel2 normal\r",
                "arrive ranking noid tel2 delay\r", "arrive ranking noid tel2 reject\r"}),
    SendChoice(&S::noid_tel3_rank,
               {"arrive ranking noid tel3 precede\r", "arrive ranking noid tel3 normal\r",
                "arrive ranking noid tel3 delay\r", "arrive ranking noid tel3 reject\r"}),
    SendChoice(&S::noid_data_rank,
               {"arrive ranking noid data normal\r", "arrive ranking noid data reject\r"}),
    SendChoice(&S::noid_usb_rank,
               {"arrive ranking noid usb normal\r", "arrive ranking noid usb reject\r"}),
    SendChoice(&S::noid_pna_rank,
               {"arrive ranking noid pna normal\r", "arrive ranking noid pna reject\r"}),
    SendChoice(&S::noid_ring,
               {"arrive ring_select noid ring1\r", "arrive ring_select noid ring2\r",
                "arrive ring_select noid ring3\r"}),
    SendChoice(&S::ntt_ring,
               {"arrive ring_select ring1\r", "arrive ring_select ring2\r",
                "arrive ring_select ring3\r"}),
};

// "{}" is the entry number, 1-20.
const WriteTable<E> kEntryCommands = {
    SendText(&E::number, "arrive address {} %s\r").Accepts(PhoneText),
    SendChoice(&E::tel1_rank,
               {"arrive ranking {} tel1 precede\r", "arrive ranking {} tel1 normal\r",
                "arrive ranking {} tel1 delay\r", "arrive ranking {} tel1 reject\r"}),
    SendChoice(&E::tel2_rank,
               {"arrive ranking {} tel2 precede\r", "arrive ranking {} tel2 normal\r",
                "arrive ranking {} tel2 delay\r", "arrive ranking {} tel2 reject\r"}),
    SendChoice(&E::tel3_rank,
               {"arrive ranking {} tel3 precede\r", "arrive ranking {} tel3 normal\r",
                "arrive ranking {} tel3 delay\r", "arrive ranking {} tel3 reject\r"}),
    SendChoice(&E::data_rank,
               {"arrive ranking {} data normal\r", "arrive ranking {} data reject\r"}),
    SendChoice(&E::usb_rank, {"arrive ranking {} usb normal\r", "arrive ranking {} usb reject\r"}),
    SendChoice(&E::pna_rank, {"arrive ranking {} pna normal\r", "arrive ranking {} pna reject\r"}),
    SendChoice(&E::ring, {"arrive ring_select {} ring1\r", "arrive ring_select {} ring2\r",
                          "arrive ring_select {} ring3\r"}),
};

// Entry number's values from its page: the number from its "N: " line
// (surrounding blanks removed), the ranks from that entry's own lines. An
// entry missing from the page reads as an empty number and missing labels.
void ReadEntry(std::string_view page, int number, IncomingEntry& entry) {
  const std::optional<std::string_view> line = FindListLine(page, number);
  entry.number = line ? std::string(TrimSpace(line->substr(0, kMaxValueLength))) : std::string();
  ReadFields(ListBlock(page, number), kEntryLabels, entry);
}

}  // namespace

namespace {

IncomingControlSettings& Standard(IncomingControlSettings& settings) { return settings; }
std::array<IncomingEntry, kIncomingEntryCount>& Entries(IncomingControlSettings& settings) {
  return settings.entries;
}

}  // namespace

ConfigCategory IncomingControlConfig() {
  return {"着信制御設定",
          [](DeviceContext& context) {
            return ReadIncomingControl(context, context.records.Of<IncomingControlSettings>());
          },
          {TableGroup<IncomingControlSettings>("標準", kStandardCommands, Standard),
           ListGroup<IncomingControlSettings>("電話番号別", kEntryCommands, Entries)}};
}

int ReadIncomingControl(DeviceContext& context, IncomingControlCopies& incoming) {
  if (ReadShow(context, "show arrive basic\r", kBasicLabels, incoming.baseline) == 0) return 0;
  for (const Page& page : kPages) {
    if (FetchReply(context, page.command) == 0) return 0;
    for (int n = page.firstNumber; n < page.firstNumber + kIncomingPageSize; ++n) {
      ReadEntry(context.replyText, n, incoming.baseline.entries[static_cast<std::size_t>(n - 1)]);
    }
  }
  incoming.AdoptBaseline();
  return 1;
}

int WriteIncomingControl(DeviceContext& context, IncomingControlCopies& incoming,
                         IncomingSection section, WriteFailure* failure) {
  switch (section) {
    case IncomingSection::kStandard:
      return WriteChanges(context, kStandardCommands, incoming.working, incoming.baseline, {},
                          failure);
    case IncomingSection::kEntries1:
    case IncomingSection::kEntries2: {
      const int first = (static_cast<int>(section) - 1) * kIncomingPageSize;
      std::span<IncomingEntry> working =
          std::span(incoming.working.entries).subspan(static_cast<std::size_t>(first),
                                                      kIncomingPageSize);
      std::span<IncomingEntry> baseline =
          std::span(incoming.baseline.entries).subspan(static_cast<std::size_t>(first),
                                                       kIncomingPageSize);
      return WriteListChanges(context, kEntryCommands, working, baseline, first + 1, failure);
    }
  }
  return 1;
}

}  // namespace setutily
