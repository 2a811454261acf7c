// Answers the connection dialogs a test's main window shows.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/connection_dialog.h"
#include "support/ui_helpers.h"

namespace setutily::testing {

// Answers each connection dialog as it shows: with the next answer given,
// then with "終了" (without answers, the first showing is the test's own).
class DialogAnswers : public QObject {
 public:
  using Reply = std::function<void(ConnectionPortDialog*)>;
  DialogAnswers() { qApp->installEventFilter(this); }
  void Answer(std::vector<Reply> answers) { answers_ = std::move(answers); }
  int Shown() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<ConnectionPortDialog*>(watched);
    if (dialog == nullptr || event->type() != QEvent::Show) return false;
    // Without answers the first showing is left to the test.
    const bool leftToTest = answers_.empty() && shown_ == 0;
    Reply answer = [](ConnectionPortDialog* d) { Find<QPushButton>(d, 2)->click(); };
    if (static_cast<std::size_t>(shown_) < answers_.size()) answer = answers_[static_cast<std::size_t>(shown_)];
    ++shown_;
    if (leftToTest) return false;
    QPointer<ConnectionPortDialog> target(dialog);
    QTimer::singleShot(0, dialog, [target, answer] {
      if (target != nullptr && target->isVisible()) answer(target);
    });
    return false;
  }

 private:
  std::vector<Reply> answers_;
  int shown_ = 0;
};

}  // namespace setutily::testing
