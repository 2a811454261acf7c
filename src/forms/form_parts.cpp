#include "forms/form_parts.h"

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "text/encoding.h"
#include "text/scan.h"

namespace setutily {

QString FromDevice(const std::string& bytes) {
  return QString::fromStdString(DeviceToUtf8(bytes));
}

std::string ToDevice(const QString& text) { return Utf8ToDevice(text.toStdString()); }

StepArrows::StepArrows(const QString& name, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  up_->setAccessibleName(name + QStringLiteral("を増やす"));
  down_->setAccessibleName(name + QStringLiteral("を減らす"));
  setAccessibleName(name);
  for (QToolButton* button : {up_, down_}) {
    // Reached from the keyboard through the number box (Up and Down keys).
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 12);
    layout->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(1); });
  connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
}

void StepArrows::Drive(QLineEdit* edit, int readCharacters, int min, int max, int scale) {
  edit_ = edit;
  edit->installEventFilter(this);
  connect(this, &StepArrows::Stepped, edit, [edit, readCharacters, min, max, scale](int delta) {
    edit->setText(
        QString::number(WrappedStep(edit->text(), readCharacters, delta, min, max, scale)));
  }, Qt::DirectConnection);
}

bool StepArrows::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      emit Stepped(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

int WrappedStep(const QString& text, int readCharacters, int delta, int min, int max,
                int scale) {
  scale = std::max(scale, 1);
  const std::string head = text.left(readCharacters).toStdString();
  long long value = ParseLeadingNumber(head, INT_MIN / 2, INT_MAX / 2) / scale + delta;
  if (delta > 0 && value > max) value = min;
  if (delta < 0 && value < min) value = max;
  return static_cast<int>(std::clamp<long long>(value * scale, INT_MIN, INT_MAX));
}

}  // namespace setutily
