// Edit boxes for text that goes to the device.
//
// DeviceLineEdit refuses control characters, typed or pasted (a pasted
// carriage return must never reach a device command), and applies its
// character limit to typing only: text the program sets (values read from
// the device) is shown whole, unlike QLineEdit::setMaxLength, which would cut
// it and make the next confirmation send the cut value.
//
// NumberEdit additionally lets through only the keys of numbers, addresses
// and dial strings: digits, "#", "(", ")", "*", "-", ".", "/", ":", editing
// and cursor keys, Tab, and Ctrl+C/V/X. Pasted text is not filtered (the
// form's checks catch it on confirmation).
#pragma once

#include <QLineEdit>

namespace setutily {

class DeviceLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit DeviceLineEdit(QWidget* parent = nullptr);

  // Most characters the user can type; 0 = no limit.
  void SetTypingLimit(int characters) { typingLimit_ = characters; }
  int TypingLimit() const { return typingLimit_; }

 private:
  void OnTextEdited(const QString& text);
  void OnTextChanged(const QString& text);

  int typingLimit_ = 0;
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
