// The digital category over real links: every setting changed through the
// forms, through the main window on a pseudo-terminal from start-up to exit,
// and over telnet.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "digital/digital_forms.h"
#include "root/categories.h"
#include "support/menu_test.h"
#include "support/shell_rig.h"
#include "support/telnet_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using testing::CheckNoRefusals;
using testing::Click;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::Type;

const Lines kDigitalShows = {"show digital data", "show digital usb", "show digital common"};

// Changes every setting the five forms edit, each away from the factory value.
void ChangeEverySetting(CategoryMenu& menu) {
  auto confirm = [&menu](int button, std::function<void(FieldForm*)> edit) {
    OnNextModal<FieldForm>([edit](FieldForm* form) {
      edit(form);
      Click(form, 1);
    }, &menu);
    Click(&menu, button);
  };
  struct PortIds {
    int button, self, transfer, transferOn, globalOff, noSubOff, noticeAddress, iAdd1;
  };
  for (const PortIds& p : {PortIds{1058, 1305, 1563, 1561, 1307, 1309, 1312, 1572},
                           PortIds{1066, 1314, 1568, 1566, 1316, 1318, 1321, 1575}}) {
    confirm(p.button, [p](FieldForm* f) {
      Type(f, p.self, QStringLiteral("0312*%1").arg(p.button));
      Type(f, p.transfer, "(03)99#1");
      for (int id : {p.transferOn, p.globalOff, p.noSubOff, p.noticeAddress, p.iAdd1}) {
        Find<QAbstractButton>(f, id)->click();
      }
    });
  }
  confirm(1062, [](FieldForm* f) {
    for (int id : {1323, 1326, 1329, 1331, 1334}) Find<QAbstractButton>(f, id)->click();
    Type(f, 1595, "120");
    Find<QComboBox>(f, 1647)->setCurrentIndex(2);
  });
  confirm(1070, [](FieldForm* f) {
    for (int id : {1336, 1341}) Find<QAbstractButton>(f, id)->click();
    Type(f, 1345, "55");
    Type(f, 1346, "30");
    Type(f, 1347, "25");
    Type(f, 1348, "25");
    Type(f, 1349, "40");
    Type(f, 1350, "600");
  });
  confirm(1074, [](FieldForm* f) {
    for (int id : {1357, 1361, 1365}) Find<QAbstractButton>(f, id)->click();
  });
}

// Reads the device again: it holds what the forms hold, and every field
// but the talky modes and the PNA block moved from the factory values.
void ExpectReadBack(Session& session, const DigitalSettings& factory) {
  DigitalCategory again;
  ASSERT_EQ(ReadDigitalSettings(session, again), 1);
  const DigitalSettings& now = again.working;
  EXPECT_EQ(now, session.records.Of<DigitalSettings>().working);
  EXPECT_EQ(now.usb.self_address, "0312*1066");
  EXPECT_EQ(now.piafs, 2);
  EXPECT_EQ(now.add_minimum_time, 5);
  EXPECT_EQ(now.del_minimum_time, 120);
  EXPECT_EQ(now.depart_flags, 2);
  EXPECT_EQ(now.arrive_flags, 5);
  EXPECT_NE(now.data.global_arrive, factory.data.global_arrive);
  EXPECT_NE(now.init_channel, factory.init_channel);
  EXPECT_NE(now.del_evaluation_direction, factory.del_evaluation_direction);
}

TEST(DigitalWindow, EverySettingFromStartUpThroughTheFormsToExit) {
  testing::ShellRig rig;
  rig.categories = BuildCategories;
  ASSERT_TRUE(rig.Start());
  MainDialog& window = *rig.window;
  window.show();
  Session& session = window.RunSession();
  bool menuOpened = false;
  OnNextModal<CategoryMenu>([&](CategoryMenu* menu) {
    menuOpened = true;
    EXPECT_EQ(menu->windowTitle(), "デジタル設定");
    EXPECT_EQ(rig.sim.CommandLines(), kDigitalShows);
    const DigitalSettings factory = session.records.Of<DigitalSettings>().working;
    ChangeEverySetting(*menu);
    ExpectReadBack(session, factory);
    Click(menu, 2);
  });
  Click(&window, 1540);
  ASSERT_TRUE(menuOpened);
  EXPECT_EQ(window.LogText(), "com open\r\nDigital Status Read OK\r\nView Digital Dlg\r\n");
  ASSERT_TRUE(rig.Close());
  const Lines sent = rig.sim.CommandLines();
  EXPECT_EQ(Lines(sent.end() - 2, sent.end()), (Lines{"fromwr 15", "exit"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  rig.sim.With([](Device& d) { EXPECT_EQ(d.Get("digital.data.address"), "0312*1058"); });
}

TEST(DigitalLinks, EverySettingChangedReadsBackOverTelnet) {
  testing::TelnetRig rig;
  ASSERT_TRUE(rig.opened);
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  session.timing = testing::FastTiming();
  ASSERT_EQ(ReadDigitalSettings(session, session.records.Of<DigitalSettings>()), 1);
  const DigitalSettings factory = session.records.Of<DigitalSettings>().working;
  CategoryMenu menu(nullptr, session, DigitalMenu(session));
  ChangeEverySetting(menu);
  ExpectReadBack(session, factory);
  EXPECT_TRUE(messages.shown.empty());
  CheckNoRefusals(rig.sim.Log());
}

}  // namespace
}  // namespace setutily
