// The router category through the real main window against the simulator on
// a pseudo-terminal: "詳細設定", the router form, and a new router address
// that ends the run.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "digital/digital_settings.h"
#include "root/categories.h"
#include "router/home_pna_menu.h"
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

const Lines kShows = {"show router",      "show nat",         "show dhcp",
                      "show dns",         "show host",        "show syslog",
                      "show digital pna", "show ras",         "show dialup num1",
                      "show dialup num2", "show dialup num3", "show dialup num4",
                      "show connect",     "show network",     "show bod",
                      "show bacpbap"};

class RouterWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.categories = BuildCategories;
    ASSERT_TRUE(rig.Start());
    rig.window->show();
  }
  // Opens the router form from the menu and types address into it.
  void NewRouterAddress(CategoryMenu* menu, const QString& address) {
    OnNextModal<FieldForm>([address](FieldForm* form) {
      auto* edit = Find<QLineEdit>(form, 1451);
      edit->selectAll();
      QTest::keyClicks(edit, address);
      Click(form, 1);
    }, menu);
    Click(menu, 1003);
  }

  ShellRig rig;
};

TEST_F(RouterWindow, ANewRouterAddressEndsTheRunWithoutStoreOrExit) {
  MainDialog& window = *rig.window;
  bool menuOpened = false;
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    EXPECT_EQ(window.LogText(), "com open\r\nHomaPNA Status Read OK\r\nView HomaPNA Dlg\r\n");
    EXPECT_EQ(rig.sim.CommandLines(), kShows);
    NewRouterAddress(menu, QStringLiteral("10.0.0.1/24"));  // the question answered with OK
  });
  Click(&window, 1538);
  ASSERT_TRUE(menuOpened);
  ASSERT_TRUE(testing::WaitUntil([&] { return window.Finished(); }));
  Lines expected = kShows;
  expected.push_back("router address 10.0.0.1/24");
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  ASSERT_EQ(rig.messages.shown.size(), 1u);  // the question only
  EXPECT_TRUE(rig.messages.shown[0].question);
  EXPECT_FALSE(window.LinkOpen());
  rig.sim.With([](Device& d) {
    EXPECT_EQ(d.Get("router.ip_address"), "10.0.0.1");
    EXPECT_EQ(d.FlashWrites(), 1);  // stored by the device itself
  });
}

TEST_F(RouterWindow, AFailedReadOpensNoMenuAndAFailedAddressWriteKeepsTheWindow) {
  MainDialog& window = *rig.window;
  Session& session = window.RunSession();
  session.records.Of<DigitalSettings>().working.pna.self_address = "before";
  rig.sim.AddFault({Fault::kSilent, 0, "show bod", 1, 0});
  Click(&window, 1538);  // returns after the time-out: no menu was opened
  EXPECT_EQ(window.LogText(), "com open\r\nHomaPNA Status Read ERROR\r\n");
  EXPECT_EQ(session.records.Of<RouterSettings>().working, RouterSettings{});
  EXPECT_EQ(session.records.Of<DigitalSettings>().working.pna.self_address, "before");

  rig.sim.AddFault({Fault::kSilent, 0, "router address", 1, 0});
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    NewRouterAddress(menu, QStringLiteral("10.0.0.1/24"));
    QApplication::processEvents();
    EXPECT_TRUE(menu->isVisible());
    Click(menu, 2);
  });
  Click(&window, 1538);
  EXPECT_TRUE(rig.messages.Texts().endsWith("書込みに失敗しました。"));
  EXPECT_TRUE(window.LogText().endsWith("HomaPNA Status Write ERROR\r\n"));
  QApplication::processEvents();
  EXPECT_FALSE(window.Finished());
  EXPECT_TRUE(window.isEnabled());

  ASSERT_TRUE(rig.Close());
  const Lines lines = rig.sim.CommandLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"fromwr 15", "exit"}));
}

}  // namespace
}  // namespace setutily
