// The program's command line. Without options the utility opens its window;
// the options below do their work without a display and end the program.
//
// Options are a table: a new one is a row there (its name, the name of its
// value when it takes one, and its line of help) and a case where the parsed
// line is acted on. "--name VALUE" and "--name=VALUE" are both accepted.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <span>

#include "link/serial_ports.h"
#include "link/timing.h"

class QTextStream;

namespace setutily {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// What each exit status means, in the order the manual lists them (its
// EXIT STATUS section is made from this table): a new status is a row here.
struct ExitStatusMeaning {
  int status;
  const char* meaning;
};
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitDone, "Done (also when the window was closed or the connection dialog cancelled)."},
    {kExitFailed, "The command failed: the device could not be reached, refused a command, or "
                  "the link was lost."},
    {kExitUsage, "The command line was wrong, or the file given could not be read or was "
                 "refused."},
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

// What the commands look at; SystemCommandEnvironment() is the real one
// (it needs a QCoreApplication).
struct CommandEnvironment {
  QString currentDirectory;
  QString configHome;        // the user's configuration folder
  QString programDirectory;  // where the running program is
  SerialPortFolders ports;
  LinkTiming timing;  // the waits of the commands that talk to the device
};
CommandEnvironment SystemCommandEnvironment();

// Carries out a command that needs no window (any action but kOpenWindow)
// and returns the exit status.
int RunCommand(const CommandLine& line, const CommandEnvironment& environment, QTextStream& out,
               QTextStream& err);

// The program's version, as --version prints it.
QString ProgramVersion();

}  // namespace setutily
