// The generic category menu: a small modal dialog of form buttons, built
// from a table. Each button opens its form; after a confirmed form the menu
// writes the form's group under the busy box, with itself locked, and reads
// it back. What went wrong is logged ("<name> Status Write ERROR\r\n") and
// told (TellWriteOutcome); the write has put the unsent settings back, and
// the settings the device did not take at the device's values. The focus
// returns to the button afterwards.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "forms/category.h"

class QPushButton;

namespace setutily {

struct Session;

struct MenuButton {
  QString caption;
  int id = 0;
  int row = 0, column = 0;
  // Opens the button's form (not yet shown); a button without one stays
  // disabled.
  std::function<std::unique_ptr<QDialog>(QWidget* parent)> open;
  // Writes the button's group and reads it back.
  std::function<WriteOutcome()> write;
  // After a form that was not confirmed: true when its group must still be
  // written (a request the form recorded, such as clearing counters).
  std::function<bool()> writeAnyway;
  // After the form and its write: true closes the menu.
  std::function<bool()> closesMenu;
};

struct MenuDescription {
  QString title;
  QString writeErrorLog;  // the log line of a failed write
  std::vector<MenuButton> buttons;
  int backRow = 0, backColumn = 1;  // where "戻る" sits
};

class CategoryMenu : public QDialog {
  Q_OBJECT
 public:
  CategoryMenu(QWidget* parent, Session& session, MenuDescription description);

  // Runs the button whose id is id, as a click on it does.
  void Press(int id);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Session& session_;
  MenuDescription description_;
};

// Tells what a write did: logs okLog (when not empty) if all went well,
// else errorLog, and shows what went wrong: "書込みに失敗しました。" for an
// unanswered command, the settings the device did not take, or that the
// written page could not be read again. Returns outcome.Ok().
bool TellWriteOutcome(QWidget* parent, Session& session, const WriteOutcome& outcome,
                      const QString& okLog, const QString& errorLog);

// A launch entry's show function that runs the menu of description.
std::function<bool(QWidget*)> ShowMenu(Session& session,
                                       std::function<MenuDescription()> description);

}  // namespace setutily
