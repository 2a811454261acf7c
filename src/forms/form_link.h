// How a menu button or a launch reaches a form and the write group behind
// it: both come from the form's description, so a form is written with the
// group its fields are declared in, and a setting the device did not take
// is told as the form names it (its title and the field's caption).
//
//   FormButton(session, u"ＴＥＬ１", 1005, 0, 0, Form(TelPortForm(), 0))
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "forms/grid_form.h"
#include "forms/list_form.h"
#include "forms/session.h"
#include "forms/setting_differences.h"

namespace setutily {

struct FormLink {
  // Builds the form (not yet shown).
  std::function<std::unique_ptr<QDialog>(QWidget* parent, Session& session)> open;
  // Writes what a confirmed form changed and reads it back.
  std::function<WriteOutcome(Session& session)> write;
};

// "「ISP」", or a placeholder ("（空欄）") as it stands.
QString QuotedValue(const QString& shown);

// The line that tells a setting the device did not take.
QString RefusalLine(const QString& form, const QString& caption, const QString& sent,
                    const QString& held);

// What result tells the user; describe adds the differences of the form's
// description between a view's working copy and its baseline (each a
// setting refused: the value sent against the device's). A form of which
// the device took nothing it was sent changed nothing to store.
template <class Root>
WriteOutcome OutcomeOf(Session& session, CheckedWrite<Root>& result,
                       const std::function<void(DifferenceList&, SettingsCopies<Root>&)>& describe) {
  if (result.written == 1 && !result.sent.empty() && result.refused.size() >= result.sent.size() &&
      session.state.pendingChangeCount > 0) {
    --session.state.pendingChangeCount;
  }
  WriteOutcome outcome;
  outcome.written = result.written;
  outcome.verified = result.readBack != 0;
  if (!outcome.verified) outcome.readFailure = QString::fromStdString(ReadFailureText(session.readFailure));
  if (result.refused.empty()) return outcome;
  DifferenceList refused;
  describe(refused, result.refusedView);
  for (const SettingDifference& setting : refused) {
    outcome.refused << RefusalLine(setting.form, setting.caption, setting.file, setting.device);
  }
  if (outcome.refused.isEmpty()) {  // no item of the form shows it: the commands tell it
    for (const RefusedCommand& command : result.refused) {
      outcome.refused << RefusalLine(QString(), QString(), FromDevice(command.command),
                                     FromDevice(command.deviceCommand));
    }
  }
  return outcome;
}

template <class Root, class Rec>
FormLink Form(const FormDescription<Root, Rec>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return OpenForm(parent, session, description, instance);
          },
          [&description, instance](Session& session) {
            CheckedWrite<Root> result = WriteGroupChecked(session, *description.group, instance);
            return OutcomeOf<Root>(session, result, [&](DifferenceList& out, SettingsCopies<Root>& view) {
              AddDifferences(out, view, description, instance + 1);
            });
          }};
}

template <class Root, class Entry>
FormLink Form(const ListFormDescription<Root, Entry>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return MakeListForm(parent, session, session.records.Of<Root>(), description, instance);
          },
          [&description, instance](Session& session) {
            CheckedWrite<Root> result = description.list.write(session, instance);
            return OutcomeOf<Root>(session, result, [&](DifferenceList& out, SettingsCopies<Root>& view) {
              AddDifferences(out, view, description, instance);
            });
          }};
}

template <class Root, class Entry>
FormLink Form(const GridDescription<Root, Entry>& description, int instance = 0) {
  return {[&description, instance](QWidget* parent, Session& session) -> std::unique_ptr<QDialog> {
            return MakeGridForm(parent, session, session.records.Of<Root>(), description, instance);
          },
          [&description, instance](Session& session) {
            CheckedWrite<Root> result = description.list.write(session, instance);
            return OutcomeOf<Root>(session, result, [&](DifferenceList& out, SettingsCopies<Root>& view) {
              AddDifferences(out, view, description, instance + 1);
            });
          }};
}

// A menu button that opens link's form and writes its group after it.
inline MenuButton FormButton(Session& session, const char16_t* caption, int id, int row,
                             int column, FormLink link) {
  return MenuButton{
      .caption = QString::fromUtf16(caption), .id = id, .row = row, .column = column,
      .open = [&session, open = link.open](QWidget* parent) { return open(parent, session); },
      .write = [&session, write = link.write] { return write(session); }};
}

// A main-window launch's show and write for a form of its own (speed dial,
// easy setup): the form runs modally; a confirmed form's group is written.
inline void LaunchForm(CategoryLaunch& launch, Session& session, FormLink link) {
  launch.show = [&session, open = link.open](QWidget* parent) {
    return open(parent, session)->exec() == QDialog::Accepted;
  };
  launch.write = [&session, write = link.write] { return write(session); };
}

}  // namespace setutily
