// The generic form of a row table: rows of list entries, each a row caption,
// a telephone-number edit and drop-down lists, under column headings (the
// speed-dial list, the incoming-call table). Built on FieldForm, so it
// confirms the same way: every row's check first, top to bottom, the first
// failure's message and focus, and only when all pass one commit.
#pragma once

#include <QString>
#include <vector>

#include "forms/field_form.h"

namespace setutily {

template <class Entry>
struct GridColumn {
  ItemKind kind = ItemKind::kDropDown;  // kNumberEdit (a telephone number) or kDropDown
  QString header;
  FieldRef<Entry> field;
  std::vector<Option> options;  // drop-down items in code order
  int limit = 0;                // typing limit of an edit
  int editChars = 0;            // width of an edit in characters
};

template <class Root, class Entry>
struct GridSpec {
  PerInstance<QString> title;
  PerInstance<int> help;
  int rows = 10;                 // rows of one instance
  int halves = 1;                // groups of rows side by side
  PerInstance<int> firstEntry;   // the entry index shown in row 0
  std::vector<GridColumn<Entry>> columns;
  std::vector<std::vector<std::vector<int>>> ids;  // [instance][row][column]
  QString captionHeader;         // heading of the row-caption column ("Ｎｏ．")
  QString heading;               // a heading over some columns ("着信順位")
  int headingFirst = 0, headingColumns = 0;  // its first column (0: the first of columns) and span
  QString (*rowCaption)(int instance, int row) = nullptr;
  QString (*message)(int entryNumber) = nullptr;  // a rejected number (entries count from 1)
  QString noteHead;              // "注意）"
  std::vector<QString> notes;    // the lines beside it
  Entry& (*entry)(Root& root, int index) = nullptr;
};

// "００" ... "１９": a number in full-width digits, two places.
QString FullWidthNumber(int number);

template <class Root, class Entry>
std::unique_ptr<FieldForm> MakeGridForm(QWidget* parent, Session& session,
                                        SettingsCopies<Root>& copies,
                                        const GridSpec<Root, Entry>& spec, int instance = 0) {
  auto form = std::make_unique<FieldForm>(parent, session, spec.title[instance],
                                          spec.help[instance], instance);
  const int columns = static_cast<int>(spec.columns.size());
  const int perHalf = (spec.rows + spec.halves - 1) / spec.halves;
  const int headerRow = spec.heading.isEmpty() ? 0 : 1;
  BoxBase table;
  const int box = form->AddBox(table);
  auto label = [&](const QString& text, int row, int column, int span = 1) {
    ItemBase item;
    item.kind = ItemKind::kLabel;
    item.caption = text;
    item.cell = std::make_pair(row, column);
    item.cellColumns = span;
    return form->AddItem(box, item);
  };
  for (int half = 0; half < spec.halves; ++half) {
    const int base = half * (columns + 2);
    if (!spec.heading.isEmpty()) {
      label(spec.heading, 0, base + 1 + spec.headingFirst, std::max(1, spec.headingColumns));
    }
    if (!spec.captionHeader.isEmpty()) label(spec.captionHeader, headerRow, base);
    for (int c = 0; c < columns; ++c) label(spec.columns[c].header, headerRow, base + 1 + c);
  }
  struct Binding {
    int item;
    int entry;
    FieldRef<Entry> field;
  };
  std::vector<Binding> bindings;
  for (int row = 0; row < spec.rows; ++row) {
    const int base = (row / perHalf) * (columns + 2);
    const int line = headerRow + 1 + row % perHalf;
    const QString caption = spec.rowCaption != nullptr ? spec.rowCaption(instance, row) : QString();
    const int captionItem = caption.isEmpty() ? -1 : label(caption, line, base);
    const int entry = spec.firstEntry[instance] + row;
    for (int c = 0; c < columns; ++c) {
      const GridColumn<Entry>& column = spec.columns[static_cast<std::size_t>(c)];
      ItemBase item;
      item.kind = column.kind;
      item.options = column.options;
      item.id = spec.ids[static_cast<std::size_t>(instance)][static_cast<std::size_t>(row)]
                        [static_cast<std::size_t>(c)];
      item.limit = column.limit;
      item.editChars = column.editChars;
      item.cell = std::make_pair(line, base + 1 + c);
      if (column.kind == ItemKind::kNumberEdit) {
        item.check.kind = TextCheck::Kind::kPhone;
        if (spec.message != nullptr) item.message = spec.message(entry + 1);
      }
      const int added = form->AddItem(box, item);
      // The row caption names the row's first control; the others are
      // named by row and column.
      if (c == 0 && captionItem >= 0) {
        form->SetBuddy(captionItem, added);
      } else {
        form->SetAccessibleName(added, caption + QLatin1Char(' ') + column.header);
      }
      bindings.push_back({added, entry, column.field});
    }
  }
  if (!spec.notes.empty()) {
    BoxBase notes;
    notes.row = 1;
    const int noteBox = form->AddBox(notes);
    ItemBase head;
    head.kind = ItemKind::kLabel;
    head.caption = spec.noteHead;
    head.cell = std::make_pair(0, 0);
    form->AddItem(noteBox, head);
    for (std::size_t i = 0; i < spec.notes.size(); ++i) {
      ItemBase line;
      line.kind = ItemKind::kLabel;
      line.caption = spec.notes[i];
      line.cell = std::make_pair(static_cast<int>(i), 1);
      form->AddItem(noteBox, line);
    }
  }
  for (const Binding& binding : bindings) {
    form->Show(binding.item, ValueOf(binding.field, spec.entry(copies.working, binding.entry)));
  }
  form->Finish();

  FieldForm* self = form.get();
  form->SetConfirm([self, &session, &copies, &spec, bindings] {
    // Every row's check first, top to bottom; nothing is stored unless all pass.
    for (const Binding& binding : bindings) {
      if (!self->Check(binding.item)) return false;
    }
    Root edited = copies.working;
    for (const Binding& binding : bindings) {
      Entry& entry = spec.entry(edited, binding.entry);
      FieldValue value = ValueOf(binding.field, entry);
      self->Store(binding.item, value);
      Assign(binding.field, entry, value);
    }
    copies.Commit(std::move(edited), session.state);
    return true;
  });
  return form;
}

}  // namespace setutily
