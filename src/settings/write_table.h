// Writing a category's record, table-driven: a write table lists a group's
// fields in sending order, each with its command(s). A field is sent only
// when its working value differs from the baseline.
//
// Commands are device texts in which "%s" takes a text value and "%d" a
// number (FormatCommand refuses texts with control bytes), and "{}" stands
// for the scope the table is walked for: the port of a per-port table
// ("tel1"), the entry number of a numbered list ("12"), and so on. One table
// therefore serves every port or entry.
//
//   SendText(&P::self_address, "analog address {} %s\r")
//   SendNumber(&P::dial_time, "analog dial_time {} %d\r")
//   SendChoice(&P::port_mode, {"... voice\r", "... audio\r"})   command per code
//   SendTwoChoice(&R::beep, "router beep disable\r", "router beep enable\r")
//   SendTogether("dns address %s,%s\r", &D::primary, &D::secondary).EmptyAs("0.0.0.0")
//   SendBits(&B::arrive_flags, {{"... add auto\r", "... add reject\r"}, ...})
//   SendPresence(&E::used, "nat add {} %s,%s\r", "nat del {}\r", &E::a, &E::b)
//   SendWhen(ClearRequested, {"connect charge\r", "connect time\r"})
//   ....AfterSent(fn)   runs once the command was answered
//   ....OnlyIf(fn)      due only while fn holds for the working record
#pragma once

#include <climits>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/field_ref.h"
#include "text/scan.h"

namespace setutily {

template <class Record>
struct WriteField {
  enum class Kind {
    kValues,     // one command, "%s"/"%d" filled with the fields' values in order
    kChoice,     // commands[code]; a code without a command sends nothing
    kTwoChoice,  // commands[0] for code 0, commands[1] for any other code
    kBits,       // per bit k of the field, commands[2k] when set, commands[2k+1] when clear
    kPresence,   // fields[0] is an in-use flag: commands[0] with the other fields when
                 // in use, commands[1] when not; sent when the flag differs, or when in
                 // use in both copies and another field differs
    kWhen,       // commands in order whenever when(state) holds; fields are not compared
  };
  WriteField(Kind kind, std::vector<FieldRef<Record>> fields,
             std::vector<std::string_view> commands)
      : kind(kind), fields(std::move(fields)), commands(std::move(commands)) {}

  Kind kind = Kind::kValues;
  // Compared with the baseline; the command goes out when any of them differs.
  std::vector<FieldRef<Record>> fields;
  std::vector<std::string_view> commands;
  // kValues: an empty text value is sent as this text when it is not empty
  // (address pairs send "0.0.0.0" for an empty address).
  std::string_view emptyAs;
  bool (*when)(const RunState& state) = nullptr;
  // Runs once the entry's command was answered.
  void (*afterSent)(RunState& state) = nullptr;
  // When set, the entry is due only while onlyIf(working) holds (settings
  // that mean nothing under another choice of the same record).
  bool (*onlyIf)(const Record& working) = nullptr;
  // The values a configuration file may give (the forms check the same):
  // numbers within [min, max], texts of at most maxBytes bytes that accepts
  // (when set) takes.
  long long min = LLONG_MIN, max = LLONG_MAX;
  // Bounds per field, in field order, for entries whose numbers differ in
  // range ("connect number %d/%d"); a field without one takes [min, max].
  std::vector<std::pair<long long, long long>> ranges;
  std::size_t maxBytes = kMaxValueLength;
  bool (*accepts)(std::string_view text) = nullptr;
  // Checks value by value (the fields after a presence entry's flag), in
  // place of accepts for the values they cover.
  std::vector<bool (*)(std::string_view text)> acceptsEach;

  WriteField EmptyAs(std::string_view text) && {
    emptyAs = text;
    return std::move(*this);
  }
  WriteField AfterSent(void (*fn)(RunState&)) && {
    afterSent = fn;
    return std::move(*this);
  }
  WriteField OnlyIf(bool (*fn)(const Record&)) && {
    onlyIf = fn;
    return std::move(*this);
  }
  WriteField Range(long long low, long long high) && {
    min = low;
    max = high;
    return std::move(*this);
  }
  WriteField Ranges(std::vector<std::pair<long long, long long>> perField) && {
    ranges = std::move(perField);
    return std::move(*this);
  }
  WriteField MaxBytes(std::size_t bytes) && {
    maxBytes = bytes;
    return std::move(*this);
  }
  WriteField Accepts(bool (*fn)(std::string_view)) && {
    accepts = fn;
    return std::move(*this);
  }
  WriteField AcceptsEach(std::vector<bool (*)(std::string_view)> fns) && {
    acceptsEach = std::move(fns);
    return std::move(*this);
  }
};

// Checks for WriteField::Accepts.
bool PhoneText(std::string_view text);             // a telephone number (may be empty)
bool AddressText(std::string_view text);           // a dotted address (may be empty)
bool PrefixedAddressText(std::string_view text);   // an address with "/prefix" (may be empty)

template <class Record>
using WriteTable = std::vector<WriteField<Record>>;

template <class Record>
WriteField<Record> SendText(std::string Record::*field, std::string_view command) {
  return {WriteField<Record>::Kind::kValues, {field}, {command}};
}
template <class Record>
WriteField<Record> SendNumber(int Record::*field, std::string_view command) {
  return {WriteField<Record>::Kind::kValues, {field}, {command}};
}
// Several fields in one command, sent when any of them differs.
template <class Record, class... Fields>
WriteField<Record> SendTogether(std::string_view command, Fields Record::*... fields) {
  return {WriteField<Record>::Kind::kValues, {FieldRef<Record>(fields)...}, {command}};
}
// One command per code, in code order.
template <class Record>
WriteField<Record> SendChoice(int Record::*field, std::vector<std::string_view> commands) {
  return {WriteField<Record>::Kind::kChoice, {field}, std::move(commands)};
}
// The first command for 0, the second for any other value.
template <class Record>
WriteField<Record> SendTwoChoice(int Record::*field, std::string_view zero,
                                 std::string_view other) {
  return {WriteField<Record>::Kind::kTwoChoice, {field}, {zero, other}};
}
// One command per bit, bit 0 first, each chosen by the bit: {set, clear}.
template <class Record>
WriteField<Record> SendBits(int Record::*field,
                            std::vector<std::pair<std::string_view, std::string_view>> perBit) {
  WriteField<Record> entry{WriteField<Record>::Kind::kBits, {field}, {}};
  for (const auto& [set, clear] : perBit) {
    entry.commands.push_back(set);
    entry.commands.push_back(clear);
  }
  return entry;
}
// A numbered-list entry: added (with its texts) or deleted by its in-use flag.
template <class Record, class... Fields>
WriteField<Record> SendPresence(int Record::*used, std::string_view add, std::string_view del,
                                Fields Record::*... values) {
  return {WriteField<Record>::Kind::kPresence, {FieldRef<Record>(used), FieldRef<Record>(values)...},
          {add, del}};
}
// Commands sent whenever a word of the run's state asks for them.
template <class Record>
WriteField<Record> SendWhen(bool (*when)(const RunState&), std::vector<std::string_view> commands) {
  WriteField<Record> entry{WriteField<Record>::Kind::kWhen, {}, std::move(commands)};
  entry.when = when;
  return entry;
}

// Where a write stopped.
struct WriteFailure {
  int index = -1;       // table index of the entry whose exchange failed (list: entry index)
  std::string command;  // the command that failed (empty when it could not be built)
};

namespace write_detail {
std::string ReplaceScope(std::string_view command, std::string_view scope);
bool Format(std::string_view format, std::span<const CommandArg> args, std::string_view scope,
            std::string& command);
}  // namespace write_detail

// Whether entry has something to send for working against baseline.
template <class Record>
bool EntryDue(const WriteField<Record>& entry, const Record& working, const Record& baseline,
              const RunState& state) {
  using Kind = typename WriteField<Record>::Kind;
  if (entry.kind == Kind::kWhen) return entry.when != nullptr && entry.when(state);
  if (entry.onlyIf != nullptr && !entry.onlyIf(working)) return false;
  if (entry.kind == Kind::kPresence) {
    const FieldRef<Record>& used = entry.fields.front();
    if (used.Differs(working, baseline)) return true;
    if (used.Number(working) == 0) return false;
  }
  for (const FieldRef<Record>& field : entry.fields) {
    if (field.Differs(working, baseline)) return true;
  }
  return false;
}

// The commands entry sends for working, in order (none: nothing to send).
// Returns false when a command cannot be built (a text with control bytes).
template <class Record>
bool BuildCommands(const WriteField<Record>& entry, const Record& working, std::string_view scope,
                   std::vector<std::string>& commands) {
  using Kind = typename WriteField<Record>::Kind;
  commands.clear();
  auto add = [&](std::string_view format, std::span<const CommandArg> args) {
    std::string command;
    if (!write_detail::Format(format, args, scope, command)) return false;
    commands.push_back(std::move(command));
    return true;
  };
  std::vector<CommandArg> args;
  auto valuesFrom = [&](std::size_t first) {
    for (std::size_t i = first; i < entry.fields.size(); ++i) {
      const FieldRef<Record>& field = entry.fields[i];
      if (!field.IsText()) {
        args.emplace_back(field.Number(working));
      } else if (field.Text(working).empty() && !entry.emptyAs.empty()) {
        args.emplace_back(entry.emptyAs);
      } else {
        args.emplace_back(field.Text(working));
      }
    }
  };
  switch (entry.kind) {
    case Kind::kValues:
      valuesFrom(0);
      return add(entry.commands.front(), args);
    case Kind::kChoice: {
      const int code = entry.fields.front().Number(working);
      if (code < 0 || code >= static_cast<int>(entry.commands.size())) return true;
      return add(entry.commands[static_cast<std::size_t>(code)], args);
    }
    case Kind::kTwoChoice:
      return add(entry.commands[entry.fields.front().Number(working) == 0 ? 0 : 1], args);
    case Kind::kBits: {
      const int flags = entry.fields.front().Number(working);
      for (std::size_t bit = 0; 2 * bit + 1 < entry.commands.size(); ++bit) {
        const bool set = (flags & (1 << bit)) != 0;
        if (!add(entry.commands[2 * bit + (set ? 0 : 1)], args)) return false;
      }
      return true;
    }
    case Kind::kPresence:
      if (entry.fields.front().Number(working) == 0) return add(entry.commands[1], args);
      valuesFrom(1);
      return add(entry.commands[0], args);
    case Kind::kWhen:
      for (std::string_view command : entry.commands) {
        if (!add(command, args)) return false;
      }
      return true;
  }
  return true;
}

// Sends every due entry of table in table order and returns 1; nothing due
// sends nothing. At the first exchange that fails (or command that cannot be
// built) it stops, sets the fields of that entry and of every later entry
// back to their baseline values in working (so the forms show what the
// device holds and a later confirmation sends them again), fills failure and
// returns 0. A kWhen entry that fails takes the whole group back.
template <class Record>
int WriteChanges(DeviceContext& context, const WriteTable<Record>& table, Record& working,
                 const Record& baseline, std::string_view scope = {},
                 WriteFailure* failure = nullptr) {
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const WriteField<Record>& entry = table[i];
    if (!EntryDue(entry, working, baseline, context.state)) continue;
    bool sent = BuildCommands(entry, working, scope, commands);
    std::string failed;
    for (const std::string& command : commands) {
      if (!sent) break;
      if (SendSettingCommand(context, command) == 0) {
        sent = false;
        failed = command;
      }
    }
    if (sent) {
      if (entry.afterSent != nullptr) entry.afterSent(context.state);
      continue;
    }
    // Stopped here: this entry and the rest of the group were not (all) sent.
    const std::size_t from = entry.kind == WriteField<Record>::Kind::kWhen ? 0 : i;
    for (std::size_t j = from; j < table.size(); ++j) {
      for (const FieldRef<Record>& field : table[j].fields) field.Copy(working, baseline);
    }
    if (failure != nullptr) *failure = {static_cast<int>(i), failed};
    return 0;
  }
  return 1;
}

// The same table for every entry of a numbered list, entry k (0-based) with
// the scope firstNumber + k, in list order. A failure at entry k takes
// entries k and later back to the baseline (failure->index is k).
template <class Entries, class Entry = typename Entries::value_type>
int WriteListChanges(DeviceContext& context, const WriteTable<Entry>& table, Entries& working,
                     const Entries& baseline, int firstNumber = 1,
                     WriteFailure* failure = nullptr) {
  for (std::size_t k = 0; k < working.size(); ++k) {
    WriteFailure at;
    const std::string scope = std::to_string(firstNumber + static_cast<int>(k));
    if (WriteChanges(context, table, working[k], baseline[k], scope, &at) == 1) continue;
    for (std::size_t j = k; j < working.size(); ++j) working[j] = baseline[j];
    if (failure != nullptr) *failure = {static_cast<int>(k), at.command};
    return 0;
  }
  return 1;
}

}  // namespace setutily
