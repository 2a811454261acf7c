// Helpers for GUI tests: answer message boxes, record help requests, find
// controls by resource id, and act inside modal dialogs.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <ostream>
#include <functional>
#include <vector>

#include "forms/help.h"
#include "forms/messages.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace setutily::testing {

struct ShownMessage {
  QString text;
  MessageIcon icon;
  bool question = false;
  DefaultAnswer start = DefaultAnswer::kOk;  // questions only
};

// Records every message and answers questions from a queue (OK when empty).
class RecordingMessages : public Messages {
 public:
  void Show(QWidget*, const QString& text, MessageIcon icon) override {
    shown.push_back({text, icon, false});
  }
  bool AskOkCancel(QWidget*, const QString& text,
                   DefaultAnswer start = DefaultAnswer::kOk) override {
    shown.push_back({text, MessageIcon::kQuestion, true, start});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QStringList Texts() const {
    QStringList texts;
    for (const auto& m : shown) texts << m.text;
    return texts;
  }
  std::vector<ShownMessage> shown;
  std::deque<bool> answers;
};

class RecordingHelp : public HelpViewer {
 public:
  void Show(QWidget*, int context) override { contexts.push_back(context); }
  std::vector<int> contexts;
};

// The control whose objectName is id, below root.
template <class T = QWidget>
T* Find(QWidget* root, const QString& id) {
  if (root == nullptr) return nullptr;
  return root->findChild<T*>(id);
}
template <class T = QWidget>
T* Find(QWidget* root, int id) {
  return Find<T>(root, QString::number(id));
}

// Waits (running the event loop) until pred is true or timeoutMs passes.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Schedules action to run on the next modal dialog that opens (of type T
// when given), e.g. before clicking a button that opens one. The action
// runs from the event loop inside the dialog's exec().
template <class T = QWidget>
void OnNextModal(std::function<void(T*)> action, QWidget* notThis = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action, notThis] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == notThis) return;
    T* typed = qobject_cast<T*>(modal);
    if (typed == nullptr) return;
    timer->stop();
    timer->deleteLater();
    action(typed);
  });
  timer->start();
}

}  // namespace setutily::testing
