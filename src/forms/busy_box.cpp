#include "forms/busy_box.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <memory>

namespace setutily {

BusyBox::BusyBox(QWidget* owner, const QString& text)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("BusyBox"));
  setModal(false);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  // One framed label, so that a new text's size counts at once (a frame
  // around a layout of its own would report it one layout pass late).
  label_ = new QLabel(text.isEmpty() ? QStringLiteral("しばらくお待ちください！") : text, this);
  label_->setFrameShape(QFrame::Box);
  label_->setMargin(12);
  label_->setAlignment(Qt::AlignCenter);
  outer->addWidget(label_);
  setMinimumSize(200, 70);
  setAccessibleName(label_->text());
}

void BusyBox::SetText(const QString& text) {
  label_->setText(text);
  setAccessibleName(text);
  // Grows to the new text at once, never shrinks (the box does not jump
  // between phases), and stays centred where it was.
  layout()->activate();
  const QSize wanted = sizeHint().expandedTo(size());
  if (wanted == size()) return;
  const QPoint centre = geometry().center();
  resize(wanted);
  if (isVisible()) move(centre - rect().center());
}

QString BusyBox::Text() const { return label_->text(); }

void BusyBox::ShowCentred() {
  adjustSize();
  const QWidget* owner = parentWidget();
  QRect area;
  if (owner != nullptr && owner->isVisible()) {
    area = owner->geometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) move(area.center() - rect().center());
  show();
  QAccessibleEvent alert(this, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

int RunBusy(QWidget* owner, const std::function<int()>& work, const QString& text) {
  return RunBusyWith(owner, [&work](BusyBox&) { return work(); }, text);
}

int RunBusyWith(QWidget* owner, const std::function<int(BusyBox& box)>& work,
                const QString& text) {
  if (owner != nullptr) owner->setEnabled(false);
  auto box = std::make_unique<BusyBox>(owner, text);
  box->ShowCentred();
  const int result = work(*box);
  box.reset();
  if (owner != nullptr) {
    owner->setEnabled(true);
    owner->activateWindow();
  }
  return result;
}

}  // namespace setutily
