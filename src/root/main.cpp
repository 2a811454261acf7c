// setutily: the MORIVEX-9 configuration utility. Reads its connection
// settings from setutily.ini and its help from MORIVEX-9.hlp (see
// app/file_locations.h for where each is found). Options on the command line
// (root/command_line.h) run without a window.
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

#include "app/file_locations.h"
#include "app/help_window.h"
#include "app/main_dialog.h"
#include "app/network_open.h"
#include "app/qt_translation.h"
#include "app/version_box.h"
#include "forms/messages.h"
#include "link/serial_ports.h"
#include "root/categories.h"
#include "root/config_categories.h"
#include "root/setting_forms.h"
#include "root/command_line.h"
#include "root/signal_watch.h"

int main(int argc, char** argv) {
  // Before any thread starts: SIGINT, SIGTERM and SIGHUP reach the program
  // only through its SignalWatch.
  setutily::BlockStopSignals();
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const setutily::CommandLine line = setutily::ParseCommandLine(arguments);
  // The commands need no display: they run before (and without) the GUI
  // application.
  if (line.action != setutily::CommandLine::Action::kOpenWindow) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("setutily"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    setutily::SignalWatch stop;
    setutily::CommandEnvironment environment = setutily::SystemCommandEnvironment();
    environment.stopSignals = &stop;
    const int status = setutily::RunCommand(line, environment, out, err);
    // A command that talks to no device ends as the signal says.
    return stop.Signal() != 0 ? setutily::kExitSignalBase + stop.Signal() : status;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("setutily"));
  QApplication::setApplicationVersion(setutily::ProgramVersion());
  QApplication::setWindowIcon(setutily::ProgramIcon());
  setutily::InstallQtJapanese(app);

  const setutily::CommandEnvironment environment = setutily::SystemCommandEnvironment();
  const QString profilePath =
      setutily::ProfilePath(environment.currentDirectory, environment.configHome);
  // The user's own settings folder is made (owner-only) for "登録" to write
  // into; a failure shows when the file cannot be written.
  setutily::MakePrivateFolder(QFileInfo(profilePath).path());
  setutily::MessageBoxes messages;
  setutily::HelpWindow help(
      setutily::HelpFolders(environment.currentDirectory, environment.programDirectory), messages);
  setutily::MainDialogSetup setup(profilePath, messages, help);
  setup.openNetwork = setutily::TelnetOpener();
  setup.serialPorts = [ports = environment.ports] { return setutily::ListSerialPorts(ports); };
  setup.categories = setutily::BuildCategories;
  setup.configCategories = setutily::BuildConfigCategories;
  setup.configHeader = setutily::DeviceHeader;
  setup.differences = setutily::FormDifferences;
  setutily::MainDialog window(std::move(setup));
  setutily::SignalWatch stop;
  QObject::connect(&stop, &setutily::SignalWatch::Caught, &window,
                   &setutily::MainDialog::EndBySignal);
  const auto status = [&stop](int otherwise) {
    return stop.Signal() != 0 ? setutily::kExitSignalBase + stop.Signal() : otherwise;
  };
  if (!window.Start()) return status(0);
  // The program ends when the main window has closed (help windows that
  // are still open go with it).
  QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);
  window.show();
  return status(QApplication::exec());
}
