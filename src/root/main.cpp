// setutily: the MORIVEX-9 configuration utility. Works in the current
// directory: setutily.ini holds the connection settings, MORIVEX-9.hlp the
// help.
#include <QApplication>
#include <QDir>

#include "app/help_window.h"
#include "root/categories.h"
#include "app/main_dialog.h"
#include "forms/messages.h"
#include "app/network_open.h"
#include "app/version_box.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("setutily"));
  QApplication::setWindowIcon(setutily::ProgramIcon());

  const QString directory = QDir::currentPath();
  setutily::MessageBoxes messages;
  setutily::HelpWindow help(directory, messages);
  setutily::MainDialogSetup setup(directory, messages, help);
  setup.openNetwork = setutily::TelnetOpener();
  setup.categories = setutily::BuildCategories;
  setutily::MainDialog window(std::move(setup));
  if (!window.Start()) return 0;
  // The program ends when the main window has closed (help windows that
  // are still open go with it).
  QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);
  window.show();
  return QApplication::exec();
}
