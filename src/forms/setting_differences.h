// Where the working copy of a record differs from its baseline, told as the
// forms show the settings: the form's title, the field's caption, and both
// values as the form would show them (a choice by its caption, a password
// as dots). The compare view lists them, each with the commands it causes.
//
// Every form kind is walked from its description, so a setting is named
// exactly as its form names it.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/field_form.h"
#include "forms/grid_form.h"
#include "forms/list_form.h"
#include "forms/form_parts.h"

namespace setutily {

struct SettingDifference {
  QString form;      // the form's title
  QString caption;   // the field's caption (or its box's title)
  QString device;    // the baseline's value, as the form shows it
  QString file;      // the working copy's value
  bool secret = false;   // a password: both values are dots
  std::string secretText;  // the working copy's password, to be hidden in commands
  // The setting's place (its field, and the bits of it the item shows), so
  // that a setting on two forms is told once.
  std::pair<const void*, int> where{nullptr, 0};
  // put(true) gives the working copy the baseline's value of this setting,
  // put(false) its own value back: what is sent without this difference.
  std::function<void(bool)> put;
};

using DifferenceList = std::vector<SettingDifference>;

namespace differences_detail {

// An empty value, an unknown choice: what the form shows for them.
inline QString Blank() { return QStringLiteral("（空欄）"); }

inline QString OptionText(const std::vector<Option>& options, int code) {
  if (code < 0 || code >= static_cast<int>(options.size())) {
    return code < 0 ? QStringLiteral("（未選択）") : QStringLiteral("（値 %1）").arg(code);
  }
  return QString(options[static_cast<std::size_t>(code)].caption).replace(u'\n', QString());
}

// The bits of a number field an item shows (0: the whole value).
inline int MaskOf(const ItemBase& item) {
  if (item.kind == ItemKind::kRadioBit) return item.mask;
  if (item.kind != ItemKind::kChecks) return 0;
  int all = 0;
  for (const Option& option : item.options) all |= option.mask;
  return all;
}

// The value as the item shows it.
inline QString Shown(const ItemBase& item, const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    QString shown = FromDevice(*text);
    if (!item.shownEmptyFor.isEmpty() && shown == item.shownEmptyFor) shown.clear();
    if (shown.isEmpty()) return Blank();
    if (item.kind == ItemKind::kPasswordEdit) return QString(shown.size(), u'●');
    return shown;
  }
  const int number = std::get<int>(value);
  switch (item.kind) {
    case ItemKind::kRadios:
    case ItemKind::kDropDown:
      return OptionText(item.options, number);
    case ItemKind::kRadioBit:
      return OptionText(item.options, (number & item.mask) != 0 ? 1 : 0);
    case ItemKind::kChecks: {
      QStringList checked;
      for (const Option& option : item.options) {
        if ((number & option.mask) == option.mask) checked << option.caption;
      }
      return checked.isEmpty() ? QStringLiteral("なし") : checked.join(QStringLiteral("、"));
    }
    default: {
      // A unit after a number ("秒"), without what follows it ("回　／").
      const QString unit = item.unit.section(u'　', 0, 0).trimmed();
      return QString::number(static_cast<long long>(number) * item.storeScale) + unit;
    }
  }
}

// The item as its form builds it, with what its field's declaration gives
// (the kind of edit, the display scale, the blank shown empty).
template <class Rec>
ItemBase Declared(const Item<Rec>& item, const Settings<Rec>& settings, int instance) {
  ItemBase look = item;
  if (const FieldDecl<Rec>* decl = DeclOf(settings, item.field)) DeclareItem(look, *decl, instance);
  return look;
}

// The caption naming an item: its own, its accessible name, its box's title.
inline QString CaptionOf(const ItemBase& item, const QString& box) {
  QString caption = !item.caption.isEmpty() ? item.caption : item.accessibleName;
  caption.replace(u'\n', QString());
  if (caption.isEmpty()) return box;
  if (box.isEmpty() || caption.contains(box)) return caption;
  return box + QStringLiteral("：") + caption;
}

// One difference of field (masked bits of a number) between rec's working
// copy and baseline, found through get (which projects a root to rec).
template <class Root, class Rec>
void AddField(DifferenceList& out, SettingsCopies<Root>& copies,
              std::function<Rec&(Root&)> get, const FieldRef<Rec>& field, const ItemBase& item,
              const QString& form, const QString& caption) {
  const int mask = MaskOf(item);
  Rec& working = get(copies.working);
  const Rec& baseline = get(copies.baseline);
  FieldValue now = ValueOf(field, working);
  FieldValue before = ValueOf(field, baseline);
  if (mask != 0) {
    now = std::get<int>(now) & mask;
    before = std::get<int>(before) & mask;
  }
  if (now == before) return;
  SettingDifference difference;
  difference.form = form;
  difference.caption = caption;
  difference.device = Shown(item, ValueOf(field, baseline));
  difference.file = Shown(item, ValueOf(field, working));
  difference.secret = item.kind == ItemKind::kPasswordEdit;
  if (difference.secret) difference.secretText = field.Text(working);
  const void* place = field.IsText() ? static_cast<const void*>(&field.Text(working))
                                     : static_cast<const void*>(&field.Number(working));
  difference.where = {place, mask};
  auto saved = std::make_shared<FieldValue>();
  difference.put = [&copies, get, field, mask, saved](bool toBaseline) {
    Rec& rec = get(copies.working);
    if (!toBaseline) {
      Assign(field, rec, *saved);
      return;
    }
    *saved = ValueOf(field, rec);
    FieldValue value = ValueOf(field, get(copies.baseline));
    if (mask != 0) {
      value = (std::get<int>(*saved) & ~mask) | (std::get<int>(value) & mask);
    }
    Assign(field, rec, value);
  };
  out.push_back(std::move(difference));
}

}  // namespace differences_detail

// The differences the forms of description show, instances 0 to instances - 1.
template <class Root, class Rec>
void AddDifferences(DifferenceList& out, SettingsCopies<Root>& copies,
                    const FormDescription<Root, Rec>& description, int instances = 1) {
  for (int instance = 0; instance < instances; ++instance) {
    const std::function<Rec&(Root&)> get = [&description, instance](Root& root) -> Rec& {
      return description.group->project(root, instance);
    };
    for (const FormBox<Rec>& box : description.boxes) {
      if (!box.shown[instance]) continue;
      for (const Item<Rec>& item : box.items) {
        if (!item.field.IsSet() || !item.shown[instance]) continue;
        differences_detail::AddField(out, copies, get, item.field,
                                     differences_detail::Declared(item, *description.group->settings,
                                                                  instance),
                                     description.title[instance],
                                     differences_detail::CaptionOf(item, box.title));
      }
    }
  }
}

// The differences of a row table: "<row caption> <column heading>".
template <class Root, class Entry>
void AddDifferences(DifferenceList& out, SettingsCopies<Root>& copies,
                    const GridDescription<Root, Entry>& description, int instances = 1) {
  for (int instance = 0; instance < instances; ++instance) {
    const ListView<Root, Entry>& list = description.list;
    for (int row = 0; row < list.perInstance; ++row) {
      const int index = instance * list.perInstance + row;
      const std::function<Entry&(Root&)> get = [&list, index](Root& root) -> Entry& {
        return list.entry(root, index);
      };
      const QString rowCaption =
          description.rowCaption != nullptr ? description.rowCaption(instance, row) : QString();
      for (const GridColumn<Entry>& column : description.columns) {
        Item<Entry> cell;
        cell.kind = column.kind;
        cell.options = column.options;
        cell.field = column.field;
        const ItemBase item = differences_detail::Declared(cell, *list.settings, instance);
        differences_detail::AddField(
            out, copies, get, column.field, item, description.title[instance],
            (description.captionHeader + rowCaption + u' ' + column.header).trimmed());
      }
    }
  }
}

// The differences of a numbered list: one per entry, its values together
// ("（未登録）" for an entry not in use).
template <class Root, class Entry>
void AddDifferences(DifferenceList& out, SettingsCopies<Root>& copies,
                    const ListFormDescription<Root, Entry>& description, int instances = 1) {
  // A list form has one instance: the whole list.
  (void)instances;
  const int instance = 0;
  const ListView<Root, Entry>& list = description.list;
  const FieldRef<Entry> used = InUseFlag(*list.settings);
  auto shown = [&description, &list, used](const Entry& entry) {
    if (used.Number(entry) == 0) return QStringLiteral("（未登録）");
    QStringList values;
    for (const Item<Entry>& value : description.values) {
      values << differences_detail::Shown(
          differences_detail::Declared(value, *list.settings, /*instance=*/0),
          ValueOf(value.field, entry));
    }
    return values.join(QStringLiteral(", "));
  };
  for (int k = 0; k < list.count; ++k) {
    Entry& working = list.entry(copies.working, k);
    const Entry& baseline = list.entry(copies.baseline, k);
    const QString now = shown(working), before = shown(baseline);
    if (now == before) continue;
    SettingDifference difference;
    difference.form = description.title[instance];
    difference.caption =
        QStringLiteral("%1 %2").arg(description.number.caption).arg(list.firstNumber + k);
    difference.device = before;
    difference.file = now;
    difference.where = {&working, 0};
    auto saved = std::make_shared<Entry>();
    difference.put = [&copies, &list, k, saved](bool toBaseline) {
      Entry& entry = list.entry(copies.working, k);
      if (toBaseline) {
        *saved = entry;
        entry = list.entry(copies.baseline, k);
      } else {
        entry = *saved;
      }
    };
    out.push_back(std::move(difference));
  }
}

}  // namespace setutily
