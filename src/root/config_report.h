// What --diff and --apply found and did, told with --json as one JSON object
// on standard output, for a caller that acts on it (a script, Ansible):
//
//   {
//     "command": "apply",              "diff" or "apply"
//     "status": 0,                     the exit status
//     "error": "...",                  why the run failed (only then)
//     "changed": true,                 diff: differences found; apply: commands sent
//     "device": {"model": "MORIVEX-9", "firmware": "Version 1.00",
//                "mac": "00:80:6D:12:34:56"},        null where not known
//     "file": {"path": "...", "mac": "..."},
//     "differences": [{"category": "アナログ設定", "form": "ＴＥＬ１ポート設定",
//                      "field": "ダイヤル発信時間", "device": "5秒", "file": "9秒",
//                      "commands": ["analog dial_time tel1 9"]}],
//     "sent": ["analog dial_time tel1 9"],            apply only
//     "notTaken": [{"command": "...", "device": "..."}],   apply only
//     "stored": true                                  apply only
//   }
//
// Passwords are "********", in values and in commands.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "app/compare_rows.h"
#include "settings/config_file.h"

namespace setutily {

// What stands for a password in the command line's output.
inline constexpr char16_t kHiddenPassword[] = u"********";

// One command --apply sent, as the device took it.
struct SentCommand {
  std::string command;  // as sent, without its carriage return
  bool taken = true;    // false: the device did not take it
  std::string device;   // not taken: the value the device kept (UTF-8)
};

// What --apply did: the commands the device answered, in sending order, and
// whether the device stored them.
struct ApplyOutcome {
  std::vector<SentCommand> commands;
  bool stored = false;
};

struct ConfigReport {
  QString command;  // "diff" or "apply"
  int status = 0;
  QString error;    // the message that ended a failed run
  std::optional<ConfigHeader> device;  // once the device was identified
  QString filePath;
  ConfigHeader file;                   // the device the file names
  std::optional<std::vector<CompareRow>> differences;  // once compared (passwords hidden)
  std::optional<ApplyOutcome> apply;   // once --apply has sent (or had nothing to send)
};

// The commands in sending order with their passwords hidden as rows hide them
// (rows: CompareRows with kHiddenPassword).
QStringList HiddenCommands(const std::vector<std::string>& commands,
                           const std::vector<CompareRow>& rows);

// The report as one JSON object on one line, ending with a line feed.
QByteArray ReportJson(const ConfigReport& report);

}  // namespace setutily
