// How a settings category plugs into the main window: its button, the log
// lines of its launch, and its read routine, dialog and (for the form
// buttons) write routine. The main window runs every category through one
// launch pattern: lock the window, show the busy box, read, unlock, log,
// show the dialog, and write after a confirmed form.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace setutily {

// What the write of a confirmed form did, as the user is told it.
struct WriteOutcome {
  int written = 1;       // 1: every command was answered
  bool verified = true;  // false: the form's page could not be read again
  QString readFailure;   // why not (verified false)
  // One line per setting the device did not take: "<form> / <caption>:
  // 「<sent>」は機器に受け付けられませんでした（機器の値: 「<held>」）".
  QStringList refused;

  bool Ok() const { return written == 1 && verified && refused.isEmpty(); }
};

struct CategoryLaunch {
  int buttonId = 0;  // objectName of the main window's button
  QString readOk, readError, view;  // log lines, each ending "\r\n"
  QString writeOk, writeError;      // form buttons only
  // Reads the category from the device into its records; 1 or 0.
  std::function<int()> read;
  // Shows the category's menu or form modally; returns true when a form
  // was confirmed (menus return false).
  std::function<bool(QWidget* parent)> show;
  // Form buttons: writes what the confirmed form changed and reads it
  // back. Empty for menus, which write after each of their forms
  // themselves. What went wrong is logged and told by the main window.
  std::function<WriteOutcome()> write;
};

// A launch with the log lines "<name> Status Read OK\r\n", "<name> Status
// Read ERROR\r\n", "View <name> Dlg\r\n", "<name> Status Write OK\r\n" and
// "<name> Status Write ERROR\r\n".
CategoryLaunch NamedLaunch(int buttonId, const QString& name);

}  // namespace setutily
