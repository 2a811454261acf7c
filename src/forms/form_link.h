// How a menu button or a launch reaches a form and the write group behind
// it: both come from the form's description, so a form is written with the
// group its fields are declared in.
//
//   FormButton(session, u"ＴＥＬ１", 1005, 0, 0, Form(TelPortForm(), 0))
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "forms/grid_form.h"
#include "forms/list_form.h"
#include "forms/session.h"

namespace setutily {

struct FormLink {
  // Builds the form (not yet shown).
  std::function<std::unique_ptr<QDialog>(QWidget* parent, Session& session)> open;
  // Writes what a confirmed form changed; 1 or 0.
  std::function<int(Session& session, WriteFailure* failure)> write;
};

template <class Root, class Rec>
FormLink Form(const FormDescription<Root, Rec>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return OpenForm(parent, session, description, instance);
          },
          [&description, instance](Session& session, WriteFailure* failure) {
            return WriteGroup(session, *description.group, instance, failure);
          }};
}

template <class Root, class Entry>
FormLink Form(const ListFormDescription<Root, Entry>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return MakeListForm(parent, session, session.records.Of<Root>(), description, instance);
          },
          [&description, instance](Session& session, WriteFailure* failure) {
            return description.list.write(session, instance, failure);
          }};
}

template <class Root, class Entry>
FormLink Form(const GridDescription<Root, Entry>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return MakeGridForm(parent, session, session.records.Of<Root>(), description, instance);
          },
          [&description, instance](Session& session, WriteFailure* failure) {
            return description.list.write(session, instance, failure);
          }};
}

// A menu button that opens link's form and writes its group after it.
inline MenuButton FormButton(Session& session, const char16_t* caption, int id, int row,
                             int column, FormLink link) {
  return MenuButton{
      .caption = QString::fromUtf16(caption), .id = id, .row = row, .column = column,
      .open = [&session, open = link.open](QWidget* parent) { return open(parent, session); },
      .write = [&session, write = link.write](WriteFailure* failure) {
        return write(session, failure);
      }};
}

// A main-window launch's show and write for a form of its own (speed dial,
// easy setup): the form runs modally; a confirmed form's group is written.
inline void LaunchForm(CategoryLaunch& launch, Session& session, FormLink link) {
  launch.show = [&session, open = link.open](QWidget* parent) {
    return open(parent, session)->exec() == QDialog::Accepted;
  };
  launch.write = [&session, write = link.write] { return write(session, nullptr); };
}

}  // namespace setutily
