// Backup, compare and restore from the command line, without a display:
//
//   setutily --dump FILE            every category read into FILE
//   setutily --diff FILE            the commands --apply would send
//   setutily --apply FILE           send what differs, read it back, and store
//                                   ("fromwr 15") only when the device took all
//             [--no-store]          ...without storing
//             [--any-device]        ...also when FILE is another device's backup
//   with --port COMn, --device PATH or --network HOST[:PORT] (one of them is
//   required). Network passwords come from the settings file (--settings, or
//   the user's own) or the environment (SETUTILY_LOGIN_PASSWORD,
//   SETUTILY_ADMIN_PASSWORD), never from the command line. --json: --diff
//   and --apply tell their result as one JSON object on standard output
//   (root/config_report.h).
//
// Progress goes to standard error, one line per category. The exit statuses
// are kExitStatuses (root/command_line.h); a setting the device did not
// take is a failure (1).
#pragma once

#include <QMap>
#include <QString>

class QTextStream;

namespace setutily {

struct CommandEnvironment;
struct LinkTiming;

enum class ConfigAction { kDump, kDiff, kApply };

// values: the options given (as CommandLine::values); timing: the waits
// (tests shorten them).
int RunConfigCommand(ConfigAction action, const QMap<QString, QString>& values,
                     const CommandEnvironment& environment, const LinkTiming& timing,
                     QTextStream& out, QTextStream& err);

}  // namespace setutily
