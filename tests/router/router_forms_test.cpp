// The HomePNA detail menu with the router, PNA port and leased-line forms,
// against the simulator: what each form shows, checks, stores and sends.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/help_file.h"
#include "digital/digital_settings.h"
#include "router/home_pna_menu.h"
#include "support/menu_test.h"
#include "support/session_rig.h"

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

enum Button { kRouter = 1003, kPna = 1010, kLeasedLine = 1044 };

const QString kNewAddressQuestion = QStringLiteral(
    "ルータのＬＡＮ側ＩＰアドレスが変更されました。\r\n"
    "登録後、MORIVEX-9をリブートし設定ユーティリティを終了します。\r\nよろしいですか？");

class HomePnaMenu : public testing::MenuTest<HomePnaDetailMenu> {
 protected:
  void Read() {
    ASSERT_EQ(ReadRouterSettings(rig.session), 1);
    rig.Clear();
  }

  RouterCategory& router = rig.Records<RouterSettings>();
  SettingsCopies<DigitalSettings>& digital = rig.Records<DigitalSettings>();
};

TEST_F(HomePnaMenu, SixteenButtonsInTwoColumnsTheBuiltFormsEnabled) {
  const int columns[2][8] = {{1003, 1010, 1013, 1009, 1028, 1030, 1033, 1052},
                             {1044, 1011, 1012, 1014, 1020, 1053, 1024, 1026}};
  auto* grid = qobject_cast<QGridLayout*>(menu.layout());
  auto place = [grid](int id) {
    int row = -1, column = -1, rows = 0, spans = 0;
    grid->getItemPosition(grid->indexOf(Find<QPushButton>(grid->parentWidget(), id)), &row,
                          &column, &rows, &spans);
    return std::pair(row, column);
  };
  for (int column = 0; column < 2; ++column) {
    for (int row = 0; row < 8; ++row) {
      const int id = columns[column][row];
      EXPECT_EQ(place(id), std::pair(row, column)) << id;
      const bool built = true;  // every form of the menu is built
      EXPECT_EQ(Find<QPushButton>(&menu, id)->isEnabled(), built) << id;
    }
  }
  EXPECT_EQ(place(2), std::pair(8, 1));
  EXPECT_EQ(menu.findChildren<QPushButton*>().size(), 17);
}

TEST_F(HomePnaMenu, ConfirmingEachFormUnchangedSendsNothingAndEachHasItsHelp) {
  Set("router.ip_address", "0.0.0.0");
  Set("router.submask", "32");
  Set("network.remote_addr", "192.0.2.9");
  Read();
  Confirm(kRouter, [](FieldForm* f) {
    EXPECT_EQ(f->windowTitle(), "ルータ設定");
    EXPECT_EQ(Text(f, 1451), "");  // "0.0.0.0/32"
    EXPECT_EQ(Text(f, 1452), "");  // "0.0.0.0"
    Type(f, 1451, "1");
    Type(f, 1451, "");  // empty is the stored "0.0.0.0/32" again: no question
    Press(f, 1587);
  });
  Confirm(kPna, [](FieldForm* f) {
    EXPECT_EQ(f->windowTitle(), "ＰＮＡポート設定");
    Press(f, 1587);
  });
  Confirm(kLeasedLine, [](FieldForm* f) {
    EXPECT_EQ(f->windowTitle(), "専用線");
    EXPECT_EQ(Text(f, 1552), "");  // "0.0.0.0/0"
    EXPECT_EQ(Text(f, 1554), "192.0.2.9");
    EXPECT_EQ(Text(f, 1559), "");  // "0.0.0.0"
    Press(f, 1587);
  });
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 3);
  EXPECT_EQ(router.working.router_address, "0.0.0.0/32");
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{14, 29, 24}));
  HelpTopic topic;
  for (int context : rig.help.contexts) {
    EXPECT_EQ(LoadHelpTopic(QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp"),
                            context, topic),
              HelpLookup::kFound)
        << context;
  }
}

// Every setting of the three forms changed at once; the device then
// reports what the forms hold.
TEST_F(HomePnaMenu, EverySettingOfTheThreeFormsReachesTheDevice) {
  Read();
  Confirm(kRouter, [](FieldForm* f) {
    Press(f, 1547);                    // masquerade off
    Type(f, 1452, "203.0.113.9");
    Press(f, 1546);                    // manual
    Choose(f, 1455, 4);                // leased line
    Choose(f, 1552, 3);                // HighPower/LowSpeed
    Press(f, 1555);                    // redial free
    Choose(f, 1549, 0);                // BOD
    Press(f, 1554);                    // buzzer off
    Press(f, 1551);                    // filter on
  });
  EXPECT_EQ(rig.Sent(),
            (Lines{"router auto_connect manual", "router connect_sel netwk",
                   "router ip_masquerade disable", "router masq_address 203.0.113.9",
                   "router sw_action bod", "router beep disable", "router ip_filter enable",
                   "router line_mode 3", "router redial disable"}));
  rig.Clear();
  Confirm(kPna, [](FieldForm* f) {
    Type(f, 1659, "0311*5");
    Press(f, 1662);
    Type(f, 1660, "0312");
    Press(f, 1663);
    Press(f, 1672);
    Press(f, 1667);
    Press(f, 1674);
  });
  EXPECT_EQ(rig.Sent(),
            (Lines{"digital address pna 0311*5", "digital arrive_transfer address pna 0312",
                   "digital arrive_transfer pna enable", "digital global_arrive pna disable",
                   "digital no_subaddress pna disable", "digital notice_number pna address",
                   "digital i_number pna add2"}));
  EXPECT_EQ(digital.working.pna.self_address, "0311*5");
  rig.Clear();
  Confirm(kLeasedLine, [](FieldForm* f) {
    Type(f, 1552, "198.51.100.1/29");
    Type(f, 1554, "198.51.100.2");
    Type(f, 1553, "line-user");
    Type(f, 1555, "secret");
    Type(f, 1559, "192.0.2.53");
    Type(f, 1560, "192.0.2.54");
  });
  EXPECT_EQ(rig.Sent(),
            (Lines{"network address 198.51.100.1/29", "network remote_addr 198.51.100.2",
                   "network user_id line-user", "network password secret",
                   "network dns_address 192.0.2.53,192.0.2.54"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 3);

  const RouterSettings edited = router.working;
  const DigitalPortSettings pna = digital.working.pna;
  Read();
  EXPECT_EQ(router.working, edited);
  EXPECT_EQ(digital.working.pna, pna);
}

TEST_F(HomePnaMenu, RouterFormSendsOnlyWhatChangedAndLeavesUnknownCodesAlone) {
  Set("router.beep", "0");
  Set("router.sw_action", "2");
  Set("router.masq_address", "203.0.113.9");
  Read();
  Confirm(kRouter, [](FieldForm* f) {
    EXPECT_EQ(Find<QComboBox>(f, 1549)->currentIndex(), -1);
    Press(f, 1556);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"router beep enable"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  rig.Clear();
  Confirm(kRouter, [](FieldForm* f) { Type(f, 1452, ""); });
  EXPECT_EQ(rig.Sent(), (Lines{"router masq_address 0.0.0.0"}));
  EXPECT_EQ(router.working.sw_action, 2);
}

TEST_F(HomePnaMenu, ANewRouterAddressIsAskedForSentLastAndClosesTheMenu) {
  Read();
  QSignalSpy closed(&menu, &QDialog::rejected);
  rig.messages.answers = {false, true};
  InForm(kRouter, [this](FieldForm* f) {
    Press(f, 1554);
    Type(f, 1451, "10.0.0.1/24");
    Press(f, 1);
    // Cancel: the form stays open and nothing is stored.
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(router.working.beep, 1);
    EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
    Press(f, 1);
  });
  ASSERT_EQ(rig.messages.shown.size(), 2u);
  EXPECT_EQ(rig.messages.shown[0].text, kNewAddressQuestion);
  EXPECT_EQ(rig.messages.shown[0].start, DefaultAnswer::kCancel);
  EXPECT_EQ(rig.Sent(), (Lines{"router beep disable", "router address 10.0.0.1/24"}));
  EXPECT_TRUE(rig.session.state.rebootOnClose);
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  EXPECT_TRUE(testing::WaitUntil([&] { return closed.count() == 1; }));
}

TEST_F(HomePnaMenu, AFailedRouterAddressWriteKeepsTheRunGoing) {
  Read();
  rig.Device().AddFault({Fault::kSilent, 0, "router address", 1, 0});
  QSignalSpy closed(&menu, &QDialog::rejected);
  Confirm(kRouter, [](FieldForm* f) { Type(f, 1451, "10.0.0.1/24"); });
  EXPECT_EQ(rig.messages.Texts(), (QStringList{kNewAddressQuestion, "書込みに失敗しました。"}));
  EXPECT_EQ(rig.log, QStringList{"HomaPNA Status Write ERROR\r\n"});
  EXPECT_FALSE(rig.session.state.rebootOnClose);
  EXPECT_EQ(rig.session.state.pendingChangeCount, 1);
  EXPECT_EQ(router.working.router_address, "192.168.0.1/24");  // the device's again
  QApplication::processEvents();
  EXPECT_EQ(closed.count(), 0);
}

TEST_F(HomePnaMenu, EmptyAddressesAndFailedChecks) {
  Set("network.address", "198.51.100.1");
  Set("network.submask", "29");
  Set("network.dns_primary", "8.8.8.8");
  Set("network.dns_secondary", "8.8.4.4");
  Read();
  const struct {
    int button, id;
    QString text;
    const char* message;
    Lines sent;
  } cases[] = {
      {kLeasedLine, 1552, "10.0.0.1", "グローバルＩＰアドレスの入力に間違いがあります。", {}},
      {kLeasedLine, 1554, "10.0.0", "リモートＩＰアドレスの入力に間違いがあります。", {}},
      {kLeasedLine, 1560, "1.2.3.256", "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", {}},
      {kRouter, 1452, "1.2.3", "ＩＰマスカレード用ＩＰアドレスの入力に間違いがあります。", {}},
      {kRouter, 1451, "10.0.0.1", "ルータのＬＡＮ側ＩＰアドレスの入力に間違いがあります。", {}},
      {kPna, 1660, QString(33, u'1'), "転送先電話番号の入力に間違いがあります。", {}},
      {kPna, 1659, "0311*5", nullptr, {"digital address pna 0311*5"}},
      {kLeasedLine, 1559, "", nullptr, {"network dns_address 0.0.0.0,8.8.4.4"}},
      {kLeasedLine, 1552, "", nullptr, {"network address 0.0.0.0/0"}},
  };
  for (const auto& c : cases) {
    Confirm(c.button, [&c](FieldForm* f) { Type(f, c.id, c.text); });
    EXPECT_EQ(rig.messages.Texts(), c.message ? QStringList{c.message} : QStringList{}) << c.id;
    EXPECT_EQ(rig.Sent(), c.sent) << c.id;
    EXPECT_EQ(rig.session.state.pendingChangeCount, c.message ? 0 : 1) << c.id;
    rig.messages.shown.clear();
    rig.session.state.pendingChangeCount = 0;
    rig.Clear();
  }
  EXPECT_EQ(router.working.network.dns_primary, "");
  EXPECT_EQ(router.working.network.address, "0.0.0.0/0");
}

}  // namespace
}  // namespace setutily
