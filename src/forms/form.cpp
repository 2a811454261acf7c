#include "forms/form.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/help.h"
#include "forms/messages.h"

namespace setutily {

SettingsForm::SettingsForm(QWidget* parent, const QString& title, Messages& messages,
                           HelpViewer& help, int helpContext, int helpButtonId)
    : QDialog(parent), messages_(messages), help_(help), helpContext_(helpContext) {
  setWindowTitle(title);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* outer = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  outer->addLayout(body_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  confirm_ = new QPushButton(QStringLiteral("登録"), this);
  confirm_->setObjectName(QStringLiteral("1"));
  confirm_->setDefault(true);
  confirm_->setAutoDefault(true);
  cancel_ = new QPushButton(QStringLiteral("戻る"), this);
  cancel_->setObjectName(QStringLiteral("2"));
  cancel_->setAutoDefault(false);
  helpButton_ = new QPushButton(QStringLiteral("ヘルプ"), this);
  helpButton_->setObjectName(QString::number(helpButtonId));
  helpButton_->setAutoDefault(false);
  buttons->addWidget(confirm_);
  buttons->addWidget(cancel_);
  buttons->addWidget(helpButton_);
  outer->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &SettingsForm::OnConfirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_.Show(this, helpContext_); });
}

void SettingsForm::FinishLayout() {
  // The button row was built before the subclass's controls; Tab runs
  // through the controls first and reaches the buttons last.
  // The form opens with its first control focused.
  QWidget* first = nullptr;
  QWidget* last = nullptr;
  for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
    const bool button = w == confirm_ || w == cancel_ || w == helpButton_;
    if (button || (w->focusPolicy() & Qt::TabFocus) == 0) continue;
    if (first == nullptr) first = w;
    last = w;
  }
  if (last != nullptr) {
    setTabOrder(last, confirm_);
    setTabOrder(confirm_, cancel_);
    setTabOrder(cancel_, helpButton_);
    first->setFocus();
  }
  AssignAccessibleNames(this);
}

void SettingsForm::ShowCheckMessage(const QString& text) {
  messages_.Show(this, text, MessageIcon::kNone);
}

void SettingsForm::OnConfirm() {
  if (Confirm()) accept();
}

void SettingsForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    help_.Show(this, helpContext_);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Enter confirms like the default button, from any control.
    event->accept();
    OnConfirm();
    return;
  }
  QDialog::keyPressEvent(event);
}

void AssignAccessibleNames(QWidget* root) {
  // Labels name their buddies first.
  for (auto* label : root->findChildren<QLabel*>()) {
    if (QWidget* buddy = label->buddy(); buddy != nullptr && buddy->accessibleName().isEmpty()) {
      buddy->setAccessibleName(label->text());
    }
  }
  // Other controls take the caption of the group box they stand in.
  for (auto* widget : root->findChildren<QWidget*>()) {
    if (!widget->accessibleName().isEmpty()) continue;
    const bool isControl = qobject_cast<QLineEdit*>(widget) != nullptr ||
                           qobject_cast<QComboBox*>(widget) != nullptr ||
                           qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           widget->focusPolicy() != Qt::NoFocus;
    if (!isControl || qobject_cast<QGroupBox*>(widget) != nullptr) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
      button->setAccessibleName(button->text().remove(u'&'));
      continue;
    }
    for (QWidget* p = widget->parentWidget(); p != nullptr && p != root->parentWidget();
         p = p->parentWidget()) {
      if (auto* group = qobject_cast<QGroupBox*>(p)) {
        widget->setAccessibleName(group->title());
        break;
      }
    }
  }
}

RadioGroup::RadioGroup(QObject* parent) : QObject(parent) {
  group_.setExclusive(true);
  connect(&group_, &QButtonGroup::idClicked, this, &RadioGroup::Changed);
}

void RadioGroup::Add(QAbstractButton* button) {
  group_.addButton(button, static_cast<int>(buttons_.size()));
  buttons_.push_back(button);
}

void RadioGroup::SetValue(int code) {
  if (code >= 0 && code < Count()) {
    buttons_[static_cast<std::size_t>(code)]->setChecked(true);
    return;
  }
  // An exclusive group cannot be cleared directly.
  group_.setExclusive(false);
  for (auto* button : buttons_) button->setChecked(false);
  group_.setExclusive(true);
}

int RadioGroup::Value() const { return group_.checkedId(); }

QAbstractButton* RadioGroup::Button(int code) const {
  return (code >= 0 && code < Count()) ? buttons_[static_cast<std::size_t>(code)] : nullptr;
}

}  // namespace setutily
