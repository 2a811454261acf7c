// The HomePNA detail menu ("詳細設定"): one button per form of the router
// category, each with its write group, and the main window's launch that
// reads the whole category before the menu opens.
//
// The buttons are one table (DetailButtons() in home_pna_menu.cpp). A form
// plugs in by giving its row an opener, Form(TheForm()) (or Form(description, n)
// for one instance of a form with several); the row's group says what the
// menu writes after the form was confirmed (Writes(TheGroup())). A row
// without an opener is a disabled button.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "forms/list_form.h"
#include "digital/digital_settings.h"
#include "router/dialup_settings.h"
#include "router/router_settings.h"

namespace setutily {

// Opens a form of the menu (not yet shown).
using DetailFormOpener = std::function<std::unique_ptr<QDialog>(QWidget* parent, Session& session)>;

// The opener of a field form on its record in the run's store.
template <class Root, class Rec>
DetailFormOpener Form(const FormDescription<Root, Rec>& description, int instance = 0) {
  return [&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
    return OpenForm(parent, session, description, instance);
  };
}

// The opener of a list form (an entry added or deleted at a time).
template <class Root, class Entry>
DetailFormOpener Form(const ListFormDescription<Root, Entry>& description, int instance = 0) {
  return [&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
    return OpenListForm(parent, session, description, instance);
  };
}

// Writes a group's instance, as the menu does after its form.
using DetailWriter = std::function<int(DeviceContext& context, WriteFailure* failure)>;
template <class Group>
DetailWriter Writes(const Group& group, int instance = 0) {
  return [&group, instance](DeviceContext& context, WriteFailure* failure) {
    return WriteGroup(context, group, instance, failure);
  };
}

struct DetailButton {
  const char16_t* caption;
  int id;
  int row, column;
  DetailWriter write;
  DetailFormOpener open;  // none: the button stays disabled
  // After a form that was not confirmed: true when its group must still be
  // written (a request the form recorded).
  std::function<bool(const RunState&)> writeAnyway = {};
  // After the form and its write: true closes the menu.
  std::function<bool(const RunState&)> closesMenu = {};
};

// The sixteen form buttons in their two columns.
std::vector<DetailButton> DetailButtons();

MenuDescription HomePnaDetailMenu(Session& session);

// "詳細設定": reads the router category, then the menu; the menu writes
// each form's group.
CategoryLaunch HomePnaLaunch(Session& session);

}  // namespace setutily
