// The main window: start-up (connection dialog, opening the link,
// identification, firmware gate), the six category buttons with their launch
// pattern, the log pane, the maintenance menu, and the exit sequence.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QMap>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/category.h"
#include "app/connection.h"
#include "app/connection_dialog.h"
#include "app/identify.h"
#include "app/profile.h"
#include "forms/session.h"
#include "forms/setting_differences.h"
#include "link/exchange.h"
#include "settings/config.h"
#include "settings/config_file.h"
#include "link/serial_link.h"

class QAction;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace setutily {

class HelpViewer;
class Messages;

// What the main window needs from outside; tests pass their own.
struct MainDialogSetup {
  MainDialogSetup(QString profilePath, Messages& messages, HelpViewer& help)
      : profilePath(std::move(profilePath)), messages(messages), help(help) {}

  QString profilePath;  // setutily.ini (see ProfilePath)
  Messages& messages;
  HelpViewer& help;
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
  LinkTiming timing;
  // Opens the network connection; when empty, the network link cannot be
  // made and choosing it ends the run with "機器が接続されていません。".
  NetworkOpener openNetwork;
  // The serial ports the connection dialog offers; none when empty.
  SerialPortLister serialPorts;
  // The categories behind the buttons; none when empty.
  std::function<std::vector<CategoryLaunch>(Session&)> categories;
  // The categories of the configuration file ("設定のバックアップ…" and its
  // neighbours); the three menu items stay disabled when empty.
  std::function<std::vector<ConfigCategory>()> configCategories;
  // The device a backup is of, from the run's records and identification;
  // without it, the identification's alone.
  std::function<ConfigHeader(DeviceContext&, const DeviceIdentity&)> configHeader;
  // The forms' settings that differ between the working copies and the
  // baselines, for the compare view; without it the view lists commands.
  std::function<DifferenceList(Session&)> differences;
  // Asks for a file name (empty: cancelled); forSaving picks a new file.
  std::function<QString(QWidget* parent, bool forSaving)> chooseFile;
};

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MainDialog(MainDialogSetup setup, QWidget* parent = nullptr);
  ~MainDialog() override;

  // Start-up: shows the connection dialog, opens the chosen link and
  // identifies the device. A failure is told and the dialog shows again,
  // with the user's choices. Returns true when the window is ready to be
  // shown; false when the user quit in the dialog (the exit sequence has
  // run).
  bool Start();

  // The main window's help context.
  static constexpr int kHelpContext = 1;

  // AppendLog: adds text (ending in "\r\n") to the log and the log pane.
  // Both keep the latest lines only: the pane kLogLines, the text at most
  // twice that many (and about twice kLogCharacters).
  void AppendLog(const QString& text);
  static constexpr int kLogLines = 10000;
  static constexpr qsizetype kLogCharacters = 1'000'000;
  const QString& LogText() const { return logText_; }
  int AppendCount() const { return appendCount_; }

  Session& RunSession() { return session_; }
  const DeviceIdentity& Identity() const { return identity_; }
  bool DebugMode() const { return debugMode_; }
  bool LinkOpen() const;
  // The status line: the link, and the count of changes not yet stored.
  QString StatusLinkText() const;
  QString StatusPendingText() const;
  // True once the exit sequence has finished and the window has closed.
  bool Finished() const { return exitDone_; }

  // A close request: runs the exit sequence, after the command that is
  // running when there is one. Closing the window, "終了" and Escape all
  // lead here.
  void RequestClose();

  // The program is told to end (SIGTERM, SIGHUP): the exchange in progress
  // finishes and no other starts, open forms and questions close as if
  // cancelled, and the exit sequence stores nothing but still leaves the
  // device's command line.
  void EndBySignal();

  // The menu commands.
  void FactoryReset();
  void SetDeviceClock();
  // Backup, compare and restore through the configuration file.
  void SaveConfiguration();
  void CompareConfiguration();
  void RestoreConfiguration();
  void ShowHelp();
  void ShowVersionBox();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  class Operation;
  void RunConfiguration(void (*task)(struct ConfigWindowRun&));

  void BuildWindow();
  void BuildMenu();
  void Launch(const CategoryLaunch& category);
  // Shows the connection dialog until a link is made (true) or the user
  // quits there (false: the exit sequence has run).
  bool Connect();
  bool Fail(const QString& message);
  // Opens the link and identifies the device; empty, or what went wrong.
  QString OpenLink(const ConnectionSettings& settings);
  QString OpenSerial(const ConnectionSettings& settings);
  QString OpenNetwork(const ConnectionSettings& settings);
  QString LinkLostMessage() const;
  void ExitSequence();
  // The device part of the exit sequence: store the pending changes, leave
  // the command line.
  void LeaveDevice();
  void CloseLink();
  // Closes the link and forgets it (no device traffic until connected again).
  void DropLink();
  // One exchange with the window locked; the reply goes to the session.
  int SendLocked(std::string_view command, int timeoutMs, int terminatorType);
  bool Connected() const;
  bool Idle() const;
  void UpdateCommandStates();
  void RefreshStatusLine();
  void OnLinkLost();
  // Acts on close requests and a lost link once no command runs.
  void ScheduleIdleWork();
  void RunIdleWork();

  MainDialogSetup setup_;
  ProfileFile profile_;
  CommandExchange exchange_;
  SerialLink serial_;
  std::unique_ptr<ByteTransport> network_;
  Session session_;
  DeviceIdentity identity_;
  std::vector<CategoryLaunch> categories_;
  QMap<int, QPushButton*> categoryButtons_;
  QAction* resetAction_ = nullptr;
  QAction* clockAction_ = nullptr;
  QList<QAction*> configActions_;
  QGroupBox* logGroup_ = nullptr;
  QPlainTextEdit* logPane_ = nullptr;
  QLabel* linkStatus_ = nullptr;
  QLabel* pendingStatus_ = nullptr;
  QString linkDescription_;  // set once the link is open
  QString logText_;
  int logLines_ = 0;  // line feeds in logText_
  int appendCount_ = 0;
  bool debugMode_ = false;
  int operations_ = 0;          // commands running (each may hold several exchanges)
  bool closeRequested_ = false; // a close request waits for the running command
  bool linkLostNotice_ = false; // the user is yet to be told that the link went away
  bool exitStarted_ = false;
  bool endingBySignal_ = false;  // EndBySignal: nothing is stored
  bool exitDone_ = false;
  bool framePlaced_ = false;
};

}  // namespace setutily
