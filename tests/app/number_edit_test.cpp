// The number edit box's keys with modifiers: the effect of the Japanese
// keyboard layout's rules on any layout.
#include <gtest/gtest.h>

#include <QTest>

#include "forms/line_edits.h"

namespace setutily {
namespace {

TEST(NumberEditKeys, ShiftAndCtrlCombinations) {
  NumberEdit edit;
  edit.setText("12345");
  edit.setCursorPosition(5);
  QTest::keyClick(&edit, Qt::Key_Backspace, Qt::ShiftModifier);  // nothing
  QTest::keyClick(&edit, Qt::Key_Delete, Qt::ShiftModifier);     // would cut: nothing
  EXPECT_EQ(edit.text(), "12345");
  QTest::keyClicks(&edit, "#$%&", Qt::ShiftModifier);  // Shift+3 types "#", Shift+4 nothing
  EXPECT_EQ(edit.text(), "12345#");
  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);  // undo is not let through
  EXPECT_EQ(edit.text(), "12345#");
  QTest::keyClick(&edit, Qt::Key_Left, Qt::ControlModifier);  // cursor keys pass with Ctrl
  EXPECT_LT(edit.cursorPosition(), 6);
  QTest::keyClick(&edit, Qt::Key_Home);
  QTest::keyClick(&edit, Qt::Key_End, Qt::ShiftModifier);  // select to the end
  EXPECT_EQ(edit.selectedText(), "12345#");
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_End);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "12345#12345#");
  QTest::keyClick(&edit, Qt::Key_1, Qt::ControlModifier);  // no typing under Ctrl
  QTest::keyClicks(&edit, "aZ ");
  EXPECT_EQ(edit.text(), "12345#12345#");
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);  // select all
  EXPECT_EQ(edit.selectedText(), "12345#12345#");
  EXPECT_TRUE(NumberEdit::AcceptsKey(Qt::Key_Tab, Qt::NoModifier, "\t"));
  EXPECT_TRUE(NumberEdit::AcceptsKey(Qt::Key_Minus, Qt::KeypadModifier | Qt::ShiftModifier, "-"));
  EXPECT_FALSE(NumberEdit::AcceptsKey(Qt::Key_Plus, Qt::KeypadModifier, "+"));
}

}  // namespace
}  // namespace setutily
