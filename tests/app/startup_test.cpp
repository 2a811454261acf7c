// Start-up against the simulator on a pseudo-terminal: identification, its
// failures and messages, the firmware gate, the debug switch, and the
// network hook.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/identify.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::ShellRig;

const QString kNotConnected = QStringLiteral("機器が接続されていません。");
const QString kWrongDevice = QStringLiteral("MORIVEX-9が接続されていません。");

TEST(Startup, IdentifiesTheDeviceAndOnQuitLeavesItsCommandLineAndClosesThePort) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  MainDialog& window = *rig.window;
  EXPECT_EQ(rig.Received(), (Lines{"ATI", "AT%I2", "AT%M", "ATT1", ""}));
  EXPECT_EQ(window.Identity().firmwareVersion, "Version 1.00");
  EXPECT_EQ(window.Identity().macAddress, "00:80:6D:12:34:56");
  EXPECT_EQ(window.RunSession().state.connectionState, ConnectionState::kLinkOpen);
  EXPECT_FALSE(window.RunSession().state.networkMode);
  EXPECT_EQ(window.LogText(), "com open\r\n");
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_TRUE(window.LinkOpen());
  // No category is plugged in: every category button stays disabled; the
  // maintenance commands work while connected.
  for (int id : {1001, 1538, 1539, 1540, 1541, 1087}) {
    EXPECT_FALSE(Find<QPushButton>(&window, id)->isEnabled()) << id;
  }
  EXPECT_TRUE(Find<QPushButton>(&window, 1590)->isEnabled());
  EXPECT_TRUE(Find<QAction>(&window, 32771)->isEnabled());
  EXPECT_TRUE(Find<QAction>(&window, 32777)->isEnabled());

  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
  EXPECT_FALSE(window.LinkOpen());
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(Startup, IdentificationFailuresShowOneMessageAndEndTheRunWithoutExit) {
  struct Case {
    const char* name;
    std::function<void(Device&)> prepare;
    QString message;
    Lines received;
  };
  const Case cases[] = {
      {"no answer", [](Device& d) { d.AddFault({Fault::kSilent, 0, "ATI", -1, 0}); },
       kNotConnected, {}},
      {"another model", [](Device& d) { d.SetModelName("OTHER-7"); }, kWrongDevice, {"ATI"}},
      {"no version", [](Device& d) { d.AddFault({Fault::kSilent, 0, "AT%I2", -1, 0}); },
       kWrongDevice, {"ATI"}},
      {"no MAC address", [](Device& d) { d.AddFault({Fault::kSilent, 0, "AT%M", -1, 0}); },
       kWrongDevice, {"ATI", "AT%I2"}},
      {"no command line", [](Device& d) { d.AddFault({Fault::kSilent, 0, "ATT1", -1, 0}); },
       kWrongDevice, {"ATI", "AT%I2", "AT%M"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShellRig rig;
    rig.sim.With(c.prepare);
    EXPECT_FALSE(rig.Start());  // "終了" in the dialog shown again
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    // No answer at all names the port and its device.
    const QString where = QStringLiteral("\r\nCOM1（%1）から応答がありません。").arg(rig.sim.LinkPath());
    EXPECT_EQ(rig.messages.shown[0].text, c.message + (c.message == kNotConnected ? where : QString()));
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
    EXPECT_TRUE(rig.window->Finished());
    EXPECT_FALSE(rig.window->LinkOpen());  // the port is closed again
    EXPECT_EQ(rig.Received(), c.received);  // no "exit\r": nothing was connected
    EXPECT_EQ(rig.window->RunSession().state.connectionState, ConnectionState::kNone);
  }
}

TEST(Startup, FirmwareGate) {
  struct Case {
    const char* firmware;
    bool accepted;
    const char* field;
  };
  const Case cases[] = {
      {"0.90", false, "Version 0.90"},
      {"0.99 beta", false, "Version 0.99 "},  // the whole 13-character field
      {"abc", false, "Version abc"},
      {"inf", false, "Version inf"},
      {"0x1F", false, "Version 0x1F"},
      {"1.00", true, "Version 1.00"},
      {"2.5", true, "Version 2.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firmware);
    ShellRig rig;
    rig.sim.With([&](Device& d) { d.SetFirmware(c.firmware); });
    EXPECT_EQ(rig.Start(), c.accepted);
    EXPECT_EQ(rig.window->Identity().firmwareVersion, c.field);
    if (c.accepted) {
      EXPECT_TRUE(rig.messages.shown.empty());
      continue;
    }
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text,
              QStringLiteral("ファームウェア %1では、ご使用になれません。\r\n\r\n"
                             "Version 1.00 以降へバージョンアップしてください。")
                  .arg(QString::fromLatin1(c.field)));
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
    // The device was identified, so the normal exit sequence runs.
    EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
    EXPECT_TRUE(rig.window->Finished());
    EXPECT_FALSE(rig.window->LinkOpen());
  }
}

TEST(Startup, FirmwareNumberIsReadStrictly) {
  EXPECT_TRUE(FirmwareSupported(""));  // network mode: no field
  EXPECT_TRUE(FirmwareSupported("Version 1"));
  EXPECT_TRUE(FirmwareSupported("Version 001.0"));
  EXPECT_TRUE(FirmwareSupported("Version 10.00a"));
  EXPECT_FALSE(FirmwareSupported("Version 0.999"));
  EXPECT_FALSE(FirmwareSupported("Version .5"));
  EXPECT_FALSE(FirmwareSupported("Version +1.0"));
  EXPECT_FALSE(FirmwareSupported("Version  1.0"));
  EXPECT_FALSE(FirmwareSupported("Version ,5"));
  EXPECT_FALSE(FirmwareSupported("Version "));
}

TEST(Startup, FieldsComeOnlyFromTheirOwnReply) {
  ShellRig rig;
  rig.sim.With([](Device& d) { d.SetMac("00:11"); });
  ASSERT_TRUE(rig.Start());
  EXPECT_EQ(rig.window->Identity().macAddress, "00:11");
}

TEST(Startup, PortThatCannotBeOpened) {
  ShellRig rig;
  rig.WriteIni("[DEVICE]\nCOM1=" + rig.dir.filePath("missing-tty") + "\n");
  EXPECT_FALSE(rig.Start());
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_TRUE(rig.messages.shown[0].text.startsWith(QStringLiteral("指定したポートがオープンできません。\r\n")));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(rig.window->LogText().contains("missing-tty"));  // the reason, for the log pane
  EXPECT_TRUE(rig.Received().empty());
}

TEST(Startup, AFailureShowsTheDialogAgainWithTheUsersChoicesToCorrect) {
  ShellRig rig(QStringLiteral("COM2=/missing-tty\n"));
  int shownAgain = -1;
  ASSERT_TRUE(rig.Start([](ConnectionPortDialog* d) { Find<QComboBox>(d, 1022)->setCurrentIndex(1); },
                        {[&shownAgain](ConnectionPortDialog* d) {
                          shownAgain = Find<QComboBox>(d, 1022)->currentIndex();
                          Find<QComboBox>(d, 1022)->setCurrentIndex(0);
                          Find<QPushButton>(d, 1)->click();
                        }}));
  EXPECT_EQ(shownAgain, 1);  // COM2, as the user chose it
  EXPECT_EQ(rig.dialogs.Shown(), 2);
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_TRUE(rig.messages.shown[0].text.contains(QStringLiteral("/missing-tty")));
  EXPECT_EQ(rig.window->RunSession().state.connectionState, ConnectionState::kLinkOpen);
  EXPECT_EQ(rig.Received(), (Lines{"ATI", "AT%I2", "AT%M", "ATT1", ""}));
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
}

TEST(Startup, CancellingTheConnectionDialogEndsQuietly) {
  ShellRig rig;
  rig.window = std::make_unique<MainDialog>(rig.Setup());
  testing::OnNextModal<ConnectionPortDialog>(
      [](ConnectionPortDialog* d) { Find<QPushButton>(d, 2)->click(); });
  EXPECT_FALSE(rig.window->Start());
  EXPECT_TRUE(rig.window->Finished());
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_TRUE(rig.Received().empty());
  EXPECT_FALSE(rig.window->LinkOpen());
}

TEST(Startup, AnUnusableSettingsFileIsToldBeforeTheDialogShowsDefaults) {
  ShellRig rig;
  rig.WriteIni(QString(ProfileFile::kMaxFileSize, u';') + QStringLiteral("\n[PORTSEL]\nCOM=4\n"));
  rig.window = std::make_unique<MainDialog>(rig.Setup());
  std::size_t toldBefore = 0;
  int shownPort = -1;
  testing::OnNextModal<ConnectionPortDialog>([&](ConnectionPortDialog* d) {
    toldBefore = rig.messages.shown.size();
    shownPort = Find<QComboBox>(d, 1022)->currentIndex();
    Find<QPushButton>(d, 2)->click();
  });
  EXPECT_FALSE(rig.window->Start());
  EXPECT_EQ(toldBefore, 1u);
  EXPECT_EQ(shownPort, 0);  // the default COM1, not the file's COM4
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text,
            ProfileFile::ProblemText(ProfileFile::Problem::kTooLarge) +
                QStringLiteral("\r\n接続設定は既定の値で表示します。"));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kWarning);
}

TEST(Startup, TheLogTextKeepsTheLatestLinesLikeThePane) {
  ShellRig rig;
  rig.window = std::make_unique<MainDialog>(rig.Setup());
  MainDialog& window = *rig.window;
  for (int i = 0; i < 3 * MainDialog::kLogLines; ++i) {
    window.AppendLog(QStringLiteral("IAC data %1\r\n").arg(i));
  }
  const QString& text = window.LogText();
  EXPECT_LE(text.count(u'\n'), 2 * MainDialog::kLogLines);
  EXPECT_GE(text.count(u'\n'), MainDialog::kLogLines);
  EXPECT_TRUE(text.endsWith(QStringLiteral("IAC data %1\r\n").arg(3 * MainDialog::kLogLines - 1)));
  EXPECT_TRUE(text.startsWith(QStringLiteral("IAC data ")));  // whole lines only
  // One endless line is bounded by its characters.
  window.AppendLog(QString(3 * MainDialog::kLogCharacters, u'x'));
  EXPECT_LE(window.LogText().size(), 2 * MainDialog::kLogCharacters);
}

TEST(Startup, DebugSwitchShowsTheLogPane) {
  for (const auto& [ini, shown] : {std::pair{"", false}, std::pair{"[MODE]\nDEBUG=98\n", false},
                                   std::pair{"[mode]\ndebug=99\n", true}}) {
    SCOPED_TRACE(ini);
    ShellRig rig(ini);
    ASSERT_TRUE(rig.Start());
    rig.window->show();
    auto* pane = Find<QPlainTextEdit>(rig.window.get(), 1091);
    EXPECT_EQ(pane->isVisible(), shown);
    EXPECT_EQ(rig.window->DebugMode(), shown);
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->toPlainText(), "com open\n");
    EXPECT_EQ(pane->accessibleName(), QStringLiteral("デバック"));
    ASSERT_TRUE(rig.Close());
  }
}

// Network mode through the start-up hook: a transport to an in-process
// device stands in for the telnet connection.
TEST(Startup, NetworkModeWithoutAConnectionEndsTheRun) {
  ShellRig rig;
  EXPECT_FALSE(rig.Start([](ConnectionPortDialog* d) { Find<QRadioButton>(d, 1002)->click(); }));
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text,
            kNotConnected + QStringLiteral("\r\nＩＰアドレスが入力されていません。"));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(rig.Received().empty());  // the serial line stays untouched
  EXPECT_EQ(rig.window->RunSession().state.connectionState, ConnectionState::kNone);

  ShellRig refused;
  refused.openNetwork = [](const NetworkOpenRequest& request) {
    request.appendLog("socket open\r\n");
    return NetworkOpenResult{nullptr, QStringLiteral("ログインできませんでした。")};
  };
  EXPECT_FALSE(
      refused.Start([](ConnectionPortDialog* d) { Find<QRadioButton>(d, 1002)->click(); }));
  ASSERT_EQ(refused.messages.shown.size(), 1u);
  EXPECT_EQ(refused.messages.shown[0].text, QStringLiteral("ログインできませんでした。"));
  EXPECT_EQ(refused.window->LogText(), "socket open\r\n");
}

TEST(Startup, NetworkModeExchangesOverTheOpenedTransportAndStoresChangesAtExit) {
  for (const int pending : {0, 1}) {
    SCOPED_TRACE(pending);
    ShellRig rig;
    auto device = std::make_shared<Device>();
    device->SetCommandLine(true);
    ConnectionSettings seen;
    rig.openNetwork = [device, &seen](const NetworkOpenRequest& request) {
      seen = request.settings;
      return NetworkOpenResult{std::make_unique<testing::InProcessTransport>(*device), {}};
    };
    ASSERT_TRUE(rig.Start([](ConnectionPortDialog* d) {
      Find<QRadioButton>(d, 1002)->click();
      Find<QLineEdit>(d, 1016)->setText("192.168.0.254");
      Find<QLineEdit>(d, 1010)->setText("pass");
    }));
    EXPECT_EQ(seen.address, "192.168.0.254");
    EXPECT_EQ(seen.loginPassword, "pass");
    MainDialog& window = *rig.window;
    EXPECT_EQ(window.RunSession().state.connectionState, ConnectionState::kLoggedIn);
    EXPECT_TRUE(window.RunSession().state.networkMode);
    EXPECT_TRUE(window.Identity().firmwareVersion.empty());
    EXPECT_TRUE(Find<QAction>(&window, 32771)->isEnabled());
    EXPECT_EQ(window.RunSession().exchange.SendAndWait("show x\r", nullptr, 1000,
                                                       kTerminatorPrompt),
              1);
    window.RunSession().state.pendingChangeCount = pending;
    ASSERT_TRUE(rig.Close());
    Lines expected{"show x"};
    if (pending != 0) expected.push_back("fromwr 15");  // and never "exit"
    EXPECT_EQ(device->CommandLines(), expected);
    EXPECT_FALSE(window.LinkOpen());
    EXPECT_TRUE(rig.Received().empty());
    EXPECT_TRUE(rig.messages.shown.empty());
  }
}

}  // namespace
}  // namespace setutily
