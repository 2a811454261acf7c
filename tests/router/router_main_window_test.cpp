// The router category through the real main window against the simulator on
// a pseudo-terminal: "詳細設定", the router form, and a new router address
// that ends the run.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "digital/digital_settings.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "root/categories.h"
#include "router/router_settings.h"
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

// A read that stops opens nothing; the next one opens the menu, and a new
// router address ends the run: the device has stored everything itself and
// has no command line left.
TEST(RouterWindow, AFailedReadThenANewRouterAddressThatEndsTheRun) {
  ShellRig rig;
  rig.categories = BuildCategories;
  ASSERT_TRUE(rig.Start());
  MainDialog& window = *rig.window;
  window.show();
  Session& session = window.RunSession();
  session.records.Of<DigitalSettings>().working.pna.self_address = "before";
  rig.sim.AddFault({Fault::kSilent, 0, "show bod", 1, 0});
  Click(&window, 1538);  // returns after the time-out: no menu was opened
  EXPECT_EQ(window.LogText(), "com open\r\nHomaPNA Status Read ERROR\r\n");
  EXPECT_EQ(session.records.Of<RouterSettings>().working, RouterSettings{});
  EXPECT_EQ(session.records.Of<DigitalSettings>().working.pna.self_address, "before");
  Lines expected(kShows.begin(), kShows.end() - 2);

  bool menuOpened = false;
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    EXPECT_TRUE(window.LogText().endsWith("HomaPNA Status Read OK\r\nView HomaPNA Dlg\r\n"));
    OnNextModal<FieldForm>([](FieldForm* form) {
      auto* edit = Find<QLineEdit>(form, 1451);
      edit->selectAll();
      QTest::keyClicks(edit, QStringLiteral("10.0.0.1/24"));
      Click(form, 1);  // the question is answered with OK
    }, menu);
    Click(menu, 1003);
  });
  Click(&window, 1538);
  ASSERT_TRUE(menuOpened);
  ASSERT_TRUE(testing::WaitUntil([&] { return window.Finished(); }));
  expected.insert(expected.end(), kShows.begin(), kShows.end());
  expected.push_back("router address 10.0.0.1/24");
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  ASSERT_EQ(rig.messages.shown.size(), 2u);  // the failed read, the question
  EXPECT_TRUE(rig.messages.shown[0].text.startsWith(
      QStringLiteral("詳細設定の読込みに失敗しました。\r\n「show bod」に応答がありません。")));
  EXPECT_TRUE(rig.messages.shown[1].question);
  EXPECT_FALSE(window.LinkOpen());
  rig.sim.With([](Device& d) {
    EXPECT_EQ(d.Get("router.ip_address"), "10.0.0.1");
    EXPECT_EQ(d.FlashWrites(), 1);  // stored by the device itself
  });
}

}  // namespace
}  // namespace setutily
