// The exit sequence and the maintenance commands, as the simulator's command
// log sees them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/identify.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::ShellRig;
using testing::WaitUntil;

const QString kResetQuestion = QStringLiteral(
    "工場出荷時へ初期化します。\r\n初期化後、MORIVEX-9をリブートし設定ユーティリティを終了します。"
    "\r\nよろしいですか？");
const QString kClockQuestion =
    QStringLiteral("パソコンから日時を取得しMORIVEX-9へ登録します。\r\nよろしいですか？");

TEST(ExitSequence, ClosingWithoutConfirmedFormsSendsOnlyExit) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
  rig.sim.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 0); });
}

TEST(ExitSequence, ConfirmedFormsAreStoredBeforeExit) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.window->RunSession().state.pendingChangeCount = 1;
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"fromwr 15", "exit"}));
  rig.sim.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 1); });
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_FALSE(rig.window->LinkOpen());
}

TEST(ExitSequence, ASignalClosesOpenWindowsStoresNothingAndLeavesTheCommandLine) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.window->RunSession().state.pendingChangeCount = 2;
  QElapsedTimer clock;
  clock.start();
  QTimer::singleShot(0, rig.window.get(), &MainDialog::EndBySignal);
  // A modal window stays open until someone closes it: the signal's run does.
  QTimer::singleShot(5000, [] {
    if (QWidget* open = QApplication::activeModalWidget()) open->close();
  });
  rig.window->ShowVersionBox();
  EXPECT_LT(clock.elapsed(), 2000);
  ASSERT_TRUE(WaitUntil([&] { return rig.window->Finished(); }));
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(ExitSequence, QuitButtonEscapeAndCloseBoxRunItOnce) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.window->show();
  Find<QPushButton>(rig.window.get(), 1590)->click();
  QTest::keyClick(rig.window.get(), Qt::Key_Escape);
  rig.window->close();
  rig.window->RequestClose();
  ASSERT_TRUE(WaitUntil([&] { return rig.window->Finished(); }));
  QTest::qWait(50);
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));
  EXPECT_FALSE(rig.window->isVisible());

  // Escape alone also leads there.
  ShellRig escape;
  ASSERT_TRUE(escape.Start());
  escape.window->show();
  QTest::keyClick(escape.window.get(), Qt::Key_Escape);
  ASSERT_TRUE(WaitUntil([&] { return escape.window->Finished(); }));
  EXPECT_EQ(escape.sim.CommandLines(), (Lines{"exit"}));
}

TEST(ExitSequence, UnansweredStoreAndExitAreReportedAndThePortStillCloses) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.sim.AddFault({Fault::kSilent, 0, "fromwr", -1, 0});
  rig.sim.AddFault({Fault::kSilent, 0, "exit", -1, 0});
  rig.window->RunSession().state.pendingChangeCount = 3;
  ASSERT_TRUE(rig.Close());
  ASSERT_EQ(rig.messages.shown.size(), 2u);
  EXPECT_EQ(rig.messages.shown[0].text, QStringLiteral("保存（fromwr 15）を確認できませんでした。"));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(rig.messages.shown[1].text, QStringLiteral("正常に終了できませんでした。"));
  EXPECT_EQ(rig.messages.shown[1].icon, MessageIcon::kError);
  const auto log = rig.sim.Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].line, "fromwr 15");  // the sequence went on after the failure
  EXPECT_EQ(log.back().line, "exit");
  EXPECT_FALSE(rig.window->LinkOpen());
}

TEST(ExitSequence, CloseRequestDuringAnExchangeWaitsForIt) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.window->show();
  rig.now = QDateTime(QDate(2024, 3, 1), QTime(12, 0, 0));
  rig.sim.AddFault({Fault::kDelay, 300, "date", 1, 0});
  bool lockedDuringExchange = false;
  testing::DuringNextExchange(rig.window->RunSession().exchange, [&] {
    lockedDuringExchange = !rig.window->isEnabled() &&
                           !Find<QAction>(rig.window.get(), 32771)->isEnabled() &&
                           rig.window->RunSession().exchange.IsBusy();
    rig.window->close();  // arrives inside the waiting exchange
    rig.window->SetDeviceClock();  // a second command cannot start meanwhile
  });
  rig.window->SetDeviceClock();
  EXPECT_TRUE(lockedDuringExchange);
  EXPECT_FALSE(rig.window->Finished());  // nothing ran inside the exchange
  ASSERT_TRUE(WaitUntil([&] { return rig.window->Finished(); }));
  EXPECT_EQ(rig.sim.CommandLines(),
            (Lines{"date 2024/03/01", "time 12:00:00", "youbi 5", "exit"}));
  EXPECT_EQ(rig.messages.shown.size(), 1u);  // the one clock question
}

TEST(FactoryReset, RestartsTheDeviceAndEndsTheRunWithoutStoringOrExit) {
  for (const int pending : {0, 2}) {
    SCOPED_TRACE(pending);
    ShellRig rig;
    ASSERT_TRUE(rig.Start());
    rig.window->RunSession().state.pendingChangeCount = pending;
    Find<QAction>(rig.window.get(), 32771)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return rig.window->Finished(); }));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, kResetQuestion);
    EXPECT_TRUE(rig.messages.shown[0].question);
    // The restarting device gets nothing more: no store, no exit.
    EXPECT_EQ(rig.sim.CommandLines(), (Lines{"restart"}));
    EXPECT_EQ(rig.window->LogText(), "com open\r\ninit ok\r\n");
    EXPECT_FALSE(rig.window->LinkOpen());
    EXPECT_FALSE(rig.window->RunSession().state.rebootOnClose);  // cleared by the exit
  }
}

TEST(FactoryReset, CancelledOrFailedKeepsTheRunGoing) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.messages.answers = {false};
  rig.window->FactoryReset();
  EXPECT_TRUE(rig.sim.CommandLines().empty());

  rig.sim.AddFault({Fault::kSilent, 0, "restart", -1, 0});
  rig.window->FactoryReset();
  ASSERT_EQ(rig.messages.shown.size(), 3u);
  EXPECT_EQ(rig.messages.shown[2].text, QStringLiteral("初期化に失敗しました。"));
  EXPECT_EQ(rig.messages.shown[2].icon, MessageIcon::kError);
  EXPECT_FALSE(rig.window->RunSession().state.rebootOnClose);
  QTest::qWait(50);
  EXPECT_FALSE(rig.window->Finished());
  EXPECT_TRUE(rig.window->isEnabled());
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"exit"}));  // the lost restart never arrived
}

TEST(DeviceClock, SaturdayFifthOfJanuary) {
  const auto commands = ClockCommands(QDateTime(QDate(2019, 1, 5), QTime(9, 3, 7)));
  EXPECT_EQ(commands[0], "date 2019/01/05\r");
  EXPECT_EQ(commands[1], "time 09:03:07\r");
  EXPECT_EQ(commands[2], "youbi 6\r");
  EXPECT_EQ(ClockCommands(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)))[2], "youbi 0\r");

  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.now = QDateTime(QDate(2019, 1, 5), QTime(9, 3, 7));
  Find<QAction>(rig.window.get(), 32777)->trigger();
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"date 2019/01/05", "time 09:03:07", "youbi 6"}));
  rig.sim.With([](Device& d) {
    EXPECT_EQ(d.ClockDate(), "2019/01/05");
    EXPECT_EQ(d.ClockTime(), "09:03:07");
    EXPECT_EQ(d.ClockWeekday(), 6);
  });
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text, kClockQuestion);
  EXPECT_EQ(rig.window->RunSession().state.pendingChangeCount, 0);
  EXPECT_EQ(rig.window->LogText(), "com open\r\n");  // no log line, no message
}

TEST(DeviceClock, CancelSendsNothingAndAFailedCommandStopsTheRest) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.messages.answers = {false};
  rig.window->SetDeviceClock();
  EXPECT_TRUE(rig.sim.CommandLines().empty());

  rig.sim.AddFault({Fault::kSilent, 0, "date", 1, 0});
  rig.window->SetDeviceClock();
  EXPECT_TRUE(rig.sim.CommandLines().empty());  // the date was lost; time and day never sent
  rig.sim.AddFault({Fault::kSilent, 0, "time", 1, 0});
  rig.window->SetDeviceClock();
  const Lines lines = rig.sim.CommandLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("date ", 0), 0u);
  EXPECT_EQ(rig.messages.shown.size(), 3u);  // only the questions
}

}  // namespace
}  // namespace setutily
