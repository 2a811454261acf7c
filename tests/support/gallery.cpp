#include "support/gallery.h"

#include <QApplication>
#include <QDialog>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "app/config_window.h"
#include "app/connection_dialog.h"
#include "app/file_locations.h"
#include "app/help_window.h"
#include "app/main_dialog.h"
#include "app/profile.h"
#include "app/version_box.h"
#include "forms/busy_box.h"
#include "forms/category_menu.h"
#include "forms/session.h"
#include "root/categories.h"
#include "support/sim_harness.h"
#include "support/ui_helpers.h"

namespace setutily::testing {

namespace {

void Save(QWidget* window, const QString& directory, int& count) {
  window->show();
  QApplication::processEvents();
  if (qEnvironmentVariableIsSet("SETUTILY_SHOTS_DEBUG")) {
    qWarning() << window->windowTitle() << window->sizeHint() << window->size()
               << window->minimumSizeHint();
  }
  // Two windows of one title (the two ＢＡＣＰ／ＢＡＰ forms) get two files.
  QString name = window->windowTitle();
  if (name.isEmpty()) name = window->objectName();
  name.replace(u'/', u'_');
  QString path = QDir(directory).filePath(name + QStringLiteral(".png"));
  for (int n = 2; QFile::exists(path); ++n) {
    path = QDir(directory).filePath(QStringLiteral("%1 %2.png").arg(name).arg(n));
  }
  window->grab().save(path);
  ++count;
}

// Grabs the next modal dialog and closes it with "戻る".
void GrabNextAndCancel(const QString& directory, int& count, QWidget* notThis) {
  OnNextModal<QDialog>([&directory, &count](QDialog* dialog) {
    QApplication::processEvents();
    Save(dialog, directory, count);
    dialog->reject();
  }, notThis);
}

}  // namespace

// The windows around the forms: the connection dialog, the main window
// with its log pane and status line, the busy box, the version box, a help
// topic and the compare view.
void SaveShellWindows(const QString& directory, int& count) {
  RecordingMessages messages;
  RecordingHelp help;
  ProfileFile profile(QDir(directory).filePath(QStringLiteral("gallery.ini")));
  ConnectionPortDialog connection(profile, messages);
  Save(&connection, directory, count);
  MainDialog window(MainDialogSetup(profile.Path(), messages, help));
  window.setWindowTitle(window.windowTitle() + QStringLiteral(" (メイン)"));
  Save(&window, directory, count);
  BusyBox busy(&window, QStringLiteral("アナログ設定を読んでいます… (2/5)"));
  busy.setObjectName(QStringLiteral("busy box"));
  busy.ShowCentred();
  Save(&busy, directory, count);
  VersionBox version(QStringLiteral("Version 1.00"), QStringLiteral("00:80:6D:12:34:56"));
  Save(&version, directory, count);
  HelpWindow topics(HelpFolders(QStringLiteral(SETUTILY_SOURCE_DIR "/resources"), QString()),
                    messages);
  topics.Show(&window, 1);
  if (topics.Window() != nullptr) Save(topics.Window(), directory, count);
  const auto compare = MakeCompareView(
      nullptr, {{"analog", "ＴＥＬ１ポート設定", "ダイヤル発信時間", "5秒", "7秒", {"analog dial_time tel1 7"}},
                {"dialup", "ダイヤルアップ１設定", "パスワード", "●●●", "●●●●●●",
                 {"dialup password num1 ●●●●●●●●"}},
                {"nat", "ＮＡＴ（スタティックＮＡＴ）設定", "番号 5", "（未登録）", "192.168.0.5, *",
                 {"nat add 5 192.168.0.5,*"}}});
  Save(compare.get(), directory, count);
}

int SaveEveryForm(const QString& directory) {
  QDir().mkpath(directory);
  int shells = 0;
  SaveShellWindows(directory, shells);
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  int count = 0;
  for (const CategoryLaunch& launch : BuildCategories(session)) {
    if (!launch.read || launch.read() != 1) continue;
    OnNextModal<QDialog>([&](QDialog* dialog) {
      QApplication::processEvents();
      Save(dialog, directory, count);
      auto* menu = qobject_cast<CategoryMenu*>(dialog);
      if (menu == nullptr) {
        dialog->reject();
        return;
      }
      for (auto* button : menu->findChildren<QPushButton*>()) {
        if (button->objectName() == QStringLiteral("2") || !button->isEnabled()) continue;
        GrabNextAndCancel(directory, count, menu);
        button->click();
      }
      menu->reject();
    });
    launch.show(nullptr);
  }
  return count + shells;
}

}  // namespace setutily::testing
