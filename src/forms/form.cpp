#include "forms/form.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
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
  // The controls scroll when the screen is too small for them; the button
  // row below them always stays in view.
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setFocusPolicy(Qt::NoFocus);
  content_ = new QWidget(scroll_);
  body_ = new QVBoxLayout(content_);
  body_->setContentsMargins(0, 0, 0, 0);
  scroll_->setWidget(content_);
  outer->addWidget(scroll_, 1);
  auto* buttons = new QHBoxLayout;
  buttonRow_ = buttons;
  buttons->addStretch(1);
  confirm_ = new QPushButton(QStringLiteral("登録"), this);
  confirm_->setObjectName(QStringLiteral("1"));
  confirm_->setDefault(true);
  confirm_->setAutoDefault(true);
  cancel_ = new QPushButton(QStringLiteral("戻る"), this);
  cancel_->setObjectName(QStringLiteral("2"));
  // Enter presses the focused push button; elsewhere the default "登録".
  cancel_->setAutoDefault(true);
  helpButton_ = new QPushButton(QStringLiteral("ヘルプ"), this);
  helpButton_->setObjectName(QString::number(helpButtonId));
  helpButton_->setAutoDefault(true);
  buttons->addWidget(confirm_);
  buttons->addWidget(cancel_);
  buttons->addWidget(helpButton_);
  outer->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &SettingsForm::OnConfirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_.Show(this, helpContext_); });
}

QPushButton* SettingsForm::AddButton(const QString& caption, int id) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(true);
  buttonRow_->insertWidget(buttonRow_->indexOf(cancel_), button);
  extraButtons_.push_back(button);
  return button;
}

QPushButton* SettingsForm::AddConfirmButton(const QString& caption, int id,
                                            std::function<bool()> confirm) {
  QPushButton* button = AddButton(caption, id);
  connect(button, &QPushButton::clicked, this, [this, confirm = std::move(confirm)] {
    if (confirm()) accept();
  });
  return button;
}

void SettingsForm::FinishLayout() {
  // The button row was built before the subclass's controls; Tab runs
  // through the controls first and reaches the buttons last.
  // The form opens with its first control focused.
  QWidget* first = nullptr;
  QWidget* last = nullptr;
  for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
    const bool button = w == confirm_ || w == cancel_ || w == helpButton_ ||
                        std::find(extraButtons_.begin(), extraButtons_.end(), w) !=
                            extraButtons_.end();
    if (button || (w->focusPolicy() & Qt::TabFocus) == 0) continue;
    if (first == nullptr) first = w;
    last = w;
  }
  if (last != nullptr) {
    setTabOrder(last, confirm_);
    QWidget* previous = confirm_;
    for (QPushButton* extra : extraButtons_) {
      setTabOrder(previous, extra);
      previous = extra;
    }
    setTabOrder(previous, cancel_);
    setTabOrder(cancel_, helpButton_);
    first->setFocus();
  }
  AssignAccessibleNames(this);
}

QSize SettingsForm::sizeHint() const {
  // Everything in view when the screen allows it, never beyond the screen.
  const QMargins margins = layout()->contentsMargins();
  const QSize buttons = buttonRow_->sizeHint();
  QSize wanted = content_->sizeHint();
  wanted.setWidth(std::max(wanted.width(), buttons.width()) + margins.left() + margins.right());
  wanted.setHeight(wanted.height() + layout()->spacing() + buttons.height() + margins.top() +
                   margins.bottom());
  // A pixel to spare each way: under a fractional display scale the window
  // system may round the window a pixel smaller, which would otherwise bring
  // up scroll bars for controls that fit.
  wanted += QSize(2, 2);
  if (const QScreen* screen = this->screen()) {
    // Room for the window frame the window manager adds.
    const QSize room = screen->availableGeometry().size() - QSize(16, 48);
    // Controls that scroll down lose the scroll bar's width: it is added, so
    // that they do not scroll sideways as well.
    if (wanted.height() > room.height()) {
      wanted.rwidth() += scroll_->verticalScrollBar()->sizeHint().width();
    }
    wanted = wanted.boundedTo(room);
  }
  return wanted;
}

void SettingsForm::showEvent(QShowEvent* event) {
  // As large as the controls need, up to the screen (a plain adjustSize
  // would stop at two thirds of the screen and hide controls needlessly),
  // and kept at that size, as a dialog is: stretching it only spreads the
  // boxes apart.
  if (!sized_) {
    sized_ = true;
    setFixedSize(sizeHint());
  }
  QDialog::showEvent(event);
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
  connect(&group_, &QButtonGroup::idToggled, this, [this] { UpdateTabStop(); });
}

void RadioGroup::Add(QAbstractButton* button) {
  group_.addButton(button, static_cast<int>(buttons_.size()));
  buttons_.push_back(button);
  UpdateTabStop();
}

void RadioGroup::SetValue(int code) {
  if (code >= 0 && code < Count()) {
    buttons_[static_cast<std::size_t>(code)]->setChecked(true);
  } else {
    // An exclusive group cannot be cleared directly.
    group_.setExclusive(false);
    for (auto* button : buttons_) button->setChecked(false);
    group_.setExclusive(true);
  }
  UpdateTabStop();
  emit Changed(Value());
}

void RadioGroup::UpdateTabStop() {
  // Tab lands on the checked button of the group (the first when none is);
  // the arrow keys move within it.
  const int checked = Value();
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const bool stop = static_cast<int>(i) == (checked >= 0 ? checked : 0);
    buttons_[i]->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

int RadioGroup::Value() const { return group_.checkedId(); }

QAbstractButton* RadioGroup::Button(int code) const {
  return (code >= 0 && code < Count()) ? buttons_[static_cast<std::size_t>(code)] : nullptr;
}

}  // namespace setutily
