// How a settings category plugs into the main window: its button, the log
// lines of its launch, and its read routine, dialog and (for the form
// buttons) write routine. The main window runs every category through one
// launch pattern: lock the window, show the busy box, read, unlock, log,
// show the dialog, and write after a confirmed form.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace setutily {

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
  // menus, which write after each of their forms themselves. A failed write
  // is logged and told by the main window.
  std::function<int()> write;
};

// A launch with the log lines "<name> Status Read OK\r\n", "<name> Status
// Read ERROR\r\n", "View <name> Dlg\r\n", "<name> Status Write OK\r\n" and
// "<name> Status Write ERROR\r\n".
CategoryLaunch NamedLaunch(int buttonId, const QString& name);

}  // namespace setutily
