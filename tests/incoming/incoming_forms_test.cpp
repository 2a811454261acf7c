// The incoming-control menu and forms, driven through their widgets against
// the device simulator.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "app/help_file.h"
#include "forms/line_edits.h"
#include "incoming/incoming_forms.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::SessionRig;

constexpr int kStandard = 1075, kByNumber1 = 1083, kByNumber2 = 1079;

void Press(QWidget* form, int id) { Find<QAbstractButton>(form, id)->click(); }
void Choose(QWidget* form, int id, int index) { Find<QComboBox>(form, id)->setCurrentIndex(index); }
void Type(QWidget* form, int id, const QString& text) { Find<NumberEdit>(form, id)->setText(text); }

class IncomingForms : public ::testing::Test {
 protected:
  void SetUp() override { Read(); }
  void Read() {
    ASSERT_EQ(ReadIncomingControl(rig.session, incoming), 1);
    rig.Clear();
  }
  // Presses a menu button and runs action in the form it opens; the action
  // must close the form (confirm or cancel) unless it leaves it to close.
  void InForm(int button, std::function<void(FieldForm*)> action) {
    OnNextModal<FieldForm>(std::move(action), &menu);
    menu.Press(button);
  }

  SessionRig rig;
  IncomingControlCopies& incoming = rig.Records<IncomingControlSettings>();
  CategoryMenu menu{nullptr, rig.session, IncomingControlMenu(rig.session)};
};

// Each list of the standard form set to its last item sends its own command.
TEST_F(IncomingForms, EveryStandardListSendsItsOwnCommand) {
  const std::pair<int, const char*> cases[] = {
      {1015, "arrive ranking default tel1 reject"}, {1040, "arrive ranking default tel2 reject"},
      {1056, "arrive ranking default tel3 reject"}, {1048, "arrive ranking default data reject"},
      {1060, "arrive ranking default usb reject"},  {1061, "arrive ranking default pna reject"},
      {1018, "arrive ring_select default ring3"},   {1064, "arrive ranking noid tel1 reject"},
      {1077, "arrive ranking noid tel2 reject"},    {1085, "arrive ranking noid tel3 reject"},
      {1081, "arrive ranking noid data reject"},    {1089, "arrive ranking noid usb reject"},
      {1090, "arrive ranking noid pna reject"},     {1072, "arrive ring_select noid ring3"},
      {1073, "arrive ring_select ring3"}};
  for (const auto& [id, command] : cases) {
    InForm(kStandard, [id](FieldForm* form) {
      auto* list = Find<QComboBox>(form, id);
      list->setCurrentIndex(list->count() - 1);
      Press(form, 1);
    });
    EXPECT_EQ(rig.Sent(), (Lines{command})) << id;
    rig.Clear();
  }
  EXPECT_EQ(rig.session.state.pendingChangeCount, 15);
}

TEST_F(IncomingForms, RingDistinctionGoesToPseudoAndBack) {
  InForm(kStandard, [](FieldForm* form) {
    EXPECT_EQ(form->windowTitle(), "着信制御　標準設定");
    QTest::keyClick(Find<QComboBox>(form, 1015), Qt::Key_F1);
    Press(form, 1372);
    Press(form, 1);
  });
  InForm(kStandard, [](FieldForm* form) {
    Press(form, 1371);
    Press(form, 1);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"arrive ring_select pseudo", "arrive ring_select ntt"}));
  EXPECT_EQ(rig.help.contexts, std::vector<int>{12});
}

// Device values outside the lists show no selection and stay as they are.
TEST_F(IncomingForms, UnshownCodesAreNeitherSelectedNorSent) {
  rig.Device().Set("arrive.ring_select", "2");
  rig.Device().Set("arrive.ntt_ring", "5");
  Read();
  InForm(kStandard, [](FieldForm* form) {
    EXPECT_FALSE(Find<QRadioButton>(form, 1371)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(form, 1372)->isChecked());
    EXPECT_EQ(Find<QComboBox>(form, 1073)->currentIndex(), -1);
    Press(form, 1);  // unchanged
  });
  EXPECT_TRUE(rig.Sent().empty());
  InForm(kStandard, [](FieldForm* form) {
    Choose(form, 1064, 2);
    Press(form, 1);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"arrive ranking noid tel1 delay"}));
  EXPECT_EQ(incoming.working.ring_select_service, 2);
  EXPECT_EQ(incoming.working.ntt_ring, 5);
}

TEST_F(IncomingForms, ByNumberFormsShowTheirOwnEntries) {
  for (int k = 0; k < kIncomingEntryCount; ++k) {
    incoming.working.entries[k].number = "0" + std::to_string(k + 1);
    incoming.working.entries[k].ring = k % 3;
  }
  const struct {
    int button, entry, numberId, ringId;
    const char *title, *caption;
  } cases[] = {
      {kByNumber1, 1, 1017, 1025, "着信制御　電話番号別１設定", "００"},
      {kByNumber2, 20, 1162, 1178, "着信制御　電話番号別２設定", "１９"},
  };
  for (const auto& c : cases) {
    InForm(c.button, [&c](FieldForm* form) {
      EXPECT_EQ(form->windowTitle(), c.title);
      auto* number = Find<NumberEdit>(form, c.numberId);
      EXPECT_EQ(number->text().toStdString(), "0" + std::to_string(c.entry));
      EXPECT_EQ(number->TypingLimit(), 53);
      EXPECT_EQ(number->accessibleName(), c.caption);
      auto* ring = Find<QComboBox>(form, c.ringId);
      EXPECT_EQ(ring->currentIndex(), (c.entry - 1) % 3);
      EXPECT_EQ(ring->accessibleName(), QStringLiteral("%1 擬似なりわけ鳴動音").arg(c.caption));
      EXPECT_EQ(form->findChildren<QComboBox*>().size(), 70);
      Press(form, 1587);
      Press(form, 2);
    });
  }
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{13, 13}));
  EXPECT_TRUE(rig.Sent().empty());
}

TEST(IncomingHelp, TheShippedFileHasTheFormsTopics) {
  const QString path = QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp");
  for (int context : {12, 13}) {
    HelpTopic topic;
    EXPECT_EQ(LoadHelpTopic(path, context, topic), HelpLookup::kFound) << context;
    EXPECT_TRUE(topic.title.startsWith(QStringLiteral("着信制御"))) << context;
  }
}

TEST_F(IncomingForms, OneRankOfEntryTwelveSendsOneCommand) {
  const IncomingControlSettings before = incoming.working;
  InForm(kByNumber2, [](FieldForm* form) {
    Choose(form, 1047, 2);  // row "１１", TEL2: "遅延"
    Press(form, 1);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"arrive ranking 12 tel2 delay"}));
  for (int k = 0; k < kIncomingPageSize; ++k) {
    EXPECT_EQ(incoming.working.entries[k], before.entries[k]) << k;
    EXPECT_EQ(incoming.baseline.entries[k], before.entries[k]) << k;
  }
  EXPECT_EQ(incoming.working.entries[11].tel2_rank, 2);
}

// Rows "０３" and "０７" of the first form hold entries 4 and 8.
TEST_F(IncomingForms, ABadNumberNamesTheUpperRowsEntryAndStoresNothing) {
  const struct {
    std::vector<int> badIds;
    const char* message;
  } cases[] = {
      {{1269}, "電話番号04の入力に間違いがあります。"},
      {{1269, 1200}, "電話番号04の入力に間違いがあります。"},
      {{1200}, "電話番号08の入力に間違いがあります。"},
  };
  for (const auto& c : cases) {
    rig.messages.shown.clear();
    const IncomingControlSettings before = incoming.working;
    InForm(kByNumber1, [&c](FieldForm* form) {
      Type(form, 1017, "0312345678");  // a good row above
      Choose(form, 1019, 3);
      for (int id : c.badIds) Type(form, id, "03 1234");
      Press(form, 1);
      EXPECT_TRUE(form->isVisible());
      Press(form, 2);
    });
    ASSERT_EQ(rig.messages.shown.size(), 1u) << c.message;
    EXPECT_EQ(rig.messages.shown[0].text, c.message);
    EXPECT_TRUE(incoming.working == before);
    EXPECT_TRUE(rig.Sent().empty());
  }
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
}

TEST_F(IncomingForms, AFailedWriteIsLoggedAndTold) {
  rig.Device().AddFault({Fault::kHangUp, 0, "arrive ranking default tel2", 1, 0});
  InForm(kStandard, [](FieldForm* form) {
    Choose(form, 1015, 0);
    Choose(form, 1040, 0);
    Choose(form, 1056, 0);
    Press(form, 1);
  });
  EXPECT_EQ(rig.log, QStringList{"Arrive Control Status Write ERROR\r\n"});
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text, "書込みに失敗しました。");
  EXPECT_EQ(incoming.working.default_tel1_rank, 0);  // sent
  EXPECT_EQ(incoming.working.default_tel3_rank, 1);  // back at the device's value
}

}  // namespace
}  // namespace setutily
