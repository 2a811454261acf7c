// The main window's "設定の保存…", "設定の比較…" and "設定の復元…": the
// configuration file chosen in a file dialog, the device read and written
// under the busy box, which tells the category it is at.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "app/identify.h"
#include "settings/config.h"

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
  QDateTime now;
};

// Each returns when the task has ended and the user has been told how.
void SaveConfigurationFile(ConfigWindowRun& run);
void CompareConfigurationFile(ConfigWindowRun& run);
void RestoreConfigurationFile(ConfigWindowRun& run);

// The file dialog of the real program.
QString ChooseConfigurationFile(QWidget* parent, bool forSaving);

}  // namespace setutily
