#include "app/identify.h"

#include "link/exchange.h"
#include "text/scan.h"

namespace setutily {

namespace {

// reply[offset, offset + length), ending early at the first control byte.
std::string FieldAt(std::string_view reply, std::size_t offset, std::size_t length) {
  if (offset >= reply.size()) return {};
  std::string_view field = reply.substr(offset, length);
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto byte = static_cast<unsigned char>(field[i]);
    if (byte < 0x20 || byte == 0x7f) return std::string(field.substr(0, i));
  }
  return std::string(field);
}

constexpr std::string_view kVersionLabel = "Version ";

}  // namespace

IdentifyResult IdentifyDevice(CommandExchange& exchange, const LinkTiming& timing,
                              DeviceIdentity& identity, std::string& reply) {
  identity = {};
  // A device still at its command line (a run that ended without leaving
  // it) answers "ATI" with an error and its prompt: it is made to leave the
  // command line first, and asked again.
  const std::vector<std::string> answers{std::string(TerminatorText(kTerminatorOk)),
                                         std::string(TerminatorText(kTerminatorPrompt))};
  if (exchange.SendAndWaitForAny("ATI\r", &reply, timing.identifyMs, answers) == 0) {
    return IdentifyResult::kNoAnswer;
  }
  if (FindText(reply, answers[0], 0) == 0) {
    if (exchange.SendAndWait("exit\r", &reply, timing.exitMs, kTerminatorOk) == 0 ||
        exchange.SendAndWait("ATI\r", &reply, timing.identifyMs, kTerminatorOk) == 0) {
      return IdentifyResult::kNoAnswer;
    }
  }
  if (FindText(reply, "MORIVEX-9", 0) == 0) return IdentifyResult::kWrongDevice;

  if (exchange.SendAndWait("AT%I2\r", &reply, timing.identifyMs, kTerminatorOk) == 0) {
    return IdentifyResult::kWrongDevice;
  }
  const int version = FindText(reply, kVersionLabel, 0);
  if (version == 0) return IdentifyResult::kWrongDevice;
  identity.firmwareVersion = FieldAt(reply, static_cast<std::size_t>(version - 1), 13);

  if (exchange.SendAndWait("AT%M\r", &reply, timing.identifyMs, kTerminatorOk) == 0) {
    return IdentifyResult::kWrongDevice;
  }
  identity.macAddress = FieldAt(reply, 7, 17);

  // Switches the device to its command line.
  if (exchange.SendAndWait("ATT1\r", &reply, timing.identifyMs, kTerminatorPrompt) == 0) {
    return IdentifyResult::kWrongDevice;
  }
  // Only lets the prompt settle; the result does not matter.
  exchange.SendAndWait("\r", &reply, timing.promptSettleMs, kTerminatorOk);
  return IdentifyResult::kIdentified;
}

bool FirmwareSupported(std::string_view versionField) {
  const int at = FindText(versionField, kVersionLabel, 0);
  if (at == 0) return true;
  // The number is at least 1.0 exactly when its integer part is: a digit
  // other than 0 before the point. No number at all reads as 0.
  for (std::size_t i = static_cast<std::size_t>(at - 1) + kVersionLabel.size();
       i < versionField.size(); ++i) {
    const char c = versionField[i];
    if (c < '0' || c > '9') return false;
    if (c != '0') return true;
  }
  return false;
}

namespace {

// Two digits with a leading zero: the value written after "00", keeping its
// last two characters when that makes three, else the text from the third
// character on (values above 99 keep all their digits).
std::string TwoDigits(int value) {
  const std::string text = "00" + std::to_string(value);
  return text.size() == 3 ? text.substr(1) : text.substr(2);
}

}  // namespace

std::array<std::string, 3> ClockCommands(const QDateTime& now) {
  const QDate date = now.date();
  const QTime time = now.time();
  std::array<std::string, 3> commands;
  FormatCommand("date %s/%s/%s\r",
                {std::to_string(date.year()), TwoDigits(date.month()), TwoDigits(date.day())},
                commands[0]);
  FormatCommand("time %s:%s:%s\r",
                {TwoDigits(time.hour()), TwoDigits(time.minute()), TwoDigits(time.second())},
                commands[1]);
  FormatCommand("youbi %d\r", {date.dayOfWeek() % 7}, commands[2]);  // Qt: Sunday is 7
  return commands;
}

}  // namespace setutily
