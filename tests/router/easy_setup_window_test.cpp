// The easy setup through the real main window against the simulator on a
// pseudo-terminal: "簡単設定" reads profile 1, shows the form and writes
// what it changed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "forms/field_form.h"
#include "root/categories.h"
#include "router/router_settings.h"
#include "support/menu_test.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using testing::Click;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::ShellRig;
using testing::Press;
using testing::Type;

enum Id { kProvider = 1375, kUser = 1379, kByHand = 1381, kAuto = 1382, kPrimary = 1383,
          kSecondary = 1384 };

TEST(EasySetupWindow, ReadsShowsAndWritesOnlyWhatChanged) {
  const std::string user60(60, 'u');
  ShellRig rig;
  rig.categories = BuildCategories;
  rig.sim.With([&](Device& d) {
    d.Set("dialup.num1.provider_name", "Old ISP");
    d.Set("dialup.num1.user_id", user60);
    d.Set("dialup.num1.dns_primary", "192.0.2.1");
  });
  ASSERT_TRUE(rig.Start());
  MainDialog& window = *rig.window;
  window.show();
  // Presses "簡単設定", runs edit in the form and confirms it; returns the
  // log lines and the command lines of that run.
  auto run = [&](const std::function<void(FieldForm*)>& edit) {
    rig.sim.With([](Device& d) { d.ClearLog(); });
    const QString logBefore = window.LogText();
    OnNextModal<FieldForm>([&](FieldForm* form) {
      edit(form);
      Click(form, 1);
      if (form->isVisible()) form->reject();  // refused: nothing is written
    });
    Click(&window, 1001);
    return std::pair(window.LogText().mid(logBefore.size()), rig.sim.CommandLines());
  };
  const QString kLog = QStringLiteral(
      "Dialup Status Read OK\r\nView Dialup Dlg\r\nDialup Status Write OK\r\n");

  // Automatic servers: the addresses are disabled; a changed address is
  // neither checked nor sent.
  auto [log, sent] = run([&](FieldForm* f) {
    EXPECT_EQ(f->windowTitle(), "ＨｏｍｅＰＮＡ簡単 設定");
    EXPECT_EQ(Find<QLineEdit>(f, kUser)->text().toStdString(), user60);
    EXPECT_FALSE(Find<QLineEdit>(f, kPrimary)->isEnabled());
    Type(f, kProvider, "New ISP");
    Press(f, kByHand);
    Type(f, kPrimary, "1.2.3");
    Press(f, kAuto);
  });
  EXPECT_EQ(log, kLog);
  EXPECT_EQ(sent, (Lines{"show dialup num1", "dialup provider_name num1 New ISP",
                         "show dialup num1"}));  // read back

  // By hand with a new primary server and no secondary.
  std::tie(log, sent) = run([](FieldForm* f) {
    Press(f, kByHand);
    Type(f, kPrimary, "1.2.3.4");
  });
  EXPECT_EQ(log, kLog);
  EXPECT_EQ(sent, (Lines{"show dialup num1", "dialup dns_select num1 manual",
                         "dialup dns_address num1 1.2.3.4,0.0.0.0", "show dialup num1"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  // "詳細設定" works on the same record.
  const DialupProfile& profile = window.RunSession().records.Of<RouterSettings>().working.dialup[0];
  EXPECT_EQ(profile.provider_name, "New ISP");
  EXPECT_EQ(profile.user_id, user60);
  rig.sim.With([&](Device& d) {
    EXPECT_EQ(d.Get("dialup.num1.user_id"), user60);
    EXPECT_EQ(d.Get("dialup.num1.dns_secondary"), "0.0.0.0");
  });
}

}  // namespace
}  // namespace setutily
