// The generic settings form: built from a description (forms/description.h)
// over a write group's declared settings, and bound to one record of the
// run's store. Opening shows the working copy; "登録" runs every check first,
// in the form's order (the items' checks and the group's rules), and only
// when all pass commits the values and counts the change. A failed check
// shows its message, puts the focus on its control and stores nothing. The
// grid and list forms confirm through the same path (RunConfirmation).
//
// A text or number whose edit still holds exactly what was shown keeps the
// record's value, so confirming a form unchanged stores exactly what it
// showed (an address shown empty for "0.0.0.0" stays "0.0.0.0").
#pragma once

#include <QString>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "forms/description.h"
#include "forms/form.h"
#include "forms/session.h"
#include "settings/config.h"
#include "settings/copies.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace setutily {

class FieldForm;
class StepArrows;

// A button of a form's own in its button row, after "登録" ("クリア").
struct FormAction {
  QString caption;
  int id = 0;
  // Runs on a click; true closes the form as "戻る" does, storing nothing.
  std::function<bool(FieldForm& form)> run;
};

// A value of a record field, as the form hands it around.
using FieldValue = std::variant<int, std::string>;

class FieldForm : public SettingsForm {
  Q_OBJECT
 public:
  FieldForm(QWidget* parent, Session& session, const QString& title, int helpContext,
            int instance, int helpButtonId = 1587);
  ~FieldForm() override;

  int Instance() const { return instance_; }
  Session& RunSession() const { return session_; }

  // ---- building (in description order)
  // Returns the box's index, or -1 when the box is not shown on this instance.
  int AddBox(const BoxBase& box);
  // Returns the item's index, or -1 when it is not shown on this instance.
  int AddItem(int box, const ItemBase& item);
  // The choice of item source enables the controls of targets while enables
  // holds for its code.
  void AddEnableRule(int source, std::function<bool(int code)> enables, std::vector<int> targets);
  // The rate label item shows its format of item source's value.
  void SetRateSource(int rateItem, int source);
  void AddAction(const FormAction& action);
  // Ends building: layout, tab order, accessible names, enable rules.
  void Finish();

  // ---- values
  void Show(int item, const FieldValue& value);
  // Takes the control's state into value; leaves it unchanged when the
  // control shows no choice or still holds the text it was shown with.
  void Store(int item, FieldValue& value) const;
  // Runs the item's check; on failure shows its message and focuses it.
  bool Check(int item);
  // Shows message (no icon) and focuses the control of item (-1: none).
  void Fail(const QString& message, int item);

  // The control whose objectName is id.
  QWidget* Control(int id) const;
  // The control of item (an edit, a drop-down, a choice's first button).
  QWidget* ItemControl(int item) const;
  // The button of code of a radio-button item; nullptr when none.
  QAbstractButton* ItemOption(int item, int code) const;
  // Makes the label of item label name the control of item control.
  void SetBuddy(int label, int control);
  void SetAccessibleName(int item, const QString& name);
  // The code a choice item (radio group or drop-down) currently shows; -1 for none.
  int ChoiceCode(int item) const;

  void SetConfirm(std::function<bool()> confirm) { confirm_ = std::move(confirm); }

 protected:
  bool Confirm() override { return confirm_ ? confirm_() : true; }

 private:
  struct Bound;
  struct Rule;
  void ApplyRules();
  void Stepped(int editItem);

  Session& session_;
  int instance_;
  QGridLayout* grid_;
  std::vector<QWidget*> boxes_;
  std::vector<int> boxRows_;
  std::vector<std::unique_ptr<Bound>> items_;
  std::vector<std::unique_ptr<Rule>> rules_;
  std::function<bool()> confirm_;
};

// The confirmation every form runs ("登録", and a list form's "削除"): the
// controls are taken into a copy of the working record, every check runs on
// it in the form's order, and only when all pass (and beforeCommit agrees)
// does the copy become the working record and count as a change. A failed
// check has shown its message and focused its control; nothing is stored.
template <class Root>
struct Confirmation {
  std::function<void(Root& edited)> store;
  std::vector<std::function<bool(const Root& edited)>> checks;
  std::function<bool(const Root& edited)> beforeCommit;
  // Commit without refreshing the baseline, so that changes of earlier
  // forms that were not written are sent again with this one.
  bool keepBaseline = false;
};

template <class Root>
bool RunConfirmation(const Confirmation<Root>& confirmation, SettingsCopies<Root>& copies,
                     RunState& state) {
  Root edited = copies.working;
  if (confirmation.store) confirmation.store(edited);
  for (const auto& check : confirmation.checks) {
    if (!check(edited)) return false;
  }
  if (confirmation.beforeCommit && !confirmation.beforeCommit(edited)) return false;
  if (confirmation.keepBaseline) {
    copies.CommitKeepingBaseline(std::move(edited), state);
  } else {
    copies.Commit(std::move(edited), state);
  }
  return true;
}

// An item of an edit takes from its field's declaration what it accepts:
// the kind of edit, the check, the typing limit of a text, the display
// scale and blank, the message ("%1": the entry number of a list's row).
void DeclareItem(ItemBase& look, bool isText, long long min, long long max, int bytes,
                 TextRule rule, bool (*accepts)(std::string_view), bool required, int scale,
                 std::string_view blank, bool storedBlank, const char16_t* message,
                 int entryNumber = 0);

template <class Rec>
void DeclareItem(ItemBase& look, const FieldDecl<Rec>& decl, int instance, int entryNumber = 0) {
  DeclareItem(look, decl.IsText(), decl.min, decl.max, decl.MaxBytes(instance), decl.rule,
              decl.accepts, decl.required, decl.scale, decl.blank, decl.storedBlank, decl.message,
              entryNumber);
}

// The items of a form bound to fields, as the kit resolves a field to its control.
template <class Rec>
class FormFields {
 public:
  struct Binding {
    int item;
    FieldRef<Rec> field;
    std::function<bool(const Rec&)> onlyWhen;
  };
  FormFields(FieldForm& form, std::vector<Binding> bindings)
      : form_(form), bindings_(std::move(bindings)) {}

  FieldForm& Form() const { return form_; }
  const std::vector<Binding>& Bindings() const { return bindings_; }
  // The item bound to field; -1 when none.
  int ItemOf(const FieldRef<Rec>& field) const {
    for (const Binding& binding : bindings_) {
      if (binding.field == field) return binding.item;
    }
    return -1;
  }
  QWidget* Control(const FieldRef<Rec>& field) const {
    const int item = ItemOf(field);
    return item < 0 ? nullptr : form_.ItemControl(item);
  }
  QAbstractButton* Option(const FieldRef<Rec>& field, int code) const {
    const int item = ItemOf(field);
    return item < 0 ? nullptr : form_.ItemOption(item, code);
  }

 private:
  FieldForm& form_;
  std::vector<Binding> bindings_;
};

// What a form needs of a numbered list's group (ListOf): its entries'
// declarations, an entry by index, the entry numbers, its write.
template <class Root, class Entry>
struct ListView {
  const Settings<Entry>* settings = nullptr;
  std::function<Entry&(Root& root, int index)> entry;  // index 0: the first entry
  int count = 0;        // entries in the list
  int perInstance = 0;  // entries a form instance (a page) shows and its write sends
  int firstNumber = 1;  // the number of the first entry
  const char16_t* numberMessage = nullptr;  // an entry number refused
  // Writes page instance and reads it back.
  std::function<CheckedWrite<Root>(DeviceContext& context, int instance)> write;
};

template <class Root, class Entry, std::size_t N>
ListView<Root, Entry> ViewOf(const ListOf<Root, Entry, N>& list) {
  return {.settings = list.settings,
          .entry = [entries = list.entries](Root& root, int index) -> Entry& {
            return entries(root).at(static_cast<std::size_t>(index));
          },
          .count = static_cast<int>(N),
          .perInstance = list.perInstance,
          .firstNumber = list.firstNumber,
          .numberMessage = list.numberMessage,
          .write = [&list](DeviceContext& context, int instance) {
            return WriteGroupChecked(context, context.records.Of<Root>(), list, instance);
          }};
}

// A whole form: the boxes of one dialog template over a part (Rec) of a
// record of the store (Root), its write group, and the rules around it.
template <class Root, class Rec>
struct FormDescription {
  PerInstance<QString> title;
  PerInstance<int> help;
  // The write group the form's fields are declared in (and that the menu
  // writes after the form); its projection picks the part the form edits.
  const GroupOf<Root, Rec>* group = nullptr;
  std::vector<FormBox<Rec>> boxes;
  // The checking order, where it differs from the layout: fields, and rules
  // of the group by their first field. Checks not listed follow in layout
  // order, then the group's rules not listed.
  std::vector<CheckStep<Rec>> order;
  std::vector<EnableRule<Rec>> enableRules;
  // Derived values, applied to the values to be stored (choices left
  // without a selection keep the record's values, so the rules see what
  // will really be stored).
  std::function<void(Root& edited, int instance)> adjust;
  // Runs once the form shows its values (e.g. to lock a choice that
  // another part of the record rules out).
  std::function<void(const FormFields<Rec>& form, const Root& working)> opened;
  // Runs when every check has passed, before anything is stored; false
  // keeps the form open with nothing stored (a question the user declined).
  std::function<bool(FieldForm& form, const Root& edited, const Root& working)> beforeCommit;
  // Commit without refreshing the baseline, so changes of earlier forms
  // that were not written are sent again with this one.
  bool keepBaseline = false;
  // The objectName of the "ヘルプ" button.
  int helpButton = 1587;
  // Buttons of the form's own, after "登録" in this order.
  std::vector<FormAction> actions;
};

template <class Rec>
FieldValue ValueOf(const FieldRef<Rec>& field, const Rec& record) {
  if (field.IsText()) return field.Text(record);
  return field.Number(record);
}
template <class Rec>
void Assign(const FieldRef<Rec>& field, Rec& record, const FieldValue& value) {
  if (field.IsText()) {
    if (const auto* text = std::get_if<std::string>(&value)) field.Text(record) = *text;
  } else if (const auto* number = std::get_if<int>(&value)) {
    field.Number(record) = *number;
  }
}

// Copies field from one record to another. Kept out of line: inlined into
// records without texts, gcc warns about the access it can never make.
template <class Rec>
[[gnu::noinline]] void KeepValue(const FieldRef<Rec>& field, Rec& to, const Rec& from) {
  field.Copy(to, from);
}

// Adds item to box of form, its edit declared by its field's setting.
template <class Rec>
int AddDeclaredItem(FieldForm& form, int box, const Item<Rec>& item,
                    const Settings<Rec>& settings, int instance, int entryNumber = 0) {
  const bool edit = item.kind == ItemKind::kEdit || item.kind == ItemKind::kPasswordEdit;
  if (!edit || !item.field.IsSet()) return form.AddItem(box, item);
  ItemBase look = item;
  const FieldDecl<Rec>* decl = DeclOf(settings, item.field);
  Q_ASSERT_X(decl != nullptr, "AddDeclaredItem", "an edit of a field its group does not declare");
  if (decl != nullptr) DeclareItem(look, *decl, instance, entryNumber);
  return form.AddItem(box, look);
}

// Builds the form of description for instance, showing the working copy of copies.
template <class Root, class Rec>
std::unique_ptr<FieldForm> MakeFieldForm(QWidget* parent, Session& session,
                                         SettingsCopies<Root>& copies,
                                         const FormDescription<Root, Rec>& description,
                                         int instance = 0) {
  const GroupOf<Root, Rec>& group = *description.group;
  auto form =
      std::make_unique<FieldForm>(parent, session, description.title[instance],
                                  description.help[instance], instance, description.helpButton);
  using Binding = typename FormFields<Rec>::Binding;
  std::vector<Binding> bindings;
  std::vector<std::pair<int, FieldRef<Rec>>> rates;
  for (const FormBox<Rec>& box : description.boxes) {
    const int b = form->AddBox(box);
    if (b < 0) continue;
    for (const Item<Rec>& item : box.items) {
      const int i = AddDeclaredItem(*form, b, item, *group.settings, instance);
      if (i < 0) continue;
      if (item.field.IsSet()) bindings.push_back({i, item.field, item.onlyWhen});
      if (item.source.IsSet()) rates.emplace_back(i, item.source);
    }
  }
  auto fields = std::make_shared<FormFields<Rec>>(*form, bindings);
  for (const auto& [rate, source] : rates) form->SetRateSource(rate, fields->ItemOf(source));
  for (const EnableRule<Rec>& rule : description.enableRules) {
    std::vector<int> targets;
    for (const FieldRef<Rec>& target : rule.targets) targets.push_back(fields->ItemOf(target));
    form->AddEnableRule(fields->ItemOf(rule.source), rule.enables, std::move(targets));
  }
  for (const FormAction& action : description.actions) form->AddAction(action);
  const Rec& shown = group.project(copies.working, instance);
  for (const Binding& binding : bindings) form->Show(binding.item, ValueOf(binding.field, shown));
  form->Finish();
  if (description.opened) description.opened(*fields, copies.working);

  FieldForm* self = form.get();
  Confirmation<Root> confirmation;
  confirmation.keepBaseline = description.keepBaseline;
  // The values the form would store: choices without a selection and
  // untouched texts keep the record's values; items that apply only under a
  // condition of those values keep the record's value otherwise.
  confirmation.store = [self, fields, &description, &group, instance](Root& edited) {
    Rec& values = group.project(edited, instance);
    const Rec before = values;
    for (const Binding& binding : fields->Bindings()) {
      FieldValue value = ValueOf(binding.field, values);
      self->Store(binding.item, value);
      Assign(binding.field, values, value);
    }
    for (const Binding& binding : fields->Bindings()) {
      if (binding.onlyWhen && !binding.onlyWhen(values)) KeepValue(binding.field, values, before);
    }
    if (description.adjust) description.adjust(edited, instance);
  };
  // Every check, in the form's order.
  auto itemCheck = [self, fields, &group, instance](const Binding& binding) {
    return [self, item = binding.item, onlyWhen = binding.onlyWhen, &group,
            instance](const Root& edited) {
      if (onlyWhen && !onlyWhen(group.project(const_cast<Root&>(edited), instance))) return true;
      return self->Check(item);
    };
  };
  auto ruleCheck = [self, fields, &group, instance](const Rule<Rec>& rule) {
    return [self, fields, &rule, &group, instance](const Root& edited) {
      if (rule.holds(group.project(const_cast<Root&>(edited), instance))) return true;
      self->Fail(QString::fromUtf16(rule.message),
                 rule.fields.empty() ? -1 : fields->ItemOf(rule.fields.front()));
      return false;
    };
  };
  std::vector<bool> itemListed(bindings.size(), false);
  std::vector<bool> ruleListed(group.rules.size(), false);
  for (const CheckStep<Rec>& step : description.order) {
    for (std::size_t r = 0; step.rule && r < group.rules.size(); ++r) {
      if (ruleListed[r] || group.rules[r]->fields.empty() ||
          !(group.rules[r]->fields.front() == step.field)) {
        continue;
      }
      ruleListed[r] = true;
      confirmation.checks.push_back(ruleCheck(*group.rules[r]));
      break;
    }
    for (std::size_t k = 0; !step.rule && k < bindings.size(); ++k) {
      if (itemListed[k] || !(bindings[k].field == step.field)) continue;
      itemListed[k] = true;
      confirmation.checks.push_back(itemCheck(bindings[k]));
    }
  }
  for (std::size_t k = 0; k < bindings.size(); ++k) {
    if (!itemListed[k]) confirmation.checks.push_back(itemCheck(bindings[k]));
  }
  for (std::size_t r = 0; r < group.rules.size(); ++r) {
    if (!ruleListed[r]) confirmation.checks.push_back(ruleCheck(*group.rules[r]));
  }
  if (description.beforeCommit) {
    confirmation.beforeCommit = [self, &description, &copies](const Root& edited) {
      return description.beforeCommit(*self, edited, copies.working);
    };
  }
  form->SetConfirm([confirmation = std::move(confirmation), &copies, &session] {
    return RunConfirmation(confirmation, copies, session.state);
  });
  return form;
}

// MakeFieldForm on the record of the run's store.
template <class Root, class Rec>
std::unique_ptr<FieldForm> OpenForm(QWidget* parent, Session& session,
                                    const FormDescription<Root, Rec>& description,
                                    int instance = 0) {
  return MakeFieldForm(parent, session, session.records.Of<Root>(), description, instance);
}

}  // namespace setutily
