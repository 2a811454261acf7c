// The four dial-up profile forms of the HomePNA detail menu against the
// simulator: what each shows, checks, stores and sends, and that every
// setting reads back as sent.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/help_file.h"
#include "router/dialup_forms.h"
#include "router/dialup_settings.h"
#include "router/home_pna_menu.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::SessionRig;

// The ids of one control in profiles 1 to 4.
using Ids = std::array<int, 4>;
constexpr Ids kMenuButton = {1011, 1012, 1014, 1020};
constexpr Ids kProvider = {1386, 1403, 1419, 1435};
constexpr Ids kDial1 = {1387, 1404, 1420, 1436};
constexpr Ids kDial2 = {1388, 1405, 1421, 1437};
constexpr Ids kDial3 = {1389, 1406, 1422, 1438};
constexpr Ids kUser = {1390, 1407, 1423, 1439};
constexpr Ids kPassword = {1391, 1408, 1424, 1440};
constexpr Ids kMode = {1397, 1409, 1425, 1441};
constexpr Ids kProtocol = {1399, 1411, 1427, 1443};
constexpr Ids kDiscOff = {1400, 1412, 1428, 1444};
constexpr Ids kDiscTime = {1402, 1414, 1430, 1446};
constexpr Ids kWan = {1396, 1648, 1649, 1650};
constexpr Ids kDnsByHand = {1392, 1415, 1431, 1447};
constexpr Ids kDnsAuto = {1393, 1416, 1432, 1448};
constexpr Ids kPrimary = {1394, 1417, 1433, 1449};
constexpr Ids kSecondary = {1395, 1418, 1434, 1450};

// A profile's form, at profile p (0-3).
struct Profile {
  FieldForm* form;
  int p;
  int Id(const Ids& ids) const { return ids[static_cast<std::size_t>(p)]; }
  void Type(const Ids& ids, const QString& text) const {
    auto* edit = Find<QLineEdit>(form, Id(ids));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  // Types text as one key press (characters QTest cannot name).
  void Key(const Ids& ids, const QString& text) const {
    auto* edit = Find<QLineEdit>(form, Id(ids));
    edit->selectAll();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
  }
  void Press(const Ids& ids) const { Find<QAbstractButton>(form, Id(ids))->click(); }
  void Choose(const Ids& ids, int index) const {
    Find<QComboBox>(form, Id(ids))->setCurrentIndex(index);
  }
  bool Enabled(const Ids& ids) const { return Find<QWidget>(form, Id(ids))->isEnabled(); }
};

// 32 digits, "*" and 20 digits: 53 characters, one past the subaddress limit.
const QString kNumber53 = QString(32, u'3') + u'*' + QString(20, u'5');

class DialupForms : public ::testing::Test {
 protected:
  void Read() {
    ASSERT_EQ(ReadRouterSettings(rig.session), 1);
    rig.Clear();
  }
  // Opens profile p's form, runs edit, confirms, and closes it if it stayed open.
  void Confirm(int p, const std::function<void(const Profile&)>& edit) {
    OnNextModal<FieldForm>([&](FieldForm* form) {
      const Profile profile{form, p};
      edit(profile);
      Find<QAbstractButton>(form, 1)->click();
      if (form->isVisible()) form->reject();
    }, &menu);
    menu.Press(kMenuButton[static_cast<std::size_t>(p)]);
  }

  SessionRig rig;
  RouterCategory& router = rig.Records<RouterSettings>();
  CategoryMenu menu{nullptr, rig.session, HomePnaDetailMenu(rig.session)};
};

TEST_F(DialupForms, EachProfileSendsNothingUnchangedThenEverySettingAndReadsItBack) {
  Read();
  for (int p = 0; p < 4; ++p) {
    const std::string num = "num" + std::to_string(p + 1);
    Confirm(p, [p](const Profile& f) {
      EXPECT_EQ(f.form->windowTitle(),
                QStringLiteral("ダイヤルアップ%1設定").arg(QChar(u'１' + p)));
      EXPECT_FALSE(f.Enabled(kPrimary));  // servers obtained automatically
      EXPECT_FALSE(f.Enabled(kSecondary));
      EXPECT_EQ(Find<QLineEdit>(f.form, f.Id(kWan))->text(), "");  // "0.0.0.0"
      Find<QAbstractButton>(f.form, 1587)->click();
    });
    EXPECT_TRUE(rig.Sent().empty()) << num;
    Confirm(p, [](const Profile& f) {
      f.Type(kProvider, "My ISP");
      f.Type(kDial1, "0311111111");
      f.Type(kDial2, "(03)2222-2222*12");
      f.Type(kUser, "user@isp.example");
      f.Type(kPassword, "s3cr#t");
      f.Choose(kMode, 3);
      f.Choose(kProtocol, 1);
      f.Press(kDiscOff);
      f.Type(kDiscTime, "32400");
      f.Type(kWan, "198.51.100.9");
      f.Press(kDnsByHand);
      EXPECT_TRUE(f.Enabled(kPrimary));
      f.Type(kPrimary, "192.0.2.1");
      f.Type(kSecondary, "192.0.2.2");
    });
    EXPECT_EQ(rig.Sent(), (Lines{"dialup provider_name " + num + " My ISP",
                                 "dialup dial_number " + num + " 0311111111,(03)2222-2222*12,",
                                 "dialup user_id " + num + " user@isp.example",
                                 "dialup password " + num + " s3cr#t",
                                 "dialup protocol " + num + " pap", "dialup mode " + num + " mp3",
                                 "dialup auto_disc " + num + " disable",
                                 "dialup disc_time " + num + " 32400",
                                 "dialup address " + num + " 198.51.100.9",
                                 "dialup dns_select " + num + " manual",
                                 "dialup dns_address " + num + " 192.0.2.1,192.0.2.2"}));
    rig.Clear();
  }
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 8);
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{20, 21, 22, 23}));
  const RouterSettings edited = router.working;
  Read();
  EXPECT_EQ(router.working, edited);
  HelpTopic topic;
  for (int context : {20, 21, 22, 23, 27}) {
    EXPECT_EQ(LoadHelpTopic(QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp"),
                            context, topic),
              HelpLookup::kFound)
        << context;
  }
}

TEST_F(DialupForms, ChecksAndWhatEachChangeSends) {
  rig.Device().Set("dialup.num3.dial_number1", "0311112222");
  rig.Device().Set("dialup.num3.dial_number2", "0322220000");
  rig.Device().Set("dialup.num2.dns_select", "0");
  rig.Device().Set("dialup.num2.dns_primary", "192.0.2.1");
  rig.Device().Set("dialup.num1.address", "198.51.100.7");
  Read();
  const char* const kChap = "64k 以外は、CHAPに設定できません。";
  const char* const kDisc = "切断時間の入力に間違いがあります。";
  const struct {
    int p;
    std::function<void(const Profile&)> edit;
    const char* message;
    Lines sent;
  } cases[] = {
      {2, [](const Profile& f) { f.Type(kDial2, "0322223333"); }, nullptr,
       {"dialup dial_number num3 0311112222,0322223333,"}},
      {0, [](const Profile& f) { f.Choose(kMode, 2); f.Choose(kProtocol, 2); }, kChap, {}},
      {0, [](const Profile& f) { f.Choose(kProtocol, 2); }, nullptr, {"dialup protocol num1 chap"}},
      {1, [](const Profile& f) { f.Type(kPrimary, ""); },
       "サーバーアドレスの入力に間違いがあります。", {}},
      {1, [](const Profile& f) { f.Type(kPrimary, ""); f.Type(kSecondary, "1.2.3.4"); }, nullptr,
       {"dialup dns_address num2 0.0.0.0,1.2.3.4"}},
      {0, [](const Profile& f) { f.Type(kProvider, "x"); f.Type(kDial1, kNumber53); },
       "電話番号1の入力に間違いがあります。", {}},
      {2, [](const Profile& f) { f.Type(kDial1, kNumber53); },
       "電話番号1の入力に間違いがあります。", {}},
      {1, [](const Profile& f) { f.Type(kDial3, QString(33, u'1')); },
       "電話番号3の入力に間違いがあります。", {}},
      // A character Shift-JIS cannot hold: the edits without a message of
      // their own are named by their captions.
      {0, [](const Profile& f) { f.Key(kUser, QStringLiteral("😀")); },
       "ユーザー名の入力に間違いがあります。", {}},
      {1, [](const Profile& f) { f.Key(kPassword, QStringLiteral("€😀")); },
       "パスワードの入力に間違いがあります。", {}},
      {3, [](const Profile& f) { f.Type(kDiscTime, "0"); }, kDisc, {}},
      {3, [](const Profile& f) { f.Type(kDiscTime, "32401"); }, kDisc, {}},
      {3, [](const Profile& f) { f.Type(kWan, "1.2.3"); },
       "ＷＡＮ側ＩＰアドレスの入力に間違いがあります。", {}},
      {3, [](const Profile& f) { f.Press(kDnsByHand); f.Type(kSecondary, "1.2.3.256"); },
       "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", {}},
      {0, [](const Profile& f) { f.Type(kWan, ""); }, nullptr, {"dialup address num1 0.0.0.0"}},
      // Automatic: no server needed, and emptied addresses stay empty.
      {1, [](const Profile& f) { f.Type(kSecondary, ""); f.Press(kDnsAuto); }, nullptr,
       {"dialup dns_select num2 auto", "dialup dns_address num2 0.0.0.0,0.0.0.0"}},
  };
  int stored = 0;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const RouterSettings before = router.working;
    Confirm(c.p, c.edit);
    EXPECT_EQ(rig.messages.Texts(), c.message ? QStringList{c.message} : QStringList{}) << i;
    EXPECT_EQ(rig.Sent(), c.sent) << i;
    if (c.message) {
      EXPECT_EQ(router.working, before) << i;  // nothing stored
    } else {
      ++stored;
    }
    EXPECT_EQ(rig.session.state.pendingChangeCount, stored) << i;
    rig.messages.shown.clear();
    rig.Clear();
  }
  EXPECT_EQ(router.working.dialup[0].address, "0.0.0.0");
  EXPECT_EQ(router.working.dialup[1].dns_secondary, "");
  Confirm(0, [](const Profile& f) {
    EXPECT_EQ(Find<QLineEdit>(f.form, f.Id(kWan))->text(), "");
  });
  EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(DialupForms, TheEasySetupNeedsAServerGivenByHand) {
  rig.Device().Set("dialup.num1.dns_select", "0");
  rig.Device().Set("dialup.num1.dns_primary", "192.0.2.1");
  ASSERT_EQ(ReadEasySetup(rig.session), 1);
  EXPECT_EQ(rig.Received(), Lines{"show dialup num1"});
  rig.Clear();
  auto form = OpenForm(nullptr, rig.session, EasySetupForm());
  const Profile f{form.get(), 0};
  f.Type({1375}, "x");
  f.Type({1383}, "");
  form->ConfirmButton()->click();
  EXPECT_EQ(rig.messages.Texts(), QStringList{"サーバーアドレスの入力に間違いがあります。"});
  EXPECT_EQ(router.working.dialup[0].dns_primary, "192.0.2.1");
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  EXPECT_EQ(WriteEasySetup(rig.session), 1);
  EXPECT_TRUE(rig.Sent().empty());
}

}  // namespace
}  // namespace setutily
