// A main window started against the simulator on a pseudo-terminal, in a
// private working directory whose setutily.ini maps COM1 to it.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "app/connection_dialog.h"
#include "app/main_dialog.h"
#include "support/dialog_answers.h"
#include "support/sim_harness.h"
#include "support/session_rig.h"
#include "support/timing.h"
#include "support/ui_helpers.h"

namespace setutily::testing {

class ShellRig {
 public:
  // extraIni is appended to the profile that maps COM1 to the simulator.
  explicit ShellRig(const QString& extraIni = QString()) {
    WriteIni(QStringLiteral("[DEVICE]\nCOM1=%1\n").arg(sim.LinkPath()) + extraIni);
  }
  ~ShellRig() {
    window.reset();
    if (!refusalsExpected) CheckNoRefusals(sim.Log());
  }

  QString IniPath() const { return dir.filePath(QStringLiteral("setutily.ini")); }
  void WriteIni(const QString& text) {
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
  }
  QString ReadIni() const {
    QFile file(IniPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
  }

  MainDialogSetup Setup() {
    MainDialogSetup setup(IniPath(), messages, help);
    setup.timing = FastTiming();
    setup.clock = [this] { return now; };
    setup.categories = categories;
    setup.openNetwork = openNetwork;
    setup.configCategories = configCategories;
    setup.chooseFile = chooseFile;
    setup.differences = differences;
    return setup;
  }

  // Creates the window and runs start-up, confirming the connection dialog
  // (after adjust, when given, has changed its controls). The dialog shown
  // again after a failure is answered by the next of later, or with "終了".
  bool Start(std::function<void(ConnectionPortDialog*)> adjust = {},
             std::vector<DialogAnswers::Reply> later = {}) {
    window = std::make_unique<MainDialog>(Setup());
    later.insert(later.begin(), [adjust](ConnectionPortDialog* dialog) {
      if (adjust) adjust(dialog);
      Find<QPushButton>(dialog, 1)->click();
    });
    dialogs.Answer(std::move(later));
    return window->Start();
  }

  // Asks the window to close and waits for the exit sequence to finish.
  bool Close() {
    window->close();
    return WaitUntil([this] { return window->Finished(); }, 15000);
  }

  // The lines the device received, AT commands included ("" for a bare CR).
  std::vector<std::string> Received() {
    std::vector<std::string> lines;
    for (const auto& entry : sim.Log()) {
      if (!entry.lost) lines.push_back(entry.line);
    }
    return lines;
  }

  QTemporaryDir dir;
  SimOnPty sim;
  RecordingMessages messages;
  RecordingHelp help;
  QDateTime now = QDateTime::currentDateTime();
  std::function<std::vector<CategoryLaunch>(Session&)> categories = [](Session&) {
    return std::vector<CategoryLaunch>{};
  };
  NetworkOpener openNetwork;
  std::function<std::vector<ConfigCategory>()> configCategories;
  std::function<QString(QWidget*, bool)> chooseFile;
  std::function<DifferenceList(Session&)> differences;
  DialogAnswers dialogs;
  std::unique_ptr<MainDialog> window;
  bool refusalsExpected = false;  // see SessionRig
};

using Lines = std::vector<std::string>;

// Clicks the button whose objectName is id, below root.
inline void Click(QWidget* root, int id) {
  auto* button = Find<QPushButton>(root, id);
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

// Runs action once from inside the next exchange of exchange, while it waits.
inline void DuringNextExchange(CommandExchange& exchange, std::function<void()> action) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&exchange, &CommandExchange::BusyChanged,
                                 [connection, action](bool busy) {
                                   if (!busy) return;
                                   QObject::disconnect(*connection);
                                   QTimer::singleShot(0, action);
                                 });
}

}  // namespace setutily::testing
