// Pieces of the generic field form on a small record of its own: arrows
// with a display scale, a rate label, a drop-down list, a captioned radio
// pair, derived values, a button of the form's own and an item that applies
// only under a condition.
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

const Settings<Probe> kProbe = {Number(&Probe::hold).Range(1, 255).Scale(5),
                                Number(&Probe::level).Range(0, 100)};
const GroupOf<Probe, Probe> kProbeGroup{.settings = &kProbe, .project = Whole};

const FormDescription<Probe, Probe>& ProbeForm() {
  static const FormDescription<Probe, Probe> description{
      .title = QStringLiteral("probe"),
      .help = 1,
      .group = &kProbeGroup,
      .boxes = {Box<Probe>(u"box").With(
          Edit(u"hold", &Probe::hold, 10).Limit(4).Arrows(11, 4, 5),
          Edit(u"level", &Probe::level, 20).Arrows(21, 3),
          RateLabel<Probe>(22, &Probe::level, [](int v) { return QStringLiteral("= %1").arg(v * 2); }),
          DropDown<Probe>(u"list", &Probe::list, 30, {{u"a"}, {u"b"}}),
          RadioBit(&Probe::flags, 2, Option(u"off", 40), Option(u"on", 41)).Caption(u"pair"))},
      // Derived from the value that will really be stored.
      .adjust = [](Probe& edited, int) { edited.derived = edited.list == 1 ? 9 : edited.derived; },
  };
  return description;
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

// A period choice and a number that applies only while the first period is
// chosen; a button of the form's own that closes it on its second click.
struct Limit {
  int period = 0;
  int hours = 0;
  bool operator==(const Limit&) const = default;
};

Limit& WholeLimit(Limit& limit, int) { return limit; }
const Settings<Limit> kLimit = {Number(&Limit::hours).Range(0, 23).Message(u"bad hours")};
const GroupOf<Limit, Limit> kLimitGroup{.settings = &kLimit, .project = WholeLimit};

int actionClicks = 0;

const FormDescription<Limit, Limit>& LimitForm() {
  static const FormDescription<Limit, Limit> description{
      .title = QStringLiteral("limit"),
      .help = 2,
      .group = &kLimitGroup,
      .boxes = {Box<Limit>(u"box").With(
          Radios(&Limit::period, {{u"day", 50}, {u"week", 51}}),
          Edit(u"hours", &Limit::hours, 52).OnlyWhen([](const Limit& v) { return v.period == 0; }))},
      .helpButton = 59,
      .actions = {{QStringLiteral("act"), 53, [](FieldForm&) { return ++actionClicks == 2; }}},
  };
  return description;
}

TEST(FieldForm, AnOwnButtonStandsAfterConfirmAndMayCloseTheFormStoringNothing) {
  SessionRig rig;
  auto& copies = rig.Records<Limit>();
  copies.working = {.period = 0, .hours = 5};
  auto form = OpenForm(nullptr, rig.session, LimitForm());
  form->show();
  EXPECT_EQ(Find<QPushButton>(form.get(), 1587), nullptr);  // "ヘルプ" is 59 here
  // Tab goes from "登録" to the form's own button, then to "戻る".
  const auto nextStop = [](QWidget* w) {
    do {
      w = w->nextInFocusChain();
    } while ((w->focusPolicy() & Qt::TabFocus) == 0);
    return w;
  };
  EXPECT_EQ(nextStop(form->ConfirmButton()), Find<QWidget>(form.get(), 53));
  EXPECT_EQ(nextStop(Find<QWidget>(form.get(), 53)), form->CancelButton());

  actionClicks = 0;
  Find<QLineEdit>(form.get(), 52)->setText("7");
  Find<QPushButton>(form.get(), 53)->click();
  EXPECT_TRUE(form->isVisible());  // the action kept it open
  Find<QPushButton>(form.get(), 53)->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(copies.working, (Limit{0, 5}));
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
}

TEST(FieldForm, AnItemOutsideItsConditionIsNeitherCheckedNorStored) {
  SessionRig rig;
  auto& copies = rig.Records<Limit>();
  copies.working = {.period = 1, .hours = 5};
  auto form = OpenForm(nullptr, rig.session, LimitForm());
  Find<QLineEdit>(form.get(), 52)->setText("99");
  form->ConfirmButton()->click();
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(copies.working, (Limit{1, 5}));

  auto again = OpenForm(nullptr, rig.session, LimitForm());
  Find<QRadioButton>(again.get(), 50)->click();  // the condition holds for what will be stored
  Find<QLineEdit>(again.get(), 52)->setText("99");
  again->ConfirmButton()->click();
  EXPECT_EQ(rig.messages.Texts(), QStringList{"bad hours"});
  Find<QLineEdit>(again.get(), 52)->setText("7");
  again->ConfirmButton()->click();
  EXPECT_EQ(copies.working, (Limit{0, 7}));
}

struct Named {
  std::string name;
  bool operator==(const Named&) const = default;
};

Named& WholeNamed(Named& named, int) { return named; }
const Settings<Named> kNamed = {Text(&Named::name).Bytes(8).Message(u"bad name")};
const GroupOf<Named, Named> kNamedGroup{.settings = &kNamed, .project = WholeNamed};

TEST(FieldForm, AChangedTextThatCouldNotReachTheDeviceAsTypedIsRefused) {
  static const FormDescription<Named, Named> description{
      .title = QStringLiteral("named"),
      .help = 3,
      .group = &kNamedGroup,
      .boxes = {Box<Named>(u"box").With(Edit(u"name", &Named::name, 60))},
  };
  const struct {
    const char* typed;
    bool taken;
  } cases[] = {
      {"\xe5\x85\xa8\xe8\xa7\x92", true},    // full width, four device bytes
      {"a\xf0\x9f\x98\x80", false},            // no Shift-JIS form
      {"a\tb", false},                            // a control character
      {"\xe5\x85\xa8\xe8\xa7\x92" "abcde", false},  // nine device bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    SessionRig rig;
    auto& copies = rig.Records<Named>();
    copies.working = {"\x83\x60"};  // a Shift-JIS text from the device, shown and kept
    auto form = OpenForm(nullptr, rig.session, description);
    form->ConfirmButton()->click();  // untouched: taken as it stands
    EXPECT_TRUE(rig.messages.shown.empty());
    auto again = OpenForm(nullptr, rig.session, description);
    Find<QLineEdit>(again.get(), 60)->setText(QString::fromUtf8(c.typed));
    again->ConfirmButton()->click();
    EXPECT_EQ(rig.messages.Texts(), c.taken ? QStringList{} : QStringList{"bad name"});
    EXPECT_EQ(copies.working.name == "\x83\x60", !c.taken);
  }
}

}  // namespace
}  // namespace setutily
