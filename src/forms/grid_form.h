// The generic form of a row table: one page of a list's entries, each row a
// row caption, edits and drop-down lists of the entry's declared fields,
// under column headings (the speed-dial list, the incoming-call table).
// Built on FieldForm, so it confirms the same way: every row's check first,
// top to bottom, the first failure's message and focus, and only when all
// pass one commit.
#pragma once

#include <QString>
#include <vector>

#include "forms/field_form.h"

namespace setutily {

template <class Entry>
struct GridColumn {
  ItemKind kind = ItemKind::kDropDown;  // kEdit (as its field is declared) or kDropDown
  QString header;
  FieldRef<Entry> field;
  std::vector<Option> options;  // drop-down items in code order
  int editChars = 0;            // width of an edit in characters
};

// Rows of a list's entries: instance k shows the k-th page of the list.
template <class Root, class Entry>
struct GridDescription {
  PerInstance<QString> title;
  PerInstance<int> help;
  ListView<Root, Entry> list;
  int halves = 1;                // groups of rows side by side
  std::vector<GridColumn<Entry>> columns;
  std::vector<std::vector<std::vector<int>>> ids;  // [instance][row][column]
  QString captionHeader;         // heading of the row-caption column ("Ｎｏ．")
  QString heading;               // a heading over some columns ("着信順位")
  int headingFirst = 0, headingColumns = 0;  // its first column (0: the first of columns) and span
  QString (*rowCaption)(int instance, int row) = nullptr;
  QString noteHead;              // "注意）"
  std::vector<QString> notes;    // the lines beside it
};

// "００" ... "１９": a number in full-width digits, two places.
QString FullWidthNumber(int number);

template <class Root, class Entry>
std::unique_ptr<FieldForm> MakeGridForm(QWidget* parent, Session& session,
                                        SettingsCopies<Root>& copies,
                                        const GridDescription<Root, Entry>& description,
                                        int instance = 0) {
  auto form = std::make_unique<FieldForm>(parent, session, description.title[instance],
                                          description.help[instance], instance);
  const ListView<Root, Entry>& list = description.list;
  const int rows = list.perInstance;
  const int columns = static_cast<int>(description.columns.size());
  const int perHalf = (rows + description.halves - 1) / description.halves;
  const int headerRow = description.heading.isEmpty() ? 0 : 1;
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
  for (int half = 0; half < description.halves; ++half) {
    const int base = half * (columns + 2);
    if (!description.heading.isEmpty()) {
      label(description.heading, 0, base + 1 + description.headingFirst,
            std::max(1, description.headingColumns));
    }
    if (!description.captionHeader.isEmpty()) label(description.captionHeader, headerRow, base);
    for (int c = 0; c < columns; ++c) label(description.columns[c].header, headerRow, base + 1 + c);
  }
  struct Binding {
    int item;
    int entry;
    FieldRef<Entry> field;
  };
  std::vector<Binding> bindings;
  for (int row = 0; row < rows; ++row) {
    const int base = (row / perHalf) * (columns + 2);
    const int line = headerRow + 1 + row % perHalf;
    const QString caption =
        description.rowCaption != nullptr ? description.rowCaption(instance, row) : QString();
    const int captionItem = caption.isEmpty() ? -1 : label(caption, line, base);
    const int entry = instance * rows + row;
    for (int c = 0; c < columns; ++c) {
      const GridColumn<Entry>& column = description.columns[static_cast<std::size_t>(c)];
      Item<Entry> item;
      item.kind = column.kind;
      item.field = column.field;
      item.options = column.options;
      item.id = description.ids[static_cast<std::size_t>(instance)][static_cast<std::size_t>(row)]
                               [static_cast<std::size_t>(c)];
      item.editChars = column.editChars;
      item.cell = std::make_pair(line, base + 1 + c);
      const int added = AddDeclaredItem(*form, box, item, *list.settings, instance,
                                        list.firstNumber + entry);
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
  if (!description.notes.empty()) {
    BoxBase notes;
    notes.row = 1;
    const int noteBox = form->AddBox(notes);
    ItemBase head;
    head.kind = ItemKind::kLabel;
    head.caption = description.noteHead;
    head.cell = std::make_pair(0, 0);
    form->AddItem(noteBox, head);
    for (std::size_t i = 0; i < description.notes.size(); ++i) {
      ItemBase line;
      line.kind = ItemKind::kLabel;
      line.caption = description.notes[i];
      line.cell = std::make_pair(static_cast<int>(i), 1);
      form->AddItem(noteBox, line);
    }
  }
  for (const Binding& binding : bindings) {
    form->Show(binding.item, ValueOf(binding.field, list.entry(copies.working, binding.entry)));
  }
  form->Finish();

  // Every row's check, top to bottom; nothing is stored unless all pass.
  FieldForm* self = form.get();
  Confirmation<Root> confirmation;
  confirmation.store = [self, bindings, entryOf = list.entry](Root& edited) {
    for (const Binding& binding : bindings) {
      Entry& entry = entryOf(edited, binding.entry);
      FieldValue value = ValueOf(binding.field, entry);
      self->Store(binding.item, value);
      Assign(binding.field, entry, value);
    }
  };
  for (const Binding& binding : bindings) {
    confirmation.checks.push_back([self, item = binding.item](const Root&) { return self->Check(item); });
  }
  form->SetConfirm([confirmation = std::move(confirmation), &copies, &session] {
    return RunConfirmation(confirmation, copies, session.state);
  });
  return form;
}

}  // namespace setutily
