// Edit boxes for text that goes to the device.
//
// DeviceLineEdit refuses control characters, typed or pasted (a pasted
// carriage return must never reach a device command), and applies its
// limit to typing only: text the program sets (values read from the device)
// is shown whole, unlike QLineEdit::setMaxLength, which would cut it and make
// the next confirmation send the cut value. The limit counts the bytes the
// text takes on the device (Shift-JIS: two for a full-width character); a
// paste that would pass it inserts as much of its text as fits.
//
// NumberEdit additionally lets through only the keys of numbers, addresses
// and dial strings: digits, "#", "(", ")", "*", "-", ".", "/", ":", editing
// and cursor keys, Tab, and Ctrl+A/C/V/X. Pasted text is not filtered (the
// form's checks catch it on confirmation).
#pragma once

#include <QLineEdit>

namespace setutily {

// The bytes text takes on the device; a character without a Shift-JIS form
// counts as the one byte it would be replaced by.
int DeviceByteCount(const QString& text);

// True when text can reach the device exactly as it stands: no control
// character, a Shift-JIS form for every character, and at most limit device
// bytes (no limit when limit is 0). A form refuses a text that fails this
// with the field's message rather than send something else.
bool FitsDevice(const QString& text, int limit);

class DeviceLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit DeviceLineEdit(QWidget* parent = nullptr);

  // Most device bytes the user can type; 0 = no limit.
  void SetTypingLimit(int bytes) { typingLimit_ = bytes; }
  int TypingLimit() const { return typingLimit_; }
  // An insertion that would pass the limit (a paste) is refused whole
  // instead of cut to what fits, so that "00012" never becomes "0001".
  void SetWholeInsertions(bool whole) { wholeInsertions_ = whole; }

 private:
  void OnTextEdited(const QString& text);
  void OnTextChanged(const QString& text);

  int typingLimit_ = 0;
  bool wholeInsertions_ = false;
  QString current_;  // the text as it stands
  QString before_;   // the text before the latest change
};

class NumberEdit : public DeviceLineEdit {
  Q_OBJECT
 public:
  explicit NumberEdit(QWidget* parent = nullptr);

  // True when the key press passes the filter.
  static bool AcceptsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace setutily
