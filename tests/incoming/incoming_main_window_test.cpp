// Incoming-call control through the real main window: start-up against the
// simulator on a pseudo-terminal, "着信制御設定", the first per-number form,
// and "終了".
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "incoming/incoming_forms.h"
#include "root/categories.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::ShellRig;

TEST(IncomingWindow, TheRoadOfOneEntryFromStartUpToExit) {
  ShellRig rig;
  rig.categories = BuildCategories;
  ASSERT_TRUE(rig.Start());
  MainDialog& window = *rig.window;
  window.show();

  const Lines shows = {"show arrive basic", "show arrive num1", "show arrive num2"};
  const Lines writes = {"arrive address 3 0312345678*12", "arrive ranking 3 tel2 reject",
                       "show arrive num1"};  // and its page read back
  bool menuOpened = false;
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    EXPECT_EQ(menu->windowTitle(), "着信制御設定");
    EXPECT_EQ(window.LogText(),
              "com open\r\nArrive Control Status Read OK\r\nView Arrive Control Dlg\r\n");
    EXPECT_EQ(rig.sim.CommandLines(), shows);
    OnNextModal<FieldForm>([](FieldForm* form) {
      auto* number = Find<QLineEdit>(form, 1286);  // row "０２": entry 3
      number->setFocus();
      QTest::keyClicks(number, QStringLiteral("0312345678*12"));
      Find<QComboBox>(form, 1278)->setCurrentIndex(3);  // TEL2: "拒否"
      QTest::keyClick(number, Qt::Key_Return);           // "登録", the default button
    }, menu);
    Find<QPushButton>(menu, 1083)->click();
    Lines expected = shows;
    expected.insert(expected.end(), writes.begin(), writes.end());
    EXPECT_EQ(rig.sim.CommandLines(), expected);
    Find<QPushButton>(menu, 2)->click();
  });
  Find<QPushButton>(&window, 1541)->click();
  ASSERT_TRUE(menuOpened);
  EXPECT_TRUE(window.isEnabled());

  ASSERT_TRUE(rig.Close());
  Lines expected = shows;
  expected.insert(expected.end(), writes.begin(), writes.end());
  expected.insert(expected.end(), {"fromwr 15", "exit"});
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  EXPECT_TRUE(rig.messages.shown.empty());
  rig.sim.With([](Device& d) {
    EXPECT_EQ(d.Get("arrive.3.number"), "0312345678*12");
    EXPECT_EQ(d.Get("arrive.3.tel2"), "3");
    EXPECT_EQ(d.FlashWrites(), 1);
  });
}

}  // namespace
}  // namespace setutily
