// The command line of morivex9-sim. The options are a table: it is both what
// the parser accepts and what --help and the manual page list, so a new
// option is a row there (its name, the name of its value, its help and what
// it sets).
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "device.h"

namespace morivex9sim {

// What the options ask for; the device's own settings (flash file, log,
// identity, faults) go straight to the device.
struct SimSetup {
  explicit SimSetup(Device& device) : device(device) {}
  Device& device;
  std::string ptyPath;  // empty: no serial line
  int baud = 0;         // 0: unpaced
  int tcpPort = -1;     // -1: no telnet service
  std::string loginPassword;
  std::string adminPassword;
  bool waitForOptions = false;
  bool quiet = false;
  bool help = false;
};

struct SimOption {
  const char* name;       // without the leading "--"
  const char* shortName;  // one letter after "-", or nullptr
  const char* valueName;  // nullptr for a flag
  const char* help;
  // Takes the option's value ("" for a flag); false when the value is wrong.
  bool (*apply)(SimSetup& setup, const std::string& value);
};
std::span<const SimOption> SimOptions();

// The simulator's exit statuses and what each means (the manual's EXIT
// STATUS section is made from this table).
inline constexpr int kSimExitDone = 0;
inline constexpr int kSimExitFailed = 1;
inline constexpr int kSimExitUsage = 2;
struct SimExitStatus {
  int status;
  const char* summary;  // for --help
  const char* meaning;  // for the manual
};
inline constexpr SimExitStatus kSimExitStatuses[] = {
    {kSimExitDone, "stopped",
     "Stopped by SIGINT, SIGTERM or SIGHUP, or the serial line was hung up; also after --help."},
    {kSimExitFailed, "could not serve",
     "The pseudo-terminal or the telnet port could not be opened."},
    {kSimExitUsage, "wrong command line", "The command line was wrong."},
};

// Applies the arguments (without the program's name) to setup. On a wrong
// argument returns false with error set to one line saying what was wrong.
// Neither --pty nor --tcp is wrong too, unless --help was given.
bool ParseSimCommandLine(const std::vector<std::string>& arguments, SimSetup& setup,
                         std::string& error);

// --help: the usage line and the options, one line each.
void PrintSimHelp(std::ostream& out);

// "KIND[:VALUE][@PREFIX][#SKIP][xCOUNT]"; false when it is not one.
bool ParseFault(const std::string& text, Fault& fault);

}  // namespace morivex9sim
