// What the user sees around the steps of a run: the busy box during every
// wait, the reason a port did not open, the status line, the questions'
// buttons, the icon's name and tooltips on disabled buttons.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "forms/busy_box.h"
#include "root/categories.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Click;
using testing::Find;
using testing::OnNextModal;
using testing::ShellRig;

const QString kPortFailure = QStringLiteral("指定したポートがオープンできません。");

// The text of the busy box on screen, if any.
QString VisibleBusyBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<BusyBox*>(widget); box != nullptr && box->isVisible()) {
      return box->accessibleName();
    }
  }
  return {};
}

TEST(Feedback, BusyBoxWhileTheDeviceIsIdentifiedAndWhileChangesAreStored) {
  // Identification: the device answers "ATI" late.
  ShellRig start;
  start.sim.AddFault({Fault::kDelay, 200, "ATI", 1, 0});
  start.window = std::make_unique<MainDialog>(start.Setup());
  QString during;
  testing::DuringNextExchange(start.window->RunSession().exchange,
                              [&] { during = VisibleBusyBox(); });
  OnNextModal<ConnectionPortDialog>([](ConnectionPortDialog* d) { Click(d, 1); });
  ASSERT_TRUE(start.window->Start());
  EXPECT_EQ(during, QStringLiteral("MORIVEX-9を確認しています…"));
  EXPECT_TRUE(VisibleBusyBox().isEmpty());

  // The store at exit: "fromwr 15" is answered late.
  ShellRig exit;
  ASSERT_TRUE(exit.Start());
  exit.window->show();
  exit.window->RunSession().state.pendingChangeCount = 1;
  exit.sim.AddFault({Fault::kDelay, 200, "fromwr", 1, 0});
  bool locked = false;
  testing::DuringNextExchange(exit.window->RunSession().exchange, [&] {
    during = VisibleBusyBox();
    locked = !exit.window->isEnabled();
  });
  ASSERT_TRUE(exit.Close());
  EXPECT_EQ(during, QStringLiteral("設定を本体に保存しています…"));
  EXPECT_TRUE(locked);
  EXPECT_EQ(exit.sim.CommandLines(), (testing::Lines{"fromwr 15", "exit"}));
}

TEST(Feedback, PortFailureNamesThePathAndTheReason) {
  ShellRig holder;  // holds its simulator's line open
  ASSERT_TRUE(holder.Start());
  ShellRig rig;
  const QString missing = rig.dir.filePath("missing-tty");
  const QString locked = rig.dir.filePath("locked-tty");
  {
    QFile file(locked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));  // mode 000
  struct Case {
    QString path;
    QString reason;
    bool skip;
  } const cases[] = {
      {missing, missing + QStringLiteral(" が見つかりません。"), false},
      {holder.sim.LinkPath(),
       QStringLiteral("ポートは他のプログラムが使用中です（%1、プロセスID %2）。")
           .arg(holder.sim.LinkPath())
           .arg(QCoreApplication::applicationPid()),
       false},
      {locked,
       locked + QStringLiteral(" を開く権限がありません。dialout グループに参加し、ログインし直してください。"),
       ::geteuid() == 0},  // root may open anything
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    if (c.skip) continue;
    ShellRig failing;
    failing.WriteIni("[DEVICE]\nCOM1=" + c.path + "\n");
    EXPECT_FALSE(failing.Start());
    ASSERT_EQ(failing.messages.shown.size(), 1u);
    EXPECT_EQ(failing.messages.shown[0].text, kPortFailure + "\r\n" + c.reason);
    EXPECT_EQ(failing.messages.shown[0].icon, MessageIcon::kError);
    EXPECT_TRUE(failing.window->LogText().contains(c.path));  // the full detail
  }
  // The texts that do not need a real device.
  EXPECT_EQ(PortOpenFailureMessage(1, "/dev/ttyS0", SerialOpenFailure::kPermission),
            kPortFailure + QStringLiteral("\r\n/dev/ttyS0 を開く権限がありません。dialout "
                                          "グループに参加し、ログインし直してください。"));
  EXPECT_EQ(PortOpenFailureMessage(0, QString(), SerialOpenFailure::kNoDevice),
            kPortFailure + QStringLiteral("\r\nCOM0 に対応するデバイスがありません。"));
}

// A main window with the real categories; an analog form is confirmed.
class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.categories = BuildCategories;
    ASSERT_TRUE(rig.Start());
    rig.window->show();
    EXPECT_EQ(rig.window->StatusLinkText(),
              QStringLiteral("シリアル: COM1 (%1)").arg(rig.sim.LinkPath()));
    EXPECT_TRUE(rig.window->StatusPendingText().isEmpty());
    // The analog menu, its TEL1 form confirmed unchanged, and back.
    OnNextModal<QDialog>([](QDialog* menu) {
      OnNextModal<QDialog>([](QDialog* form) { Click(form, 1); }, menu);
      Click(menu, 1005);
      Click(menu, 2);
    });
    Click(rig.window.get(), 1539);
    EXPECT_EQ(rig.window->StatusPendingText(), QStringLiteral("本体に保存していない変更: 1"));
  }
  ShellRig rig;
};

TEST_F(StatusLine, StoreAtExitClearsThePendingCount) {
  ASSERT_TRUE(rig.Close());
  EXPECT_TRUE(rig.window->StatusPendingText().isEmpty());
  EXPECT_EQ(rig.window->StatusLinkText(), QStringLiteral("未接続"));
}

TEST_F(StatusLine, LostStoreKeepsTheCount) {
  rig.sim.AddFault({Fault::kSilent, 0, "fromwr", -1, 0});
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.window->StatusPendingText(), QStringLiteral("本体に保存していない変更: 1"));
}

TEST_F(StatusLine, FactoryResetClearsThePendingCount) {
  Find<QAction>(rig.window.get(), 32771)->trigger();
  EXPECT_TRUE(rig.window->StatusPendingText().isEmpty());
  ASSERT_TRUE(testing::WaitUntil([&] { return rig.window->Finished(); }));
  EXPECT_EQ(rig.sim.CommandLines().back(), "restart");  // nothing stored
}

TEST(Feedback, QuestionsStartOnTheSafeAnswer) {
  ShellRig rig;
  ASSERT_TRUE(rig.Start());
  rig.messages.answers = {false, false};
  rig.window->FactoryReset();
  rig.window->SetDeviceClock();
  ASSERT_EQ(rig.messages.shown.size(), 2u);
  EXPECT_EQ(rig.messages.shown[0].start, DefaultAnswer::kCancel);  // the factory reset
  EXPECT_EQ(rig.messages.shown[1].start, DefaultAnswer::kOk);      // the clock

  // The real boxes: Japanese captions, the chosen default, the icon named.
  MessageBoxes boxes;
  for (const DefaultAnswer start : {DefaultAnswer::kOk, DefaultAnswer::kCancel}) {
    QStringList captions;
    QString defaultCaption, iconName;
    OnNextModal<QMessageBox>([&](QMessageBox* box) {
      for (auto* button : box->buttons()) captions << button->text();
      defaultCaption = box->defaultButton()->text();
      iconName = box->accessibleDescription();
      box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(boxes.AskOkCancel(nullptr, "?", start));
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"OK", QStringLiteral("キャンセル")}));
    EXPECT_EQ(defaultCaption, start == DefaultAnswer::kOk ? "OK" : QStringLiteral("キャンセル"));
    EXPECT_EQ(iconName, QStringLiteral("確認"));
  }
  QString iconName;
  OnNextModal<QMessageBox>([&](QMessageBox* box) {
    iconName = box->findChild<QLabel*>("qt_msgboxex_icon_label")->accessibleName();
    box->accept();
  });
  boxes.Show(nullptr, "x", MessageIcon::kError);
  EXPECT_EQ(iconName, QStringLiteral("エラー"));
}

TEST(Feedback, DisabledCategoryButtonsSayWhy) {
  ShellRig rig;
  rig.categories = BuildCategories;
  rig.window = std::make_unique<MainDialog>(rig.Setup());
  auto* analog = Find<QPushButton>(rig.window.get(), 1539);
  EXPECT_EQ(analog->toolTip(), QStringLiteral("機器が接続されていないため使用できません。"));

  OnNextModal<ConnectionPortDialog>([](ConnectionPortDialog* d) { Click(d, 1); });
  ASSERT_TRUE(rig.window->Start());
  EXPECT_TRUE(analog->isEnabled());
  EXPECT_TRUE(analog->toolTip().isEmpty());
  QString whileBusy;
  rig.sim.AddFault({Fault::kDelay, 100, "date", 1, 0});
  testing::DuringNextExchange(rig.window->RunSession().exchange,
                              [&] { whileBusy = analog->toolTip(); });
  rig.window->SetDeviceClock();
  EXPECT_EQ(whileBusy, QStringLiteral("処理中です。しばらくお待ちください。"));
  EXPECT_TRUE(analog->toolTip().isEmpty());
}

}  // namespace
}  // namespace setutily
