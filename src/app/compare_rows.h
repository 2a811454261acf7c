// The compare view's rows: each setting in which the device (the baseline)
// differs from a file (the working copy), as the forms name it, with the
// commands a restore sends for it.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "forms/setting_differences.h"
#include "settings/config_file.h"

namespace setutily {

struct CompareRow {
  QString category; // the configuration file's category the commands belong to
  QString form;     // the form's title; for a command no form shows: category / group
  QString caption;  // the setting's caption (empty for such a command)
  QString device;   // the device's value, as the form shows it
  QString file;     // the file's value
  QStringList commands;  // what a restore sends for it, passwords hidden
  std::vector<std::string> sent;  // the same commands as they are sent
  bool secret = false;   // a password: device and file show it as dots
};

// One row per difference that makes a restore send something (a setting on
// two forms once), in the order of differences; then one row per command
// that no difference accounts for. The records are left as they were. A
// password in a command is shown as hidden.
std::vector<CompareRow> CompareRows(DeviceContext& context,
                                    const std::vector<ConfigCategory>& categories,
                                    DifferenceList differences,
                                    const QString& hidden = QString(8, u'●'));

}  // namespace setutily
