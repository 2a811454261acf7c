// The generic list form on a small list of its own: the lines of the
// entries in use, the two confirming buttons and their commit rules, whole
// checks before anything is stored, and pastes never cut into a number.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <array>

#include "forms/list_form.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using testing::Find;
using testing::SessionRig;

struct Pair {
  int used = 0;
  std::string a, b;
  bool operator==(const Pair&) const = default;
};
struct Table {
  std::array<Pair, 4> pairs;
  bool operator==(const Table&) const = default;
};

std::array<Pair, 4>& Pairs(Table& table) { return table.pairs; }

const Settings<Pair> kPairs = {
    Presence(&Pair::used, "add {} %s,%s\r", "del {}\r",
             Text(&Pair::a).Address().Required().Message(u"a"),
             Text(&Pair::b).Bytes(8).Required().Message(u"b"))};
const ListOf<Table, Pair, 4> kPairList{
    .settings = &kPairs, .entries = Pairs, .numberMessage = u"number"};

const ListFormDescription<Table, Pair>& PairForm() {
  static const ListFormDescription<Table, Pair> description{
      .title = QStringLiteral("pairs"),
      .help = 3,
      .list = ViewOf(kPairList),
      .number = EntryNumber<Pair>(u"No", 10).Limit(2),
      .values = {Edit(u"A", &Pair::a, 11), Edit(u"B", &Pair::b, 12)},
      .listCaption = QStringLiteral("list"),
      .listId = 13,
  };
  return description;
}

class ListForm : public ::testing::Test {
 protected:
  // Opens the form, types the texts into edits 10, 11, 12 and presses button.
  bool Run(const std::array<QString, 3>& texts, int button) {
    auto form = OpenListForm(nullptr, rig.session, PairForm());
    for (int i = 0; i < 3; ++i) Find<QLineEdit>(form.get(), 10 + i)->setText(texts[i]);
    Find<QPushButton>(form.get(), button)->click();
    return form->result() == QDialog::Accepted;
  }
  SessionRig rig;
  SettingsCopies<Table>& copies = rig.Records<Table>();
};

TEST_F(ListForm, ShowsTheEntriesInUseAndAddsWithoutRefreshingTheBaseline) {
  copies.baseline.pairs[1] = {1, "10.0.0.2", "pc"};
  copies.baseline.pairs[2] = {0, "10.0.0.3", "gone"};
  copies.AdoptBaseline();
  auto form = OpenListForm(nullptr, rig.session, PairForm());
  auto* list = Find<QPlainTextEdit>(form.get(), 13);
  EXPECT_TRUE(list->isReadOnly());
  EXPECT_EQ(list->toPlainText(), "2: 10.0.0.2, pc");
  EXPECT_EQ(list->accessibleName(), "list");
  EXPECT_EQ(Find<QLineEdit>(form.get(), 11)->text(), "");
  auto* del = Find<QPushButton>(form.get(), 1586);
  EXPECT_EQ(del->text(), "削除");
  form->show();
  form->ConfirmButton()->setFocus();
  QTest::keyClick(form->ConfirmButton(), Qt::Key_Tab);
  EXPECT_EQ(form->focusWidget(), del);  // Tab: 登録, 削除, 戻る
  QTest::keyClick(del, Qt::Key_Tab);
  EXPECT_EQ(form->focusWidget(), form->CancelButton());
  form->hide();

  const Table device = copies.baseline;
  EXPECT_TRUE(Run({"4", "10.0.0.4", "nas"}, 1));
  EXPECT_TRUE(Run({"03", "10.0.0.3", "tv"}, 1));
  EXPECT_EQ(copies.baseline, device);  // both adds still differ from it
  EXPECT_EQ(copies.working.pairs[3], (Pair{1, "10.0.0.4", "nas"}));
  EXPECT_EQ(copies.working.pairs[2], (Pair{1, "10.0.0.3", "tv"}));
  EXPECT_EQ(rig.session.state.pendingChangeCount, 2);

  // Deleting refreshes the baseline first; the texts stay.
  EXPECT_TRUE(Run({"2", "", ""}, 1586));
  EXPECT_EQ(copies.baseline.pairs[3].used, 1);
  EXPECT_EQ(copies.working.pairs[1], (Pair{0, "10.0.0.2", "pc"}));
  EXPECT_EQ(rig.session.state.pendingChangeCount, 3);
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(ListForm, EveryCheckPassesBeforeAnythingIsStored) {
  const struct {
    std::array<QString, 3> texts;
    int button;
    const char* message;
  } cases[] = {
      {{"", "10.0.0.1", "x"}, 1, "number"},
      {{"5", "10.0.0.1", "x"}, 1, "number"},
      {{"1a", "", ""}, 1586, "number"},
      {{"1", "", "x"}, 1, "a"},
      {{"1", "10.0.0.1", ""}, 1, "b"},  // the address passed, yet is not stored
  };
  for (const auto& c : cases) {
    rig.messages.shown.clear();
    EXPECT_FALSE(Run(c.texts, c.button)) << c.message;
    EXPECT_EQ(rig.messages.Texts(), QStringList{c.message});
  }
  EXPECT_EQ(copies.working, Table{});
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
}

TEST_F(ListForm, APasteThatDoesNotFitIsRefusedWhole) {
  auto form = OpenListForm(nullptr, rig.session, PairForm());
  auto* number = Find<QLineEdit>(form.get(), 10);
  number->setFocus();
  QApplication::clipboard()->setText(QStringLiteral("004"));
  QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(number->text(), "");  // never "00", never entry 0 or 4 cut
  QApplication::clipboard()->setText(QStringLiteral("04"));
  QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(number->text(), "04");
}

}  // namespace
}  // namespace setutily
