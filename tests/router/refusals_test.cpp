// Values the forms take but the device refuses: each is told by its form's
// title and its caption, with the value sent and the device's, logged as a
// failed write, and the form shows the device's value afterwards.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "router/home_pna_menu.h"
#include "support/menu_test.h"

namespace setutily {
namespace {

using testing::Find;
using testing::Text;
using testing::Type;

class Refusals : public testing::MenuTest<HomePnaDetailMenu> {};

TEST_F(Refusals, ARefusedValueIsToldByItsCaptionAndTheFormShowsTheDevicesValue) {
  rig.ExpectRefusals();
  Set("dialup.num1.provider_name", "ISP");
  Set("dns.primary_address", "192.168.0.1");
  ASSERT_EQ(ReadRouterSettings(rig.session), 1);
  const struct {
    int button;
    std::vector<std::pair<int, QString>> typed;
    QString told;
    int shownId;  // an edit showing the device's value afterwards (0: the host list)
    QString shown;
  } kCases[] = {
      {1011, {{1386, u"テストISP"_qs}},
       u"ダイヤルアップ１設定 / プロバイダ名: 「テストISP」は機器に受け付けられませんでした"
       u"（機器の値: 「ISP」）"_qs,
       1386, "ISP"},
      {1030, {{1510, "192.168.0.1.5"}},
       u"ＤＮＳ設定 / ＤＮＳサーバ：プライマリＩＰアドレス: 「192.168.0.1.5」は機器に受け付けられま"
       u"せんでした（機器の値: 「192.168.0.1」）"_qs,
       1510, "192.168.0.1"},
      {1033, {{1512, "3"}, {1513, "192.168.0.5"}, {1514, u"経理PC"_qs}},
       u"ＤＮＳ名前解決設定 / 番号 3: 「192.168.0.5, 経理PC」は機器に受け付けられませんでした"
       u"（機器の値: （未登録））"_qs,
       0, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.button);
    rig.messages.shown.clear();
    rig.log.clear();
    Confirm(c.button, [&c](FieldForm* form) {
      for (const auto& [id, text] : c.typed) Find<QLineEdit>(form, id)->setText(text);
    });
    EXPECT_EQ(rig.messages.Texts(), QStringList{c.told});
    EXPECT_EQ(rig.log, QStringList{"HomaPNA Status Write ERROR\r\n"});
    EXPECT_EQ(rig.session.state.pendingChangeCount, 0);  // nothing to store
    InForm(c.button, [&c](FieldForm* form) {
      if (c.shownId != 0) {
        EXPECT_EQ(Text(form, c.shownId), c.shown);
      } else {
        EXPECT_FALSE(Find<QPlainTextEdit>(form, 1516)->toPlainText().contains(u"経理PC"_qs));
      }
    });
  }
  // What the device took is not told; the second write sends nothing refused again.
  rig.messages.shown.clear();
  Confirm(1011, [](FieldForm* form) { Type(form, 1386, "Test ISP"); });
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.Device().Get("dialup.num1.provider_name"), "Test ISP");
  EXPECT_EQ(rig.session.state.pendingChangeCount, 1);
}

}  // namespace
}  // namespace setutily
