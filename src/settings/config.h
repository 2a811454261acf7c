// A category's settings as device commands.
//
// A write group is declared once (GroupOf, ListOf in settings/group.h).
// The menus write a form's group with WriteGroupChecked; the
// configuration file (backup, compare, restore) is made of the same groups,
// type-erased as ConfigGroup, so a file holds exactly the commands the
// utility itself sends and is read back through the same declarations:
//
//   dump     every command that sets the device to the working copy;
//   pending  what the group's write would send now (working vs baseline);
//   take     one command line of a file into the working copy, its values
//            checked as the forms check them;
//   check    the group's rules on the working copy;
//   write    the group's write, read back (WriteGroupChecked).
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/context.h"
#include "settings/read_back.h"

namespace setutily {

// --------------------------------------------------------- the file's view

// What a command line of a file was to a group.
enum class LineFit {
  kOther,  // not one of the group's commands
  kTaken,  // stored in the working copy
  kBad,    // the group's command with a value it cannot take (why says which)
};

// A rule a group's working copy breaks.
struct RuleBreak {
  std::string message;        // the rule's message (UTF-8)
  std::vector<int> settings;  // the settings (take's indexes) whose lines are involved
};

struct ConfigGroup {
  std::string title;  // "TEL1" (UTF-8)
  // Sent after every other group of every category (the device restarts).
  bool last = false;
  std::function<void(DeviceContext&, std::vector<std::string>& commands)> dump;
  std::function<void(DeviceContext&, std::vector<std::string>& commands)> pending;
  // setting: the index of the setting that took the line.
  std::function<LineFit(DeviceContext&, std::string_view line, std::string& why, int& setting)>
      take;
  // The first rule the working copy breaks. given: the settings a file set;
  // with onlyGiven, only rules whose every field was given are checked.
  std::function<bool(DeviceContext&, const std::vector<int>& given, bool onlyGiven,
                     RuleBreak& broken)>
      check;
  std::function<WriteReport(DeviceContext&)> write;
};

struct ConfigCategory {
  std::string title;  // "アナログ設定" (UTF-8), as on the main window's button
  std::function<int(DeviceContext&)> read;
  std::vector<ConfigGroup> groups;

  ConfigCategory& Add(std::vector<ConfigGroup> more) {
    for (ConfigGroup& group : more) groups.push_back(std::move(group));
    return *this;
  }
  ConfigCategory& Add(ConfigGroup group) {
    groups.push_back(std::move(group));
    return *this;
  }
};

namespace config_detail {

// Matches line (a command without its carriage return) against format
// ("%s" any text up to what follows it, "%d" a signed decimal number);
// fills the values in order.
bool Match(std::string_view format, std::string_view line, std::vector<std::string>& values);

// The command texts of a setting with the scope put in and the closing
// carriage return taken off.
std::string Template(std::string_view command, std::string_view scope);

// Whether line begins as command (with scope put in) does, up to its first
// value; a command without values must equal line whole. Turns most lines
// away without building each command's text.
bool BeginsLike(std::string_view command, std::string_view scope, std::string_view line);

// The number line holds where command has "{}" (the text before it the
// same), written as a list writes it; none otherwise.
std::optional<long long> ScopeNumber(std::string_view command, std::string_view line);

// A value's checks as the forms make them, in the spelling the device
// prints back (no leading zeros); false with why (the field's message and
// what it takes) on a refusal. entry: a list's entry number, or 0.
bool NumberFits(std::string_view text, long long min, long long max, const char16_t* message,
                long long& number, std::string& why);
bool TextFits(const std::string& text, int maxBytes, TextRule rule,
              bool (*accepts)(std::string_view), bool required, const char16_t* message,
              int entry, std::string& why);

// The message of a broken rule, UTF-8.
std::string Utf8Message(const char16_t* message);

// Stores a text value; a blank that stands for an empty text leaves an
// empty text empty. Kept out of line: inlined into records without texts,
// gcc warns about the access it can never make.
template <class Record>
[[gnu::noinline]] void TakeText(const FieldRef<Record>& field, Record& record,
                                const std::string& value, bool standsForEmpty) {
  std::string& text = field.Text(record);
  if (!standsForEmpty || !text.empty()) text = value;
}

}  // namespace config_detail

// Every command setting sends for working (lists: the add or the delete
// command), without closing carriage returns.
template <class Record>
void DumpSetting(const Setting<Record>& setting, const Record& working, std::string_view scope,
                 std::vector<std::string>& out) {
  using Kind = typename Setting<Record>::Kind;
  if (setting.kind == Kind::kWhen || setting.kind == Kind::kCarried) return;  // not settings
  if (!setting.On(scope)) return;
  if (setting.onlyIf != nullptr && !setting.onlyIf(working)) return;
  std::vector<std::string> commands;
  if (!BuildCommands(setting, working, scope, commands)) return;
  for (std::string& command : commands) {
    if (!command.empty() && command.back() == '\r') command.pop_back();
    out.push_back(std::move(command));
  }
}

template <class Record>
void DumpSettings(const Settings<Record>& settings, const Record& working, std::string_view scope,
                  std::vector<std::string>& out) {
  for (const Setting<Record>& setting : settings) DumpSetting(setting, working, scope, out);
}

// What WriteChanges would send now.
template <class Record>
void PendingSettings(const Settings<Record>& settings, const Record& working,
                     const Record& baseline, std::string_view scope, const RunState& state,
                     std::vector<std::string>& out) {
  for (const Setting<Record>& setting : settings) {
    if (!SettingDue(setting, working, baseline, state, scope)) continue;
    std::vector<std::string> commands;
    if (!BuildCommands(setting, working, scope, commands)) continue;
    for (std::string& command : commands) {
      if (!command.empty() && command.back() == '\r') command.pop_back();
      out.push_back(std::move(command));
    }
  }
}

// Takes line into record when it is one of settings' commands; index: the
// setting that took it. entry: a list's entry number for messages, or 0.
template <class Record>
LineFit TakeLine(const Settings<Record>& settings, Record& record, std::string_view scope,
                 int instance, std::string_view line, std::string& why, int& index,
                 int entry = 0) {
  using Kind = typename Setting<Record>::Kind;
  std::vector<std::string> values;
  for (std::size_t s = 0; s < settings.size(); ++s) {
    const Setting<Record>& setting = settings[s];
    if (!setting.On(scope)) continue;
    index = static_cast<int>(s);
    // Whether line is command i of setting, a command without values.
    const auto is = [&](std::size_t i) {
      return config_detail::BeginsLike(setting.commands[i], scope, line) &&
             config_detail::Template(setting.commands[i], scope) == line;
    };
    switch (setting.kind) {
      case Kind::kWhen:
      case Kind::kCarried:
        break;
      case Kind::kChoice:
      case Kind::kTwoChoice:
        for (std::size_t code = 0; code < setting.commands.size(); ++code) {
          if (!is(code)) continue;
          setting.fields.front().field.Number(record) = static_cast<int>(code);
          return LineFit::kTaken;
        }
        break;
      case Kind::kBits:
        for (std::size_t i = 0; i < setting.commands.size(); ++i) {
          if (!is(i)) continue;
          int& flags = setting.fields.front().field.Number(record);
          const int bit = 1 << (i / 2);
          flags = i % 2 == 0 ? (flags | bit) : (flags & ~bit);
          return LineFit::kTaken;
        }
        break;
      case Kind::kPresence:
        if (is(1)) {
          setting.fields.front().field.Number(record) = 0;
          return LineFit::kTaken;
        }
        [[fallthrough]];
      case Kind::kValues: {
        if (!config_detail::BeginsLike(setting.commands[0], scope, line) ||
            !config_detail::Match(config_detail::Template(setting.commands[0], scope), line,
                                  values)) {
          break;
        }
        const std::size_t first = setting.kind == Kind::kPresence ? 1 : 0;
        if (values.size() != setting.fields.size() - first) break;
        Record changed = record;
        for (std::size_t i = first; i < setting.fields.size(); ++i) {
          const FieldDecl<Record>& decl = setting.fields[i];
          const std::string& value = values[i - first];
          if (decl.IsText()) {
            // A blank sent for an empty text stands for one.
            const bool empty = decl.sentBlank && value == decl.blank;
            if (!empty && !config_detail::TextFits(value, decl.MaxBytes(instance), decl.rule,
                                                   decl.accepts, decl.required, decl.message,
                                                   entry, why)) {
              return LineFit::kBad;
            }
            config_detail::TakeText(decl.field, changed, value, empty);
          } else {
            long long number = 0;
            if (!config_detail::NumberFits(value, decl.min, decl.max, decl.message, number, why)) {
              return LineFit::kBad;
            }
            decl.field.Number(changed) = static_cast<int>(number);
          }
        }
        if (setting.kind == Kind::kPresence) setting.fields.front().field.Number(changed) = 1;
        record = std::move(changed);
        return LineFit::kTaken;
      }
    }
  }
  return LineFit::kOther;
}

// The first of rules that values breaks (see ConfigGroup::check).
template <class Record>
bool FindBrokenRule(const std::vector<const Rule<Record>*>& rules,
                    const Settings<Record>& settings, const Record& values,
                    const std::vector<int>& given, bool onlyGiven, RuleBreak& broken) {
  for (const Rule<Record>* rule : rules) {
    std::vector<int> involved;
    bool allGiven = true;
    for (const FieldRef<Record>& field : rule->fields) {
      bool held = false;
      for (std::size_t s = 0; s < settings.size(); ++s) {
        if (!settings[s].Holds(field)) continue;
        involved.push_back(static_cast<int>(s));
        held = held || std::ranges::find(given, static_cast<int>(s)) != given.end();
      }
      allGiven = allGiven && held;
    }
    if (onlyGiven && !allGiven) continue;
    if (rule->holds(values)) continue;
    broken = {config_detail::Utf8Message(rule->message), std::move(involved)};
    return true;
  }
  return false;
}

// The file groups of group: one per instance, and those of its Last()
// settings after them.
template <class Root, class Rec>
std::vector<ConfigGroup> ConfigGroupsOf(const GroupOf<Root, Rec>& group) {
  std::vector<ConfigGroup> out;
  const bool hasLast = std::ranges::any_of(*group.settings, [](const auto& s) { return s.last; });
  for (bool last : {false, true}) {
    if (last && !hasLast) break;
    // The settings of this part; the Last() ones form a part of their own.
    auto part = std::make_shared<Settings<Rec>>();
    for (const Setting<Rec>& setting : *group.settings) {
      if (setting.last == last || !hasLast) part->push_back(setting);
    }
    for (int instance = 0; instance < group.instances; ++instance) {
      const auto project = group.project;
      const std::string scope(group.ScopeOf(instance));
      ConfigGroup config;
      config.title = std::string(last ? group.lastTitle : group.title[instance]);
      config.last = last;
      config.dump = [part, project, scope, instance](DeviceContext& c, std::vector<std::string>& o) {
        DumpSettings(*part, project(c.records.Of<Root>().working, instance), scope, o);
      };
      config.pending = [part, project, scope, instance](DeviceContext& c,
                                                        std::vector<std::string>& o) {
        auto& copies = c.records.Of<Root>();
        PendingSettings(*part, project(copies.working, instance),
                        project(copies.baseline, instance), scope, c.state, o);
      };
      config.take = [part, project, scope, instance](DeviceContext& c, std::string_view line,
                                                     std::string& why, int& setting) {
        return TakeLine(*part, project(c.records.Of<Root>().working, instance), scope, instance,
                        line, why, setting);
      };
      config.check = [part, project, instance, rules = group.rules](
                         DeviceContext& c, const std::vector<int>& given, bool onlyGiven,
                         RuleBreak& broken) {
        return FindBrokenRule(rules, *part, project(c.records.Of<Root>().working, instance),
                              given, onlyGiven, broken);
      };
      GroupOf<Root, Rec> partGroup = group;
      partGroup.settings = part.get();
      config.write = [part, partGroup, instance](DeviceContext& c) -> WriteReport {
        return WriteGroupChecked(c, c.records.Of<Root>(), partGroup, instance);
      };
      out.push_back(std::move(config));
    }
  }
  return out;
}

// The file group of a whole list.
template <class Root, class Entry, std::size_t N>
ConfigGroup ConfigGroupOf(const ListOf<Root, Entry, N>& list) {
  ConfigGroup group;
  group.title = std::string(list.title);
  const Settings<Entry>* settings = list.settings;
  const auto entries = list.entries;
  const int firstNumber = list.firstNumber;
  auto scope = [firstNumber](std::size_t k) {
    return std::to_string(firstNumber + static_cast<int>(k));
  };
  group.dump = [settings, entries, scope](DeviceContext& c, std::vector<std::string>& out) {
    const auto& all = entries(c.records.Of<Root>().working);
    for (std::size_t k = 0; k < all.size(); ++k) DumpSettings(*settings, all[k], scope(k), out);
  };
  group.pending = [settings, entries, scope](DeviceContext& c, std::vector<std::string>& out) {
    auto& copies = c.records.Of<Root>();
    const auto& working = entries(copies.working);
    const auto& baseline = entries(copies.baseline);
    for (std::size_t k : ListSendingOrder(*settings, working, baseline)) {
      PendingSettings(*settings, working[k], baseline[k], scope(k), c.state, out);
    }
  };
  group.take = [settings, entries, scope, firstNumber](DeviceContext& c, std::string_view line,
                                                       std::string& why, int& setting) {
    auto& all = entries(c.records.Of<Root>().working);
    // The entry number stands in the line where a command has "{}"; only
    // the entries a line names are tried.
    std::vector<std::size_t> tried;
    std::optional<long long> outside;  // a number beyond the list
    for (const Setting<Entry>& entry : *settings) {
      for (std::string_view command : entry.commands) {
        const std::optional<long long> number = config_detail::ScopeNumber(command, line);
        if (!number || *number < firstNumber || *number - firstNumber >= std::ssize(all)) {
          if (number) outside = number;
          continue;
        }
        const auto k = static_cast<std::size_t>(*number - firstNumber);
        if (std::ranges::find(tried, k) != tried.end()) continue;
        tried.push_back(k);
        const LineFit fit = TakeLine(*settings, all[k], scope(k), 0, line, why, setting,
                                     static_cast<int>(*number));
        if (fit != LineFit::kOther) return fit;
      }
    }
    // The list's command with a number out of its range says the range.
    Entry probe{};
    int ignored = 0;
    if (outside && TakeLine(*settings, probe, std::to_string(*outside), 0, line, why, ignored) !=
                       LineFit::kOther) {
      why = "番号 " + std::to_string(*outside) + " は範囲外です（" + std::to_string(firstNumber) +
            "～" + std::to_string(firstNumber + std::ssize(all) - 1) + "）";
      return LineFit::kBad;
    }
    return LineFit::kOther;
  };
  group.check = [](DeviceContext&, const std::vector<int>&, bool, RuleBreak&) { return false; };
  group.write = [list](DeviceContext& c) -> WriteReport {
    ListOf<Root, Entry, N> whole = list;
    whole.perInstance = static_cast<int>(N);
    return WriteGroupChecked(c, c.records.Of<Root>(), whole, 0);
  };
  return group;
}

}  // namespace setutily
