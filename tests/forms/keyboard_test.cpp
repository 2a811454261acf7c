// The keyboard as a dialog user expects it: Enter presses the focused push
// button and otherwise the default "登録"; Tab lands on a radio group's
// checked button; after a form the focus is back on the button that opened it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "analog/analog_forms.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using testing::Find;
using testing::OnNextModal;

struct Keyboard : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(ReadAnalogSettings(rig.session, rig.Records<AnalogSettings>()), 1);
    rig.Clear();
  }
  testing::SessionRig rig;
};

TEST_F(Keyboard, EnterPressesTheFocusedButtonElseTheDefault) {
  struct Case {
    int focus;     // objectName of the focused control
    int result;    // how the form ends (-1: stays open)
    int helps;     // help requests
  };
  const Case cases[] = {{2, QDialog::Rejected, 0}, {1587, -1, 1}, {1151, QDialog::Accepted, 0},
                        {1, QDialog::Accepted, 0}};
  for (const Case& c : cases) {
    rig.help.contexts.clear();
    auto form = OpenForm(nullptr, rig.session, TelPortForm(), 0);
    form->show();
    Find<QLineEdit>(form.get(), 1151)->setText("9");
    QWidget* focus = Find(form.get(), c.focus);
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(form->isVisible() ? -1 : form->result(), c.result) << c.focus;
    EXPECT_EQ(static_cast<int>(rig.help.contexts.size()), c.helps) << c.focus;
  }
  // Only the two confirmations stored the new dial time; "戻る" stored nothing.
  EXPECT_EQ(rig.session.state.pendingChangeCount, 2);
}

TEST_F(Keyboard, TabLandsOnTheCheckedButtonOfARadioGroup) {
  auto form = OpenForm(nullptr, rig.session, TelPortForm(), 0);
  form->show();
  Find(form.get(), 1100)->setFocus();  // the transfer number; the talky boxes follow
  for (int i = 0; i < 3; ++i) QTest::keyClick(form->focusWidget(), Qt::Key_Tab);
  // Global arrive: "着信する" (code 1) is the device's value.
  EXPECT_EQ(form->focusWidget(), Find(form.get(), 1109));
}

TEST_F(Keyboard, EnterOnAMenuButtonOpensItsFormAndTheFocusComesBack) {
  CategoryMenu menu(nullptr, rig.session, AnalogMenu(rig.session));
  menu.show();
  QWidget* tel2 = Find(&menu, 1007);
  tel2->setFocus();
  bool opened = false;
  OnNextModal<FieldForm>([&opened](FieldForm* form) {
    opened = form->windowTitle() == QStringLiteral("ＴＥＬ２ポート設定");
    QTest::keyClick(Find(form, 2), Qt::Key_Escape);
  }, &menu);
  QTest::keyClick(tel2, Qt::Key_Return);
  EXPECT_TRUE(opened);
  EXPECT_EQ(menu.focusWidget(), tel2);
  EXPECT_TRUE(rig.Sent().empty());
}

}  // namespace
}  // namespace setutily
