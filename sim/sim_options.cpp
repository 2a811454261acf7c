#include "sim_options.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <utility>

namespace morivex9sim {

namespace {

// A whole decimal number in [low, high]; false for anything else.
bool ParseNumber(const std::string& text, long low, long high, int& number) {
  if (text.empty() || text.size() > 9) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value < low || value > high) return false;
  number = static_cast<int>(value);
  return true;
}

constexpr SimOption kOptions[] = {
    {"pty", nullptr, "PATH", "make PATH a link to the simulated serial line",
     [](SimSetup& s, const std::string& v) { return !v.empty() && (s.ptyPath = v, true); }},
    {"baud", nullptr, "N", "pace the serial line at N bit/s (10 bits per byte)",
     [](SimSetup& s, const std::string& v) { return ParseNumber(v, 0, 4'000'000, s.baud); }},
    {"tcp", nullptr, "PORT", "serve telnet on 127.0.0.1:PORT (0: a free port, printed at start)",
     [](SimSetup& s, const std::string& v) { return ParseNumber(v, 0, 65535, s.tcpPort); }},
    {"login-password", nullptr, "P", "the telnet login password (default: empty)",
     [](SimSetup& s, const std::string& v) { return s.loginPassword = v, true; }},
    {"admin-password", nullptr, "P",
     "the password of the \"administrator\" account (default: empty)",
     [](SimSetup& s, const std::string& v) { return s.adminPassword = v, true; }},
    {"wait-for-options", nullptr, nullptr,
     "prompt only after every telnet option request was answered",
     [](SimSetup& s, const std::string&) { return s.waitForOptions = true; }},
    {"state", nullptr, "FILE", "the device's flash: loaded at start, written by \"fromwr 15\"",
     [](SimSetup& s, const std::string& v) { return s.device.SetStateFile(v), true; }},
    {"log", nullptr, "FILE", "append every received command line (OK/ERR/LOST) to FILE",
     [](SimSetup& s, const std::string& v) { return s.device.SetLogFile(v), true; }},
    {"firmware", nullptr, "VERSION",
     "the firmware number shown after \"Version \" (default 1.00)",
     [](SimSetup& s, const std::string& v) { return s.device.SetFirmware(v), true; }},
    {"mac", nullptr, "ADDRESS", "the MAC address (17 characters)",
     [](SimSetup& s, const std::string& v) { return s.device.SetMac(v), true; }},
    {"model", nullptr, "NAME", "the model name in the reply to ATI (default MORIVEX-9)",
     [](SimSetup& s, const std::string& v) { return s.device.SetModelName(v), true; }},
    {"without", nullptr, "COMMAND",
     "a firmware without the show command COMMAND (\"show syslog\"): it answers it with its "
     "error line; repeatable",
     [](SimSetup& s, const std::string& v) { return s.device.RemoveShow(v); }},
    {"command-line", nullptr, nullptr,
     "start at the command line, as a run that never sent \"exit\" leaves the device",
     [](SimSetup& s, const std::string&) { return s.device.SetCommandLine(true), true; }},
    {"fault", nullptr, "FAULT",
     "KIND[:VALUE][@PREFIX][#SKIP][xCOUNT], repeatable; KIND is one of silent, delay, cut, "
     "garbage, oversize, zero, hangup",
     [](SimSetup& s, const std::string& v) {
       Fault fault;
       if (!ParseFault(v, fault)) return false;
       s.device.AddFault(std::move(fault));
       return true;
     }},
    {"quiet", nullptr, nullptr, "do not print the received lines",
     [](SimSetup& s, const std::string&) { return s.quiet = true; }},
    {"help", "h", nullptr, "print this help on standard output and exit",
     [](SimSetup& s, const std::string&) { return s.help = true; }},
};

}  // namespace

std::span<const SimOption> SimOptions() { return kOptions; }

bool ParseSimCommandLine(const std::vector<std::string>& arguments, SimSetup& setup,
                         std::string& error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool shortForm = argument.size() == 2 && argument[0] == '-' && argument[1] != '-';
    const bool longForm = argument.size() > 2 && argument.rfind("--", 0) == 0;
    const std::string name = argument.substr(shortForm ? 1 : 2);
    const auto option =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](const SimOption& o) {
          const char* own = shortForm ? o.shortName : o.name;
          return own != nullptr && name == own;
        });
    if ((!shortForm && !longForm) || option == std::end(kOptions)) {
      error = "unknown option " + argument;
      return false;
    }
    std::string value;
    if (option->valueName != nullptr) {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value (" + option->valueName + ")";
        return false;
      }
      value = arguments[++i];
    }
    if (!option->apply(setup, value)) {
      error = "bad " + std::string(option->valueName) + " \"" + value + "\" for " + argument;
      return false;
    }
  }
  if (!setup.help && setup.ptyPath.empty() && setup.tcpPort < 0) {
    error = "give --pty PATH, --tcp PORT or both";
    return false;
  }
  return true;
}

void PrintSimHelp(std::ostream& out) {
  out << "Usage: morivex9-sim [--pty PATH] [--tcp PORT] [OPTION]...\n"
         "Stands in for a MORIVEX-9 at the far end of a serial line (a pseudo-terminal),\n"
         "on the home network (telnet on a loopback port), or both.\n\nOptions:\n";
  // Each option's help starts in one column and wraps before the 80th.
  constexpr std::size_t kColumn = 26;
  constexpr std::size_t kWidth = 79;
  for (const SimOption& option : kOptions) {
    std::string line = option.shortName != nullptr
                           ? std::string("  -") + option.shortName + ", --" + option.name
                           : std::string("      --") + option.name;
    if (option.valueName != nullptr) line += std::string(" ") + option.valueName;
    line.resize(std::max(line.size() + 1, kColumn), ' ');
    const std::string help = option.help;
    for (std::size_t at = 0; at < help.size();) {
      std::size_t end = help.find(' ', at);
      if (end == std::string::npos) end = help.size();
      if (line.size() > kColumn && line.size() + (end - at) >= kWidth) {
        out << line << '\n';
        line.assign(kColumn, ' ');
      } else if (line.size() > kColumn) {
        line += ' ';
      }
      line += help.substr(at, end - at);
      at = end + 1;
    }
    out << line << '\n';
  }
  out << "\nExit status:";
  const char* separator = " ";
  for (const SimExitStatus& exit : kSimExitStatuses) {
    out << separator << exit.status << ' ' << exit.summary;
    separator = ", ";
  }
  out << ". See morivex9-sim(1).\n";
}

bool ParseFault(const std::string& text, Fault& fault) {
  std::string rest = text;
  // The count and the skip are digits at the end (a prefix may hold an "x"
  // or a "#" itself); the prefix runs from the first "@".
  auto take = [&rest](char separator, bool digits) -> std::string {
    const auto at = digits ? rest.rfind(separator) : rest.find(separator);
    if (at == std::string::npos) return {};
    std::string value = rest.substr(at + 1);
    if (digits && (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)) {
      return {};
    }
    rest.erase(at);
    return value;
  };
  const std::string count = take('x', true);
  const std::string skip = take('#', true);
  fault.match = take('@', false);
  const std::string value = take(':', false);
  static constexpr std::pair<const char*, Fault::Kind> kKinds[] = {
      {"silent", Fault::kSilent},   {"delay", Fault::kDelay},       {"cut", Fault::kCut},
      {"garbage", Fault::kGarbage}, {"oversize", Fault::kOversize}, {"zero", Fault::kZeroByte},
      {"hangup", Fault::kHangUp}};
  const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                 [&](const auto& entry) { return rest == entry.first; });
  if (kind == std::end(kKinds)) return false;
  fault.kind = kind->second;
  fault.value = 0;
  fault.skip = 0;
  fault.count = -1;
  constexpr long kMost = 100'000'000;
  return (value.empty() || ParseNumber(value, 0, kMost, fault.value)) &&
         (skip.empty() || ParseNumber(skip, 0, kMost, fault.skip)) &&
         (count.empty() || ParseNumber(count, 0, kMost, fault.count));
}

}  // namespace morivex9sim
