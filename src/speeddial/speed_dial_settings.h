// The device's twenty speed-dial numbers: the record, its read from the two
// show pages and the write that sends every entry the user changed.
//
// The device numbers its entries 1-20; entries[i] holds device number i + 1.
// Texts are held in the device's bytes.
#pragma once

#include <array>
#include <string>

#include "settings/config.h"
#include "settings/copies.h"

namespace setutily {

struct DeviceContext;

inline constexpr int kSpeedDialCount = 20;

// Entries per page of "show shortnum num1" / "show shortnum num2".
inline constexpr int kSpeedDialPageSize = 10;

struct SpeedDialEntry {
  std::string number;
  bool operator==(const SpeedDialEntry&) const = default;
};

struct SpeedDialList {
  std::array<SpeedDialEntry, kSpeedDialCount> entries;
  bool operator==(const SpeedDialList&) const = default;
};

using SpeedDialCopies = SettingsCopies<SpeedDialList>;

// The list's group.
const ListOf<SpeedDialList, SpeedDialEntry, kSpeedDialCount>& SpeedDialEntryList();

// Reads both pages into the baseline and copies it into the working copy.
// A line missing from a reply gives an empty entry. Returns 1, or 0 when a
// read failed (context.readFailure says why; both copies are then
// unchanged).
// The list as configuration-file commands.
ConfigCategory SpeedDialConfig();

int ReadSpeedDial(DeviceContext& context, SpeedDialCopies& list);

// Sends "shortnum add N TEXT" for every working entry that differs from the
// baseline, in device order, and stops at the first failed exchange: that
// entry and every later one go back to the device's values in the working
// copy. Returns 1 when every changed entry reached the device, else 0.
int WriteSpeedDial(DeviceContext& context, SpeedDialCopies& list,
                   WriteFailure* failure = nullptr);

}  // namespace setutily
