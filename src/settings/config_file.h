// The configuration file: every category's settings as the device commands
// that set them, one per line, grouped by category with comment lines, under
// a header that names the device, and closed by an end line. Plain UTF-8 a
// person can read, compare and replay by hand at the device's command line.
//
//   # MORIVEX-9 設定ファイル (setutily)       the title: required, first line
//   # 機種: MORIVEX-9                         the model: another one is refused
//   # ファームウェア: Version 1.00            below 1.00 is refused
//   # MACアドレス: 00:80:6D:12:34:56         --apply takes it only on this device
//   # 形式: 2（最後の行は「# end」）         the file must end with "# end"
//
//   # アナログ設定 / TEL1
//   analog address tel1 0312345678
//   ...
//   # end
//
// The file holds no time stamp: an unchanged device gives the same file byte
// for byte. Lines starting with "#" and blank lines are comments. The header is the
// title and the comment lines right after it; a file written by hand may
// hold the title alone and only some settings. A file whose header gives
// its format (形式) 2 was written whole and must still end with "# end": one
// that lost its tail is refused.
#pragma once

#include <QtGlobal>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/config.h"

namespace setutily {

// The device a file is of; empty where it is not known (a file then says
// "不明").
struct ConfigHeader {
  std::string model;     // "MORIVEX-9"
  std::string firmware;  // as the device reports it ("Version 1.00")
  std::string mac;       // "00:80:6D:12:34:56"
};

// Told before each category is read or written: its index, the number of
// categories, its title.
using ConfigProgress = std::function<void(int index, int count, const std::string& title)>;

// Reads every category from the device (baselines and working copies).
// Returns 1, or 0 with failedTitle naming the category whose read failed
// (context.readFailure says why).
int ReadConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
               const ConfigProgress& progress, std::string* failedTitle);

// The file for the working copies.
std::string ConfigText(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                       const ConfigHeader& header);

// The device a file's header names (the title's model, "# 機種:",
// "# ファームウェア:", "# MACアドレス:"); empty where it names none or says
// "不明".
ConfigHeader ConfigFileHeader(std::string_view text);

// Files larger than this are not read.
inline constexpr qint64 kConfigFileLimit = 1 << 20;

// The end line of a whole file.
inline constexpr std::string_view kConfigEndLine = "# end";

struct ConfigError {
  int line = 0;        // 1-based line of the file; 0: the file as a whole
  std::string reason;  // in Japanese, UTF-8
  // Refused only because the file is of another model or firmware; taken
  // when the user says so (--any-model).
  bool otherDevice = false;
};

// "12行目: reason", or the reason alone for the file as a whole.
std::string ConfigErrorText(const ConfigError& error);

struct ConfigCheckOptions {
  bool anyModel = false;  // take a file of another model or firmware
};

// Checks a whole file without the device: the header, every line through
// the tables (as TakeConfig), nothing but comments after the end line, the
// end line where the header promises it, and no setting given twice with
// different values (the error names both lines). False with error on the
// first problem; the caller then sends nothing.
bool CheckConfig(const std::vector<ConfigCategory>& categories, std::string_view text,
                 const ConfigCheckOptions& options, ConfigError& error);

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
// with a line of the file involved. The caller then sends nothing. A line is
// also taken with the blank that ends an empty value trimmed away, and with
// a tab of its command typed as a blank.
// lines (when given) receives every command line taken, in file order.
struct ConfigLine {
  int line = 0;           // 1-based line of the file
  std::size_t group = 0;  // the group that took it: its index among every category's groups
  std::string command;    // as taken (device encoding)
  int setting = -1;       // the group's setting it set
};
bool TakeConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                std::string_view text, ConfigError& error,
                ConfigRules rules = ConfigRules::kWholeRecords,
                std::vector<ConfigLine>* lines = nullptr);

// What applying would send, in sending order.
std::vector<std::string> PendingConfig(DeviceContext& context,
                                       const std::vector<ConfigCategory>& categories);

// What applying did with a command line of the file.
enum class LineOutcome {
  kSame,        // nothing sent: the device held it already
  kTaken,       // sent, and the device holds it (read back)
  kSent,        // sent and answered, not read back (the device restarts, or the read failed)
  kRefused,     // sent and answered, but the device holds another value
  kUnanswered,  // sent without an answer
  kUnsent,      // not sent: the run stopped before it
};
struct AppliedLine {
  int line = 0;
  std::string command;        // device encoding
  LineOutcome outcome = LineOutcome::kSame;
  std::string deviceCommand;  // kRefused: the command that sets what the device holds
};

// A setting the device did not take.
struct RefusedLine {
  int line = 0;               // the file's line that gave it (0: none given)
  std::string title;          // the category (UTF-8)
  std::string command;        // as sent (device encoding)
  std::string deviceCommand;  // the command that sets what the device holds (may be empty)
};

struct ApplyResult {
  bool ok = true;           // every write answered and read back
  int sent = 0;             // commands the device answered
  std::string failedTitle;  // the category whose write or read-back failed
  std::string unanswered;   // the write stopped: the command sent without an answer
  std::string readFailure;  // the read-back failed: why (ReadFailureText)
  std::vector<RefusedLine> refused;  // in sending order
  std::vector<AppliedLine> lines;    // every line given to ApplyConfig, in file order

  // Every setting sent is on the device: only then is it stored.
  bool AllTaken() const { return ok && refused.empty(); }
};

// "12行目: 「...」は機器に受け付けられませんでした（機器の値: 「...」）" (UTF-8).
std::string RefusedLineText(const RefusedLine& refused);
// Why a result that is not ok failed, with what is known of the commands:
// "TEL1の書込みに失敗しました。9個確認済み、10個目（...）は送信しましたが応答がありません。"
std::string ApplyFailureText(const ApplyResult& result);

// Whether applying would send a group marked last (a new router address:
// the device then stores everything and restarts).
bool RestartPending(DeviceContext& context, const std::vector<ConfigCategory>& categories);

// Sends what differs, category by category in their group order, and the
// groups marked last after all others; every group is read back after its
// write (WriteGroupChecked) and what the device did not take is listed
// (with its line, when lines are given: TakeConfig's, for the same
// categories). Stops at the first write that
// went unanswered or group whose read-back failed. Progress counts the
// categories and then each group marked last. Stores nothing.
ApplyResult ApplyConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                        const ConfigProgress& progress,
                        const std::vector<ConfigLine>& lines = {});

// Makes the device keep its settings ("fromwr 15"); 1 or 0. Counts the
// pending changes as stored. On 0 the device may have stored them all the
// same (the answer may have been lost): see kStoreUnconfirmed.
int StoreSettings(DeviceContext& context);
inline constexpr std::string_view kStoreUnconfirmed = "保存（fromwr 15）を確認できませんでした。";

}  // namespace setutily
