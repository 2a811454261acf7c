#include "forms/line_edits.h"

#include <QKeyEvent>
#include <algorithm>
#include <climits>

#include "text/encoding.h"

namespace setutily {

namespace {

bool HasControlCharacter(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
  }
  return false;
}

// The longest head of inserted that keeps head + inserted part + tail within
// limit device bytes, cut between characters (never inside a surrogate pair).
QString FittingPart(const QString& head, const QString& inserted, const QString& tail,
                    int limit) {
  int room = limit - DeviceByteCount(head) - DeviceByteCount(tail);
  qsizetype taken = 0;
  while (taken < inserted.size()) {
    const qsizetype width = inserted.at(taken).isHighSurrogate() && taken + 1 < inserted.size()
                                ? 2
                                : 1;
    const int bytes = DeviceByteCount(inserted.mid(taken, width));
    if (bytes > room) break;
    room -= bytes;
    taken += width;
  }
  return inserted.left(taken);
}

}  // namespace

int DeviceByteCount(const QString& text) {
  return static_cast<int>(std::min<std::size_t>(Utf8ToDevice(text.toStdString()).size(), INT_MAX));
}

bool FitsDevice(const QString& text, int limit) {
  if (HasControlCharacter(text)) return false;
  const auto device = Utf8ToDeviceExact(text.toStdString());
  return device && (limit <= 0 || device->size() <= static_cast<std::size_t>(limit));
}

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
  if (!HasControlCharacter(text) &&
      (typingLimit_ <= 0 || DeviceByteCount(text) <= typingLimit_ ||
       DeviceByteCount(text) <= DeviceByteCount(previous))) {
    return;
  }
  // The edit replaced the middle of previous (possibly nothing) with the
  // middle of text; the unchanged head and tail frame it.
  qsizetype head = 0;
  const qsizetype shorter = std::min(previous.size(), text.size());
  while (head < shorter && previous.at(head) == text.at(head)) ++head;
  qsizetype tail = 0;
  while (tail < shorter - head &&
         previous.at(previous.size() - 1 - tail) == text.at(text.size() - 1 - tail)) {
    ++tail;
  }
  // Never split a surrogate pair at either end of the change.
  if (head > 0 && text.at(head - 1).isHighSurrogate()) --head;
  if (tail > 0 && text.at(text.size() - tail).isLowSurrogate()) --tail;
  QString kept = previous;
  qsizetype cursor = std::clamp<qsizetype>(head, 0, previous.size());
  if (!HasControlCharacter(text) && !wholeInsertions_) {
    // Too long: as much of the inserted text as fits goes in.
    const QString inserted = text.mid(head, text.size() - head - tail);
    const QString fitting =
        FittingPart(text.left(head), inserted, text.right(tail), typingLimit_);
    kept = text.left(head) + fitting + text.right(tail);
    cursor = head + fitting.size();
  }
  blockSignals(true);
  setText(kept);
  setCursorPosition(static_cast<int>(cursor));
  blockSignals(false);
  current_ = before_ = kept;
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
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
      if (control) return true;  // select all, copy, paste, cut
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
