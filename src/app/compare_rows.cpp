#include "app/compare_rows.h"

#include <algorithm>
#include <set>

#include "forms/form_parts.h"

namespace setutily {

namespace {

// The commands of all that are not in without (as many times as they are
// missing), in the order of all.
std::vector<std::string> Missing(const std::vector<std::string>& all,
                                 std::vector<std::string> without) {
  std::vector<std::string> missing;
  for (const std::string& command : all) {
    const auto found = std::find(without.begin(), without.end(), command);
    if (found != without.end()) {
      without.erase(found);
    } else {
      missing.push_back(command);
    }
  }
  return missing;
}

QString Shown(const std::string& command, const std::string& secret, const QString& hidden) {
  QString text = FromDevice(command);
  if (!secret.empty()) {
    // A password stands after the command's words, last.
    const QString password = FromDevice(secret);
    const qsizetype at = text.lastIndexOf(password);
    if (at >= 0) text.replace(at, password.size(), hidden);
  }
  return text;
}

}  // namespace

std::vector<CompareRow> CompareRows(DeviceContext& context,
                                    const std::vector<ConfigCategory>& categories,
                                    DifferenceList differences, const QString& hidden) {
  const std::vector<std::string> all = PendingConfig(context, categories);
  // The category of each command, as its group pends it.
  std::vector<std::pair<std::string, QString>> owners;
  std::vector<std::string> group;
  for (const ConfigCategory& category : categories) {
    for (const ConfigGroup& each : category.groups) {
      group.clear();
      each.pending(context, group);
      for (std::string& command : group) {
        owners.emplace_back(std::move(command), QString::fromStdString(category.title));
      }
    }
  }
  const auto owner = [&owners](const std::string& command) {
    const auto found = std::find_if(owners.begin(), owners.end(),
                                    [&command](const auto& pair) { return pair.first == command; });
    return found != owners.end() ? found->second : QString();
  };
  std::vector<CompareRow> rows;
  std::vector<std::string> claimed;
  std::set<std::pair<const void*, int>> told;
  for (SettingDifference& difference : differences) {
    if (told.count(difference.where) != 0) continue;
    difference.put(true);
    const std::vector<std::string> without = PendingConfig(context, categories);
    difference.put(false);
    const std::vector<std::string> commands = Missing(all, without);
    if (commands.empty()) continue;  // nothing would be sent for it
    told.insert(difference.where);
    CompareRow row{.category = owner(commands.front()),
                   .form = difference.form,
                   .caption = difference.caption,
                   .device = difference.device,
                   .file = difference.file,
                   .commands = {},
                   .sent = commands,
                   .secret = difference.secret};
    for (const std::string& command : commands) {
      row.commands << Shown(command, difference.secretText, hidden);
      claimed.push_back(command);
    }
    rows.push_back(std::move(row));
  }
  // Commands no form's setting accounts for, under their category and group.
  for (const ConfigCategory& category : categories) {
    for (const ConfigGroup& each : category.groups) {
      group.clear();
      each.pending(context, group);
      for (const std::string& command : Missing(group, claimed)) {
        rows.push_back({.category = QString::fromStdString(category.title),
                        .form = QString::fromStdString(category.title + " / " + each.title),
                        .caption = {},
                        .device = {},
                        .file = {},
                        .commands = {FromDevice(command)},
                        .sent = {command},
                        .secret = false});
      }
      for (const std::string& command : group) {
        const auto found = std::find(claimed.begin(), claimed.end(), command);
        if (found != claimed.end()) claimed.erase(found);
      }
    }
  }
  return rows;
}

}  // namespace setutily
