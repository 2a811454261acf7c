// A write told by what the device holds afterwards. The device answers
// every setting command with its prompt, taken or not; so once a group has
// been written, its page is read again through the same declarations and
// every setting that was sent is compared with what the device now reports.
//
// A sent value and the device's are compared as the read takes them: a
// text cut to what the read keeps and trimmed as a list line is, a blank
// that stands for an empty text ("0.0.0.0") equal to an empty text, an
// address equal to the same address written with leading zeros. So a value
// the device spells in its own way is not told as refused.
//
// A setting the device did not take is a RefusedCommand (the command sent,
// and the command that would set what the device holds); the record then
// takes the device's value in its working copy and its baseline, so the
// forms show what the device holds and nothing sends it again unasked.
//
//   CheckedWrite<Root> result = WriteGroupChecked(context, copies, group, instance);
//   result.Ok()               every command answered, read back and taken
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/group.h"

namespace setutily {

// A command the device answered but did not take.
struct RefusedCommand {
  std::string command;        // as sent, device encoding, without its carriage return
  std::string deviceCommand;  // the command that sets what the device holds (may be empty)
};

// What a group's write did.
struct WriteReport {
  int written = 1;                // 1: every command answered; 0: stopped (failure says where)
  WriteFailure failure;
  std::vector<std::string> sent;  // the commands the device answered, in order
  std::string unanswered;         // written 0: the command sent without an answer
  // 1: the group's page was read again; 0: that read failed
  // (context.readFailure says why); -1: not read (nothing sent, the write
  // stopped, or only settings after which the device restarts were sent).
  int readBack = -1;
  std::vector<RefusedCommand> refused;

  bool Ok() const { return written == 1 && readBack != 0 && refused.empty(); }
};

// A write of a group of Root, with the device's view of what it refused.
template <class Root>
struct CheckedWrite : WriteReport {
  // When something was refused: the device's record as baseline, and the
  // same with the refused settings at the values sent as working copy, so
  // that the working copy differs from the baseline exactly where the
  // device refused (what the forms' compare view lists).
  SettingsCopies<Root> refusedView;
};

// Whether the device, reporting read for a field that was sent as sent, has
// the value (see the top of this file). blank: the text that stands for
// none (sentBlank: an empty text was sent as it).
bool SameAsRead(std::string_view sent, std::string_view read, TextRule rule,
                std::string_view blank, bool sentBlank, std::size_t cut);

namespace read_back_detail {

template <class Rec>
bool FieldTaken(const FieldDecl<Rec>& decl, const Rec& sent, const Rec& device) {
  if (!decl.IsText()) return decl.field.Number(sent) == decl.field.Number(device);
  return SameAsRead(decl.field.Text(sent), decl.field.Text(device), decl.rule, decl.blank,
                    decl.sentBlank, decl.Cut());
}

inline std::string Plain(std::string command) {
  if (!command.empty() && command.back() == '\r') command.pop_back();
  return command;
}

// A setting the device did not (wholly) take: the fields it holds otherwise.
template <class Rec>
struct Mismatch {
  std::vector<FieldRef<Rec>> fields;
  RefusedCommand command;
};

// The mismatches of a setting that was sent for sent, the device reporting device.
template <class Rec>
void FindMismatches(const Setting<Rec>& setting, const Rec& sent, const Rec& device,
                    std::string_view scope, std::vector<Mismatch<Rec>>& out) {
  using Kind = typename Setting<Rec>::Kind;
  std::vector<std::string> sentCommands, deviceCommands;
  BuildCommands(setting, sent, scope, sentCommands);
  BuildCommands(setting, device, scope, deviceCommands);
  const auto command = [](const std::vector<std::string>& commands, std::size_t i) {
    return i < commands.size() ? Plain(commands[i]) : std::string();
  };
  if (setting.kind == Kind::kWhen || sentCommands.empty()) return;
  if (setting.kind == Kind::kBits) {
    // One command per bit: each bit is taken or not on its own.
    const FieldRef<Rec>& flags = setting.fields.front().field;
    const int differs = flags.Number(sent) ^ flags.Number(device);
    for (std::size_t bit = 0; bit < sentCommands.size(); ++bit) {
      if ((differs & (1 << bit)) == 0) continue;
      out.push_back({{flags}, {command(sentCommands, bit), command(deviceCommands, bit)}});
    }
    return;
  }
  std::vector<FieldRef<Rec>> fields;
  std::size_t first = 0;
  if (setting.kind == Kind::kPresence) {
    const FieldRef<Rec>& used = setting.fields.front().field;
    if (used.Number(sent) != used.Number(device)) {
      for (const FieldDecl<Rec>& decl : setting.fields) fields.push_back(decl.field);
      first = setting.fields.size();
    } else if (used.Number(sent) == 0) {
      return;  // deleted, and not there
    } else {
      first = 1;
    }
  }
  for (std::size_t i = first; i < setting.fields.size(); ++i) {
    if (!FieldTaken(setting.fields[i], sent, device)) fields.push_back(setting.fields[i].field);
  }
  if (fields.empty()) return;
  out.push_back({std::move(fields), {command(sentCommands, 0), command(deviceCommands, 0)}});
}

// The settings of settings that are due for working against baseline, by index.
template <class Rec>
std::vector<std::size_t> DueSettings(const Settings<Rec>& settings, const Rec& working,
                                     const Rec& baseline, const RunState& state,
                                     std::string_view scope) {
  std::vector<std::size_t> due;
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (SettingDue(settings[i], working, baseline, state, scope)) due.push_back(i);
  }
  return due;
}

// The commands of the due settings, in sending order.
template <class Rec>
void DueCommands(const Settings<Rec>& settings, const std::vector<std::size_t>& due,
                 const Rec& working, std::string_view scope, std::vector<std::string>& out) {
  std::vector<std::string> commands;
  for (std::size_t i : due) {
    BuildCommands(settings[i], working, scope, commands);
    for (std::string& command : commands) out.push_back(Plain(std::move(command)));
  }
}

// Fills report.sent with the commands answered of all (the ones before the
// one that failed, when the write stopped).
inline void Answered(WriteReport& report, std::vector<std::string> all) {
  if (report.written == 1) {
    report.sent = std::move(all);
    return;
  }
  report.unanswered = Plain(report.failure.command);
  const auto at = std::find(all.begin(), all.end(), report.unanswered);
  all.erase(at, all.end());
  report.sent = std::move(all);
}

// Records mismatch (found in a part reached through at) in result: the
// refused command, the view's working copy at the value sent, and the
// record at the device's value.
template <class Root, class Rec, class At>
void Refuse(CheckedWrite<Root>& result, SettingsCopies<Root>& copies, Root& sent, Root& device,
            const Mismatch<Rec>& mismatch, At at) {
  if (result.refused.empty()) {
    result.refusedView.baseline = device;
    result.refusedView.working = device;
  }
  result.refused.push_back(mismatch.command);
  for (const FieldRef<Rec>& field : mismatch.fields) {
    field.Copy(at(result.refusedView.working), at(sent));
    field.Copy(at(copies.working), at(device));
    field.Copy(at(copies.baseline), at(device));
  }
}

}  // namespace read_back_detail

// Writes instance's part of group from copies (as WriteGroup), then reads
// its page again and compares every setting that was sent. Settings marked
// Last() are sent after that read: the device restarts once it has them.
template <class Root, class Rec>
CheckedWrite<Root> WriteGroupChecked(DeviceContext& context, SettingsCopies<Root>& copies,
                                     const GroupOf<Root, Rec>& group, int instance = 0) {
  using namespace read_back_detail;
  CheckedWrite<Root> result;
  const std::string_view scope = group.ScopeOf(instance);
  Rec& working = group.project(copies.working, instance);
  const Rec& baseline = group.project(copies.baseline, instance);
  Settings<Rec> now, last;
  for (const Setting<Rec>& setting : *group.settings) (setting.last ? last : now).push_back(setting);
  const std::vector<std::size_t> due = DueSettings(now, working, baseline, context.state, scope);
  std::vector<std::string> commands;
  DueCommands(now, due, working, scope, commands);
  result.written = WriteChanges(context, now, working, baseline, scope, &result.failure);
  Answered(result, std::move(commands));
  if (result.written == 1 && !due.empty()) {
    Root device = copies.working;
    result.readBack = ReadGroup(context, group, instance, device);
    if (result.readBack == 1) {
      Root sent = copies.working;
      const auto at = [&group, instance](Root& root) -> Rec& { return group.project(root, instance); };
      for (std::size_t i : due) {
        std::vector<Mismatch<Rec>> mismatches;
        FindMismatches(now[i], at(sent), at(device), scope, mismatches);
        for (const Mismatch<Rec>& mismatch : mismatches) {
          Refuse(result, copies, sent, device, mismatch, at);
        }
      }
    }
  }
  if (!last.empty()) {
    if (result.written == 1) {
      std::vector<std::string> lastCommands;
      DueCommands(last, DueSettings(last, working, baseline, context.state, scope), working, scope,
                  lastCommands);
      WriteReport tail;
      tail.written = WriteChanges(context, last, working, baseline, scope, &tail.failure);
      Answered(tail, std::move(lastCommands));
      result.written = tail.written;
      result.failure = tail.failure;
      result.unanswered = tail.unanswered;
      result.sent.insert(result.sent.end(), tail.sent.begin(), tail.sent.end());
    } else {
      // Never sent: back at the baseline, as WriteChanges leaves the rest.
      for (const Setting<Rec>& setting : last) {
        for (const FieldDecl<Rec>& decl : setting.fields) decl.field.Copy(working, baseline);
      }
    }
  }
  if (group.afterWrite != nullptr) group.afterWrite(context.state);
  return result;
}

// Writes page instance of list from copies (as WriteGroup), then reads the
// pages of the entries sent again and compares them.
template <class Root, class Entry, std::size_t N>
CheckedWrite<Root> WriteGroupChecked(DeviceContext& context, SettingsCopies<Root>& copies,
                                     const ListOf<Root, Entry, N>& list, int instance = 0) {
  using namespace read_back_detail;
  CheckedWrite<Root> result;
  const Settings<Entry>& settings = *list.settings;
  const auto first = static_cast<std::size_t>(instance * list.perInstance);
  const auto count = static_cast<std::size_t>(list.perInstance);
  const auto scope = [&list](std::size_t k) {
    return std::to_string(list.firstNumber + static_cast<int>(k));
  };
  std::span<Entry> working = std::span(list.entries(copies.working)).subspan(first, count);
  std::span<Entry> baseline = std::span(list.entries(copies.baseline)).subspan(first, count);
  // The entries sent (their indexes in the list) and their due settings.
  std::vector<std::pair<std::size_t, std::vector<std::size_t>>> due;
  std::vector<std::string> commands;
  for (std::size_t k : ListSendingOrder(settings, working, baseline)) {
    std::vector<std::size_t> settingsDue =
        DueSettings(settings, working[k], baseline[k], context.state, scope(first + k));
    if (settingsDue.empty()) continue;
    DueCommands(settings, settingsDue, working[k], scope(first + k), commands);
    due.emplace_back(first + k, std::move(settingsDue));
  }
  result.written = WriteListChanges(context, settings, working, baseline,
                                    list.firstNumber + static_cast<int>(first), &result.failure);
  Answered(result, std::move(commands));
  if (result.written != 1 || due.empty()) return result;
  std::size_t low = N, high = 0;
  for (const auto& [k, ignored] : due) {
    low = std::min(low, k);
    high = std::max(high, k);
  }
  Root device = copies.working;
  result.readBack = ReadList(context, list, device, low, high - low + 1);
  if (result.readBack != 1) return result;
  Root sent = copies.working;
  for (const auto& [k, settingsDue] : due) {
    const auto at = [&list, k = k](Root& root) -> Entry& { return list.entries(root)[k]; };
    for (std::size_t i : settingsDue) {
      std::vector<Mismatch<Entry>> mismatches;
      FindMismatches(settings[i], at(sent), at(device), scope(k), mismatches);
      for (const Mismatch<Entry>& mismatch : mismatches) {
        Refuse(result, copies, sent, device, mismatch, at);
      }
    }
  }
  return result;
}

// The same on the record of the run's store.
template <class Group>
CheckedWrite<typename Group::RootType> WriteGroupChecked(DeviceContext& context,
                                                         const Group& group, int instance = 0) {
  return WriteGroupChecked(context, context.records.Of<typename Group::RootType>(), group,
                           instance);
}

}  // namespace setutily
