#include "forms/field_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/form_parts.h"
#include "forms/line_edits.h"
#include "forms/messages.h"
#include "text/checks.h"
#include "text/scan.h"

namespace setutily {

struct FieldForm::Bound {
  ItemBase look;
  int source = -1;  // rate labels: the item of the edit they are computed from
  QLineEdit* edit = nullptr;
  RadioGroup* radios = nullptr;
  std::vector<QCheckBox*> checks;
  QComboBox* combo = nullptr;
  QLabel* rate = nullptr;
  QLabel* label = nullptr;  // notes and plain captions
  QString shownText;          // what an edit showed when the form opened
  bool representable = true;  // check boxes: the field's value has a picture
  bool touched = false;       // check boxes: the user clicked one
};

struct FieldForm::Rule {
  int source = -1;
  std::function<bool(int)> enables;
  std::vector<int> targets;
};

namespace {

QString Tip(const TextCheck& check, int storeScale) {
  switch (check.kind) {
    case TextCheck::Kind::kRange:
      return storeScale > 1 ? QStringLiteral("%1～%2（%3単位）")
                                  .arg(check.min).arg(check.max).arg(storeScale)
                            : QStringLiteral("%1～%2").arg(check.min).arg(check.max);
    case TextCheck::Kind::kPhone:
      return QStringLiteral("電話番号: 0～9 ( ) - # *、53文字まで（「*」の前32文字、後20文字まで）");
    case TextCheck::Kind::kAddress:
      return check.mode == 1 ? QStringLiteral("IPアドレス/マスク長（例: 192.168.0.1/24）")
                             : QStringLiteral("IPアドレス（例: 192.168.0.1）");
    case TextCheck::Kind::kLength:
      return QStringLiteral("%1文字まで").arg(check.max);
    default:
      return {};
  }
}

// A remark under a box's controls, in the ordinary text colour (a disabled
// label would be too faint to read).
QLabel* RemarkLabel(const QString& text, QWidget* parent) {
  auto* note = new QLabel(text, parent);
  note->setWordWrap(true);
  return note;
}

// The message of an edit that has none of its own: named by its caption, or
// by its box.
QString DefaultMessage(const ItemBase& look, const QWidget* frame) {
  QString name = look.caption;
  if (name.isEmpty() && !look.accessibleName.isEmpty()) name = look.accessibleName;
  if (const auto* group = qobject_cast<const QGroupBox*>(frame); name.isEmpty() && group) {
    name = group->title();
  }
  return name + QStringLiteral("の入力に間違いがあります。");
}

}  // namespace

FieldForm::FieldForm(QWidget* parent, Session& session, const QString& title, int helpContext,
                     int instance, int helpButtonId)
    : SettingsForm(parent, title, session.messages, session.help, helpContext, helpButtonId),
      session_(session),
      instance_(instance) {
  grid_ = new QGridLayout;
  grid_->setHorizontalSpacing(8);
  grid_->setVerticalSpacing(6);
  Body()->addLayout(grid_);
}

FieldForm::~FieldForm() = default;

int FieldForm::AddBox(const BoxBase& box) {
  if (!box.shown[instance_]) return -1;
  QWidget* frame = box.title.isEmpty() ? new QWidget(this) : new QGroupBox(box.title, this);
  auto* layout = new QGridLayout(frame);
  if (box.title.isEmpty()) layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(6);
  layout->setVerticalSpacing(4);
  grid_->addWidget(frame, box.row, box.column, box.rowSpan, box.columnSpan);
  frame->setProperty("horizontal", box.orientation == Qt::Horizontal);
  boxes_.push_back(frame);
  boxRows_.push_back(0);
  return static_cast<int>(boxes_.size()) - 1;
}

int FieldForm::AddItem(int boxIndex, const ItemBase& look) {
  if (!look.shown[instance_]) return -1;
  QWidget* frame = boxes_[static_cast<std::size_t>(boxIndex)];
  auto* layout = static_cast<QGridLayout*>(frame->layout());
  const bool horizontal = frame->property("horizontal").toBool();
  int& next = boxRows_[static_cast<std::size_t>(boxIndex)];
  auto bound = std::make_unique<Bound>();
  bound->look = look;
  if (bound->look.message.isEmpty()) bound->look.message = DefaultMessage(look, frame);
  Bound& b = *bound;

  // The item's own row: [label] control [arrows] [unit].
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  QLabel* caption = nullptr;
  QWidget* control = nullptr;
  const auto id = [&](const PerInstance<int>& ids) {
    return ids.Empty() ? QString() : QString::number(ids[instance_]);
  };

  switch (look.kind) {
    case ItemKind::kEdit:  // not declared: a plain text edit
    case ItemKind::kNumberEdit:
    case ItemKind::kTextEdit:
    case ItemKind::kPasswordEdit: {
      DeviceLineEdit* edit = look.kind == ItemKind::kNumberEdit ? new NumberEdit(frame)
                                                                : new DeviceLineEdit(frame);
      if (look.kind == ItemKind::kPasswordEdit) edit->setEchoMode(QLineEdit::Password);
      edit->setObjectName(id(look.id));
      const int limit = look.limit.Empty() ? 0 : look.limit[instance_];
      edit->SetTypingLimit(limit);
      const int chars = look.editChars > 0 ? look.editChars : std::clamp(limit, 4, 28);
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
      if (look.readCharacters > 0 || look.check.kind == TextCheck::Kind::kRange) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(edit->minimumWidth() + 8);
      }
      edit->setToolTip(Tip(look.check, look.storeScale));
      b.edit = edit;
      control = edit;
      row->addWidget(edit);
      if (!look.arrowsId.Empty()) {
        const auto* group = qobject_cast<QGroupBox*>(frame);
        QString name = look.caption;
        if (name.isEmpty() && group != nullptr) name = group->title();
        auto* arrows = new StepArrows(name, frame);
        arrows->setObjectName(id(look.arrowsId));
        // The arrows step between the bounds the edit's check takes.
        const int step = std::max(1, look.arrowsStep);
        arrows->Drive(edit, look.readCharacters, static_cast<int>(look.check.min / step),
                      static_cast<int>(look.check.max / step), step);
        const int self = static_cast<int>(items_.size());
        connect(arrows, &StepArrows::Stepped, this, [this, self] { Stepped(self); });
        row->addWidget(arrows);
      }
      if (!look.unit.isEmpty()) row->addWidget(new QLabel(look.unit, frame));
      if (edit->maximumWidth() < QWIDGETSIZE_MAX) row->addStretch(1);
      if (!look.caption.isEmpty()) {
        caption = new QLabel(look.caption, frame);
        caption->setBuddy(edit);
      }
      break;
    }
    case ItemKind::kRadios:
    case ItemKind::kRadioBit: {
      b.radios = new RadioGroup(this);
      QBoxLayout* buttons = look.orientation == Qt::Horizontal
                                ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                : static_cast<QBoxLayout*>(new QVBoxLayout);
      buttons->setSpacing(look.orientation == Qt::Horizontal ? 12 : 2);
      for (const Option& option : look.options) {
        auto* button = new QRadioButton(option.caption, frame);
        button->setObjectName(id(option.id));
        // Buttons of a captioned pair ("チャネル追加": 拒否する / 自動応答)
        // are named with the caption, so that equal captions stay apart.
        QString name = option.caption;
        name.remove(u'\n');
        button->setAccessibleName(look.caption.isEmpty() ? name : look.caption + u' ' + name);
        b.radios->Add(button);
        buttons->addWidget(button);
      }
      if (look.orientation == Qt::Horizontal) buttons->addStretch(1);
      row->addLayout(buttons);
      if (!look.caption.isEmpty()) {
        caption = new QLabel(look.caption, frame);
        // Captioned choices line up like captioned edits: caption, then buttons.
        if (b.radios->Count() > 0) control = b.radios->Button(0);
      }
      break;
    }
    case ItemKind::kChecks:
      for (const Option& option : look.options) {
        auto* box = new QCheckBox(option.caption, frame);
        box->setObjectName(id(option.id));
        connect(box, &QCheckBox::clicked, this, [&b] { b.touched = true; });
        b.checks.push_back(box);
        row->addWidget(box);
      }
      row->addStretch(1);
      break;
    case ItemKind::kDropDown: {
      auto* combo = new QComboBox(frame);
      combo->setObjectName(id(look.id));
      for (const Option& option : look.options) combo->addItem(option.caption);
      combo->setCurrentIndex(-1);
      b.combo = combo;
      control = combo;
      row->addWidget(combo);
      if (!look.caption.isEmpty()) {
        caption = new QLabel(look.caption, frame);
        caption->setBuddy(combo);
      } else if (auto* group = qobject_cast<QGroupBox*>(frame)) {
        combo->setAccessibleName(group->title());
      }
      break;
    }
    case ItemKind::kNote:
      b.label = RemarkLabel(look.caption, frame);
      row->addWidget(b.label, 1);
      break;
    case ItemKind::kLabel:
      b.label = new QLabel(look.caption, frame);
      // A heading over several columns stands centred above them.
      if (look.cellColumns > 1) row->addStretch(1);
      row->addWidget(b.label);
      if (look.cellColumns > 1) row->addStretch(1);
      break;
    case ItemKind::kRateLabel:
      b.rate = new QLabel(frame);
      b.rate->setObjectName(id(look.id));
      row->addWidget(b.rate);
      break;
  }

  if (control != nullptr && !look.accessibleName.isEmpty()) {
    control->setAccessibleName(look.accessibleName);
  }
  if (look.cell) {
    if (caption != nullptr) row->insertWidget(0, caption);
    layout->addLayout(row, look.cell->first, look.cell->second, 1, std::max(1, look.cellColumns));
  } else if (horizontal) {
    if (caption != nullptr) row->insertWidget(0, caption);
    layout->addLayout(row, 0, next++);
  } else if (caption != nullptr && control != nullptr) {
    layout->addWidget(caption, next, 0);
    layout->addLayout(row, next++, 1);
  } else if (look.kind == ItemKind::kRateLabel) {
    layout->addLayout(row, next++, 1);  // under the edit it is computed from
  } else {
    if (caption != nullptr) row->insertWidget(0, caption);
    layout->addLayout(row, next++, 0, 1, 2);
  }
  items_.push_back(std::move(bound));
  return static_cast<int>(items_.size()) - 1;
}

void FieldForm::AddEnableRule(int source, std::function<bool(int)> enables,
                              std::vector<int> targets) {
  auto rule = std::make_unique<Rule>();
  rule->source = source;
  rule->enables = std::move(enables);
  rule->targets = std::move(targets);
  if (source >= 0) {
    const Bound& item = *items_[static_cast<std::size_t>(source)];
    if (item.radios != nullptr) {
      connect(item.radios, &RadioGroup::Changed, this, [this] { ApplyRules(); });
    }
    if (item.combo != nullptr) {
      connect(item.combo, &QComboBox::currentIndexChanged, this, [this] { ApplyRules(); });
    }
  }
  rules_.push_back(std::move(rule));
}

void FieldForm::SetRateSource(int rateItem, int source) {
  items_[static_cast<std::size_t>(rateItem)]->source = source;
}

void FieldForm::AddAction(const FormAction& action) {
  QPushButton* button = AddButton(action.caption, action.id);
  connect(button, &QPushButton::clicked, this, [this, run = action.run] {
    if (run && run(*this)) reject();
  });
}

void FieldForm::Finish() {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->rate != nullptr) Stepped(items_[i]->source);
  }
  // Items stand at the top left of their boxes when a box is larger than
  // they need.
  for (QWidget* frame : boxes_) {
    auto* layout = static_cast<QGridLayout*>(frame->layout());
    layout->setRowStretch(layout->rowCount(), 1);
    layout->setColumnStretch(layout->columnCount(), 1);
  }
  ApplyRules();
  FinishLayout();
}

void FieldForm::ApplyRules() {
  for (const auto& rule : rules_) {
    const bool on = rule->enables(ChoiceCode(rule->source));
    for (int target : rule->targets) {
      if (QWidget* widget = ItemControl(target)) widget->setEnabled(on);
      // A choice's other buttons follow its first.
      const Bound* item = target >= 0 ? items_[static_cast<std::size_t>(target)].get() : nullptr;
      if (item != nullptr && item->radios != nullptr) {
        for (int code = 0; code < item->radios->Count(); ++code) item->radios->Button(code)->setEnabled(on);
      }
    }
  }
}

// A rate label follows its edit's value on every arrow step.
void FieldForm::Stepped(int editItem) {
  if (editItem < 0) return;
  const QLineEdit* edit = items_[static_cast<std::size_t>(editItem)]->edit;
  if (edit == nullptr) return;
  for (auto& item : items_) {
    if (item->rate == nullptr || item->source != editItem) continue;
    item->rate->setText(item->look.format(static_cast<int>(
        ParseLeadingNumber(edit->text().toStdString(), INT_MIN / 2, INT_MAX / 2))));
  }
}

void FieldForm::Show(int index, const FieldValue& value) {
  Bound& b = *items_[static_cast<std::size_t>(index)];
  const int number = std::holds_alternative<int>(value) ? std::get<int>(value) : 0;
  if (b.edit != nullptr) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      b.shownText = FromDevice(*text);
      if (!b.look.shownEmptyFor.isEmpty() && b.shownText == b.look.shownEmptyFor) b.shownText.clear();
    } else {
      b.shownText = QString::number(static_cast<long long>(number) * b.look.storeScale);
    }
    b.edit->setText(b.shownText);
    b.edit->setCursorPosition(0);
  } else if (b.radios != nullptr) {
    if (b.look.kind == ItemKind::kRadioBit) {
      b.radios->SetValue((number & b.look.mask) != 0 ? 1 : 0);
    } else {
      b.radios->SetValue(number);
    }
  } else if (!b.checks.empty()) {
    int all = 0;
    for (const Option& option : b.look.options) all |= option.mask;
    b.representable = number >= 0 && (number & ~all) == 0;
    for (std::size_t i = 0; i < b.checks.size(); ++i) {
      const int mask = b.look.options[i].mask;
      b.checks[i]->setChecked(b.representable && (number & mask) == mask);
    }
  } else if (b.combo != nullptr) {
    b.combo->setCurrentIndex(number >= 0 && number < b.combo->count() ? number : -1);
  }
}

void FieldForm::Store(int index, FieldValue& value) const {
  const Bound& b = *items_[static_cast<std::size_t>(index)];
  if (b.edit != nullptr) {
    const QString text = b.edit->text();
    if (text == b.shownText) return;  // untouched: the record's value stays
    if (auto* stored = std::get_if<std::string>(&value)) {
      *stored = text.isEmpty() && !b.look.storeEmptyAs.empty() ? b.look.storeEmptyAs
                                                                : ToDevice(text);
    } else {
      const TextCheck& check = b.look.check;
      const long long low = check.kind == TextCheck::Kind::kRange ? check.min : INT_MIN;
      const long long high = check.kind == TextCheck::Kind::kRange ? check.max : INT_MAX;
      const long long typed = ParseLeadingNumber(ToDevice(text), low, high);
      value = static_cast<int>(typed / std::max(1, b.look.storeScale));
    }
    return;
  }
  int* number = std::get_if<int>(&value);
  if (number == nullptr) return;
  if (b.radios != nullptr) {
    const int code = b.radios->Value();
    if (code < 0) return;  // nothing selected: the field keeps its value
    if (b.look.kind == ItemKind::kRadioBit) {
      *number = code != 0 ? (*number | b.look.mask) : (*number & ~b.look.mask);
    } else {
      *number = code;
    }
  } else if (!b.checks.empty()) {
    if (!b.representable && !b.touched) return;  // a code the boxes cannot show stays
    int flags = 0;
    for (std::size_t i = 0; i < b.checks.size(); ++i) {
      if (b.checks[i]->isChecked()) flags |= b.look.options[i].mask;
    }
    *number = flags;
  } else if (b.combo != nullptr) {
    if (b.combo->currentIndex() >= 0) *number = b.combo->currentIndex();
  }
}

bool FieldForm::Check(int index) {
  Bound& b = *items_[static_cast<std::size_t>(index)];
  if (b.edit == nullptr) return true;
  const std::string text = ToDevice(b.edit->text());
  const TextCheck& check = b.look.check;
  // A changed text must reach the device as it stands: a character without
  // a Shift-JIS form, or a pasted control character, is refused rather than
  // sent as something else. An untouched value is not sent, so not judged.
  bool ok = b.edit->text() == b.shownText || FitsDevice(b.edit->text(), 0);
  if (ok) switch (check.kind) {
    case TextCheck::Kind::kNone:
    case TextCheck::Kind::kCustom:
      break;
    case TextCheck::Kind::kPhone:
      ok = CheckPhoneNumber(text) == 0;
      break;
    case TextCheck::Kind::kRange:
      ok = CheckNumberRange(text, check.min, check.max) == 0;
      break;
    case TextCheck::Kind::kAddress:
      ok = CheckIpAddress(text, check.mode) == 0;
      break;
    case TextCheck::Kind::kLength:
      ok = static_cast<long long>(text.size()) <= check.max;
      break;
  }
  if (ok && check.required && text.empty()) ok = false;
  if (ok && check.accepts) ok = check.accepts(text);
  if (ok) return true;
  Fail(b.look.message, index);
  return false;
}

void FieldForm::Fail(const QString& message, int item) {
  ShowCheckMessage(message);
  if (QWidget* widget = ItemControl(item)) {
    widget->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
  }
}

QWidget* FieldForm::ItemControl(int item) const {
  if (item < 0 || item >= static_cast<int>(items_.size())) return nullptr;
  const Bound& b = *items_[static_cast<std::size_t>(item)];
  if (b.edit != nullptr) return b.edit;
  if (b.combo != nullptr) return b.combo;
  if (b.radios != nullptr && b.radios->Count() > 0) return b.radios->Button(0);
  if (!b.checks.empty()) return b.checks.front();
  return nullptr;
}

QAbstractButton* FieldForm::ItemOption(int item, int code) const {
  if (item < 0 || item >= static_cast<int>(items_.size())) return nullptr;
  const Bound& b = *items_[static_cast<std::size_t>(item)];
  if (b.radios == nullptr || code < 0 || code >= b.radios->Count()) return nullptr;
  return b.radios->Button(code);
}

void FieldForm::SetBuddy(int label, int control) {
  const Bound& text = *items_[static_cast<std::size_t>(label)];
  const Bound& target = *items_[static_cast<std::size_t>(control)];
  QWidget* widget = target.edit != nullptr ? static_cast<QWidget*>(target.edit) : target.combo;
  if (text.label != nullptr && widget != nullptr) text.label->setBuddy(widget);
}

void FieldForm::SetAccessibleName(int item, const QString& name) {
  const Bound& b = *items_[static_cast<std::size_t>(item)];
  QWidget* widget = b.edit != nullptr ? static_cast<QWidget*>(b.edit) : b.combo;
  if (widget != nullptr) widget->setAccessibleName(name);
}

QWidget* FieldForm::Control(int id) const {
  return findChild<QWidget*>(QString::number(id));
}

int FieldForm::ChoiceCode(int item) const {
  if (item < 0 || item >= static_cast<int>(items_.size())) return -1;
  const Bound& b = *items_[static_cast<std::size_t>(item)];
  if (b.radios != nullptr) return b.radios->Value();
  if (b.combo != nullptr) return b.combo->currentIndex();
  return -1;
}

}  // namespace setutily

namespace setutily {

QString FullWidthNumber(int number) {
  const QChar tens(0xFF10 + (number / 10) % 10);
  const QChar ones(0xFF10 + number % 10);
  return QString(tens) + ones;
}

}  // namespace setutily

namespace setutily {

void DeclareItem(ItemBase& look, bool isText, long long min, long long max, int bytes,
                 TextRule rule, bool (*accepts)(std::string_view), bool required, int scale,
                 std::string_view blank, bool storedBlank, const char16_t* message,
                 int entryNumber) {
  TextCheck& check = look.check;
  check = {};
  if (!isText) {
    check.kind = TextCheck::Kind::kRange;
    check.min = min * scale;
    check.max = max * scale;
    look.storeScale = scale;
  } else {
    switch (rule) {
      case TextRule::kPhone:
        check.kind = TextCheck::Kind::kPhone;
        break;
      case TextRule::kAddress:
      case TextRule::kPrefixedAddress:
        check.kind = TextCheck::Kind::kAddress;
        check.mode = rule == TextRule::kPrefixedAddress ? 1 : 0;
        break;
      case TextRule::kNumeric:
        check.kind = TextCheck::Kind::kCustom;
        break;
      case TextRule::kAny:
        check.kind = bytes > 0 ? TextCheck::Kind::kLength : TextCheck::Kind::kNone;
        check.max = bytes;
        break;
    }
    if (accepts != nullptr) {
      check.accepts = [accepts](const std::string& text) { return accepts(text); };
    }
    check.required = required;
    // A text types as many device bytes as its setting takes.
    if (bytes > 0) look.limit = bytes;
    look.shownEmptyFor = QString::fromUtf8(blank.data(), static_cast<qsizetype>(blank.size()));
    look.storeEmptyAs = storedBlank ? std::string(blank) : std::string();
  }
  if (!isText && look.limit.Empty()) {
    look.limit = static_cast<int>(QString::number(max * scale).size());
  }
  if (look.kind == ItemKind::kEdit) {
    look.kind = isText && rule == TextRule::kAny ? ItemKind::kTextEdit : ItemKind::kNumberEdit;
  }
  if (message != nullptr) {
    look.message = QString::fromUtf16(message);
    if (entryNumber > 0 && look.message.contains(QStringLiteral("%1"))) {
      look.message = look.message.arg(entryNumber, 2, 10, QChar(u'0'));
    }
  }
}

}  // namespace setutily
