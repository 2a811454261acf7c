#include "forms/line_edits.h"

#include <QKeyEvent>
#include <algorithm>

namespace setutily {

namespace {

bool HasControlCharacter(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
  }
  return false;
}

}  // namespace

DeviceLineEdit::DeviceLineEdit(QWidget* parent) : QLineEdit(parent) {
  // The limit lives in typingLimit_; QLineEdit's own limit would cut text
  // that the program sets.
  setMaxLength(32767);
  connect(this, &QLineEdit::textEdited, this, &DeviceLineEdit::OnTextEdited);
  connect(this, &QLineEdit::textChanged, this, &DeviceLineEdit::OnTextChanged);
}

void DeviceLineEdit::OnTextChanged(const QString& text) {
  // After a refused edit Qt still announces the refused text; it is stale.
  if (text == current_ || text != this->text()) return;
  before_ = current_;
  current_ = text;
}

void DeviceLineEdit::OnTextEdited(const QString& text) {
  // Whichever of the two signals comes first, this is the text before the edit.
  const QString previous = current_ == text ? before_ : current_;
  const bool tooLong =
      typingLimit_ > 0 && text.size() > typingLimit_ && text.size() > previous.size();
  if (HasControlCharacter(text) || tooLong) {
    // Put the cursor back where the refused edit began.
    const int inserted = static_cast<int>(text.size() - previous.size());
    const int cursor = std::clamp(cursorPosition() - std::max(inserted, 0), 0,
                                  static_cast<int>(previous.size()));
    blockSignals(true);
    setText(previous);
    setCursorPosition(cursor);
    blockSignals(false);
    current_ = before_ = previous;
  }
}

NumberEdit::NumberEdit(QWidget* parent) : DeviceLineEdit(parent) {}

bool NumberEdit::AcceptsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  const bool control = modifiers.testFlag(Qt::ControlModifier);
  const bool shift = modifiers.testFlag(Qt::ShiftModifier);
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F1:
    case Qt::Key_Shift:
    case Qt::Key_Control:
      return true;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      return !shift;  // Shift+Delete would cut; with Shift both do nothing
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
      if (control) return true;  // copy, paste, cut
      break;
    default:
      break;
  }
  if (control || text.size() != 1) return false;
  const QChar c = text.at(0);
  return (c >= u'0' && c <= u'9') || QStringLiteral("#()*-./:").contains(c);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
  if (!AcceptsKey(event->key(), event->modifiers(), event->text())) {
    event->accept();  // swallowed: neither typed nor passed on
    return;
  }
  DeviceLineEdit::keyPressEvent(event);
}

}  // namespace setutily
