// Writing a category's record through the settings' declarations
// (settings/setting.h): a group's settings are visited in declaration order
// and each is sent only when its working value differs from the baseline.
// Read-only settings, and settings a scope does not have, are never sent.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/context.h"
#include "settings/setting.h"

namespace setutily {

// Checks of the text rules, as the forms and the configuration file apply them.
bool PhoneText(std::string_view text);             // a telephone number (may be empty)
bool AddressText(std::string_view text);           // a dotted address (may be empty)
bool PrefixedAddressText(std::string_view text);   // an address with "/prefix" (may be empty)
bool TextRuleHolds(TextRule rule, std::string_view text);

// Where a write stopped.
struct WriteFailure {
  int index = -1;       // index of the setting whose exchange failed (list: entry index)
  std::string command;  // the command that failed (empty when it could not be built)
};

namespace write_detail {
std::string ReplaceScope(std::string_view command, std::string_view scope);
bool Format(std::string_view format, std::span<const CommandArg> args, std::string_view scope,
            std::string& command);
}  // namespace write_detail

// Whether setting has something to send for working against baseline.
template <class Record>
bool SettingDue(const Setting<Record>& setting, const Record& working, const Record& baseline,
                const RunState& state, std::string_view scope) {
  using Kind = typename Setting<Record>::Kind;
  if (setting.kind == Kind::kCarried || !setting.On(scope)) return false;
  if (setting.kind == Kind::kWhen) return setting.when != nullptr && setting.when(state);
  if (setting.onlyIf != nullptr && !setting.onlyIf(working)) return false;
  if (setting.kind == Kind::kPresence) {
    const FieldRef<Record>& used = setting.fields.front().field;
    if (used.Differs(working, baseline)) return true;
    if (used.Number(working) == 0) return false;
  }
  for (const FieldDecl<Record>& decl : setting.fields) {
    if (decl.field.Differs(working, baseline)) return true;
  }
  return false;
}

// The commands setting sends for working, in order (none: nothing to send).
// Returns false when a command cannot be built (a text with control bytes).
template <class Record>
bool BuildCommands(const Setting<Record>& setting, const Record& working, std::string_view scope,
                   std::vector<std::string>& commands) {
  using Kind = typename Setting<Record>::Kind;
  commands.clear();
  auto add = [&](std::string_view format, std::span<const CommandArg> args) {
    std::string command;
    if (!write_detail::Format(format, args, scope, command)) return false;
    commands.push_back(std::move(command));
    return true;
  };
  std::vector<CommandArg> args;
  auto valuesFrom = [&](std::size_t first) {
    for (std::size_t i = first; i < setting.fields.size(); ++i) {
      const FieldDecl<Record>& decl = setting.fields[i];
      if (!decl.field.IsText()) {
        args.emplace_back(decl.field.Number(working));
      } else if (decl.field.Text(working).empty() && decl.sentBlank) {
        args.emplace_back(decl.blank);
      } else {
        args.emplace_back(decl.field.Text(working));
      }
    }
  };
  switch (setting.kind) {
    case Kind::kCarried:
      return true;
    case Kind::kValues:
      valuesFrom(0);
      return add(setting.commands.front(), args);
    case Kind::kChoice: {
      const int code = setting.fields.front().field.Number(working);
      if (code < 0 || code >= static_cast<int>(setting.commands.size())) return true;
      return add(setting.commands[static_cast<std::size_t>(code)], args);
    }
    case Kind::kTwoChoice:
      return add(setting.commands[setting.fields.front().field.Number(working) == 0 ? 0 : 1], args);
    case Kind::kBits: {
      const int flags = setting.fields.front().field.Number(working);
      for (std::size_t bit = 0; 2 * bit + 1 < setting.commands.size(); ++bit) {
        const bool set = (flags & (1 << bit)) != 0;
        if (!add(setting.commands[2 * bit + (set ? 0 : 1)], args)) return false;
      }
      return true;
    }
    case Kind::kPresence:
      if (setting.fields.front().field.Number(working) == 0) return add(setting.commands[1], args);
      valuesFrom(1);
      return add(setting.commands[0], args);
    case Kind::kWhen:
      for (std::string_view command : setting.commands) {
        if (!add(command, args)) return false;
      }
      return true;
  }
  return true;
}

// Sends every due setting in declaration order and returns 1; nothing due
// sends nothing. At the first exchange that fails (or command that cannot be
// built) it stops, sets the fields of that setting and of every later one
// back to their baseline values in working (so the forms show what the
// device holds and a later confirmation sends them again), fills failure and
// returns 0. A kWhen setting that fails takes the whole group back.
template <class Record>
int WriteChanges(DeviceContext& context, const Settings<Record>& settings, Record& working,
                 const Record& baseline, std::string_view scope = {},
                 WriteFailure* failure = nullptr) {
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const Setting<Record>& setting = settings[i];
    if (!SettingDue(setting, working, baseline, context.state, scope)) continue;
    bool sent = BuildCommands(setting, working, scope, commands);
    std::string failed;
    for (const std::string& command : commands) {
      if (!sent) break;
      if (SendSettingCommand(context, command) == 0) {
        sent = false;
        failed = command;
      }
    }
    if (sent) {
      if (setting.afterSent != nullptr) setting.afterSent(context.state);
      continue;
    }
    // Stopped here: this setting and the rest of the group were not (all) sent.
    const std::size_t from = setting.kind == Setting<Record>::Kind::kWhen ? 0 : i;
    for (std::size_t j = from; j < settings.size(); ++j) {
      for (const FieldDecl<Record>& decl : settings[j].fields) decl.field.Copy(working, baseline);
    }
    if (failure != nullptr) *failure = {static_cast<int>(i), failed};
    return 0;
  }
  return 1;
}

// Whether working deletes an entry baseline has in use (a Presence
// setting's flag cleared).
template <class Entry>
bool DeletesEntry(const Settings<Entry>& settings, const Entry& working, const Entry& baseline) {
  for (const Setting<Entry>& setting : settings) {
    if (setting.kind != Setting<Entry>::Kind::kPresence) continue;
    const FieldRef<Entry>& used = setting.fields.front().field;
    if (used.Number(working) == 0 && used.Number(baseline) != 0) return true;
  }
  return false;
}

// The order a list's entries are sent in: the entries deleted first, then
// the others, each part in list order. So a list whose entries move (the
// same hosts under other numbers) never holds more entries on the device
// than before or after, and a full table takes it whole.
template <class Entries, class Entry = typename Entries::value_type>
std::vector<std::size_t> ListSendingOrder(const Settings<Entry>& settings, const Entries& working,
                                          const Entries& baseline) {
  std::vector<std::size_t> order, later;
  for (std::size_t k = 0; k < working.size(); ++k) {
    (DeletesEntry(settings, working[k], baseline[k]) ? order : later).push_back(k);
  }
  order.insert(order.end(), later.begin(), later.end());
  return order;
}

// The same settings for every entry of a numbered list, entry k (0-based)
// with the scope firstNumber + k, in ListSendingOrder. A failure at entry k
// takes entry k and every entry not yet sent back to the baseline
// (failure->index is k).
template <class Entries, class Entry = typename Entries::value_type>
int WriteListChanges(DeviceContext& context, const Settings<Entry>& settings, Entries& working,
                     const Entries& baseline, int firstNumber = 1,
                     WriteFailure* failure = nullptr) {
  const std::vector<std::size_t> order = ListSendingOrder(settings, working, baseline);
  for (std::size_t n = 0; n < order.size(); ++n) {
    const std::size_t k = order[n];
    WriteFailure at;
    const std::string scope = std::to_string(firstNumber + static_cast<int>(k));
    if (WriteChanges(context, settings, working[k], baseline[k], scope, &at) == 1) continue;
    for (std::size_t m = n; m < order.size(); ++m) working[order[m]] = baseline[order[m]];
    if (failure != nullptr) *failure = {static_cast<int>(k), at.command};
    return 0;
  }
  return 1;
}

}  // namespace setutily
