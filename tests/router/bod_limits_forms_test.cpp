// The BOD, BACP/BAP, connection-limit and remote-access forms of the
// HomePNA detail menu against the simulator: what they show, check, store
// and send, and the counter clear.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <array>

#include "app/help_file.h"
#include "forms/busy_box.h"
#include "forms/form_parts.h"
#include "router/home_pna_menu.h"
#include "support/menu_test.h"
#include "support/session_rig.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::SessionRig;
using testing::Choose;
using testing::Press;
using testing::Text;
using testing::Type;

enum Button { kRemote = 1013, kLimits = 1053, kBod = 1024, kBacp = 1026 };

bool Enabled(QWidget* form, int id) { return Find<QWidget>(form, id)->isEnabled(); }
void Step(QWidget* form, int arrowsId, bool up) {
  auto* arrows = Find<StepArrows>(form, arrowsId);
  (up ? arrows->UpButton() : arrows->DownButton())->click();
}

const QString kClearWrong = QStringLiteral("クリア機能の入力に間違いがあります。");
const QString kTimeWrong = QStringLiteral("接続時間の入力に間違いがあります。");

class WanForms : public testing::MenuTest<HomePnaDetailMenu> {
 protected:
  void Read() {
    ASSERT_EQ(ReadRouterSettings(rig.session), 1);
    rig.Clear();
  }
  void Reset() {
    rig.messages.shown.clear();
    rig.session.state.pendingChangeCount = 0;
    rig.Clear();
  }

  RouterCategory& router = rig.Records<RouterSettings>();
};

TEST_F(WanForms, UnchangedFormsSendNothingAndEachHasItsHelp) {
  Read();
  const struct {
    int button;
    const char* title;
    int helpButton;
  } forms[] = {{kBod, "ＢＯＤ設定", 1587},
               {kBacp, "ＢＡＣＰ／ＢＡＰ設定", 1587},
               {kLimits, "接続制限設定", 1599},
               {kRemote, "着信設定", 1587}};
  for (const auto& f : forms) {
    Confirm(f.button, [&f](FieldForm* form) {
      EXPECT_EQ(form->windowTitle(), f.title);
      Press(form, f.helpButton);
    });
  }
  EXPECT_EQ(rig.Sent(), Lines{});
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 4);
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{25, 26, 28, 30}));
  HelpTopic topic;
  for (int context : rig.help.contexts) {
    EXPECT_EQ(LoadHelpTopic(QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp"),
                            context, topic),
              HelpLookup::kFound)
        << context;
  }
}

// Every setting of the four forms changed; the device then reports what
// the forms hold.
TEST_F(WanForms, EverySettingReachesTheDeviceAndReadsBackEqual) {
  Read();
  Confirm(kBod, [](FieldForm* f) {
    Press(f, 1463);
    Press(f, 1464);
    Press(f, 1470);
    Type(f, 1476, "55");
    Type(f, 1478, "20");
    Type(f, 1480, "7");
    Press(f, 1475);
    Type(f, 1482, "10");
    Type(f, 1484, "30");
    Type(f, 1486, "1275");
  });
  EXPECT_EQ(rig.Sent(), (Lines{"bod channel 1", "bod resource_bod both",
                               "bod throughput_bod add_evaluation_direction recv",
                               "bod throughput_bod add_standard_rate 55",
                               "bod throughput_bod add_evaluation_time 20",
                               "bod throughput_bod add_minimum_time 7",
                               "bod throughput_bod del_evaluation_direction disable",
                               "bod throughput_bod del_standard_rate 10",
                               "bod throughput_bod del_evaluation_time 30",
                               "bod throughput_bod del_minimum_time 1275"}));
  rig.Clear();
  Confirm(kBacp, [](FieldForm* f) {
    Press(f, 1488);
    Press(f, 1498);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"bacpbap depart_add reject", "bacpbap depart_request auto",
                               "bacpbap depart_del auto", "bacpbap arrive_add auto",
                               "bacpbap arrive_request auto", "bacpbap arrive_del reject"}));
  rig.Clear();
  Confirm(kLimits, [](FieldForm* f) {
    Type(f, 1596, "3000");
    Press(f, 1633);
    Type(f, 1597, "100");
    Press(f, 1636);
    Type(f, 1598, "5");
    Type(f, 1638, "30");
    Type(f, 1639, "23");
    Type(f, 1640, "45");
    Choose(f, 1642, 6);
    Type(f, 1643, "31");
  });
  EXPECT_EQ(rig.Sent(), (Lines{"connect charge 3000/1", "connect time 100/1",
                               "connect number 5/30", "connect clr_day 23:45",
                               "connect clr_week 6", "connect clr_mon 31"}));
  rig.Clear();
  Confirm(kRemote, [](FieldForm* f) {
    EXPECT_FALSE(Enabled(f, 1676));  // the server is off
    EXPECT_FALSE(Enabled(f, 1677));
    Press(f, 1675);
    EXPECT_TRUE(Enabled(f, 1676));  // at once, before confirmation
    EXPECT_TRUE(Enabled(f, 1677));
    Type(f, 1676, "10.0.0.1");
    Type(f, 1677, "10.0.0.2");
    Type(f, 1678, "caller");
    Type(f, 1679, "secret");
    Press(f, 1680);
    Type(f, 1682, "32400");
    Choose(f, 1683, 3);
    Choose(f, 1684, 1);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"ras server enable", "ras address 10.0.0.1,10.0.0.2",
                               "ras user_id caller", "ras password secret", "ras protocol pap",
                               "ras mode mp3", "ras auto_disc disable", "ras disc_time 32400"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 4);

  const RouterSettings edited = router.working;
  Read();
  EXPECT_EQ(router.working, edited);
}

TEST_F(WanForms, BodArrowsStepFiveSecondUnitsAndDeletionIsCheckedFirst) {
  Read();
  InForm(kBod, [](FieldForm* f) {
    Type(f, 1480, "7");
    Step(f, 1481, true);
    EXPECT_EQ(Text(f, 1480), "10");
    Type(f, 1480, "5");
    Step(f, 1481, false);
    EXPECT_EQ(Text(f, 1480), "1275");
    Type(f, 1480, "4");  // addition: wrong minimum time
    Type(f, 1484, "0");  // deletion: wrong evaluation time
    Press(f, 1);
    EXPECT_TRUE(f->isVisible());
  });
  EXPECT_EQ(rig.messages.Texts(), QStringList{"評価時間の入力に間違いがあります。"});
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  Reset();
  Confirm(kBod, [](FieldForm* f) { Type(f, 1480, "7"); });
  EXPECT_EQ(rig.Sent(), Lines{"bod throughput_bod add_minimum_time 7"});
  EXPECT_EQ(router.working.add_minimum_time, 7);  // seconds
}

TEST_F(WanForms, OnlyTheCalledSidesCallBackRequestChanges) {
  Read();
  Confirm(kBacp, [](FieldForm* f) { Press(f, 1496); });
  EXPECT_EQ(rig.Sent(), (Lines{"bacpbap arrive_add auto", "bacpbap arrive_request reject",
                               "bacpbap arrive_del auto"}));
  EXPECT_EQ(router.working.depart_flags, 7);
  EXPECT_EQ(router.working.arrive_flags, 5);
}

TEST_F(WanForms, ConnectionLimitChecks) {
  Read();
  const struct {
    int period;  // a connection-time period button to press first (0: none)
    int id;
    QString text;
    QString message;
    Lines sent;
  } cases[] = {
      {1636, 1597, "167", {}, {"connect time 167/1"}},
      {1636, 1597, "168", kTimeWrong, {}},
      {1635, 1597, "24", kTimeWrong, {}},
      {0, 1638, "0", "接続回数の入力に間違いがあります。", {}},
      {0, 1643, "0", kClearWrong, {}},
      {0, 1643, "32", kClearWrong, {}},
      {0, 1640, "60", kClearWrong, {}},
  };
  for (const auto& c : cases) {
    Confirm(kLimits, [&c](FieldForm* f) {
      if (c.period != 0) {
        Press(f, c.period);
        // The time's tooltip gives the bound of the period chosen.
        EXPECT_EQ(Find<QWidget>(f, 1597)->toolTip(),
                  c.period == 1635 ? QStringLiteral("0～23") : QStringLiteral("0～167"));
      }
      Type(f, c.id, c.text);
    });
    EXPECT_EQ(rig.messages.Texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message})
        << c.text.toStdString();
    EXPECT_EQ(rig.Sent(), c.sent) << c.text.toStdString();
    EXPECT_EQ(rig.session.state.pendingChangeCount, c.message.isEmpty() ? 1 : 0);
    Reset();
  }
}

// Periods the form cannot show select nothing and stay as the device has
// them; a time under an unknown period is neither checked nor changed.
TEST_F(WanForms, UnknownPeriodsStayAsTheDeviceHasThem) {
  Set("connect.charge_limit", "100");
  Set("connect.charge_period", "7");
  Set("connect.time_limit", "5");
  Set("connect.time_period", "9");
  Read();
  Confirm(kLimits, [](FieldForm* f) {
    for (int id : {1632, 1633, 1634, 1635, 1636, 1637}) {
      EXPECT_FALSE(Find<QAbstractButton>(f, id)->isChecked()) << id;
    }
    Type(f, 1597, "999");
    Type(f, 1598, "3");
  });
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.Sent(), Lines{"connect number 3/60"});
  EXPECT_EQ((std::array{router.working.charge_period, router.working.time_limit,
                        router.working.time_period}),
            (std::array{7, 5, 9}));
}

// "クリア" closes the form storing nothing; the menu writes the group under
// the busy box, which sends exactly the three counter clears.
TEST_F(WanForms, ClearClosesTheFormAndClearsOnlyTheCounters) {
  Set("connect.charge_used", "1200");
  Read();
  rig.Device().AddFault({Fault::kDelay, 30, "connect charge", 1, 0});
  rig.session.state.countersClearRequested = true;  // left from before: opening resets it
  bool flagResetOnOpening = false;
  bool lockedWhileWriting = false;
  InForm(kLimits, [&](FieldForm* f) {
    flagResetOnOpening = !rig.session.state.countersClearRequested;
    Type(f, 1596, "500");
    testing::DuringNextExchange(rig.session.exchange, [&] {
      lockedWhileWriting = !menu.isEnabled() && menu.findChild<BusyBox*>() != nullptr;
    });
    Press(f, 1628);
    EXPECT_FALSE(f->isVisible());
  });
  EXPECT_TRUE(flagResetOnOpening);
  EXPECT_TRUE(lockedWhileWriting);
  EXPECT_EQ(rig.Sent(), (Lines{"connect charge", "connect time", "connect number"}));
  EXPECT_EQ(rig.Device().Get("connect.charge_used"), "0");
  EXPECT_EQ(router.working.charge_limit, 0);
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  EXPECT_FALSE(rig.session.state.countersClearRequested);  // answered
  EXPECT_TRUE(menu.isEnabled());
  EXPECT_TRUE(rig.messages.shown.empty());
}

// A clear that fails takes the whole group back, an earlier unsent limit
// included.
TEST_F(WanForms, AFailedClearRevertsTheWholeGroup) {
  Read();
  router.working.charge_limit = 500;  // a difference not yet sent
  rig.Device().AddFault({Fault::kSilent, 0, "connect time", 1, 0});
  InForm(kLimits, [](FieldForm* f) { Press(f, 1628); });
  EXPECT_EQ(rig.messages.Texts(), QStringList{"書込みに失敗しました。"});
  EXPECT_EQ(rig.log, QStringList{"HomaPNA Status Write ERROR\r\n"});
  EXPECT_EQ(router.working, router.baseline);
  for (const std::string& line : rig.Sent()) EXPECT_NE(line, "connect charge 500/2");
}

TEST_F(WanForms, RemoteAccessChecksAndEmptyAddresses) {
  Set("ras.active", "1");  // the address edits are enabled
  Set("ras.wan_address", "10.0.0.1");
  Set("ras.partner_address", "10.0.0.2");
  Set("ras.password", std::string(60, 'p'));
  Read();
  EXPECT_EQ(router.working.ras.password, std::string(60, 'p'));
  // CHAP with any mode but 64k is refused before anything is stored.
  InForm(kRemote, [](FieldForm* f) {
    EXPECT_EQ(Text(f, 1679), QString(60, u'p'));
    Type(f, 1678, "newid");
    Choose(f, 1683, 3);
    Choose(f, 1684, 2);
    Press(f, 1);
    EXPECT_TRUE(f->isVisible());
  });
  EXPECT_EQ(rig.messages.Texts(), QStringList{"64k 以外は、CHAPに設定できません。"});
  EXPECT_EQ(router.working, router.baseline);
  Reset();
  const struct {
    int id;
    QString text;
    const char* message;
    Lines sent;
  } cases[] = {
      {1682, "0", "切断時間の入力に間違いがあります。", {}},
      {1676, "10.0.0", "ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。", {}},
      {1677, "10.0.0.256", "相手側ＩＰアドレスの入力に間違いがあります。", {}},
      {1682, "32400", nullptr, {"ras disc_time 32400"}},
  };
  for (const auto& c : cases) {
    Confirm(kRemote, [&c](FieldForm* f) { Type(f, c.id, c.text); });
    EXPECT_EQ(rig.messages.Texts(), c.message ? QStringList{c.message} : QStringList{}) << c.id;
    EXPECT_EQ(rig.Sent(), c.sent) << c.id;
    Reset();
  }
  Confirm(kRemote, [](FieldForm* f) {
    Type(f, 1676, "");
    Type(f, 1677, "");
  });
  EXPECT_EQ(rig.Sent(), Lines{"ras address 0.0.0.0,0.0.0.0"});
  EXPECT_EQ(router.working.ras.wan_address, "0.0.0.0");
  EXPECT_EQ(router.working.ras.partner_address, "0.0.0.0");
}

}  // namespace
}  // namespace setutily
