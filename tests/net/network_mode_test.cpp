// The utility in network mode, from the connection dialog to the exit
// sequence, against the simulator over a real loopback telnet connection;
// the same user actions over the serial line for comparison.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "root/categories.h"
#include "analog/analog_forms.h"
#include "app/connection_dialog.h"
#include "forms/line_edits.h"
#include "app/main_dialog.h"
#include "app/network_open.h"
#include "app/profile.h"
#include "speeddial/speed_dial_form.h"
#include "support/dialog_answers.h"
#include "support/sim_harness.h"
#include "support/telnet_rig.h"
#include "support/timing.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::DialogAnswers;
using testing::FastTiming;
using testing::Find;
using testing::OnNextModal;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::SimOnPty;
using testing::SimOnTcp;
using testing::WaitUntil;
using testing::kSimAdministratorPassword;
using testing::kSimLoginPassword;

using Lines = std::vector<std::string>;

const QString kNotConnected = QStringLiteral("機器が接続されていません。");

// The simulator sends eight option requests; each is logged once.
QString LoggedInLog() {
  QString log = QStringLiteral("socket open\r\nconnect ok\r\n");
  for (int i = 0; i < 8; ++i) log += QStringLiteral("IAC data\r\n");
  return log + QStringLiteral("Local Password Check OK\r\nadministrator Password Check OK\r\n");
}

// A port on which nothing listens: connecting to it is refused.
quint16 ClosedPort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  return probe.serverPort();
}

// A main window in a private working directory, with the simulator behind
// either the telnet connection or the serial line (COM1).
class Shell {
 public:
  enum class Link { kTelnet, kSerial };

  explicit Shell(Link link = Link::kTelnet, bool waitForOptionAnswers = false) {
    if (link == Link::kTelnet) {
      tcp = std::make_unique<SimOnTcp>(waitForOptionAnswers);
    } else {
      pty = std::make_unique<SimOnPty>();
    }
  }
  ~Shell() { window.reset(); }

  // A settings file that selects the link to the simulator; extra is
  // appended.
  void WriteIni(const QString& loginPassword = kSimLoginPassword,
                const QString& adminPassword = kSimAdministratorPassword,
                const QString& extra = QString()) {
    QString text;
    if (tcp) {
      text = QStringLiteral(
                 "[PORTSEL]\nPORT=1\n[IPADDR]\nFIELD=127.0.0.1\nTCPPORT=%1\n"
                 "[OPTION]\nDATA1=%2\nDATA2=%3\n")
                 .arg(tcp->Port())
                 .arg(loginPassword, adminPassword);
    } else {
      text = QStringLiteral("[PORTSEL]\nPORT=0\nCOM=1\n[DEVICE]\nCOM1=%1\n").arg(pty->LinkPath());
    }
    WriteFile(text + extra);
  }
  void WriteFile(const QString& text) {
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
  }
  QString IniPath() const { return dir.filePath(QStringLiteral("setutily.ini")); }

  // Creates the window and runs start-up, confirming the connection dialog
  // after adjust (when given) has changed its controls.
  bool Start(std::function<void(ConnectionPortDialog*)> adjust = {}) {
    MainDialogSetup setup(IniPath(), messages, help);
    setup.timing = FastTiming();
    setup.clock = [this] { return now; };
    setup.openNetwork = TelnetOpener();
    setup.categories = BuildCategories;
    window = std::make_unique<MainDialog>(std::move(setup));
    dialogs.Answer({[adjust](ConnectionPortDialog* dialog) {
      if (adjust) adjust(dialog);
      Find<QPushButton>(dialog, 1)->click();
    }});
    return window->Start();
  }

  bool Close() {
    window->close();
    return WaitUntil([this] { return window->Finished(); }, 15000);
  }

  Lines CommandLines() { return tcp ? tcp->CommandLines() : pty->CommandLines(); }
  void With(const std::function<void(Device&)>& fn) {
    if (tcp) {
      tcp->With(fn);
    } else {
      pty->With(fn);
    }
  }
  bool Enabled(int id) {
    if (auto* button = Find<QPushButton>(window.get(), id)) return button->isEnabled();
    return Find<QAction>(window.get(), id)->isEnabled();
  }

  QTemporaryDir dir;
  std::unique_ptr<SimOnTcp> tcp;
  std::unique_ptr<SimOnPty> pty;
  RecordingMessages messages;
  RecordingHelp help;
  QDateTime now{QDate(2024, 1, 5), QTime(9, 3, 7)};
  DialogAnswers dialogs;
  std::unique_ptr<MainDialog> window;
};

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void Press(QWidget* widget, int id) { Find<QAbstractButton>(widget, id)->click(); }

// ---------------------------------------------------------------- start-up

TEST(NetworkMode, StartUpFromTheDialogLogsInSavesTheSettingsAndEnablesTheCommands) {
  Shell shell(Shell::Link::kTelnet, true);  // a server that waits for every option answer
  shell.WriteFile(QStringLiteral("[IPADDR]\nTCPPORT=%1\n[MODE]\nDEBUG=99\n").arg(shell.tcp->Port()));
  ASSERT_TRUE(shell.Start([](ConnectionPortDialog* dialog) {
    Press(dialog, 1002);
    Type(Find<QLineEdit>(dialog, 1016), "127.0.0.1");
    Type(Find<QLineEdit>(dialog, 1010), kSimLoginPassword);
    Type(Find<QLineEdit>(dialog, 1013), kSimAdministratorPassword);
  }));
  MainDialog& window = *shell.window;
  EXPECT_EQ(window.LogText(), LoggedInLog());
  EXPECT_EQ(window.RunSession().state.connectionState, ConnectionState::kLoggedIn);
  EXPECT_TRUE(window.RunSession().state.networkMode);
  EXPECT_TRUE(window.LinkOpen());
  EXPECT_TRUE(shell.messages.shown.empty());
  for (const int id : {1539, 1540, 1087, 32771, 32777}) EXPECT_TRUE(shell.Enabled(id)) << id;

  const ProfileFile saved(shell.IniPath());
  EXPECT_EQ(saved.ReadInt("PORTSEL", "PORT", -1), 1);
  EXPECT_EQ(saved.ReadString("IPADDR", "FIELD", {}, 19), "127.0.0.1");
  EXPECT_EQ(saved.ReadString("OPTION", "DATA1", {}, 34), kSimLoginPassword);
  EXPECT_EQ(saved.ReadString("OPTION", "DATA2", {}, 34), kSimAdministratorPassword);
  EXPECT_EQ(saved.ReadInt("IPADDR", "TCPPORT", 0), shell.tcp->Port());  // kept

  const auto record = shell.tcp->Record();
  EXPECT_EQ(record.loginTries, Lines{kSimLoginPassword});
  EXPECT_EQ(record.administratorTries, Lines{kSimAdministratorPassword});
  EXPECT_EQ(record.logins, 1);
  EXPECT_TRUE(shell.CommandLines().empty());

  // Without changes the exit sends nothing and resets the connection.
  ASSERT_TRUE(shell.Close());
  EXPECT_TRUE(shell.CommandLines().empty());
  EXPECT_FALSE(window.LinkOpen());
  EXPECT_TRUE(shell.messages.shown.empty());
  EXPECT_EQ(shell.tcp->Record().connections, 1);
}

TEST(NetworkMode, TcpPortSetting) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("setutily.ini"));
  auto portFrom = [&](const QByteArray& ini, QString* problem) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(ini);
    file.close();
    return TelnetPortSetting(ProfileFile(path), problem);
  };
  QString problem;
  EXPECT_EQ(portFrom("[MODE]\nDEBUG=99\n", &problem), 23);
  EXPECT_TRUE(problem.isEmpty());
  EXPECT_EQ(portFrom("[IPADDR]\nTCPPORT= 2323 \n", &problem), 2323);
  EXPECT_TRUE(problem.isEmpty());
  EXPECT_EQ(portFrom("[ipaddr]\ntcpport=65535\n", &problem), 65535);
  for (const char* bad : {"", "0", "65536", "-23", "+23", "23a", "99999999999999999999", "0x17"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(portFrom(QByteArray("[IPADDR]\nTCPPORT=") + bad + "\n", &problem), 23);
    EXPECT_TRUE(problem.endsWith("port 23\r\n")) << problem.toStdString();
  }
}

TEST(NetworkMode, BadTcpPortSettingIsLoggedAndPort23Tried) {
  Shell shell;
  shell.WriteFile(QStringLiteral("[PORTSEL]\nPORT=1\n[IPADDR]\nFIELD=127.0.0.1\nTCPPORT=x\n"));
  // Whatever answers on port 23 here (usually nothing), the run goes on
  // without the simulator and ends in time.
  if (shell.Start()) {
    ASSERT_TRUE(shell.Close());
  }
  EXPECT_TRUE(shell.window->LogText().startsWith(
      QStringLiteral("TCPPORT \"x\" is not a port number: port 23\r\nsocket open\r\n")));
  EXPECT_EQ(shell.tcp->Record().connections, 0);
}

TEST(NetworkMode, ConnectionsThatCannotBeMadeEndTheRun) {
  {
    SCOPED_TRACE("refused");
    Shell shell;
    shell.WriteFile(QStringLiteral("[PORTSEL]\nPORT=1\n[IPADDR]\nFIELD=127.0.0.1\nTCPPORT=%1\n")
                        .arg(ClosedPort()));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(shell.Start());
    EXPECT_LT(clock.elapsed(), 3000);
    ASSERT_EQ(shell.messages.shown.size(), 1u);
    EXPECT_EQ(shell.messages.shown[0].text,
              kNotConnected + QStringLiteral("\r\n127.0.0.1 に接続できませんでした。"));
    EXPECT_EQ(shell.messages.shown[0].icon, MessageIcon::kError);
    EXPECT_TRUE(shell.window->Finished());
    EXPECT_EQ(shell.window->LogText(), "socket open\r\n");
    EXPECT_EQ(shell.window->RunSession().state.connectionState, ConnectionState::kNone);
  }
  for (const char* address : {"192.168.0", "localhost", "127.0.0.1:23", "", "127.0.0.256"}) {
    SCOPED_TRACE(address);
    Shell shell;
    shell.WriteIni();
    EXPECT_FALSE(shell.Start([address](ConnectionPortDialog* dialog) {
      Find<QLineEdit>(dialog, 1016)->setText(QString::fromLatin1(address));
    }));
    ASSERT_EQ(shell.messages.shown.size(), 1u);
    EXPECT_TRUE(shell.messages.shown[0].text.startsWith(kNotConnected + QStringLiteral("\r\n")));
    EXPECT_EQ(shell.messages.shown[0].icon, MessageIcon::kError);
    EXPECT_TRUE(shell.window->Finished());
    EXPECT_TRUE(shell.window->LogText().isEmpty());
    EXPECT_EQ(shell.tcp->Record().connections, 0);
  }
}

TEST(NetworkMode, ServiceThatNeverAsksForThePasswordEndsTheRunInTime) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  Shell shell;
  shell.WriteFile(QStringLiteral("[PORTSEL]\nPORT=1\n[IPADDR]\nFIELD=127.0.0.1\nTCPPORT=%1\n")
                      .arg(silent.serverPort()));
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(shell.Start());
  EXPECT_LT(clock.elapsed(), 6000);
  EXPECT_TRUE(silent.hasPendingConnections());
  ASSERT_EQ(shell.messages.shown.size(), 1u);
  EXPECT_EQ(shell.messages.shown[0].text,
            LoginFailureMessage(NetworkLogin::Failure::kNoPasswordPrompt));
  EXPECT_EQ(shell.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(shell.window->LogText(), "socket open\r\nconnect ok\r\n");
  EXPECT_TRUE(shell.window->Finished());
}

TEST(NetworkMode, WrongPasswordsAreToldOnceAndNotTriedAgain) {
  struct Case {
    const char* login;
    const char* admin;
    NetworkLogin::Failure failure;
    const char* lastLogLine;
  };
  for (const Case& c :
       {Case{"wrong", kSimAdministratorPassword, NetworkLogin::Failure::kLoginPassword,
             "Local Password Check ERROR\r\n"},
        Case{kSimLoginPassword, "nimda", NetworkLogin::Failure::kAdministratorPassword,
             "administrator Password Check ERROR\r\n"}}) {
    SCOPED_TRACE(c.lastLogLine);
    Shell shell;
    shell.WriteIni(c.login, c.admin);
    EXPECT_FALSE(shell.Start());
    ASSERT_EQ(shell.messages.shown.size(), 1u);
    EXPECT_EQ(shell.messages.shown[0].text, LoginFailureMessage(c.failure));
    EXPECT_EQ(shell.messages.shown[0].icon, MessageIcon::kError);
    EXPECT_TRUE(shell.window->Finished());
    EXPECT_TRUE(shell.window->LogText().endsWith(QString::fromLatin1(c.lastLogLine)));
    EXPECT_FALSE(shell.window->LinkOpen());
    // The device asked again; nobody answered.
    WaitUntil([] { return false; }, 300);
    const auto record = shell.tcp->Record();
    EXPECT_EQ(record.loginTries, Lines{c.login});
    EXPECT_EQ(record.administratorTries,
              c.failure == NetworkLogin::Failure::kLoginPassword ? Lines{} : Lines{c.admin});
    EXPECT_EQ(record.logins, 0);
    EXPECT_EQ(record.connections, 1);
    EXPECT_TRUE(shell.CommandLines().empty());
  }
  // The messages name the password that was refused.
  EXPECT_TRUE(LoginFailureMessage(NetworkLogin::Failure::kLoginPassword).contains("ログインパスワード"));
  EXPECT_TRUE(LoginFailureMessage(NetworkLogin::Failure::kAdministratorPassword).contains("管理者パスワード"));
}

// ---------------------------------------------------------------- categories

// The same user actions through the main window: "アナログ設定" → "ＴＥＬ１",
// dial time 7; "短縮番号設定", row 00 → 0311; then quit.
void ChangeAnalogAndSpeedDial(Shell& shell) {
  MainDialog& window = *shell.window;
  window.show();
  OnNextModal<CategoryMenu>([](CategoryMenu* menu) {
    OnNextModal<FieldForm>([](FieldForm* form) {
      EXPECT_EQ(Find<QLineEdit>(form, 1151)->text(), "4");
      Type(Find<QLineEdit>(form, 1151), "7");
      Press(form, 1);
    }, menu);
    Press(menu, 1005);
    Press(menu, 2);
  });
  Press(&window, 1539);
  OnNextModal<FieldForm>([](FieldForm* form) {
    auto* first = Find<QLineEdit>(form, 1098);
    EXPECT_EQ(first->text(), "0120");
    Type(first, "0311");
    Press(form, 1);
  });
  Press(&window, 1087);
  EXPECT_EQ(window.RunSession().state.pendingChangeCount, 2);
  ASSERT_TRUE(shell.Close());
}

TEST(NetworkMode, CategoriesReadAndWriteOverTelnetAsOverTheSerialLine) {
  Lines serialLines;
  QString serialLog;
  {
    Shell serial(Shell::Link::kSerial);
    serial.WriteIni();
    serial.With([](Device& d) {
      d.Set("analog.tel1.dialtime", "4");
      d.Set("shortnum.1", "0120");
    });
    ASSERT_TRUE(serial.Start());
    const QString startLog = serial.window->LogText();
    ChangeAnalogAndSpeedDial(serial);
    serialLines = serial.CommandLines();
    serialLog = serial.window->LogText().mid(startLog.size());
    EXPECT_TRUE(serial.messages.shown.empty());
  }
  Shell telnet;
  telnet.WriteIni();
  telnet.With([](Device& d) {
    d.Set("analog.tel1.dialtime", "4");
    d.Set("shortnum.1", "0120");
  });
  ASSERT_TRUE(telnet.Start());
  ChangeAnalogAndSpeedDial(telnet);
  EXPECT_TRUE(telnet.messages.shown.empty());
  EXPECT_EQ(telnet.window->LogText(), LoggedInLog() + serialLog);
  EXPECT_TRUE(serialLog.contains("Analog Status Read OK\r\nView Analog Dlg\r\n"));
  EXPECT_TRUE(serialLog.contains("Short Number Status Write OK\r\n"));

  // Over the serial line the run ends by leaving the command line; over
  // telnet the connection just ends.
  ASSERT_FALSE(serialLines.empty());
  EXPECT_EQ(serialLines.back(), "exit");
  serialLines.pop_back();
  const Lines telnetLines = telnet.CommandLines();
  EXPECT_EQ(telnetLines, serialLines);
  EXPECT_NE(std::find(telnetLines.begin(), telnetLines.end(), "analog dial_time tel1 7"),
            telnetLines.end());
  ASSERT_FALSE(telnetLines.empty());
  EXPECT_EQ(telnetLines.back(), "fromwr 15");
  telnet.With([](Device& d) {
    EXPECT_EQ(d.Get("analog.tel1.dialtime"), "7");
    EXPECT_EQ(d.Get("shortnum.1"), "0311");
    EXPECT_EQ(d.FlashWrites(), 1);
  });
}

// ---------------------------------------------------------------- exit

TEST(NetworkMode, ExitStoresPendingChangesWithoutLeavingTheCommandLine) {
  Shell shell;
  shell.WriteIni();
  ASSERT_TRUE(shell.Start());
  shell.window->RunSession().state.pendingChangeCount = 1;
  ASSERT_TRUE(shell.Close());
  EXPECT_EQ(shell.CommandLines(), Lines{"fromwr 15"});
  shell.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 1); });
  EXPECT_TRUE(shell.messages.shown.empty());
  EXPECT_FALSE(shell.window->LinkOpen());

  // A store that is not confirmed is told; the connection still ends.
  Shell silent;
  silent.WriteIni();
  ASSERT_TRUE(silent.Start());
  silent.tcp->AddFault({Fault::kSilent, 0, "fromwr", -1, 0});
  silent.window->RunSession().state.pendingChangeCount = 2;
  ASSERT_TRUE(silent.Close());
  ASSERT_EQ(silent.messages.shown.size(), 1u);
  EXPECT_EQ(silent.messages.shown[0].text, QStringLiteral("保存（fromwr 15）を確認できませんでした。"));
  EXPECT_EQ(silent.messages.shown[0].icon, MessageIcon::kError);
  const auto log = silent.tcp->Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].line, "fromwr 15");  // lost by the device, never followed by "exit"
  EXPECT_FALSE(silent.window->LinkOpen());
}

TEST(NetworkMode, ClockAndFactoryResetOverTelnet) {
  Shell shell;
  shell.WriteIni(kSimLoginPassword, kSimAdministratorPassword, "[MODE]\nDEBUG=99\n");
  ASSERT_TRUE(shell.Start());
  MainDialog& window = *shell.window;
  window.SetDeviceClock();
  EXPECT_EQ(shell.CommandLines(), (Lines{"date 2024/01/05", "time 09:03:07", "youbi 5"}));

  // The restarting device drops the connection as soon as it has answered,
  // before the exit sequence has started.
  CommandExchange& exchange = window.RunSession().exchange;
  QObject::connect(&exchange, &CommandExchange::BusyChanged, &window, [&exchange](bool busy) {
    if (!busy) emit exchange.Transport()->LinkLost();
  });
  window.RunSession().state.pendingChangeCount = 1;
  window.FactoryReset();
  // The device restarts and drops the connection: that is no failure.
  ASSERT_TRUE(WaitUntil([&] { return window.Finished(); }, 10000));
  WaitUntil([] { return false; }, 100);
  const Lines lines = shell.CommandLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.back(), "restart");
  EXPECT_TRUE(window.LogText().endsWith("link lost\r\ninit ok\r\n")) << window.LogText().toStdString();
  ASSERT_EQ(shell.messages.shown.size(), 2u);  // the two questions, nothing else
  EXPECT_TRUE(shell.messages.shown[0].question);
  EXPECT_TRUE(shell.messages.shown[1].question);
  EXPECT_FALSE(window.LinkOpen());
}

}  // namespace
}  // namespace setutily
