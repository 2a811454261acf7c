// What a settings form is made of, as data: boxes placed on the form's grid,
// each holding items (edits, radio buttons, check boxes, drop-down lists,
// notes) bound to fields of a record, with their captions and resource ids.
// What an item's field takes (its check, typing limit of a text, display
// scale, blank, message) comes from the field's declaration in the form's
// write group (settings/setting.h); an item adds only layout. One
// description serves every instance of a form (TEL1/TEL2/TEL3, the four
// dial-up profiles): values that differ per instance are PerInstance columns.
//
//   Box(u"グローバル着信").At(2, 0).With(
//       Radios(&P::global_arrive, {{u"着信しない", {1112, 1195, 1242}},
//                                  {u"着信する", {1109, 1193, 1240}}}))
//   Box(u"番号登録").At(0, 0).With(
//       Edit(u"自己アドレス", &P::self_address, {1095, 1171, 1229}).Width(24))
//
// Items are checked in description order (boxes in order, items in order
// within a box) unless the form gives its checking order (FormDescription::
// order), a list of fields and rules.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/field_ref.h"
#include "settings/per_instance.h"

namespace setutily {

// A radio button, drop-down item or check box: caption and resource ids.
// Check boxes set the bits of mask in their field.
struct Option {
  Option(const char16_t* caption, PerInstance<int> id = {}, int mask = 0)
      : caption(QString::fromUtf16(caption)), id(std::move(id)), mask(mask) {}
  QString caption;  // "\n" breaks a radio button's caption onto a second line
  PerInstance<int> id;
  int mask;
};

// The check of an edit's text, run when the form is confirmed.
struct TextCheck {
  enum class Kind { kNone, kPhone, kRange, kAddress, kLength, kCustom };
  Kind kind = Kind::kNone;
  long long min = 0, max = 0;  // kRange: the value; kLength: max bytes
  int mode = 0;                // kAddress: 0 plain, 1 with "/prefix"
  bool required = false;       // an empty text fails
  std::function<bool(const std::string& deviceText)> accepts;  // kCustom (and extra rule)
};

enum class ItemKind {
  kEdit,          // an edit of a declared field: its declaration picks the kind below
  kNumberEdit,    // NumberEdit: digits and the dial/address characters
  kTextEdit,      // DeviceLineEdit: any text without control characters
  kPasswordEdit,  // DeviceLineEdit shown as dots
  kRadios,        // one radio button per code, in code order
  kChecks,        // check boxes, each setting its mask's bits
  kRadioBit,      // two radio buttons: the bits of mask clear (first) or set (second)
  kDropDown,      // one item per code; an unknown code shows no selection
  kNote,          // a muted remark
  kLabel,         // a plain caption (column headings)
  kRateLabel,     // a label computed from another item's value on every arrow step
};

// Everything about an item but the record field it is bound to.
struct ItemBase {
  ItemKind kind = ItemKind::kNote;
  QString caption;  // edits, drop-downs and radios: the label before them; notes: the text
  std::vector<Option> options;
  PerInstance<int> id;     // edit or drop-down
  PerInstance<int> limit;  // typing limit of an edit (0: none)
  TextCheck check;
  QString message;         // shown when the check fails
  QString unit;            // a label after the edit ("秒")
  Qt::Orientation orientation = Qt::Vertical;  // radios and check boxes
  int mask = 0;                                // kRadioBit
  // Arrows beside a number edit: they step the value of its first
  // readCharacters characters by arrowsStep between the bounds of its
  // setting (as shown), wrapping around.
  PerInstance<int> arrowsId;
  int readCharacters = 0;
  int arrowsStep = 1;
  int storeScale = 1;        // numbers: shown = stored x scale, stored = typed / scale
  QString shownEmptyFor;     // texts: this stored value is shown as an empty edit
  std::string storeEmptyAs;  // texts: an empty edit is stored as this value
  std::optional<std::pair<int, int>> cell;  // row, column inside a box laid out as a grid
  // Grid columns the item spans from its cell; a label spanning several
  // stands centred over them.
  int cellColumns = 1;
  // The accessible name of a control that has no caption of its own (a
  // cell of a table whose row and column headings name it).
  QString accessibleName;
  PerInstance<bool> shown = true;  // some instances leave the item out
  int editChars = 0;               // width of an edit in characters (0: by limit)
  // kRateLabel: the text for the value of its source's number edit.
  std::function<QString(int value)> format;
};

template <class Rec>
struct Item : ItemBase {
  FieldRef<Rec> field;
  // kRateLabel: the field whose number edit it is computed from.
  FieldRef<Rec> source;
  // When set, the item is checked and stored only while this holds for the
  // values the form would store (a bound that depends on a choice);
  // otherwise its field keeps the record's value.
  std::function<bool(const Rec& values)> onlyWhen;

  // Builders.
  Item Caption(const char16_t* text) && { caption = QString::fromUtf16(text); return std::move(*this); }
  // The typing limit of a number edit (a text edit types what its setting takes).
  Item Limit(PerInstance<int> chars) && { limit = std::move(chars); return std::move(*this); }
  Item Unit(const char16_t* text) && { unit = QString::fromUtf16(text); return std::move(*this); }
  Item Horizontal() && { orientation = Qt::Horizontal; return std::move(*this); }
  // Arrows that step the value of the edit's first chars characters by step.
  Item Arrows(PerInstance<int> ids, int chars, int step = 1) && {
    arrowsId = std::move(ids);
    readCharacters = chars;
    arrowsStep = step;
    return std::move(*this);
  }
  Item At(int row, int column, int columns = 1) && {
    cell = std::make_pair(row, column);
    cellColumns = columns;
    return std::move(*this);
  }
  Item Named(const char16_t* name) && {
    accessibleName = QString::fromUtf16(name);
    return std::move(*this);
  }
  Item ShownOn(PerInstance<bool> on) && { shown = std::move(on); return std::move(*this); }
  Item Width(int chars) && { editChars = chars; return std::move(*this); }
  Item OnlyWhen(std::function<bool(const Rec&)> holds) && {
    onlyWhen = std::move(holds);
    return std::move(*this);
  }
};

// An edit of a declared field: a number edit for numbers, telephone numbers
// and addresses, a text edit for other texts.
template <class Rec, class Field>
Item<Rec> Edit(const char16_t* caption, Field Rec::*field, PerInstance<int> id) {
  Item<Rec> item;
  item.kind = ItemKind::kEdit;
  if (caption != nullptr) item.caption = QString::fromUtf16(caption);
  item.field = field;
  item.id = std::move(id);
  return item;
}
// A text shown as dots.
template <class Rec>
Item<Rec> Password(const char16_t* caption, std::string Rec::*field, PerInstance<int> id) {
  Item<Rec> item = Edit(caption, field, std::move(id));
  item.kind = ItemKind::kPasswordEdit;
  return item;
}

template <class Rec>
Item<Rec> Radios(int Rec::*field, std::vector<Option> options) {
  Item<Rec> item;
  item.kind = ItemKind::kRadios;
  item.field = field;
  item.options = std::move(options);
  return item;
}
// Two radio buttons for the bits of mask: the first clears them, the second sets them.
template <class Rec>
Item<Rec> RadioBit(int Rec::*field, int mask, Option clear, Option set) {
  Item<Rec> item = Radios(field, {std::move(clear), std::move(set)});
  item.kind = ItemKind::kRadioBit;
  item.mask = mask;
  item.orientation = Qt::Horizontal;
  return item;
}
template <class Rec>
Item<Rec> Checks(int Rec::*field, std::vector<Option> options) {
  Item<Rec> item = Radios(field, std::move(options));
  item.kind = ItemKind::kChecks;
  item.orientation = Qt::Horizontal;
  return item;
}
template <class Rec>
Item<Rec> DropDown(const char16_t* caption, int Rec::*field, PerInstance<int> id,
                   std::vector<Option> items) {
  Item<Rec> item = Radios(field, std::move(items));
  item.kind = ItemKind::kDropDown;
  if (caption != nullptr) item.caption = QString::fromUtf16(caption);
  item.id = std::move(id);
  return item;
}
template <class Rec>
Item<Rec> Note(const char16_t* text) {
  Item<Rec> item;
  item.kind = ItemKind::kNote;
  item.caption = QString::fromUtf16(text);
  return item;
}
template <class Rec>
Item<Rec> Label(const char16_t* text) {
  Item<Rec> item = Note<Rec>(text);
  item.kind = ItemKind::kLabel;
  return item;
}
template <class Rec>
Item<Rec> RateLabel(PerInstance<int> id, int Rec::*source, std::function<QString(int)> format) {
  Item<Rec> item;
  item.kind = ItemKind::kRateLabel;
  item.id = std::move(id);
  item.source = source;
  item.format = std::move(format);
  return item;
}

// A group box (or, without a title, an unframed block) on the form's grid.
struct BoxBase {
  QString title;
  int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
  Qt::Orientation orientation = Qt::Vertical;  // how items without a cell follow each other
  PerInstance<bool> shown = true;
};

template <class Rec>
struct FormBox : BoxBase {
  std::vector<Item<Rec>> items;

  FormBox At(int r, int c, int rs = 1, int cs = 1) && {
    row = r;
    column = c;
    rowSpan = rs;
    columnSpan = cs;
    return std::move(*this);
  }
  template <class... Items>
  FormBox With(Items&&... more) && {
    (items.push_back(std::forward<Items>(more)), ...);
    return std::move(*this);
  }
  FormBox Horizontal() && { orientation = Qt::Horizontal; return std::move(*this); }
};

template <class Rec>
FormBox<Rec> Box(const char16_t* title = nullptr) {
  FormBox<Rec> box;
  if (title != nullptr) box.title = QString::fromUtf16(title);
  return box;
}

// A choice that enables or disables the controls of other fields as it changes.
template <class Rec>
struct EnableRule {
  FieldRef<Rec> source;                    // a field shown by radio buttons or a drop-down
  std::function<bool(int code)> enables;   // code: the choice's current code (-1: none)
  std::vector<FieldRef<Rec>> targets;      // the fields whose controls it enables
};

// A step of a form's checking order: the check of a field's item, or the
// rule across fields (of the form's group) that begins with the field.
template <class Rec>
struct CheckStep {
  CheckStep(std::string Rec::*text) : field(text) {}  // NOLINT: orders list fields
  CheckStep(int Rec::*number) : field(number) {}      // NOLINT
  FieldRef<Rec> field;
  bool rule = false;
};
template <class Rec, class Field>
CheckStep<Rec> RuleOn(Field Rec::*first) {
  CheckStep<Rec> step(first);
  step.rule = true;
  return step;
}

}  // namespace setutily
