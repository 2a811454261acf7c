// The device's twenty speed-dial numbers: the list as read from the device
// (baseline) and as edited in the form (working copy), the read routine and
// the write routine that sends every entry the user changed.
//
// The device numbers its entries 1-20; entry i of the arrays holds device
// number i + 1. Texts are held in the device's bytes.
#pragma once

#include <array>
#include <string>

namespace setutily {

struct DeviceContext;

inline constexpr int kSpeedDialCount = 20;

// Entries per page of "show shortnum num1" / "show shortnum num2".
inline constexpr int kSpeedDialPageSize = 10;

struct SpeedDialList {
  using Entries = std::array<std::string, kSpeedDialCount>;
  Entries baseline;  // what the device holds, as far as this run knows
  Entries working;   // what the form shows; "登録" stores into it
};

// Reads both pages of the list into the baseline and copies it into the
// working copy. A line missing from a reply gives an empty entry.
// Returns 1, or 0 when an exchange failed (the list is then unchanged).
int ReadSpeedDial(DeviceContext& context, SpeedDialList& list);

// Sends "shortnum add N TEXT" for every working-copy entry that differs from
// its baseline, in device order, and stops at the first failed exchange.
// Afterwards the list tells what the device holds: an entry that was sent
// becomes its own baseline; the entry that failed and every changed entry
// after it return to their baseline in the working copy, so the form shows
// the device's value and a later confirmation can send them again.
// Returns 1 when every changed entry reached the device, else 0.
int WriteSpeedDial(DeviceContext& context, SpeedDialList& list);

}  // namespace setutily
