// The frame every settings form shares: the "登録" (confirm, default),
// "戻る" (cancel) and "ヘルプ" buttons, F1 for help, and the confirmation
// hook. Subclasses build their controls into Body(), give each control its
// resource id as objectName, and implement Confirm().
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QString>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QAbstractButton;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace setutily {

class HelpViewer;
class Messages;

class SettingsForm : public QDialog {
  Q_OBJECT
 public:
  // helpContext: the help topic of "ヘルプ" and F1; helpButtonId: the
  // objectName of the help button (1587 on almost every form).
  SettingsForm(QWidget* parent, const QString& title, Messages& messages, HelpViewer& help,
               int helpContext, int helpButtonId = 1587);

  // Where subclasses put their controls (above the button row).
  QVBoxLayout* Body() const { return body_; }
  QPushButton* ConfirmButton() const { return confirm_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return helpButton_; }
  // A further push button of the button row, after "登録" and the buttons
  // added before it ("戻る" and "ヘルプ" stay last); Tab reaches it in the
  // same order.
  QPushButton* AddButton(const QString& caption, int id);
  // A further confirming button after "登録" (a list form's "削除"), with
  // confirmation of its own: confirm returns true to close the form as
  // confirmed. Tab reaches it right after "登録".
  QPushButton* AddConfirmButton(const QString& caption, int id, std::function<bool()> confirm);

  // Gives every control without an accessible name the caption of its buddy
  // label or of the group box it stands in. Call at the end of the
  // subclass's constructor (AssignAccessibleNames is also public for menus).
  void FinishLayout();

 protected:
  // Runs the checks; returns true to close the form as confirmed. A check
  // that fails shows its message through ShowCheckMessage and returns false,
  // leaving the form open and the records unchanged.
  virtual bool Confirm() = 0;
  void ShowCheckMessage(const QString& text);

  void keyPressEvent(QKeyEvent* event) override;
  QSize sizeHint() const override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnConfirm();

  Messages& messages_;
  HelpViewer& help_;
  int helpContext_;
  bool sized_ = false;
  QScrollArea* scroll_;
  QHBoxLayout* buttonRow_;
  QWidget* content_;
  QVBoxLayout* body_;
  QPushButton* confirm_;
  QPushButton* cancel_;
  QPushButton* helpButton_;
  std::vector<QPushButton*> extraButtons_;
};

void AssignAccessibleNames(QWidget* root);

// A set of radio buttons whose value is the index of the checked one in the
// order given (its code), or -1 when none is checked.
class RadioGroup : public QObject {
  Q_OBJECT
 public:
  explicit RadioGroup(QObject* parent = nullptr);
  void Add(QAbstractButton* button);
  // Checks the button of code; any other code leaves none checked.
  void SetValue(int code);
  int Value() const;
  QAbstractButton* Button(int code) const;
  int Count() const { return static_cast<int>(buttons_.size()); }

 signals:
  // The user clicked a button, or SetValue showed a code.
  void Changed(int code);

 private:
  void UpdateTabStop();

  QButtonGroup group_;
  std::vector<QAbstractButton*> buttons_;
};

}  // namespace setutily
