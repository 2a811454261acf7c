// A category's settings as device commands: what the configuration file
// (backup, compare, restore) is made of. Every group of a category is built
// from the same write table its form's write uses, so the file holds exactly
// the commands the utility itself sends, and reading a file back goes
// through the same tables:
//
//   dump     every command that sets the device to the working copy;
//   pending  what the group's write would send now (working vs baseline);
//   take     one command line of a file into the working copy;
//   write    the group's write.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/write_table.h"

namespace setutily {

// What a command line of a file was to a group.
enum class LineFit {
  kOther,  // not one of the group's commands
  kTaken,  // stored in the working copy
  kBad,    // the group's command with a value it cannot take (why says which)
};

struct ConfigGroup {
  std::string title;  // "TEL1" (UTF-8)
  // Sent after every other group of every category (the device restarts).
  bool last = false;
  std::function<void(DeviceContext&, std::vector<std::string>& commands)> dump;
  std::function<void(DeviceContext&, std::vector<std::string>& commands)> pending;
  std::function<LineFit(DeviceContext&, std::string_view line, std::string& why)> take;
  std::function<int(DeviceContext&, WriteFailure*)> write;
};

struct ConfigCategory {
  std::string title;  // "アナログ設定" (UTF-8), as on the main window's button
  std::function<int(DeviceContext&)> read;
  std::vector<ConfigGroup> groups;
};

namespace config_detail {

// Matches line (a command without its carriage return) against format
// ("%s" any text up to what follows it, "%d" a signed decimal number);
// fills the values in order.
bool Match(std::string_view format, std::string_view line, std::vector<std::string>& values);

// The command texts of an entry with the scope put in and the closing
// carriage return taken off.
std::string Template(std::string_view command, std::string_view scope);

// Whether line begins as command (with scope put in) does, up to its first
// value; a command without values must equal line whole. Turns most lines
// away without building each command's text.
bool BeginsLike(std::string_view command, std::string_view scope, std::string_view line);

// The number line holds where command has "{}" (the text before it the
// same), written as a list writes it; none otherwise.
std::optional<long long> ScopeNumber(std::string_view command, std::string_view line);

// Checks one value against the entry's limits; false with why on a refusal.
bool NumberFits(std::string_view text, long long min, long long max, long long& number,
                std::string& why);
bool TextFits(const std::string& text, std::size_t maxBytes, bool (*accepts)(std::string_view),
              std::string& why);

// Stores a text value; an empty-standing value ("0.0.0.0" of an address
// pair) leaves an empty text empty. Kept out of line: inlined into records
// without texts, gcc warns about the access it can never make.
template <class Record>
[[gnu::noinline]] void TakeText(const FieldRef<Record>& field, Record& record,
                                const std::string& value, bool standsForEmpty) {
  std::string& text = field.Text(record);
  if (!standsForEmpty || !text.empty()) text = value;
}

}  // namespace config_detail

// Every command entry sends for working (lists: the add or the delete
// command), without closing carriage returns.
template <class Record>
void DumpEntry(const WriteField<Record>& entry, const Record& working, std::string_view scope,
               std::vector<std::string>& out) {
  if (entry.kind == WriteField<Record>::Kind::kWhen) return;  // requests, not settings
  if (entry.onlyIf != nullptr && !entry.onlyIf(working)) return;
  std::vector<std::string> commands;
  if (!BuildCommands(entry, working, scope, commands)) return;
  for (std::string& command : commands) {
    if (!command.empty() && command.back() == '\r') command.pop_back();
    out.push_back(std::move(command));
  }
}

template <class Record>
void DumpTable(const WriteTable<Record>& table, const Record& working, std::string_view scope,
               std::vector<std::string>& out) {
  for (const WriteField<Record>& entry : table) DumpEntry(entry, working, scope, out);
}

// What WriteChanges would send now.
template <class Record>
void PendingTable(const WriteTable<Record>& table, const Record& working, const Record& baseline,
                  std::string_view scope, const RunState& state, std::vector<std::string>& out) {
  for (const WriteField<Record>& entry : table) {
    if (!EntryDue(entry, working, baseline, state)) continue;
    std::vector<std::string> commands;
    if (!BuildCommands(entry, working, scope, commands)) continue;
    for (std::string& command : commands) {
      if (!command.empty() && command.back() == '\r') command.pop_back();
      out.push_back(std::move(command));
    }
  }
}

// Takes line into record when it is one of table's commands.
template <class Record>
LineFit TakeLine(const WriteTable<Record>& table, Record& record, std::string_view scope,
                 std::string_view line, std::string& why) {
  using Kind = typename WriteField<Record>::Kind;
  std::vector<std::string> values;
  for (const WriteField<Record>& entry : table) {
    // Whether line is command i of entry, a command without values.
    const auto is = [&](std::size_t i) {
      return config_detail::BeginsLike(entry.commands[i], scope, line) &&
             config_detail::Template(entry.commands[i], scope) == line;
    };
    switch (entry.kind) {
      case Kind::kWhen:
        break;
      case Kind::kChoice:
      case Kind::kTwoChoice:
        for (std::size_t code = 0; code < entry.commands.size(); ++code) {
          if (!is(code)) continue;
          entry.fields.front().Number(record) = static_cast<int>(code);
          return LineFit::kTaken;
        }
        break;
      case Kind::kBits:
        for (std::size_t i = 0; i < entry.commands.size(); ++i) {
          if (!is(i)) continue;
          int& flags = entry.fields.front().Number(record);
          const int bit = 1 << (i / 2);
          flags = i % 2 == 0 ? (flags | bit) : (flags & ~bit);
          return LineFit::kTaken;
        }
        break;
      case Kind::kPresence:
        if (is(1)) {
          entry.fields.front().Number(record) = 0;
          return LineFit::kTaken;
        }
        [[fallthrough]];
      case Kind::kValues: {
        if (!config_detail::BeginsLike(entry.commands[0], scope, line) ||
            !config_detail::Match(config_detail::Template(entry.commands[0], scope), line, values)) {
          break;
        }
        const std::size_t first = entry.kind == Kind::kPresence ? 1 : 0;
        if (values.size() != entry.fields.size() - first) break;
        Record changed = record;
        for (std::size_t i = first; i < entry.fields.size(); ++i) {
          const FieldRef<Record>& field = entry.fields[i];
          const std::string& value = values[i - first];
          if (field.IsText()) {
            // An address pair's "0.0.0.0" stands for an empty address.
            const bool empty = !entry.emptyAs.empty() && value == entry.emptyAs;
            const std::size_t v = i - first;
            bool (*accepts)(std::string_view) =
                v < entry.acceptsEach.size() ? entry.acceptsEach[v] : entry.accepts;
            if (!empty && !config_detail::TextFits(value, entry.maxBytes, accepts, why)) {
              return LineFit::kBad;
            }
            config_detail::TakeText(field, changed, value, empty);
          } else {
            long long number = 0;
            const auto [low, high] =
                i < entry.ranges.size() ? entry.ranges[i] : std::pair(entry.min, entry.max);
            if (!config_detail::NumberFits(value, low, high, number, why)) {
              return LineFit::kBad;
            }
            field.Number(changed) = static_cast<int>(number);
          }
        }
        if (entry.kind == Kind::kPresence) entry.fields.front().Number(changed) = 1;
        record = std::move(changed);
        return LineFit::kTaken;
      }
    }
  }
  return LineFit::kOther;
}

// A group made of one write table over the part of a record that project
// picks (a port, the common settings, or the whole record).
template <class Root, class Rec>
ConfigGroup TableGroup(std::string title, const WriteTable<Rec>& table, Rec& (*project)(Root&),
                       std::string scope = {}) {
  ConfigGroup group;
  group.title = std::move(title);
  group.dump = [&table, project, scope](DeviceContext& c, std::vector<std::string>& out) {
    DumpTable(table, project(c.records.Of<Root>().working), scope, out);
  };
  group.pending = [&table, project, scope](DeviceContext& c, std::vector<std::string>& out) {
    auto& copies = c.records.Of<Root>();
    PendingTable(table, project(copies.working), project(copies.baseline), scope, c.state, out);
  };
  group.take = [&table, project, scope](DeviceContext& c, std::string_view line,
                                        std::string& why) {
    return TakeLine(table, project(c.records.Of<Root>().working), scope, line, why);
  };
  group.write = [&table, project, scope](DeviceContext& c, WriteFailure* failure) {
    auto& copies = c.records.Of<Root>();
    return WriteChanges(c, table, project(copies.working), project(copies.baseline), scope,
                        failure);
  };
  return group;
}

// A group over the entries of a numbered list, entry k with the number
// firstNumber + k as its scope.
template <class Root, class Entries, class Entry = typename Entries::value_type>
ConfigGroup ListGroup(std::string title, const WriteTable<Entry>& table,
                      Entries& (*project)(Root&), int firstNumber = 1) {
  ConfigGroup group;
  group.title = std::move(title);
  auto scope = [firstNumber](std::size_t k) { return std::to_string(firstNumber + static_cast<int>(k)); };
  group.dump = [&table, project, scope](DeviceContext& c, std::vector<std::string>& out) {
    const Entries& entries = project(c.records.Of<Root>().working);
    for (std::size_t k = 0; k < entries.size(); ++k) DumpTable(table, entries[k], scope(k), out);
  };
  group.pending = [&table, project, scope](DeviceContext& c, std::vector<std::string>& out) {
    auto& copies = c.records.Of<Root>();
    const Entries& working = project(copies.working);
    const Entries& baseline = project(copies.baseline);
    for (std::size_t k = 0; k < working.size(); ++k) {
      PendingTable(table, working[k], baseline[k], scope(k), c.state, out);
    }
  };
  group.take = [&table, project, scope, firstNumber](DeviceContext& c, std::string_view line,
                                                     std::string& why) {
    Entries& entries = project(c.records.Of<Root>().working);
    // The entry number stands in the line where a command has "{}"; only
    // the entries a line names are tried.
    std::vector<std::size_t> tried;
    std::optional<long long> outside;  // a number beyond the list
    for (const WriteField<Entry>& entry : table) {
      for (std::string_view command : entry.commands) {
        const std::optional<long long> number = config_detail::ScopeNumber(command, line);
        if (!number || *number < firstNumber || *number - firstNumber >= std::ssize(entries)) {
          if (number) outside = number;
          continue;
        }
        const auto k = static_cast<std::size_t>(*number - firstNumber);
        if (std::ranges::find(tried, k) != tried.end()) continue;
        tried.push_back(k);
        const LineFit fit = TakeLine(table, entries[k], scope(k), line, why);
        if (fit != LineFit::kOther) return fit;
      }
    }
    // The list's command with a number out of its range says the range.
    Entry probe{};
    if (outside && TakeLine(table, probe, std::to_string(*outside), line, why) != LineFit::kOther) {
      why = "番号 " + std::to_string(*outside) + " は範囲外です（" + std::to_string(firstNumber) +
            "～" + std::to_string(firstNumber + std::ssize(entries) - 1) + "）";
      return LineFit::kBad;
    }
    return LineFit::kOther;
  };
  group.write = [&table, project, firstNumber](DeviceContext& c, WriteFailure* failure) {
    auto& copies = c.records.Of<Root>();
    return WriteListChanges(c, table, project(copies.working), project(copies.baseline),
                            firstNumber, failure);
  };
  return group;
}

}  // namespace setutily
