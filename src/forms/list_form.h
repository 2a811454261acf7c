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
//       .title = ..., .help = 15,
//       .number = EntryNumber<NatEntry>(u"番号", 1456, 32).Message(...),
//       .values = {Address(u"ＬＡＮ側ＩＰアドレス", &NatEntry::private_address, 1457)
//                      .Required().Message(...), ...},
//       .used = &NatEntry::used, .entry = NatOf, .count = 32,
//       .listCaption = u"登録情報", .listId = 1461}
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

// The entry-number edit of a list form: digits only, 1 to count.
template <class Entry>
Item<Entry> EntryNumber(const char16_t* caption, PerInstance<int> id, int count) {
  return Edit<Entry>(ItemKind::kNumberEdit, caption, FieldRef<Entry>{}, std::move(id),
                     {TextCheck::Kind::kRange, 1, count});
}

template <class Root, class Entry>
struct ListFormDescription {
  PerInstance<QString> title;
  PerInstance<int> help;
  Item<Entry> number;               // EntryNumber(...)
  std::vector<Item<Entry>> values;  // bound to the entry's fields, checked in this order
  int Entry::*used = nullptr;       // 1 while the entry is in use
  Entry& (*entry)(Root& root, int index) = nullptr;  // index 0 is entry number 1
  int count = 0;
  QString listCaption;  // the read-only list of the entries in use
  int listId = 0;
  QString deleteCaption = QStringLiteral("削除");
  int deleteId = 1586;
};

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
  for (int k = 0; k < description.count; ++k) {
    const Entry& entry = description.entry(root, k);
    if (entry.*description.used == 0) continue;
    QString line = QString::number(k + 1) + QStringLiteral(": ");
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
  const int box = form->AddBox(BoxBase{});
  const int numberItem = form->AddItem(box, description.number);
  std::vector<int> valueItems;
  for (const Item<Entry>& value : description.values)
    valueItems.push_back(form->AddItem(box, value));
  auto editOf = [self, instance](const ItemBase& item) {
    return qobject_cast<DeviceLineEdit*>(self->Control(item.id[instance]));
  };
  editOf(description.number)->SetWholeInsertions(true);
  for (const Item<Entry>& value : description.values) {
    if (DeviceLineEdit* edit = editOf(value)) edit->SetWholeInsertions(true);
  }

  auto* caption = new QLabel(description.listCaption, form.get());
  auto* list = new list_form_detail::EntryList(form.get(), description.count);
  list->setObjectName(QString::number(description.listId));
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setPlainText(list_form_detail::EntryLines(description, copies.working));
  const QFontMetrics metrics = list->fontMetrics();
  list->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * 32,
                       metrics.lineSpacing() * 6 + 12);
  caption->setBuddy(list);
  form->Body()->addWidget(caption);
  form->Body()->addWidget(list, 1);

  // The entry number, once its check has passed (digits only, 1..count).
  auto numberOf = [self, &description, instance] {
    const QString text =
        qobject_cast<QLineEdit*>(self->Control(description.number.id[instance]))->text();
    return static_cast<int>(ParseLeadingNumber(ToDevice(text), 1, description.count));
  };
  form->SetConfirm([self, &session, &copies, &description, numberItem, valueItems, numberOf,
                    instance] {
    if (!self->Check(numberItem)) return false;
    for (int item : valueItems) {
      if (!self->Check(item)) return false;
    }
    Root edited = copies.working;
    Entry& entry = description.entry(edited, numberOf() - 1);
    for (const Item<Entry>& value : description.values) {
      const std::string typed = ToDevice(
          qobject_cast<QLineEdit*>(self->Control(value.id[instance]))->text());
      if (value.field.IsText()) {
        value.field.Text(entry) = typed;
      } else {
        value.field.Number(entry) = static_cast<int>(ParseLeadingNumber(typed, INT_MIN, INT_MAX));
      }
    }
    entry.*description.used = 1;
    copies.CommitKeepingBaseline(std::move(edited), session.state);
    return true;
  });
  form->AddConfirmButton(description.deleteCaption, description.deleteId,
                         [self, &session, &copies, &description, numberItem, numberOf] {
                           if (!self->Check(numberItem)) return false;
                           Root edited = copies.working;
                           description.entry(edited, numberOf() - 1).*description.used = 0;
                           copies.Commit(std::move(edited), session.state);
                           return true;
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
