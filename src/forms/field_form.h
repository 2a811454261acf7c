// The generic settings form: built from a description (forms/description.h)
// and bound to one record of the run's store. Opening shows the working
// copy; "登録" runs every check first, in the form's order, and only when all
// pass commits the values and counts the change. A failed check shows its
// message, puts the focus on its control and stores nothing.
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
#include "settings/copies.h"

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

  // ---- building (in description order) ----
  // Returns the box's index, or -1 when the box is not shown on this instance.
  int AddBox(const BoxBase& box);
  // Returns the item's index, or -1 when it is not shown on this instance.
  int AddItem(int box, const ItemBase& item);
  void AddEnableRule(const EnableRule& rule);
  void AddAction(const FormAction& action);
  // Ends building: layout, tab order, accessible names, enable rules.
  void Finish();

  // ---- values ----
  void Show(int item, const FieldValue& value);
  // Takes the control's state into value; leaves it unchanged when the
  // control shows no choice or still holds the text it was shown with.
  void Store(int item, FieldValue& value) const;
  // Runs the item's check; on failure shows its message and focuses it.
  bool Check(int item);
  // The position of item in the checking order.
  int OrderOf(int item) const;
  // Shows message (no icon) and focuses the control whose id is focusId.
  void Fail(const QString& message, int focusId);

  // The control whose objectName is id.
  QWidget* Control(int id) const;
  // Makes the label of item label name the control of item control.
  void SetBuddy(int label, int control);
  void SetAccessibleName(int item, const QString& name);
  // The code a choice control (radio group by its first button, or
  // drop-down) currently shows; -1 for none.
  int ChoiceCode(int id) const;

  void SetConfirm(std::function<bool()> confirm) { confirm_ = std::move(confirm); }

 protected:
  bool Confirm() override { return confirm_ ? confirm_() : true; }

 private:
  struct Bound;
  struct Rule;
  void ApplyRules();
  void Stepped(int editId);

  Session& session_;
  int instance_;
  QGridLayout* grid_;
  std::vector<QWidget*> boxes_;
  std::vector<int> boxRows_;
  std::vector<std::unique_ptr<Bound>> items_;
  std::vector<std::unique_ptr<Rule>> rules_;
  std::function<bool()> confirm_;
};

// A rule across fields, checked on the values that would be stored.
template <class Rec>
struct CrossCheck {
  std::function<bool(const Rec& values)> holds;
  QString message;
  PerInstance<int> focusId;
  int order = 0;  // place among the items' checks (see Item::Order)
};

// A whole form: the boxes of one dialog template and the rules around them.
// Root is the record in the store; Rec the part of it the items are bound to
// (the port of one instance, or Root itself).
template <class Root, class Rec>
struct FormDescription {
  PerInstance<QString> title;
  PerInstance<int> help;
  std::vector<FormBox<Rec>> boxes;
  // The part of root that instance edits.
  Rec& (*project)(Root& root, int instance) = nullptr;
  std::vector<EnableRule> enableRules;
  std::vector<CrossCheck<Rec>> crossChecks;
  // Derived values, applied to the values to be stored (choices left
  // without a selection keep the record's values, so the rules see what
  // will really be stored).
  std::function<void(Root& edited, int instance)> adjust;
  // Runs once the form shows its values (e.g. to lock a choice that
  // another part of the record rules out).
  std::function<void(FieldForm& form, const Root& working)> opened;
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

// Builds the form of description for instance, showing the working copy of copies.
template <class Root, class Rec>
std::unique_ptr<FieldForm> MakeFieldForm(QWidget* parent, Session& session,
                                         SettingsCopies<Root>& copies,
                                         const FormDescription<Root, Rec>& description,
                                         int instance = 0) {
  auto form =
      std::make_unique<FieldForm>(parent, session, description.title[instance],
                                  description.help[instance], instance, description.helpButton);
  struct Binding {
    int item;
    FieldRef<Rec> field;
    std::function<bool(const Rec&)> onlyWhen;
  };
  std::vector<Binding> bindings;
  for (const FormBox<Rec>& box : description.boxes) {
    const int b = form->AddBox(box);
    if (b < 0) continue;
    for (const Item<Rec>& item : box.items) {
      const int i = form->AddItem(b, item);
      if (i >= 0 && item.field.IsSet()) bindings.push_back({i, item.field, item.onlyWhen});
    }
  }
  for (const EnableRule& rule : description.enableRules) form->AddEnableRule(rule);
  for (const FormAction& action : description.actions) form->AddAction(action);
  const Rec& shown = description.project(copies.working, instance);
  for (const Binding& binding : bindings) form->Show(binding.item, ValueOf(binding.field, shown));
  form->Finish();
  if (description.opened) description.opened(*form, copies.working);

  FieldForm* self = form.get();
  form->SetConfirm([self, &session, &copies, &description, instance, bindings] {
    // The values the form would store, choices without a selection and
    // untouched texts keeping the record's values.
    Root edited = copies.working;
    Rec& values = description.project(edited, instance);
    for (const Binding& binding : bindings) {
      FieldValue value = ValueOf(binding.field, values);
      self->Store(binding.item, value);
      Assign(binding.field, values, value);
    }
    // Items that apply only under a condition of the values to be stored
    // keep the record's value otherwise (and are not checked).
    const Rec& before = description.project(copies.working, instance);
    std::vector<bool> skipped(bindings.size(), false);
    for (std::size_t k = 0; k < bindings.size(); ++k) {
      if (!bindings[k].onlyWhen || bindings[k].onlyWhen(values)) continue;
      skipped[k] = true;
      Assign(bindings[k].field, values, ValueOf(bindings[k].field, before));
    }
    if (description.adjust) description.adjust(edited, instance);

    // Every check first, in the form's order.
    struct Step {
      int order;
      std::function<bool()> run;
    };
    std::vector<Step> steps;
    for (std::size_t k = 0; k < bindings.size(); ++k) {
      if (skipped[k]) continue;
      steps.push_back({self->OrderOf(bindings[k].item), [self, item = bindings[k].item] {
                         return self->Check(item);
                       }});
    }
    for (const CrossCheck<Rec>& rule : description.crossChecks) {
      steps.push_back({rule.order, [self, &rule, &values, instance] {
                         if (rule.holds(values)) return true;
                         self->Fail(rule.message, rule.focusId.Empty() ? 0 : rule.focusId[instance]);
                         return false;
                       }});
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Step& a, const Step& b) { return a.order < b.order; });
    for (const Step& step : steps) {
      if (!step.run()) return false;
    }
    if (description.beforeCommit && !description.beforeCommit(*self, edited, copies.working))
      return false;
    if (description.keepBaseline) {
      copies.CommitKeepingBaseline(std::move(edited), session.state);
    } else {
      copies.Commit(std::move(edited), session.state);
    }
    return true;
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
