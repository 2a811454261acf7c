// The analog category driven through the real main window, as a user does
// it: start-up against the simulator on a pseudo-terminal, "アナログ設定",
// a port form, and "終了".
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "root/categories.h"
#include "analog/analog_forms.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::Click;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::ShellRig;

const Lines kAnalogShows = {"show analog tel1", "show analog tel2", "show analog tel3",
                            "show analog common"};

// A main window with the product's own categories, started and shown.
class AnalogWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.categories = BuildCategories;  // the real categories behind the buttons
    rig.sim.With([this](Device& d) { d.SetStateFile(FlashPath()); });
    ASSERT_TRUE(rig.Start());
    rig.window->show();
  }
  std::string FlashPath() const { return rig.dir.filePath("flash.txt").toStdString(); }
  QString Pane() const { return Find<QPlainTextEdit>(rig.window.get(), 1091)->toPlainText(); }

  ShellRig rig;
};

TEST_F(AnalogWindow, TheRoadOfOneChangeFromStartUpToExit) {
  MainDialog& window = *rig.window;
  EXPECT_EQ(window.Identity().firmwareVersion, "Version 1.00");
  EXPECT_EQ(window.LogText(), "com open\r\n");
  EXPECT_TRUE(rig.sim.CommandLines().empty());

  bool menuOpened = false;
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    EXPECT_EQ(menu->parentWidget(), &window);
    EXPECT_EQ(window.LogText(), "com open\r\nAnalog Status Read OK\r\nView Analog Dlg\r\n");
    EXPECT_TRUE(Pane().endsWith(QStringLiteral("Analog Status Read OK\nView Analog Dlg\n")));
    EXPECT_EQ(rig.sim.CommandLines(), kAnalogShows);
    // While the menu is open the window's commands wait for it.
    EXPECT_FALSE(Find<QPushButton>(&window, 1087)->isEnabled());

    OnNextModal<FieldForm>([](FieldForm* form) {
      auto* dialTime = Find<QLineEdit>(form, 1151);
      dialTime->setFocus();
      dialTime->selectAll();
      QTest::keyClicks(dialTime, QStringLiteral("7"));
      Click(form, 1);
    }, menu);
    Click(menu, 1005);
    Lines expected = kAnalogShows;
    expected.insert(expected.end(), {"analog dial_time tel1 7", "show analog tel1"});  // read back
    EXPECT_EQ(rig.sim.CommandLines(), expected);
    Click(menu, 2);
  });
  Click(&window, 1539);
  ASSERT_TRUE(menuOpened);
  EXPECT_EQ(window.LogText(), "com open\r\nAnalog Status Read OK\r\nView Analog Dlg\r\n");
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(Find<QPushButton>(&window, 1539)->isEnabled());
  rig.sim.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 0); });  // not stored yet

  Click(&window, 1590);
  ASSERT_TRUE(testing::WaitUntil([&] { return window.Finished(); }));
  Lines expected = kAnalogShows;
  expected.insert(expected.end(),
                  {"analog dial_time tel1 7", "show analog tel1", "fromwr 15", "exit"});
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  EXPECT_FALSE(window.LinkOpen());
  EXPECT_TRUE(rig.messages.shown.empty());
  rig.sim.With([](Device& d) {
    EXPECT_EQ(d.Get("analog.tel1.dialtime"), "7");
    EXPECT_EQ(d.FlashWrites(), 1);
  });
  // The flash holds the change: a device started from it has it.
  Device restarted;
  restarted.SetStateFile(FlashPath());
  EXPECT_EQ(restarted.Get("analog.tel1.dialtime"), "7");
}

TEST_F(AnalogWindow, AnUnansweredReadOpensNoMenuAndLeavesTheWindowReady) {
  MainDialog& window = *rig.window;
  rig.sim.AddFault({Fault::kSilent, 0, "show analog tel2", 1, 0});
  // Watches for a menu while the read runs into its time-out.
  bool menuOpened = false;
  bool lockedWhileWaiting = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (qobject_cast<CategoryMenu*>(QApplication::activeModalWidget()) != nullptr) {
      menuOpened = true;
      QApplication::activeModalWidget()->close();
    }
    if (window.RunSession().exchange.IsBusy()) {
      lockedWhileWaiting = lockedWhileWaiting || !window.isEnabled();
    }
  });
  watch.start(50);
  Click(&window, 1539);  // waits for the real command time-out
  watch.stop();
  EXPECT_FALSE(menuOpened);
  EXPECT_TRUE(lockedWhileWaiting);
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(Find<QPushButton>(&window, 1539)->isEnabled());
  EXPECT_EQ(window.LogText(), "com open\r\nAnalog Status Read ERROR\r\n");
  EXPECT_TRUE(Pane().endsWith(QStringLiteral("Analog Status Read ERROR\n")));
  EXPECT_EQ(rig.sim.CommandLines(), (Lines{"show analog tel1"}));  // tel2 was lost
  // Told, though the log pane is hidden.
  EXPECT_FALSE(window.DebugMode());
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text,
            QStringLiteral("アナログ設定の読込みに失敗しました。\r\n「show analog tel2」に応答がありま"
                           "せん。MORIVEX-9の電源とケーブル（ネットワーク）を確認してください。"));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);

  // The next try reads all four and opens the menu; leaving it confirms
  // nothing, so the exit stores nothing.
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    OnNextModal<FieldForm>([](FieldForm* form) { Click(form, 2); }, menu);
    Click(menu, 1007);
    Click(menu, 2);
  });
  Click(&window, 1539);
  EXPECT_TRUE(menuOpened);
  EXPECT_EQ(window.LogText(),
            "com open\r\nAnalog Status Read ERROR\r\nAnalog Status Read OK\r\nView Analog Dlg\r\n");
  ASSERT_TRUE(rig.Close());
  Lines expected = {"show analog tel1"};
  expected.insert(expected.end(), kAnalogShows.begin(), kAnalogShows.end());
  expected.push_back("exit");
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  rig.sim.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 0); });
}

}  // namespace
}  // namespace setutily
