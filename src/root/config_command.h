// Backup, compare and restore from the command line, without a display:
//
//   setutily --dump FILE            every category read into FILE
//   setutily --diff FILE            the commands --apply would send
//   setutily --apply FILE           send what differs, read it back, and store
//                                   ("fromwr 15") only when the device took all
//             [--no-store]          ...without storing
//   with --port COMn, --device PATH or --network ADDRESS[:PORT]; without
//   them, the link chosen in setutily.ini. Network passwords come from
//   setutily.ini or the environment (SETUTILY_LOGIN_PASSWORD,
//   SETUTILY_ADMIN_PASSWORD), never from the command line.
//
// Progress goes to standard error, one line per category. Exit status: 0
// done, 1 device or link failure (or a setting the device did not take),
// 2 bad file or command line.
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
