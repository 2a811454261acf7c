#include "support/gallery.h"

#include <QApplication>
#include <QDialog>
#include <QDebug>
#include <QDir>
#include <QPushButton>
#include <QTimer>

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
  window->grab().save(QDir(directory).filePath(window->windowTitle() + QStringLiteral(".png")));
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

int SaveEveryForm(const QString& directory) {
  QDir().mkpath(directory);
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
  return count;
}

}  // namespace setutily::testing
