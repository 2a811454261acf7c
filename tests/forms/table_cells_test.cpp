// Items placed as cells of a table inside a box: a heading spanning
// several columns, and controls named by their row and column.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "forms/field_form.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

struct Table {
  int a = 0;
  int b = 1;
};
Table& Whole(Table& t, int) { return t; }
const Settings<Table> kTable;
const GroupOf<Table, Table> kTableGroup{.settings = &kTable, .project = Whole};

TEST(TableCells, AHeadingSpansItsColumnsAndCellsCarryTheirNames) {
  static const FormDescription<Table, Table> description{
      .title = QStringLiteral("t"),
      .help = 1,
      .group = &kTableGroup,
      .boxes = {Box<Table>().With(
          Label<Table>(u"heading").At(0, 1, 2),
          DropDown<Table>(nullptr, &Table::a, 10, {u"x", u"y"}).At(1, 1).Named(u"row a"),
          DropDown<Table>(nullptr, &Table::b, 11, {u"x", u"y"}).At(1, 2).Named(u"row b"))},
  };
  testing::SessionRig rig;
  auto form = OpenForm(nullptr, rig.session, description);
  QLabel* heading = nullptr;
  for (auto* label : form->findChildren<QLabel*>()) {
    if (label->text() == "heading") heading = label;
  }
  ASSERT_NE(heading, nullptr);
  auto* grid = qobject_cast<QGridLayout*>(heading->parentWidget()->layout());
  ASSERT_NE(grid, nullptr);
  bool found = false;
  for (int i = 0; i < grid->count(); ++i) {
    QLayout* cell = grid->itemAt(i)->layout();
    if (cell == nullptr || cell->indexOf(heading) < 0) continue;
    int row, column, rows, columns;
    grid->getItemPosition(i, &row, &column, &rows, &columns);
    EXPECT_EQ(std::make_tuple(row, column, rows, columns), std::make_tuple(0, 1, 1, 2));
    found = true;
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(testing::Find<QComboBox>(form.get(), 10)->accessibleName(), "row a");
  EXPECT_EQ(testing::Find<QComboBox>(form.get(), 11)->currentIndex(), 1);
  EXPECT_EQ(testing::Find<QComboBox>(form.get(), 11)->accessibleName(), "row b");
}

}  // namespace
}  // namespace setutily
