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

QString Shown(const std::string& command, const std::string& secret) {
  QString text = FromDevice(command);
  if (!secret.empty()) {
    // A password stands after the command's words, last.
    const QString hidden = FromDevice(secret);
    const qsizetype at = text.lastIndexOf(hidden);
    if (at >= 0) text.replace(at, hidden.size(), QString(8, u'●'));
  }
  return text;
}

}  // namespace

std::vector<CompareRow> CompareRows(DeviceContext& context,
                                    const std::vector<ConfigCategory>& categories,
                                    DifferenceList differences) {
  const std::vector<std::string> all = PendingConfig(context, categories);
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
    CompareRow row{difference.form, difference.caption, difference.device, difference.file, {}};
    for (const std::string& command : commands) {
      row.commands << Shown(command, difference.secretText);
      claimed.push_back(command);
    }
    rows.push_back(std::move(row));
  }
  // Commands no form's setting accounts for, under their category and group.
  std::vector<std::string> group;
  for (const ConfigCategory& category : categories) {
    for (const ConfigGroup& each : category.groups) {
      group.clear();
      each.pending(context, group);
      for (const std::string& command : Missing(group, claimed)) {
        rows.push_back({QString::fromStdString(category.title + " / " + each.title), QString(),
                        QString(), QString(), {FromDevice(command)}});
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
