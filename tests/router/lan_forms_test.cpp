// The LAN-service forms of the HomePNA detail menu (static NAT, DHCP, DNS,
// host table, SYSLOG) against the simulator: what each shows, checks,
// stores and sends, and the lists entry by entry.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/help_file.h"
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
using testing::Type;

enum Button { kNat = 1009, kDhcp = 1028, kDns = 1030, kHost = 1033, kSyslog = 1052 };
constexpr int kDelete = 1586;

// The edit ids of one button's form, in the order Fill takes texts.
std::vector<int> EditsOf(int button) {
  switch (button) {
    case kNat: return {1456, 1457, 1459};
    case kHost: return {1512, 1513, 1514};
    default: return {};
  }
}

class LanForms : public ::testing::Test {
 protected:
  void Read() {
    ASSERT_EQ(ReadRouterSettings(rig.session), 1);
    rig.Clear();
  }
  // Opens the button's form, lets edit act in it and presses press (none:
  // the form is cancelled).
  void Run(int button, const std::function<void(QDialog*)>& edit, int press = 1) {
    OnNextModal<QDialog>([&](QDialog* form) {
      edit(form);
      if (press != 0) Find<QAbstractButton>(form, press)->click();
      if (form->isVisible()) form->reject();
    }, &menu);
    menu.Press(button);
  }
  // A list form: number and the two texts put in (as a paste would), then press.
  void Entry(int button, const QString& number, const QString& first, const QString& second,
             int press = 1) {
    Run(button, [&](QDialog* f) {
      const std::vector<int> ids = EditsOf(button);
      const QString texts[] = {number, first, second};
      for (int i = 0; i < 3; ++i) Find<QLineEdit>(f, ids[i])->setText(texts[i]);
    }, press);
  }
  Lines SentAndClear() {
    Lines sent = rig.Sent();
    rig.Clear();
    return sent;
  }

  SessionRig rig;
  RouterCategory& router = rig.Records<RouterSettings>();
  CategoryMenu menu{nullptr, rig.session, HomePnaDetailMenu(rig.session)};
};

TEST_F(LanForms, AddsResendEarlierAddsUntilTheBaselineIsRefreshed) {
  rig.Device().Set("nat.7", "192.168.0.7,203.0.113.7");
  rig.Device().Set("nat.3", "192.168.0.3,203.0.113.3");
  Read();
  Run(kNat, [](QDialog* f) {
    EXPECT_EQ(f->windowTitle(), "ＮＡＴ（スタティックＮＡＴ）設定");
    EXPECT_EQ(Find<QPlainTextEdit>(f, 1461)->toPlainText(),
              "3: 192.168.0.3, 203.0.113.3\n7: 192.168.0.7, 203.0.113.7");
  }, 1587);
  EXPECT_EQ(rig.help.contexts, std::vector<int>{15});

  Entry(kNat, "3", "192.168.0.3", "203.0.113.3");  // identical: nothing to send
  EXPECT_EQ(SentAndClear(), Lines{});
  Entry(kNat, "3", "192.168.0.33", "*");  // in use, replaced
  EXPECT_EQ(SentAndClear(), Lines{"nat add 3 192.168.0.33,*"});
  Entry(kNat, "4", "192.168.0.4", "203.0.113.4");
  EXPECT_EQ(SentAndClear(), (Lines{"nat add 3 192.168.0.33,*", "nat add 4 192.168.0.4,203.0.113.4"}));
  Entry(kNat, "7", "", "", kDelete);  // refreshes the baseline first
  EXPECT_EQ(SentAndClear(), Lines{"nat del 7"});
  Entry(kHost, "0012", "192.168.0.12", "pc-12");
  Entry(kHost, "5", "192.168.0.5", "pc-5");
  EXPECT_EQ(SentAndClear(), (Lines{"host add 12 192.168.0.12,pc-12", "host add 5 192.168.0.5,pc-5",
                                   "host add 12 192.168.0.12,pc-12"}));
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 6);

  const RouterSettings edited = router.working;
  Read();
  EXPECT_EQ(router.working, edited);
}

TEST_F(LanForms, ListChecksAreWholeAndStoreNothingOnAFailure) {
  rig.Device().Set("host.1", "192.168.0.1,pc-1");
  Read();
  const struct {
    int button;
    QString number, first, second;
    const char* message;
  } cases[] = {
      {kHost, "1", "192.168.0.9", "", "ホスト名の入力に間違いがあります。"},
      {kHost, "1", "192.168.0.9", "pc,1", "ホスト名の入力に間違いがあります。"},
      {kHost, "1", "", "pc", "ＩＰアドレスの入力に間違いがあります。"},
      {kHost, "33", "192.168.0.9", "pc", "番号の入力に間違いがあります。"},
      {kNat, "1", "192.168.0.9", "", "グローバルＩＰアドレスの入力に間違いがあります。"},
      {kNat, "1", "192.168.0.9", "*,10.0.0.9", "グローバルＩＰアドレスの入力に間違いがあります。"},
      {kNat, "1", "192.168.0", "*", "プライベートＩＰアドレスの入力に間違いがあります。"},
      {kNat, "0", "192.168.0.9", "*", "番号の入力に間違いがあります。"},
  };
  for (const auto& c : cases) {
    rig.messages.shown.clear();
    Entry(c.button, c.number, c.first, c.second);
    EXPECT_EQ(rig.messages.Texts(), QStringList{c.message}) << c.second.toStdString();
  }
  // "00012" pasted into the four-character number edit is refused whole,
  // so neither button acts on entry 1.
  QApplication::clipboard()->setText(QStringLiteral("00012"));
  for (int press : {1, kDelete}) {
    rig.messages.shown.clear();
    Run(kHost, [](QDialog* f) {
      auto* number = Find<QLineEdit>(f, 1512);
      number->setFocus();
      QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
      QTest::keyClicks(Find<QLineEdit>(f, 1513), "192.168.0.9");
      QTest::keyClicks(Find<QLineEdit>(f, 1514), "pc");
    }, press);
    EXPECT_EQ(rig.messages.Texts(), QStringList{"番号の入力に間違いがあります。"});
  }
  EXPECT_EQ(rig.Sent(), Lines{});
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  EXPECT_EQ(router.working, router.baseline);
}

TEST_F(LanForms, AFailedListWriteRevertsTheEntryAndTheLaterOnes) {
  Read();
  Entry(kNat, "5", "192.168.0.5", "*");
  rig.Clear();
  rig.Device().AddFault({Fault::kSilent, 0, "nat add 3", 1, 0});
  Entry(kNat, "3", "192.168.0.3", "*");
  EXPECT_EQ(rig.messages.Texts(), QStringList{"書込みに失敗しました。"});
  EXPECT_EQ(rig.log, QStringList{"HomaPNA Status Write ERROR\r\n"});
  EXPECT_EQ(router.working.nat[2].used, 0);
  EXPECT_EQ(router.working.nat[4].used, 0);
  EXPECT_EQ(router.working.nat, router.baseline.nat);
}

TEST_F(LanForms, DhcpDnsAndSyslogSendWhatChangedAndRefuseBadValues) {
  rig.Device().Set("dns.primary_address", "1.2.3.4");
  rig.Device().Set("dns.secondary_address", "5.6.7.8");
  Read();
  const struct {
    int button, id;
    QString text;
    const char* message;
    Lines sent;
  } cases[] = {
      {kDns, 1511, "", nullptr, {"dns address 1.2.3.4,0.0.0.0"}},
      {kDns, 1510, "", nullptr, {"dns address 0.0.0.0,0.0.0.0"}},
      {kDhcp, 1503, "256", "個数の入力に間違いがあります。", {}},
      {kDhcp, 1503, "", nullptr, {"dhcp range_address 192.168.0.2/0"}},
      {kDhcp, 1502, "192.168.0.10/99", "開始ＩＰアドレスの入力に間違いがあります。", {}},
      {kDhcp, 1504, "0", "リース時間の入力に間違いがあります。", {}},
      {kDhcp, 1507, "192.168.0.300", "デフォルトゲートウェイの入力に間違いがあります。", {}},
      {kDhcp, 1505, QString(65, u'd'), "ドメイン名の入力に間違いがあります。", {}},
      {kSyslog, 1537, "24", "ファシリティの入力に間違いがあります。", {}},
      {kSyslog, 1536, "10.0.0", "ホストアドレスの入力に間違いがあります。", {}},
      {kSyslog, 1585, {}, nullptr, {"syslog active\tenable"}},
  };
  for (const auto& c : cases) {
    rig.messages.shown.clear();
    Run(c.button, [&c](QDialog* f) {
      if (c.text.isNull()) {
        Find<QAbstractButton>(f, c.id)->click();
      } else {
        // Set directly: the domain name's typing limit would cut it.
        Find<QLineEdit>(f, c.id)->setText(c.text);
      }
    });
    EXPECT_EQ(rig.messages.Texts(), c.message ? QStringList{c.message} : QStringList{}) << c.id;
    EXPECT_EQ(SentAndClear(), c.sent) << c.id;
  }
  EXPECT_EQ(router.working.dns.primary_address, "");
  EXPECT_EQ(rig.session.state.pendingChangeCount, 4);
}

// Every setting of the five forms, and every entry of both lists added,
// replaced and deleted, reaches the device and reads back equal.
TEST_F(LanForms, EverySettingAndEveryEntryReadsBackEqual) {
  Read();
  Run(kDhcp, [](QDialog* f) {
    EXPECT_EQ(Find<QLineEdit>(f, 1507)->text(), "");  // "0.0.0.0"
    Find<QAbstractButton>(f, 1500)->click();
    Type(f, 1502, "192.168.0.100");
    Type(f, 1503, "20");
    Type(f, 1504, "999999");
    Type(f, 1505, "home.example");
    Type(f, 1506, "192.168.0.1");
    Type(f, 1507, "192.168.0.254");
  });
  Run(kDns, [](QDialog* f) {
    Find<QAbstractButton>(f, 1508)->click();
    Type(f, 1510, "192.0.2.1");
    Type(f, 1511, "192.0.2.2");
  });
  Run(kSyslog, [](QDialog* f) {
    Find<QAbstractButton>(f, 1585)->click();
    for (int id : {1532, 1534, 1535}) Find<QAbstractButton>(f, id)->click();
    Type(f, 1536, "192.168.0.50");
    Type(f, 1537, "23");
  });
  EXPECT_EQ(SentAndClear(),
            (Lines{"dhcp range_address 192.168.0.100/20", "dhcp lease_time 999999",
                   "dhcp default_address 192.168.0.254", "dhcp dns_address 192.168.0.1",
                   "dhcp domain_name home.example", "dhcp active disable",
                   "dns address 192.0.2.1,192.0.2.2", "dns forwarding disable",
                   "syslog address 192.168.0.50", "syslog facility 23", "syslog debug enable",
                   "syslog info disable", "syslog notice disable", "syslog active\tenable"}));
  Run(kDhcp, [](QDialog* f) { Type(f, 1507, ""); });  // an emptied gateway is sent empty
  EXPECT_EQ(SentAndClear(), Lines{"dhcp default_address "});
  for (int n = 1; n <= kListEntries; ++n) {
    const QString address = QStringLiteral("192.168.1.%1").arg(n);
    Entry(kNat, QString::number(n), address, QStringLiteral("203.0.113.%1").arg(n));
    Entry(kHost, QString::number(n), address, QStringLiteral("pc-%1").arg(n));
  }
  RouterSettings edited = router.working;
  Read();
  EXPECT_EQ(router.working, edited);
  EXPECT_EQ(router.working.nat[31].global_address, "203.0.113.32");
  for (int n = 1; n <= kListEntries; ++n) {
    Entry(kNat, QString::number(n), QStringLiteral("10.0.0.%1").arg(n), "*");
    Entry(kHost, QString::number(n), QStringLiteral("10.0.0.%1").arg(n), "pc");
  }
  edited = router.working;
  Read();
  EXPECT_EQ(router.working, edited);
  for (int n = 1; n <= kListEntries; ++n) {
    Entry(kNat, QString::number(n), "", "", kDelete);
    Entry(kHost, QString::number(n), "", "", kDelete);
  }
  Read();
  for (int k = 0; k < kListEntries; ++k) {
    EXPECT_EQ(router.working.nat[k].used + router.working.hosts[k].used, 0) << k;
  }
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(LanForms, TheFiveFormsOpenFromTheMenuWithTheirHelp) {
  Read();
  for (int button : {kNat, kDhcp, kDns, kHost, kSyslog}) {
    EXPECT_TRUE(Find<QPushButton>(&menu, button)->isEnabled());
    Run(button, [](QDialog*) {}, 1587);
  }
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{15, 16, 17, 18, 19}));
  EXPECT_EQ(rig.Sent(), Lines{});
  HelpTopic topic;
  for (int context : rig.help.contexts) {
    EXPECT_EQ(LoadHelpTopic(QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp"),
                            context, topic),
              HelpLookup::kFound)
        << context;
  }
}

}  // namespace
}  // namespace setutily
