// What a settings form is made of, as data: boxes placed on the form's grid,
// each holding items (edits, radio buttons, check boxes, drop-down lists,
// notes) bound to fields of a record, with their resource ids, typing
// limits, checks and messages. One description serves every instance of a
// form (TEL1/TEL2/TEL3, the four dial-up profiles): values that differ per
// instance are PerInstance columns.
//
//   Box(u"グローバル着信").At(2, 0).With(
//       Radios(&P::global_arrive, {{u"着信しない", {1112, 1195, 1242}},
//                                  {u"着信する", {1109, 1193, 1240}}}))
//   Box(u"番号登録").At(0, 0).With(
//       Phone(u"自己アドレス", &P::self_address, {1095, 1171, 1229})
//           .Limit({53, 51, 51}).Message(u"自己アドレスの入力に間違いがあります。"))
//
// Items are checked and stored in description order (boxes in order, items
// in order within a box); Order() moves an item earlier or later when the
// form's checking order differs from its layout.
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
  // readCharacters characters, divided by scale, by one between min and
  // max, wrapping around, and show the result times scale.
  PerInstance<int> arrowsId;
  int readCharacters = 0;
  int arrowsMin = 0, arrowsMax = 0, arrowsScale = 1;
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
  int order = 0;                   // checking order (stable in description order)
  int editChars = 0;               // width of an edit in characters (0: by limit)
  // kRateLabel: the text for the value of the number edit with id source.
  PerInstance<int> source;
  std::function<QString(int value)> format;
};

template <class Rec>
struct Item : ItemBase {
  FieldRef<Rec> field;
  // When set, the item is checked and stored only while this holds for the
  // values the form would store (a bound that depends on a choice);
  // otherwise its field keeps the record's value.
  std::function<bool(const Rec& values)> onlyWhen;

  // Builders.
  Item Caption(const char16_t* text) && { caption = QString::fromUtf16(text); return std::move(*this); }
  Item Limit(PerInstance<int> chars) && { limit = std::move(chars); return std::move(*this); }
  Item Message(const char16_t* text) && { message = QString::fromUtf16(text); return std::move(*this); }
  Item Unit(const char16_t* text) && { unit = QString::fromUtf16(text); return std::move(*this); }
  Item Required() && { check.required = true; return std::move(*this); }
  Item Accepts(std::function<bool(const std::string&)> fn) && {
    check.accepts = std::move(fn);
    return std::move(*this);
  }
  Item Horizontal() && { orientation = Qt::Horizontal; return std::move(*this); }
  Item Arrows(PerInstance<int> ids, int chars, int min, int max, int scale = 1) && {
    arrowsId = std::move(ids);
    readCharacters = chars;
    arrowsMin = min;
    arrowsMax = max;
    arrowsScale = scale;
    return std::move(*this);
  }
  Item StoreScale(int scale) && { storeScale = scale; return std::move(*this); }
  Item EmptyFor(const char16_t* stored) && {
    shownEmptyFor = QString::fromUtf16(stored);
    return std::move(*this);
  }
  Item EmptyAs(std::string stored) && { storeEmptyAs = std::move(stored); return std::move(*this); }
  // Shown empty for stored, and an empty edit stored as stored again.
  Item EmptyMeans(const char16_t* stored) && {
    shownEmptyFor = QString::fromUtf16(stored);
    storeEmptyAs = shownEmptyFor.toStdString();
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
  Item Order(int position) && { order = position; return std::move(*this); }
  Item Width(int chars) && { editChars = chars; return std::move(*this); }
  Item OnlyWhen(std::function<bool(const Rec&)> holds) && {
    onlyWhen = std::move(holds);
    return std::move(*this);
  }
};

template <class Rec>
Item<Rec> Edit(ItemKind kind, const char16_t* caption, FieldRef<Rec> field, PerInstance<int> id,
               TextCheck check) {
  Item<Rec> item;
  item.kind = kind;
  if (caption != nullptr) item.caption = QString::fromUtf16(caption);
  item.field = field;
  item.id = std::move(id);
  item.check = std::move(check);
  return item;
}

// A telephone number (the number check), in a NumberEdit.
template <class Rec>
Item<Rec> Phone(const char16_t* caption, std::string Rec::*field, PerInstance<int> id) {
  return Edit<Rec>(ItemKind::kNumberEdit, caption, field, std::move(id),
                   {TextCheck::Kind::kPhone});
}
// A decimal number in [min, max], in a NumberEdit.
template <class Rec>
Item<Rec> Number(const char16_t* caption, int Rec::*field, PerInstance<int> id, long long min,
                 long long max) {
  return Edit<Rec>(ItemKind::kNumberEdit, caption, field, std::move(id),
                   {TextCheck::Kind::kRange, min, max});
}
// An IPv4 address (mode 0) or an address with "/prefix" (mode 1), in a NumberEdit.
template <class Rec>
Item<Rec> Address(const char16_t* caption, std::string Rec::*field, PerInstance<int> id,
                  int mode = 0) {
  return Edit<Rec>(ItemKind::kNumberEdit, caption, field, std::move(id),
                   {TextCheck::Kind::kAddress, 0, 0, mode});
}
// Free text of at most maxBytes device bytes (0: no limit of its own).
template <class Rec>
Item<Rec> TextEdit(const char16_t* caption, std::string Rec::*field, PerInstance<int> id,
                   long long maxBytes = 0) {
  return Edit<Rec>(ItemKind::kTextEdit, caption, field, std::move(id),
                   {maxBytes > 0 ? TextCheck::Kind::kLength : TextCheck::Kind::kNone, 0,
                    maxBytes});
}
template <class Rec>
Item<Rec> Password(const char16_t* caption, std::string Rec::*field, PerInstance<int> id,
                   long long maxBytes = 0) {
  Item<Rec> item = TextEdit(caption, field, std::move(id), maxBytes);
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
Item<Rec> RateLabel(PerInstance<int> id, PerInstance<int> source, std::function<QString(int)> format) {
  Item<Rec> item;
  item.kind = ItemKind::kRateLabel;
  item.id = std::move(id);
  item.source = std::move(source);
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

// A choice that enables or disables other controls as it changes.
struct EnableRule {
  PerInstance<int> sourceId;           // the first radio button or the drop-down of the choice
  std::function<bool(int code)> enables;  // code: the choice's current code (-1: none)
  std::vector<PerInstance<int>> targets;  // ids of the controls it enables
};

}  // namespace setutily
