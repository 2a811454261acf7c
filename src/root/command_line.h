// The program's command line. Without options the utility opens its window;
// the options below do their work without a display and end the program.
//
// Options are a table: a new one is a row there (its name, the name of its
// value when it takes one, and its line of help) and a case where the parsed
// line is acted on. "--name VALUE" and "--name=VALUE" are both accepted.
#pragma once

#include <QIODevice>
#include <QMap>
#include <QString>
#include <QStringList>
#include <span>

#include "link/serial_ports.h"
#include "link/timing.h"

class QTextStream;

namespace setutily {

// Exit statuses, all of them: the same for every command, so that a caller
// (a script, Ansible, cron) can act on them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;       // the device refused, or a write failed
inline constexpr int kExitUsage = 2;        // a wrong command line, file or target
inline constexpr int kExitDifferent = 3;    // --diff: the file differs from the device
inline constexpr int kExitUnreachable = 4;  // the device could not be reached
inline constexpr int kExitLoginRefused = 5; // the network login was refused
// A run ended by signal N exits with kExitSignalBase + N (SIGINT 130,
// SIGTERM 143, SIGHUP 129).
inline constexpr int kExitSignalBase = 128;

// What each exit status means, in the order the manual and --help list them
// (both are made from this table): a new status is a row here.
struct ExitStatusMeaning {
  int status;
  const char* meaning;
  const char* shown = nullptr;  // how the manual writes a status of a family ("128+N")
};
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitDone, "Done; for --diff: the device holds what the file says (also when the window "
                "was closed or the connection dialog cancelled)."},
    {kExitFailed, "The device was reached but the command failed: it refused a setting, a read "
                  "or a write failed or the link was lost halfway, the settings were not "
                  "stored, or the file could not be written."},
    {kExitUsage, "The command line, the file or the target was wrong: the file could not be "
                 "read or was refused (nothing was sent), it is another device's backup "
                 "(--any-device), or the target cannot take a file."},
    {kExitDifferent, "--diff: the device differs from the file (what --apply would send is "
                     "listed)."},
    {kExitUnreachable, "The device could not be reached: the port did not open or is in use, "
                       "no connection was made, or no MORIVEX-9 with firmware 1.00 or later "
                       "answered the identification or the network login's first prompt."},
    {kExitLoginRefused, "The network login was refused: the login or the administrator "
                        "password is wrong."},
    {kExitSignalBase, "Ended by signal N (130 SIGINT, 143 SIGTERM, 129 SIGHUP): the exchange in "
                      "progress finished, the device left its command line, nothing was stored.",
     "128+N"},
};

// One option of the command line; the options' table is both the parser's
// and the one --help and the manual page list.
struct CommandLineOption {
  const char* name;       // without the leading "--"
  const char* shortName;  // one letter after "-", or nullptr
  const char* valueName;  // the value's name in the help; nullptr for a flag
  const char* help;
};
std::span<const CommandLineOption> CommandLineOptions();

struct CommandLine {
  enum class Action {
    kOpenWindow, kHelp, kVersion, kListPorts, kDump, kDiff, kApply, kUsageError
  };
  Action action = Action::kOpenWindow;
  QString error;                 // kUsageError: what was wrong, one line
  QMap<QString, QString> values; // options given, by name (flags map to "")
};

// arguments: the command line without the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);

// The number n of "COMn" (n = 1-9, any letter case); 0 for anything else.
int ComPortNumber(const QString& name);
// Splits "HOST[:PORT]": HOST a dotted IPv4 address, a host name, or an IPv6
// address (in brackets when a port follows: "[::1]:23"), PORT 1-65535 (0
// when none is given); address receives HOST without brackets. False when
// the target is not that.
bool SplitNetworkTarget(const QString& target, QString& address, quint16& port);

class SignalWatch;

// What the commands look at; SystemCommandEnvironment() is the real one
// (it needs a QCoreApplication).
struct CommandEnvironment {
  QString currentDirectory;
  QString configHome;        // the user's configuration folder
  QString programDirectory;  // where the running program is
  SerialPortFolders ports;
  LinkTiming timing;  // the waits of the commands that talk to the device
  // Ends a device run early (SIGINT, SIGTERM, SIGHUP); none: runs to its end.
  SignalWatch* stopSignals = nullptr;
  // Where FILE "-" is read from; none: the process's standard input.
  QIODevice* standardInput = nullptr;
};
CommandEnvironment SystemCommandEnvironment();

// Carries out a command that needs no window (any action but kOpenWindow)
// and returns the exit status.
int RunCommand(const CommandLine& line, const CommandEnvironment& environment, QTextStream& out,
               QTextStream& err);

// The program's version, as --version prints it.
QString ProgramVersion();

}  // namespace setutily
