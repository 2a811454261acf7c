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

// Exit statuses, all of them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // the device, the link, or writing the file
inline constexpr int kExitUsage = 2;   // a wrong command line, file or target
// A run ended by signal N exits with kExitSignalBase + N (SIGINT 130,
// SIGTERM 143, SIGHUP 129).
inline constexpr int kExitSignalBase = 128;

// What each exit status means, in the order the manual lists them (its
// EXIT STATUS section is made from this table): a new status is a row here.
struct ExitStatusMeaning {
  int status;
  const char* meaning;
  const char* shown = nullptr;  // how the manual writes a status of a family ("128+N")
};
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitDone, "Done (also when the window was closed or the connection dialog cancelled)."},
    {kExitFailed, "The command failed: the device could not be reached, refused a command, or "
                  "the link was lost, or the file could not be written."},
    {kExitUsage, "The command line, the file or the target was wrong (the file could not be "
                 "read, was refused, or the target cannot take a file)."},
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
// Splits "ADDRESS[:PORT]" (a dotted IPv4 address, a port 1-65535; port 0
// when none is given); false when it is not that.
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
