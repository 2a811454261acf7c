#include "app/busy_box.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace setutily {

BusyBox::BusyBox(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("BusyBox"));
  setModal(false);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  outer->addWidget(frame);
  auto* layout = new QVBoxLayout(frame);
  auto* text = new QLabel(QStringLiteral("しばらくお待ちください！"), frame);
  text->setAlignment(Qt::AlignCenter);
  layout->addWidget(text);
  setMinimumSize(200, 70);
  setAccessibleName(text->text());
}

int RunBusy(QWidget* owner, const std::function<int()>& work) {
  if (owner != nullptr) owner->setEnabled(false);
  auto* box = new BusyBox(owner);
  box->show();
  if (owner != nullptr) box->move(owner->geometry().center() - box->rect().center());
  const int result = work();
  delete box;
  if (owner != nullptr) {
    owner->setEnabled(true);
    owner->activateWindow();
  }
  return result;
}

}  // namespace setutily
