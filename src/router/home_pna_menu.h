// The HomePNA detail menu ("詳細設定"): one button per form of the router
// category, each with its write group, and the main window's launch that
// reads the whole category before the menu opens.
//
// The buttons are one table (DetailButtons() in home_pna_menu.cpp). A form
// plugs in by giving its row Form(TheForm()) (or Form(description, n) for
// one instance of a form with several): the form's write group is what the
// menu writes after the form was confirmed.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "forms/category.h"
#include "forms/form_link.h"
#include "router/router_settings.h"

namespace setutily {

struct DetailButton {
  const char16_t* caption;
  int id;
  int row, column;
  FormLink form;  // the form and the group the menu writes after it
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
