// Reading a category's record from its show replies through the settings'
// declarations (settings/setting.h): every field with a reply label takes
// the value after it, parsed with the value-reading pattern of text/scan.h.
//
// A reply that holds the device's error line, or none of the labels its
// page reads, is no settings page: the read fails (CheckPage), so nothing
// is made up from it. A label missing from an otherwise whole page gives an
// empty text or the number 0.
// Numbers are clamped into the width the device prints them in (never
// wrapped) and then adjusted. Texts keep as many bytes as the setting takes
// (at least kMaxValueLength), so a value the forms and files take in full
// is read back in full.
//
//   ReadFields(reply, settings, record, "tel1")
//   ReadPairList(reply, settings, entries)   a list of "N: a, b" lines
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/setting.h"
#include "text/scan.h"

namespace setutily {

namespace read_detail {

template <class Record>
int NumberOf(const FieldDecl<Record>& decl, std::string_view text) {
  int number = static_cast<int>(ParseLeadingNumber(text, decl.readMin, decl.readMax));
  return decl.adjust != nullptr ? decl.adjust(number) : number;
}

template <class Record>
void ReadOne(std::string_view reply, const FieldDecl<Record>& decl, Record& record) {
  std::string value = ReadTextValue(reply, decl.label, decl.Cut());
  if (!decl.label2.empty()) {
    value += decl.joiner;
    value += ReadTextValue(reply, decl.label2, decl.Cut());
    if (value.size() > decl.Cut()) value.resize(decl.Cut());
  }
  if (decl.field.IsText()) {
    decl.field.Text(record) = std::move(value);
  } else {
    decl.field.Number(record) = NumberOf(decl, value);
  }
}

}  // namespace read_detail

// Fills record from one reply: every declared field with a label, for the
// settings the scope has.
template <class Record>
void ReadFields(std::string_view reply, const Settings<Record>& settings, Record& record,
                std::string_view scope = {}) {
  for (const Setting<Record>& setting : settings) {
    if (!setting.On(scope) || setting.fields.empty()) continue;
    if (setting.separator != 0 && setting.fields.size() == 2) {
      const FieldDecl<Record>& first = setting.fields[0];
      const std::string value = ReadTextValue(reply, first.label, first.Cut());
      std::string_view before = value;
      std::string_view after;
      const std::size_t at = before.find(setting.separator);
      if (at != std::string_view::npos) {
        after = before.substr(at + 1);
        before = before.substr(0, at);
        after = after.substr(0, after.find(setting.separator));
      }
      first.field.Number(record) = read_detail::NumberOf(first, before);
      setting.fields[1].field.Number(record) = read_detail::NumberOf(setting.fields[1], after);
      continue;
    }
    for (const FieldDecl<Record>& decl : setting.fields) {
      if (!decl.label.empty()) read_detail::ReadOne(reply, decl, record);
    }
  }
}

// A numbered list whose entries are printed as lines "N: first, second"
// (indented, at a line start; see FindListLine), declared by the list's
// Presence setting: its in-use flag and its two texts.
//
// Fills entries (numbered from firstNumber) from reply. An entry with a
// line takes the text before the line's first comma as first and the text
// after it, up to the next comma, as second (each cut to what its setting
// takes, blanks around it removed) and is marked in use. An entry without a
// line, or whose line has no comma, is marked unused and keeps its texts.
template <class Entries, class Entry = typename Entries::value_type>
void ReadPairList(std::string_view reply, const Settings<Entry>& settings, Entries& entries,
                  int firstNumber = 1) {
  const auto list = std::find_if(settings.begin(), settings.end(), [](const auto& s) {
    return s.kind == Setting<Entry>::Kind::kPresence && s.fields.size() == 3;
  });
  if (list == settings.end()) return;
  const FieldDecl<Entry>& used = list->fields[0];
  const FieldDecl<Entry>& first = list->fields[1];
  const FieldDecl<Entry>& second = list->fields[2];
  for (std::size_t k = 0; k < entries.size(); ++k) {
    Entry& entry = entries[k];
    used.field.Number(entry) = 0;
    const std::optional<std::string_view> line =
        FindListLine(reply, firstNumber + static_cast<int>(k));
    if (!line) continue;
    const std::size_t comma = line->find(',');
    if (comma == std::string_view::npos) continue;
    std::string_view rest = line->substr(comma + 1);
    rest = rest.substr(0, rest.find(','));
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    first.field.Text(entry) = std::string(TrimSpace(line->substr(0, std::min(comma, first.Cut()))));
    second.field.Text(entry) = std::string(TrimSpace(rest.substr(0, second.Cut())));
    used.field.Number(entry) = 1;
  }
}

// Whether the reply in context.replyText can be command's page for
// settings: it holds no error line of the device and, when labelsRequired
// and the settings read labels, at least one of them; a list's page
// (labelsRequired false) holds a list line or, empty, no other text
// (CouldBeListPage). 1, or 0 with context.readFailure set.
template <class Record>
int CheckPage(DeviceContext& context, std::string_view command, const Settings<Record>& settings,
              std::string_view scope = {}, bool labelsRequired = true) {
  const std::string_view reply = context.replyText;
  bool labelled = false, found = false;
  for (const Setting<Record>& setting : settings) {
    if (!setting.On(scope)) continue;
    for (const FieldDecl<Record>& decl : setting.fields) {
      for (std::string_view label : {decl.label, decl.label2}) {
        if (label.empty()) continue;
        labelled = true;
        found = found || FindText(VisibleText(reply), label, 0) != 0;
      }
    }
  }
  ReadFailure::Kind problem = ReadFailure::Kind::kNone;
  if (HoldsErrorLine(VisibleText(reply))) {
    problem = ReadFailure::Kind::kRefused;
  } else if (labelsRequired ? labelled && !found : !CouldBeListPage(reply, command)) {
    problem = ReadFailure::Kind::kNotAPage;
  }
  if (problem == ReadFailure::Kind::kNone) return 1;
  if (!command.empty() && command.back() == '\r') command.remove_suffix(1);
  context.readFailure = {problem, std::string(command)};
  return 0;
}

// FetchReply and CheckPage, then ReadFields from the reply. 1 or 0 (record
// untouched on 0).
template <class Record>
int ReadShow(DeviceContext& context, std::string_view command, const Settings<Record>& settings,
             Record& record, std::string_view scope = {}) {
  if (FetchReply(context, command) == 0 || CheckPage(context, command, settings, scope) == 0) {
    return 0;
  }
  ReadFields(context.replyText, settings, record, scope);
  return 1;
}

}  // namespace setutily
