// The category launch pattern of the main window, with stand-in categories
// that read and write through the session's exchange.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>

#include "forms/busy_box.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::ShellRig;
using testing::WaitUntil;

// What the stand-in category saw and did.
struct Probe {
  int reads = 0, shows = 0, writes = 0;
  bool lockedWhileReading = false;
  bool busyBoxWhileReading = false;
  QWidget* dialogParent = nullptr;
  bool confirm = false;
  bool restartDevice = false;
};

CategoryLaunch MakeCategory(Session& session, Probe& probe, int buttonId, bool form) {
  CategoryLaunch category;
  category.buttonId = buttonId;
  category.readOk = "Probe Read OK\r\n";
  category.readError = "Probe Read ERROR\r\n";
  category.view = "View Probe Dlg\r\n";
  category.read = [&session, &probe] {
    ++probe.reads;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<MainDialog*>(w)) {
        probe.lockedWhileReading = !main->isEnabled();
        probe.busyBoxWhileReading = main->findChild<BusyBox*>() != nullptr;
      }
    }
    return session.exchange.SendAndWait("show probe\r", &session.replyText, 300,
                                        kTerminatorPrompt);
  };
  category.show = [&session, &probe](QWidget* parent) {
    ++probe.shows;
    probe.dialogParent = parent;
    if (probe.confirm) ++session.state.pendingChangeCount;
    if (probe.restartDevice) session.state.rebootOnClose = true;
    return probe.confirm;
  };
  if (form) {
    category.writeOk = "Probe Write OK\r\n";
    category.writeError = "Probe Write ERROR\r\n";
    category.write = [&session, &probe] {
      ++probe.writes;
      WriteOutcome outcome;
      outcome.written =
          session.exchange.SendAndWait("probe set 1\r", nullptr, 300, kTerminatorPrompt);
      return outcome;
    };
  }
  return category;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.refusalsExpected = true;  // the probe's commands are not the device's
    rig.categories = [this](Session& session) {
      return std::vector<CategoryLaunch>{MakeCategory(session, menu, 1539, false),
                                         MakeCategory(session, form, 1087, true)};
    };
    ASSERT_TRUE(rig.Start());
    rig.window->show();
  }
  void Click(int id) { Find<QPushButton>(rig.window.get(), id)->click(); }

  Probe menu, form;
  ShellRig rig;
};

TEST_F(LaunchTest, OnlyBuiltCategoriesHaveWorkingButtons) {
  EXPECT_TRUE(Find<QPushButton>(rig.window.get(), 1539)->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(rig.window.get(), 1087)->isEnabled());
  for (int id : {1001, 1538, 1540, 1541}) {
    EXPECT_FALSE(Find<QPushButton>(rig.window.get(), id)->isEnabled()) << id;
  }
}

TEST_F(LaunchTest, EnterOnAFocusedButtonLaunchesItAndTheFocusStaysThere) {
  QWidget* button = Find<QPushButton>(rig.window.get(), 1539);
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_EQ(menu.shows, 1);
  EXPECT_EQ(rig.window->focusWidget(), button);
}

TEST_F(LaunchTest, MenuCategoryReadsLogsAndOpensUnderTheLockedWindow) {
  Click(1539);
  EXPECT_EQ(menu.reads, 1);
  EXPECT_TRUE(menu.lockedWhileReading);
  EXPECT_TRUE(menu.busyBoxWhileReading);
  EXPECT_EQ(menu.shows, 1);
  EXPECT_EQ(menu.dialogParent, rig.window.get());
  EXPECT_EQ(rig.window->LogText(), "com open\r\nProbe Read OK\r\nView Probe Dlg\r\n");
  EXPECT_TRUE(rig.window->isEnabled());
  EXPECT_EQ(rig.window->findChild<BusyBox*>(), nullptr);
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show probe"}));
}

TEST_F(LaunchTest, FailedReadLogsOneLineAndOpensNothing) {
  rig.sim.AddFault({Fault::kSilent, 0, "show probe", 1, 0});
  Click(1087);
  EXPECT_EQ(form.shows, 0);
  EXPECT_EQ(form.writes, 0);
  EXPECT_EQ(rig.window->LogText(), "com open\r\nProbe Read ERROR\r\n");
  EXPECT_TRUE(rig.window->isEnabled());
  EXPECT_EQ(rig.messages.Texts(), QStringList{"短縮番号設定の読込みに失敗しました。"});
}

TEST_F(LaunchTest, FormCategoryWritesOnlyAfterConfirmation) {
  Click(1087);  // cancelled: nothing written, nothing more logged
  EXPECT_EQ(form.writes, 0);
  form.confirm = true;
  Click(1087);
  EXPECT_EQ(form.writes, 1);
  rig.sim.AddFault({Fault::kSilent, 0, "probe set", 1, 0});
  Click(1087);
  EXPECT_EQ(rig.window->LogText(),
            "com open\r\n"
            "Probe Read OK\r\nView Probe Dlg\r\n"
            "Probe Read OK\r\nView Probe Dlg\r\nProbe Write OK\r\n"
            "Probe Read OK\r\nView Probe Dlg\r\nProbe Write ERROR\r\n");
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show probe", "show probe", "probe set 1",
                                           "show probe", "fromwr 15", "exit"}));
}

TEST_F(LaunchTest, NoSecondCommandWhileOneRuns) {
  // From inside the read's exchange, try the other commands.
  rig.sim.AddFault({Fault::kDelay, 200, "show probe", 1, 0});
  testing::DuringNextExchange(rig.window->RunSession().exchange, [this] {
    EXPECT_FALSE(Find<QPushButton>(rig.window.get(), 1087)->isEnabled());
    EXPECT_FALSE(Find<QAction>(rig.window.get(), 32777)->isEnabled());
    Find<QPushButton>(rig.window.get(), 1087)->click();
    rig.window->SetDeviceClock();
    rig.window->FactoryReset();
  });
  Click(1539);
  EXPECT_EQ(form.reads, 0);
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show probe"}));
  EXPECT_TRUE(Find<QPushButton>(rig.window.get(), 1087)->isEnabled());
}

TEST_F(LaunchTest, DeviceRestartAfterACategoryClosesTheWindow) {
  menu.restartDevice = true;
  Click(1539);
  ASSERT_TRUE(WaitUntil([this] { return rig.window->Finished(); }));
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show probe"}));  // no "exit\r" to a restarting device
}

TEST_F(LaunchTest, LostLinkIsToldOnceWithWhatIsNotStoredAndOffersTheConnectionDialog) {
  rig.window->RunSession().state.pendingChangeCount = 2;
  rig.sim.AddFault({Fault::kHangUp, 0, "show probe", 1, 0});
  Click(1539);
  // The dialog shown again is answered with "終了": the run ends, sending
  // nothing more and telling nothing more.
  ASSERT_TRUE(WaitUntil([this] { return rig.window->Finished(); }));
  EXPECT_EQ(rig.dialogs.Shown(), 2);
  EXPECT_EQ(rig.window->LogText(), "com open\r\nlink lost\r\nProbe Read ERROR\r\n");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text,
            QStringLiteral("MORIVEX-9との接続が切れました。（シリアル: COM1 (%1)）\r\n"
                           "登録した変更 2 件は本体に送りましたが、まだ本体に保存していません。\r\n"
                           "接続し直して終了すると保存します（MORIVEX-9の電源を切ると失われます）。"
                           "\r\n\r\n接続ポート設定を開きます。")
                .arg(rig.sim.LinkPath()));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show probe"}));
}

}  // namespace
}  // namespace setutily
