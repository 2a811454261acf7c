// The configuration file: every category's settings as the device commands
// that set them, one per line, grouped by category with comment lines, under
// a header that names the device. Plain UTF-8 a person can read, compare and
// replay by hand at the device's command line.
//
//   # MORIVEX-9 設定ファイル
//   # 機種: MORIVEX-9
//   ...
//   # アナログ設定 / TEL1
//   analog address tel1 0312345678
//
// Lines starting with "#" and blank lines are comments.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/config.h"

namespace setutily {

struct ConfigHeader {
  std::string model;     // "MORIVEX-9"
  std::string firmware;  // as the device reports it
  std::string mac;
  std::string date;      // "2026-12-08 21:05"
};

// Told before each category is read or written: its index, the number of
// categories, its title.
using ConfigProgress = std::function<void(int index, int count, const std::string& title)>;

// Reads every category from the device (baselines and working copies).
// Returns 1, or 0 with failedTitle naming the category whose read failed.
int ReadConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
               const ConfigProgress& progress, std::string* failedTitle);

// The file for the working copies.
std::string ConfigText(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                       const ConfigHeader& header);

struct ConfigError {
  int line = 0;        // 1-based line of the file
  std::string reason;  // in Japanese, UTF-8
};

// Which rules across fields TakeConfig checks.
enum class ConfigRules {
  kWholeRecords,  // every rule of a group the file touches (the records were read first)
  kGivenFields,   // only rules whose every field the file gives (records not read)
};

// Takes every command of text into the working copies (read them from the
// device first). On the first line that is not valid UTF-8 or holds a
// character Shift-JIS cannot carry, that no group knows, or whose value its
// setting does not take, stops with error; then checks the rules across
// fields of every group the file touches and stops at the first broken one
// with a line of the file involved. The caller then sends nothing.
bool TakeConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                std::string_view text, ConfigError& error,
                ConfigRules rules = ConfigRules::kWholeRecords);

// What applying would send, in sending order.
std::vector<std::string> PendingConfig(DeviceContext& context,
                                       const std::vector<ConfigCategory>& categories);

struct ApplyResult {
  bool ok = true;
  int sent = 0;           // commands the device answered
  std::string failedTitle;  // the category whose write failed
};

// Sends what differs, category by category in their group order, and the
// groups marked last after all others. Stops at the first failed write.
ApplyResult ApplyConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                        const ConfigProgress& progress);

// Makes the device keep its settings ("fromwr 15"); 1 or 0. Counts the
// pending changes as stored.
int StoreSettings(DeviceContext& context);

}  // namespace setutily
