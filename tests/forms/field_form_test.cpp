// Pieces of the generic field form on a small record of its own: arrows
// with a display scale, a rate label, a drop-down list, a captioned radio
// pair and derived values.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "forms/field_form.h"
#include "forms/form_parts.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using testing::Find;
using testing::SessionRig;

struct Probe {
  int hold = 0;   // units of 5 seconds, shown in seconds
  int level = 0;  // 0-100
  int list = 0;   // drop-down code
  int flags = 0;
  int derived = 0;
  bool operator==(const Probe&) const = default;
};

Probe& Whole(Probe& probe, int) { return probe; }

const FormSpec<Probe, Probe>& ProbeForm() {
  static const FormSpec<Probe, Probe> spec{
      .title = QStringLiteral("probe"),
      .help = 1,
      .boxes = {Box<Probe>(u"box").With(
          Number(u"hold", &Probe::hold, 10, 5, 1275).StoreScale(5).Arrows(11, 4, 1, 255, 5),
          Number(u"level", &Probe::level, 20, 0, 100).Arrows(21, 3, 0, 100),
          RateLabel<Probe>(22, 20, [](int v) { return QStringLiteral("= %1").arg(v * 2); }),
          DropDown<Probe>(u"list", &Probe::list, 30, {{u"a"}, {u"b"}}),
          RadioBit(&Probe::flags, 2, Option(u"off", 40), Option(u"on", 41)).Caption(u"pair"))},
      .project = Whole,
      // Derived from the value that will really be stored.
      .adjust = [](Probe& edited, int) { edited.derived = edited.list == 1 ? 9 : edited.derived; },
  };
  return spec;
}

void Step(QWidget* form, int id, bool up) {
  auto* arrows = Find<StepArrows>(form, id);
  (up ? arrows->UpButton() : arrows->DownButton())->click();
}

TEST(FieldForm, ScaledArrowsAndTheRateLabelFollowTheSteps) {
  SessionRig rig;
  auto& copies = rig.Records<Probe>();
  copies.working = {.hold = 255, .level = 50, .flags = 5};
  auto form = OpenForm(nullptr, rig.session, ProbeForm());
  auto* hold = Find<QLineEdit>(form.get(), 10);
  auto* rate = Find<QLabel>(form.get(), 22);
  EXPECT_EQ(hold->text(), "1275");
  Step(form.get(), 11, true);
  EXPECT_EQ(hold->text(), "5");
  Step(form.get(), 11, false);
  EXPECT_EQ(hold->text(), "1275");
  EXPECT_EQ(rate->text(), "= 100");
  Find<QLineEdit>(form.get(), 20)->setText("7");  // typing leaves the label
  EXPECT_EQ(rate->text(), "= 100");
  Step(form.get(), 21, true);
  EXPECT_EQ(rate->text(), "= 16");
  hold->setText("7");  // stored in whole units: 1
  form->ConfirmButton()->click();
  EXPECT_EQ(copies.working.hold, 1);
  EXPECT_EQ(copies.working.level, 8);
  EXPECT_EQ(copies.working.flags, 5);  // untouched pair, other bits kept
  EXPECT_EQ(Find<QRadioButton>(form.get(), 41)->accessibleName(), "pair on");
}

TEST(FieldForm, AnUnknownListCodeShowsNothingAndStaysAndDerivedValuesSeeIt) {
  SessionRig rig;
  auto& copies = rig.Records<Probe>();
  copies.working = {.hold = 1, .list = 7, .derived = 3};
  auto form = OpenForm(nullptr, rig.session, ProbeForm());
  auto* list = Find<QComboBox>(form.get(), 30);
  EXPECT_EQ(list->currentIndex(), -1);
  form->ConfirmButton()->click();
  EXPECT_EQ(copies.working.list, 7);
  EXPECT_EQ(copies.working.derived, 3);  // the rule did not fire
  EXPECT_EQ(rig.session.state.pendingChangeCount, 1);

  auto again = OpenForm(nullptr, rig.session, ProbeForm());
  Find<QComboBox>(again.get(), 30)->setCurrentIndex(1);
  Find<QRadioButton>(again.get(), 41)->click();
  again->ConfirmButton()->click();
  EXPECT_EQ(copies.working.list, 1);
  EXPECT_EQ(copies.working.derived, 9);
  EXPECT_EQ(copies.working.flags, 2);
}

struct Gated {
  int select = 0;  // 0 by hand, 1 automatic
  std::string address;
  bool operator==(const Gated&) const = default;
};
Gated& Self(Gated& gated, int) { return gated; }
bool ByHand(const Gated& gated) { return gated.select == 0; }

TEST(FieldForm, AnItemOutsideItsConditionIsNeitherCheckedNorStored) {
  static const FormSpec<Gated, Gated> spec{
      .title = QStringLiteral("gated"),
      .help = 1,
      .boxes = {Box<Gated>().With(
          Radios(&Gated::select, {{u"by hand", 50}, {u"automatic", 51}}),
          Address(u"address", &Gated::address, 52).Message(u"bad").OnlyWhen(ByHand))},
      .project = Self,
  };
  SessionRig rig;
  auto& copies = rig.Records<Gated>();
  copies.working = {1, "10.0.0.1"};
  auto form = OpenForm(nullptr, rig.session, spec);
  Find<QLineEdit>(form.get(), 52)->setText("1.2.3");
  form->ConfirmButton()->click();
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(copies.working, (Gated{1, "10.0.0.1"}));

  auto again = OpenForm(nullptr, rig.session, spec);
  Find<QRadioButton>(again.get(), 50)->click();
  auto* address = Find<QLineEdit>(again.get(), 52);
  address->setText("1.2.3");
  again->ConfirmButton()->click();
  EXPECT_EQ(rig.messages.Texts(), QStringList{"bad"});
  EXPECT_EQ(copies.working.select, 1);
  address->setText("10.0.0.9");
  again->ConfirmButton()->click();
  EXPECT_EQ(copies.working, (Gated{0, "10.0.0.9"}));
}

}  // namespace
}  // namespace setutily
