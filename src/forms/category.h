// How a settings category plugs into the main window: its button, the log
// lines of its launch, and its read routine, dialog and (for the form
// buttons) write routine. The main window runs every category through one
// launch pattern: lock the window, show the busy box, read, unlock, log,
// show the dialog, and write after a confirmed form.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace setutily {

struct Session;

struct CategoryLaunch {
  int buttonId = 0;  // objectName of the main window's button
  QString readOk, readError, view;  // log lines, each ending "\r\n"
  QString writeOk, writeError;      // form buttons only
  // Reads the category from the device into its records; 1 or 0.
  std::function<int()> read;
  // Shows the category's menu or form modally; returns true when a form
  // was confirmed (menus return false).
  std::function<bool(QWidget* parent)> show;
  // Form buttons: writes what the confirmed form changed; 1 or 0. Empty for
  // menus, which write after each of their forms themselves.
  std::function<int()> write;
  // Runs after the dialog has closed. (When a write has set RebootOnClose,
  // the main window closes by itself after this; nothing to do for that.)
  std::function<void()> after;
};

}  // namespace setutily
