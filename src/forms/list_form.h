// The generic form of a numbered list (the static NAT table, the host
// table): an entry-number edit, the edits of one entry's values, a read-only
// list of the entries in use, one "N: value, value" line each, and two
// confirming buttons:
//
// - "登録" adds or replaces the entry: the number, then every value in
//   order, is checked first; only when all pass does the entry take the
//   values as typed and count as in use. The baseline is left as it is, so
//   entries added or deleted since its last refresh are sent again with
//   this one.
// - "削除" checks the number only and takes the entry out of use (its texts
//   stay), refreshing the baseline as every other form does.
//
// The edits start empty and refuse a paste that does not fit whole: a text
// is checked as typed, never cut first ("00012" is never entry 1).
//
//   ListFormDescription<RouterSettings, NatEntry>{
//       .title = ..., .help = 15, .list = ViewOf(NatList()),
//       .number = EntryNumber<NatEntry>(u"番号", 1456).Limit(4),
//       .values = {Edit(u"ＬＡＮ側ＩＰアドレス", &NatEntry::private_address, 1457), ...},
//       .listCaption = u"登録情報", .listId = 1461}
//
// The entry number takes 1 to the list's count; the values take what their
// fields' declarations take; the in-use flag is the list's Presence flag.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QString>
#include <QVBoxLayout>
#include <climits>
#include <memory>
#include <vector>

#include "forms/field_form.h"
#include "forms/form_parts.h"
#include "forms/line_edits.h"
#include "forms/session.h"
#include "text/scan.h"

namespace setutily {

// The entry-number edit of a list form (digits only; the list's numbers).
template <class Entry>
Item<Entry> EntryNumber(const char16_t* caption, PerInstance<int> id) {
  Item<Entry> item;
  item.kind = ItemKind::kNumberEdit;
  item.caption = QString::fromUtf16(caption);
  item.id = std::move(id);
  return item;
}

template <class Root, class Entry>
struct ListFormDescription {
  PerInstance<QString> title;
  PerInstance<int> help;
  ListView<Root, Entry> list;
  Item<Entry> number;               // EntryNumber(...)
  std::vector<Item<Entry>> values;  // bound to the entry's fields, checked in this order
  QString listCaption;  // the read-only list of the entries in use
  int listId = 0;
  QString deleteCaption = QStringLiteral("削除");
  int deleteId = 1586;
};

// The in-use flag of a list's entries: the first field of its Presence setting.
template <class Entry>
FieldRef<Entry> InUseFlag(const Settings<Entry>& settings) {
  for (const Setting<Entry>& setting : settings) {
    if (setting.kind == Setting<Entry>::Kind::kPresence) return setting.fields.front().field;
  }
  return {};
}

namespace list_form_detail {

// The read-only list, as tall as the whole list when the screen allows.
class EntryList : public QPlainTextEdit {
 public:
  EntryList(QWidget* parent, int lines) : QPlainTextEdit(parent), lines_(lines) {}
  QSize sizeHint() const override {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QLatin1Char('0')) * 52,
            metrics.lineSpacing() * (lines_ + 1) + 2 * frameWidth()};
  }

 private:
  int lines_;
};

// The entries in use, "N: value, value" a line, in entry order.
template <class Root, class Entry>
QString EntryLines(const ListFormDescription<Root, Entry>& description, Root& root) {
  QString lines;
  const FieldRef<Entry> used = InUseFlag(*description.list.settings);
  for (int k = 0; k < description.list.count; ++k) {
    const Entry& entry = description.list.entry(root, k);
    if (used.Number(entry) == 0) continue;
    QString line = QString::number(description.list.firstNumber + k) + QStringLiteral(": ");
    for (std::size_t v = 0; v < description.values.size(); ++v) {
      const FieldRef<Entry>& field = description.values[v].field;
      if (v > 0) line += QStringLiteral(", ");
      line += field.IsText() ? FromDevice(field.Text(entry)) : QString::number(field.Number(entry));
    }
    if (!lines.isEmpty()) lines += u'\n';
    lines += line;
  }
  return lines;
}

}  // namespace list_form_detail

template <class Root, class Entry>
std::unique_ptr<FieldForm> MakeListForm(QWidget* parent, Session& session,
                                        SettingsCopies<Root>& copies,
                                        const ListFormDescription<Root, Entry>& description,
                                        int instance = 0) {
  auto form = std::make_unique<FieldForm>(parent, session, description.title[instance],
                                          description.help[instance], instance);
  FieldForm* self = form.get();
  const ListView<Root, Entry>& list = description.list;
  const int box = form->AddBox(BoxBase{});
  Item<Entry> number = description.number;
  number.check = {TextCheck::Kind::kRange, list.firstNumber, list.firstNumber + list.count - 1};
  if (list.numberMessage != nullptr) number.message = QString::fromUtf16(list.numberMessage);
  const int numberItem = form->AddItem(box, number);
  std::vector<int> valueItems;
  for (const Item<Entry>& value : description.values) {
    valueItems.push_back(AddDeclaredItem(*form, box, value, *list.settings, instance));
  }
  auto editOf = [self](int item) { return qobject_cast<DeviceLineEdit*>(self->ItemControl(item)); };
  editOf(numberItem)->SetWholeInsertions(true);
  for (int item : valueItems) {
    if (DeviceLineEdit* edit = editOf(item)) edit->SetWholeInsertions(true);
  }

  auto* caption = new QLabel(description.listCaption, form.get());
  auto* entries = new list_form_detail::EntryList(form.get(), list.count);
  entries->setObjectName(QString::number(description.listId));
  entries->setReadOnly(true);
  entries->setLineWrapMode(QPlainTextEdit::NoWrap);
  entries->setPlainText(list_form_detail::EntryLines(description, copies.working));
  const QFontMetrics metrics = entries->fontMetrics();
  entries->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * 32,
                          metrics.lineSpacing() * 6 + 12);
  caption->setBuddy(entries);
  form->Body()->addWidget(caption);
  form->Body()->addWidget(entries, 1);

  // The entry the number names (checked before anything is stored).
  auto indexOf = [self, numberItem, &description] {
    const ListView<Root, Entry>& view = description.list;
    const QString text = qobject_cast<QLineEdit*>(self->ItemControl(numberItem))->text();
    return static_cast<int>(ParseLeadingNumber(ToDevice(text), view.firstNumber,
                                               view.firstNumber + view.count - 1)) -
           view.firstNumber;
  };
  const FieldRef<Entry> used = InUseFlag(*list.settings);
  // "登録": the number and every value checked; the entry takes the values
  // as typed and is in use. The baseline stays.
  Confirmation<Root> add;
  add.keepBaseline = true;
  add.checks.push_back([self, numberItem](const Root&) { return self->Check(numberItem); });
  for (int item : valueItems) {
    add.checks.push_back([self, item](const Root&) { return self->Check(item); });
  }
  add.store = [self, &description, valueItems, indexOf, used](Root& edited) {
    Entry& entry = description.list.entry(edited, indexOf());
    for (std::size_t v = 0; v < description.values.size(); ++v) {
      const FieldRef<Entry>& field = description.values[v].field;
      const std::string typed =
          ToDevice(qobject_cast<QLineEdit*>(self->ItemControl(valueItems[v]))->text());
      if (field.IsText()) {
        field.Text(entry) = typed;
      } else {
        field.Number(entry) = static_cast<int>(ParseLeadingNumber(typed, INT_MIN, INT_MAX));
      }
    }
    used.Number(entry) = 1;
  };
  form->SetConfirm([add = std::move(add), &copies, &session] {
    return RunConfirmation(add, copies, session.state);
  });
  // "削除": the number alone; the entry is out of use (its texts stay).
  Confirmation<Root> remove;
  remove.checks.push_back([self, numberItem](const Root&) { return self->Check(numberItem); });
  remove.store = [&description, indexOf, used](Root& edited) {
    used.Number(description.list.entry(edited, indexOf())) = 0;
  };
  form->AddConfirmButton(description.deleteCaption, description.deleteId,
                         [remove = std::move(remove), &copies, &session] {
                           return RunConfirmation(remove, copies, session.state);
                         });
  form->Finish();
  return form;
}

// MakeListForm on the record of the run's store.
template <class Root, class Entry>
std::unique_ptr<FieldForm> OpenListForm(QWidget* parent, Session& session,
                                        const ListFormDescription<Root, Entry>& description,
                                        int instance = 0) {
  return MakeListForm(parent, session, session.records.Of<Root>(), description, instance);
}

}  // namespace setutily
