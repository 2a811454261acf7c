// The main window's "設定のバックアップ…", "バックアップとの比較…" and
// "バックアップからの復元…": the configuration file chosen in a file dialog,
// the device read and written under the busy box, which tells the category
// it is at.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/compare_rows.h"
#include "app/identify.h"
#include "forms/setting_differences.h"
#include "settings/config.h"
#include "settings/config_file.h"

class QDialog;
class QWidget;

namespace setutily {

class Messages;
struct Session;

struct ConfigWindowRun {
  QWidget* window;
  Session& session;
  Messages& messages;
  const DeviceIdentity& identity;
  std::vector<ConfigCategory> categories;
  std::function<QString(QWidget* parent, bool forSaving)> chooseFile;
  // The device a backup is of (read from the run once its categories were
  // read); without it, what the identification reported.
  std::function<ConfigHeader()> header;
  // The settings the forms show that differ between the working copies and
  // the baselines (asked once the file is taken); none when empty.
  std::function<DifferenceList()> differences;
};

// Each returns when the task has ended and the user has been told how.
void SaveConfigurationFile(ConfigWindowRun& run);
void CompareConfigurationFile(ConfigWindowRun& run);
void RestoreConfigurationFile(ConfigWindowRun& run);

// The compare view: the rows in a table, each row's commands below it.
// Shows it modally; Make only builds it.
void ShowCompareView(QWidget* parent, const std::vector<CompareRow>& rows);
std::unique_ptr<QDialog> MakeCompareView(QWidget* parent, const std::vector<CompareRow>& rows);

// The file dialog of the real program.
QString ChooseConfigurationFile(QWidget* parent, bool forSaving);

}  // namespace setutily
