// The "please wait" box shown for exactly the duration of each read or
// write, and the lock-and-wait pattern around it.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;

namespace setutily {

class BusyBox : public QDialog {
  Q_OBJECT
 public:
  // text says what the program is doing; empty: the standard
  // "しばらくお待ちください！".
  explicit BusyBox(QWidget* owner, const QString& text = QString());
  // Shows the box centred on its owner when the owner is on screen,
  // otherwise on the screen (e.g. before the main window is first shown).
  // Screen readers announce the box as an alert when it appears.
  void ShowCentred();
  // Changes what the box says (progress through a longer task).
  void SetText(const QString& text);
  QString Text() const;

 private:
  QLabel* label_ = nullptr;
};

// Disables owner, shows a BusyBox owned by it, runs work, destroys the box,
// enables owner again and makes it the active window. Returns work's result.
// text is the box's text (empty: the standard one).
int RunBusy(QWidget* owner, const std::function<int()>& work, const QString& text = QString());
// The same, the work being given the box to tell its progress.
int RunBusyWith(QWidget* owner, const std::function<int(BusyBox& box)>& work,
                const QString& text = QString());

}  // namespace setutily
