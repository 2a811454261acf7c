// Identification of the device over the serial line in AT-command mode,
// the firmware gate, and the texts of the clock commands. Plain logic over
// the command exchange: no windows here.
#pragma once

#include <QDateTime>
#include <array>
#include <string>
#include <string_view>

#include "link/timing.h"

namespace setutily {

class CommandExchange;

struct DeviceIdentity {
  std::string firmwareVersion;  // "Version " and what follows, at most 13 bytes
  std::string macAddress;       // at most 17 bytes
};

enum class IdentifyResult {
  kIdentified,
  kNoAnswer,    // "ATI\r" was not answered
  kWrongDevice, // not a MORIVEX-9, or a later identification step failed
};

// Sends "ATI\r", "AT%I2\r", "AT%M\r", "ATT1\r" and "\r" in that order and
// fills identity. A device that answers "ATI\r" with its command-line
// prompt is sent "exit\r" and asked again. Each field is taken only from the bytes of its own reply
// and ends at the first control byte (the reply's line end), so a short
// reply leaves it short or empty. reply receives each exchange's reply.
IdentifyResult IdentifyDevice(CommandExchange& exchange, const LinkTiming& timing,
                              DeviceIdentity& identity, std::string& reply);

// The firmware gate: false when the field contains "Version " followed by a
// number below 1.0. The number is read strictly, as decimal digits with an
// optional fraction; anything else reads as 0. A field without "Version "
// (network mode) passes.
bool FirmwareSupported(std::string_view versionField);

// "date YYYY/MM/DD\r", "time HH:MM:SS\r" and "youbi D\r" (0 = Sunday ...
// 6 = Saturday) for the given local time.
std::array<std::string, 3> ClockCommands(const QDateTime& now);

}  // namespace setutily
