// Incoming-call control: on which ports an incoming call rings, with what
// priority and ring pattern, for callers that are not registered (the
// standard rule), for calls without a caller number, and for twenty
// registered caller numbers. The record, its read from the three
// "show arrive" pages and the write of one section.
#pragma once

#include <array>
#include <string>

#include "settings/config.h"
#include "settings/copies.h"

namespace setutily {

struct DeviceContext;

// Codes held in the record:
//   telephone-port rank (TEL1-TEL3): 0 precede, 1 normal, 2 delay, 3 reject;
//   data-port rank (DATA, USB, PNA): 0 normal, 1 reject (the device prints
//     these on the telephone scale; the read folds them);
//   ring pattern: 0, 1, 2 (ring1, ring2, ring3).

// One registered caller number and its rule.
struct IncomingEntry {
  std::string number;  // device bytes; a subaddress follows "*"
  int tel1_rank = 0;
  int tel2_rank = 0;
  int tel3_rank = 0;
  int data_rank = 0;
  int usb_rank = 0;
  int pna_rank = 0;
  int ring = 0;
  bool operator==(const IncomingEntry&) const = default;
};

inline constexpr int kIncomingEntryCount = 20;
// Entries per page ("show arrive num1" holds 1-10, "num2" 11-20) and per
// write section.
inline constexpr int kIncomingPageSize = 10;

struct IncomingControlSettings {
  int ntt_ring = 0;  // ring pattern of the network's ring distinction
  int default_tel1_rank = 0;
  int noid_tel1_rank = 0;
  int default_tel2_rank = 0;
  int noid_tel2_rank = 0;
  int default_tel3_rank = 0;
  int noid_tel3_rank = 0;
  int default_data_rank = 0;
  int noid_data_rank = 0;
  int default_usb_rank = 0;
  int noid_usb_rank = 0;
  int default_pna_rank = 0;
  int noid_pna_rank = 0;
  int default_ring = 0;  // pseudo ring-distinction pattern, standard rule
  int noid_ring = 0;     // the same for calls without caller number
  int ring_select_service = 0;  // 0 the network's ring distinction, 1 pseudo
  int trouble_tel_service = 0;  // 0 the network's nuisance-call rejection, 1 pseudo
  // Entry k (1-20) is entries[k - 1].
  std::array<IncomingEntry, kIncomingEntryCount> entries;
  bool operator==(const IncomingControlSettings&) const = default;
};

using IncomingControlCopies = SettingsCopies<IncomingControlSettings>;

// Write sections: the standard settings, entries 1-10, entries 11-20.
enum class IncomingSection { kStandard = 0, kEntries1 = 1, kEntries2 = 2 };

// The standard group, and the list of registered numbers (a menu writes
// one page of ten entries at a time).
const GroupOf<IncomingControlSettings, IncomingControlSettings>& IncomingStandardGroup();
const ListOf<IncomingControlSettings, IncomingEntry, kIncomingEntryCount>& IncomingEntryList();

// Reads the three pages into the baseline and, when every reply arrived,
// copies it into the working copy. 1 on success, 0 when a read failed
// (context.readFailure says why; the working copy is then left as it was).
// The category's groups as configuration-file commands.
ConfigCategory IncomingControlConfig();

int ReadIncomingControl(DeviceContext& context, IncomingControlCopies& incoming);

// Sends the changed settings of one section: the standard settings in
// their fixed order, or the section's entries one after another (all
// settings of entry k before those of k + 1). 1 when all were sent (or none
// differed); 0 when an exchange failed. The standard settings from the
// failed one on, or the failed entry and the later ones of the section, are
// then back at their baseline values in the working copy, and failure (when
// given) tells where it stopped (for the entries, the index within the
// section).
int WriteIncomingControl(DeviceContext& context, IncomingControlCopies& incoming,
                         IncomingSection section, WriteFailure* failure = nullptr);

}  // namespace setutily
