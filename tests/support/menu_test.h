// GUI test helpers for a category menu and its forms: acting on a control as
// a user would, and a fixture that opens a menu button's form on a session
// rig.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <string>

#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "support/session_rig.h"

namespace setutily::testing {

// Replaces an edit's text by keyboard: select all, delete, type.
inline void Type(QWidget* form, int id, const QString& text) {
  auto* edit = Find<QLineEdit>(form, id);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}
inline void Press(QWidget* form, int id) { Find<QAbstractButton>(form, id)->click(); }
inline void Choose(QWidget* form, int id, int index) {
  Find<QComboBox>(form, id)->setCurrentIndex(index);
}
inline QString Text(QWidget* form, int id) { return Find<QLineEdit>(form, id)->text(); }

// A session rig with the menu Build describes.
template <MenuDescription (*Build)(Session&)>
class MenuTest : public ::testing::Test {
 protected:
  void Set(const std::string& key, const std::string& value) { rig.Device().Set(key, value); }
  // Presses a menu button and runs action in its form; a form the action
  // leaves open (a failed check) is cancelled.
  void InForm(int button, std::function<void(FieldForm*)> action) {
    OnNextModal<FieldForm>([action](FieldForm* form) {
      action(form);
      if (form->isVisible()) form->reject();
    }, &menu);
    menu.Press(button);
  }
  // Presses a menu button, lets edit act in its form and presses "登録".
  void Confirm(int button, std::function<void(FieldForm*)> edit) {
    InForm(button, [edit](FieldForm* form) {
      edit(form);
      Press(form, 1);
    });
  }

  SessionRig rig;
  CategoryMenu menu{nullptr, rig.session, Build(rig.session)};
};

}  // namespace setutily::testing
