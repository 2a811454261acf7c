#include "settings/config_file.h"

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <climits>
#include <optional>

#include "text/checks.h"
#include "text/encoding.h"
#include "text/scan.h"

namespace setutily {

namespace config_detail {

std::string Template(std::string_view command, std::string_view scope) {
  std::string text = write_detail::ReplaceScope(command, scope);
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

bool BeginsLike(std::string_view command, std::string_view scope, std::string_view line) {
  if (!command.empty() && command.back() == '\r') command.remove_suffix(1);
  std::size_t value = command.find('%');
  while (value != std::string_view::npos && value + 1 < command.size() &&
         command[value + 1] != 's' && command[value + 1] != 'd') {
    value = command.find('%', value + 1);
  }
  if (value != std::string_view::npos && value + 1 >= command.size()) value = std::string_view::npos;
  // The literal pieces between the scope's places, compared whole.
  std::string_view head = command.substr(0, value);
  std::size_t at = 0;
  for (;;) {
    const std::size_t place = head.find("{}");
    const std::string_view piece = head.substr(0, place);
    if (line.substr(at, piece.size()) != piece) return false;
    at += piece.size();
    if (place == std::string_view::npos) break;
    if (line.substr(at, scope.size()) != scope) return false;
    at += scope.size();
    head.remove_prefix(place + 2);
  }
  return value != std::string_view::npos || at == line.size();
}

std::optional<long long> ScopeNumber(std::string_view command, std::string_view line) {
  const std::size_t at = command.find("{}");
  if (at == std::string_view::npos || line.substr(0, at) != command.substr(0, at)) return {};
  std::size_t end = at;
  while (end < line.size() && end - at < 9 && line[end] >= '0' && line[end] <= '9') ++end;
  const std::string_view digits = line.substr(at, end - at);
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return {};
  long long number = 0;
  for (const char d : digits) number = number * 10 + (d - '0');
  return number;
}

bool Match(std::string_view format, std::string_view line, std::vector<std::string>& values) {
  values.clear();
  std::size_t f = 0, l = 0;
  while (f < format.size()) {
    if (format.substr(f, 2) == "%d") {
      std::size_t end = l;
      if (end < line.size() && (line[end] == '-' || line[end] == '+')) ++end;
      const std::size_t digits = end;
      while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
      if (end == digits) return false;
      values.emplace_back(line.substr(l, end - l));
      l = end;
      f += 2;
    } else if (format.substr(f, 2) == "%s") {
      f += 2;
      // The text runs to the next literal part of the format (or the end).
      std::size_t next = format.find('%', f);
      const std::string_view stop = format.substr(f, next == std::string_view::npos ? next : next - f);
      std::size_t end = stop.empty() ? line.size() : line.find(stop, l);
      if (end == std::string_view::npos) return false;
      values.emplace_back(line.substr(l, end - l));
      l = end;
    } else {
      if (l >= line.size() || line[l] != format[f]) return false;
      ++f;
      ++l;
    }
  }
  return l == line.size();
}

namespace {

// The decimal spelling the device prints: no sign but a minus, no leading zero.
bool PlainDecimal(std::string_view text, bool negativeAllowed) {
  if (negativeAllowed && text.size() > 1 && text.front() == '-') text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return false;
  if (text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  return text.size() == 1 || text.front() != '0';
}

// An address as the device prints it back: four plain decimal fields
// (and, prefixed, "/" and a plain prefix), or nothing.
bool PlainAddress(std::string_view text, bool prefixed) {
  const std::size_t slash = text.find('/');
  if (slash != std::string_view::npos) {
    if (!prefixed || !PlainDecimal(text.substr(slash + 1), false)) return false;
    text = text.substr(0, slash);
  }
  if (text.empty()) return true;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = text.find('.');
    if ((dot == std::string_view::npos) != (part == 3)) return false;
    if (!PlainDecimal(text.substr(0, dot), false)) return false;
    text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  }
  return true;
}

std::string Refused(const char16_t* message, int entry, const std::string& detail) {
  QString text = message != nullptr ? QString::fromUtf16(message)
                                    : QStringLiteral("この設定には使えない値です。");
  if (entry > 0 && text.contains(QStringLiteral("%1"))) text = text.arg(entry, 2, 10, QChar(u'0'));
  return text.toStdString() + "（" + detail + "）";
}

}  // namespace

std::string Utf8Message(const char16_t* message) {
  return message != nullptr ? QString::fromUtf16(message).toStdString() : std::string();
}

bool NumberFits(std::string_view text, long long min, long long max, const char16_t* message,
                long long& number, std::string& why) {
  number = ParseLeadingNumber(text, LLONG_MIN / 2, LLONG_MAX / 2);
  if (!PlainDecimal(text, min < 0) || number < min || number > max || number < INT_MIN ||
      number > INT_MAX) {
    why = Refused(message, 0,
                  "「" + std::string(text) + "」: " +
                      std::to_string(std::max(min, -2147483648LL)) + "～" +
                      std::to_string(std::min(max, 2147483647LL)));
    return false;
  }
  return true;
}

bool TextFits(const std::string& text, int maxBytes, TextRule rule,
              bool (*accepts)(std::string_view), bool required, const char16_t* message,
              int entry, std::string& why) {
  if (!IsCommandSafeText(text)) {
    why = Refused(message, entry, "制御文字を含んでいます");
    return false;
  }
  const std::string shown = DeviceToUtf8(text);
  if (maxBytes > 0 && text.size() > static_cast<std::size_t>(maxBytes)) {
    why = Refused(message, entry, "「" + shown + "」: " + std::to_string(maxBytes) + "バイトまで");
    return false;
  }
  if (!TextRuleHolds(rule, text) || (accepts != nullptr && !accepts(text)) ||
      (required && text.empty())) {
    why = Refused(message, entry, "「" + shown + "」");
    return false;
  }
  const bool address = rule == TextRule::kAddress || rule == TextRule::kPrefixedAddress ||
                       (rule == TextRule::kNumeric && AddressText(text));
  if (address && !PlainAddress(text, rule == TextRule::kPrefixedAddress)) {
    why = Refused(message, entry, "「" + shown + "」: 先頭に0の付かない数で書いてください");
    return false;
  }
  return true;
}

}  // namespace config_detail

int ReadConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
               const ConfigProgress& progress, std::string* failedTitle) {
  const int count = static_cast<int>(categories.size());
  for (int i = 0; i < count; ++i) {
    const ConfigCategory& category = categories[static_cast<std::size_t>(i)];
    if (progress) progress(i, count, category.title);
    if (category.read(context) != 1) {
      if (failedTitle != nullptr) *failedTitle = category.title;
      return 0;
    }
  }
  return 1;
}

namespace {

constexpr std::string_view kTitleEnd = " 設定ファイル";
constexpr std::string_view kModelLabel = "# 機種: ";
constexpr std::string_view kFirmwareLabel = "# ファームウェア: ";
constexpr std::string_view kMacLabel = "# MACアドレス: ";
constexpr std::string_view kFormatLabel = "# 形式: ";
// What the header says for a value the device did not report.
constexpr std::string_view kUnknown = "不明";
// Files of this format end with kConfigEndLine; later formats are not read.
constexpr int kFormat = 2;
constexpr std::string_view kModel = "MORIVEX-9";

// Refused lines are shown cut to this many characters.
constexpr std::size_t kEchoCharacters = 80;
// A reason longer than this (it quotes a huge value) is cut as well.
constexpr std::size_t kReasonCharacters = 200;
// How many blanks of a line are tried as the tab of a command.
constexpr int kTabTries = 8;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// text cut to at most characters UTF-8 characters, "…" marking a cut.
std::string Cut(std::string_view text, std::size_t characters) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // continuation byte
    if (count++ == characters) return std::string(text.substr(0, i)) + "…";
  }
  return std::string(text);
}

// Calls visit(number, line) for each line of text, without its line end
// (and the first line without a byte-order mark), until visit returns false.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number == 1 && StartsWith(line, "\xEF\xBB\xBF")) line.remove_prefix(3);
    if (!visit(number, line)) return;
  }
}

bool IsComment(std::string_view line) { return TrimSpace(line).empty() || line.front() == '#'; }

std::vector<const ConfigGroup*> AllGroups(const std::vector<ConfigCategory>& categories) {
  std::vector<const ConfigGroup*> groups;
  for (const ConfigCategory& category : categories) {
    for (const ConfigGroup& group : category.groups) groups.push_back(&group);
  }
  return groups;
}

// Takes command (device encoding) through the first group that knows it;
// group receives its index. A command no group knows is tried again as an
// editor or a typist may have changed it: with the blank after an empty
// value trimmed away, or with a tab typed as a blank. command becomes the
// form that was taken.
LineFit TakeCommand(DeviceContext& context, const std::vector<const ConfigGroup*>& groups,
                    std::string& command, std::size_t& group, std::string& why, int& setting) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const LineFit fit = groups[g]->take(context, command, why, setting);
    if (fit != LineFit::kOther) {
      group = g;
      return fit;
    }
  }
  std::vector<std::string> variants;
  if (!command.empty() && command.back() != ' ') variants.push_back(command + ' ');
  std::size_t at = 0;
  for (int n = 0; n < kTabTries && (at = command.find(' ', at)) != std::string::npos; ++n, ++at) {
    variants.push_back(command);
    variants.back()[at] = '\t';
  }
  std::string ignored;
  for (std::string& variant : variants) {
    for (std::size_t g = 0; g < groups.size(); ++g) {
      if (groups[g]->take(context, variant, ignored, setting) != LineFit::kTaken) continue;
      command = std::move(variant);
      group = g;
      return LineFit::kTaken;
    }
  }
  return LineFit::kOther;
}

// The rules across fields of every group that lines touched, on the
// records as taken; false with error naming a line involved.
bool CheckRules(DeviceContext& context, const std::vector<const ConfigGroup*>& groups,
                const std::vector<ConfigLine>& taken, ConfigRules rules, ConfigError& error) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::vector<int> given;
    int first = 0;
    for (const ConfigLine& line : taken) {
      if (line.group != g) continue;
      if (first == 0) first = line.line;
      given.push_back(line.setting);
    }
    RuleBreak broken;
    if (given.empty() || !groups[g]->check ||
        !groups[g]->check(context, given, rules == ConfigRules::kGivenFields, broken)) {
      continue;
    }
    error.line = first;
    for (const ConfigLine& line : taken) {
      if (line.group != g || std::ranges::find(broken.settings, line.setting) == broken.settings.end()) {
        continue;
      }
      error.line = line.line;
      break;
    }
    error.reason = broken.message;
    return false;
  }
  return true;
}

bool TakeLines(DeviceContext& context, const std::vector<ConfigCategory>& categories,
               std::string_view text, ConfigError& error, std::vector<ConfigLine>& taken,
               ConfigRules rules) {
  const std::vector<const ConfigGroup*> groups = AllGroups(categories);
  bool ok = true;
  ForEachLine(text, [&](int number, std::string_view line) {
    // Every byte of the file reaches the device as written, or the file is refused.
    const std::optional<std::string> exact = Utf8ToDeviceExact(line);
    if (!exact) {
      QStringDecoder utf8(QStringDecoder::Utf8);
      const QString decoded =
          utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
      error.line = number;
      error.reason = utf8.hasError() ? "UTF-8 の文字として読めません（UTF-8 で保存してください）"
                                     : "Shift-JIS で表せない文字を含んでいます";
      ok = false;
      return false;
    }
    if (IsComment(line)) return true;
    std::string command = *exact;
    std::size_t group = 0;
    std::string why;
    int setting = -1;
    const LineFit fit = TakeCommand(context, groups, command, group, why, setting);
    if (fit == LineFit::kTaken) {
      taken.push_back({number, group, std::move(command), setting});
      return true;
    }
    error.line = number;
    error.reason = fit == LineFit::kBad ? Cut(why, kReasonCharacters)
                   : IsCommandSafeText(std::string_view(command).substr(0, command.find('\t')))
                       ? "知らないコマンドです: " + Cut(line, kEchoCharacters)
                       : "制御文字を含んでいます";
    ok = false;
    return false;
  });
  return ok && CheckRules(context, groups, taken, rules, error);
}

// The title, "# MODEL 設定ファイル" with anything after it; model receives
// MODEL.
bool ParseTitle(std::string_view line, std::string& model) {
  if (!StartsWith(line, "# ")) return false;
  const std::size_t end = line.find(kTitleEnd);
  if (end == std::string_view::npos || end <= 2) return false;
  model = std::string(TrimSpace(line.substr(2, end - 2)));
  return !model.empty();
}

// Whether "Version " in field is followed by a number of at least 1.0 (a
// field without it says nothing and passes).
bool FirmwareAtLeastOne(std::string_view field) {
  const std::size_t at = field.find("Version ");
  if (at == std::string_view::npos) return true;
  for (const char c : field.substr(at + 8)) {
    if (c < '0' || c > '9') return false;
    if (c != '0') return true;
  }
  return false;
}

// The header and the end line; the commands are checked by TakeLines.
bool CheckFrame(std::string_view text, const ConfigCheckOptions& options, ConfigError& error) {
  const auto fail = [&error](int line, std::string reason, bool otherDevice = false) {
    error = {line, std::move(reason), otherDevice};
    return false;
  };
  bool titled = false, inHeader = false;
  int modelLine = 0, firmwareLine = 0, formatLine = 0, endLine = 0, format = 1;
  std::string model, firmware;
  bool ok = true;
  ForEachLine(text, [&](int number, std::string_view line) {
    const std::string_view trimmed = TrimRight(line);
    if (!titled) {
      if (trimmed.empty()) return true;  // blank lines before the title
      if (!ParseTitle(trimmed, model)) {
        ok = fail(number, "設定ファイルではありません（最初の行が見出し「# " + std::string(kModel) +
                              std::string(kTitleEnd) + "」ではありません）");
        return false;
      }
      titled = inHeader = true;
      modelLine = number;
      return true;
    }
    if (inHeader && StartsWith(trimmed, "# ")) {
      if (StartsWith(trimmed, kModelLabel)) {
        model = std::string(TrimSpace(trimmed.substr(kModelLabel.size())));
        modelLine = number;
      } else if (StartsWith(trimmed, kFirmwareLabel)) {
        firmware = std::string(TrimSpace(trimmed.substr(kFirmwareLabel.size())));
        firmwareLine = number;
      } else if (StartsWith(trimmed, kFormatLabel)) {
        format = static_cast<int>(ParseLeadingNumber(trimmed.substr(kFormatLabel.size()), 0, 9999));
        formatLine = number;
      }
      return true;
    }
    inHeader = false;
    if (trimmed == kConfigEndLine) {
      if (endLine == 0) endLine = number;
      return true;
    }
    if (endLine != 0 && !IsComment(line)) {
      ok = fail(number, "最後の行「# end」（" + std::to_string(endLine) + "行目）の後に設定があります");
      return false;
    }
    return true;
  });
  if (!ok) return false;
  if (!titled) {
    return fail(0, text.empty() ? "設定ファイルではありません（空のファイルです）"
                                : "設定ファイルではありません（空白の行だけです）");
  }
  if (!options.anyModel && model != kModel) {
    return fail(modelLine, "別の機種（" + Cut(model, 40) + "）の設定ファイルです", true);
  }
  if (!options.anyModel && !FirmwareAtLeastOne(firmware)) {
    return fail(firmwareLine,
                "ファームウェア " + Cut(firmware, 40) +
                    " の設定ファイルです（Version 1.00 以降のものだけを使えます）",
                true);
  }
  if (format > kFormat) {
    return fail(formatLine, "形式 " + std::to_string(format) +
                                " の設定ファイルは読めません（形式 " + std::to_string(kFormat) +
                                " まで）");
  }
  if (format >= kFormat && endLine == 0) {
    return fail(0, "最後の行「# end」がありません。ファイルが途中で切れています");
  }
  return true;
}

std::vector<std::string> DumpGroup(DeviceContext& context, const ConfigGroup& group) {
  std::vector<std::string> commands;
  group.dump(context, commands);
  return commands;
}

// With every line taken into context: a line whose setting a later line
// gives another value. Taking the line again changes the dump of its group
// exactly then; the later line is the first that changes it back.
bool CheckTwice(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                const std::vector<ConfigLine>& taken, ConfigError& error) {
  const std::vector<const ConfigGroup*> groups = AllGroups(categories);
  std::vector<std::optional<std::vector<std::string>>> finals(groups.size());
  std::vector<std::vector<std::string>> seen(groups.size());
  std::string why;
  for (std::size_t i = 0; i < taken.size(); ++i) {
    const ConfigLine& line = taken[i];
    std::vector<std::string>& commands = seen[line.group];
    if (std::ranges::find(commands, line.command) != commands.end()) continue;  // the same again
    commands.push_back(line.command);
    const ConfigGroup& group = *groups[line.group];
    if (!finals[line.group]) finals[line.group] = DumpGroup(context, group);
    int setting = 0;
    group.take(context, line.command, why, setting);
    const std::vector<std::string> again = DumpGroup(context, group);
    if (again == *finals[line.group]) continue;
    int later = 0;
    for (std::size_t j = i + 1; j < taken.size() && later == 0; ++j) {
      if (taken[j].group != line.group) continue;
      group.take(context, taken[j].command, why, setting);
      if (DumpGroup(context, group) != again) later = taken[j].line;
    }
    error = {later != 0 ? later : line.line,
             std::to_string(line.line) + "行目と同じ設定に別の値を与えています"};
    return false;
  }
  return true;
}

}  // namespace

namespace {

// Groups in sending order: every category's groups, those marked last at the end.
template <class Visit>
void InSendingOrder(const std::vector<ConfigCategory>& categories, Visit visit) {
  for (bool last : {false, true}) {
    for (const ConfigCategory& category : categories) {
      for (const ConfigGroup& group : category.groups) {
        if (group.last == last) visit(category, group);
      }
    }
  }
}

}  // namespace

std::string ConfigErrorText(const ConfigError& error) {
  return error.line > 0 ? std::to_string(error.line) + "行目: " + error.reason : error.reason;
}

std::string ConfigText(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                       const ConfigHeader& header) {
  std::string text = "# " + header.model + std::string(kTitleEnd) + " (setutily)\n";
  text += std::string(kModelLabel) + header.model + "\n";
  const auto known = [](const std::string& value) {
    return value.empty() ? std::string(kUnknown) : value;
  };
  text += std::string(kFirmwareLabel) + known(header.firmware) + "\n";
  text += std::string(kMacLabel) + known(header.mac) + "\n";
  text += std::string(kFormatLabel) + std::to_string(kFormat) + "（最後の行は「" +
          std::string(kConfigEndLine) + "」）\n";
  std::vector<std::string> commands;
  InSendingOrder(categories, [&](const ConfigCategory& category, const ConfigGroup& group) {
    commands.clear();
    group.dump(context, commands);
    text += "\n# " + category.title + " / " + group.title + "\n";
    for (const std::string& command : commands) text += DeviceToUtf8(command) + "\n";
  });
  text += "\n" + std::string(kConfigEndLine) + "\n";
  return text;
}

bool CheckConfig(const std::vector<ConfigCategory>& categories, std::string_view text,
                 const ConfigCheckOptions& options, ConfigError& error) {
  if (!CheckFrame(text, options, error)) return false;
  CommandExchange none;
  DeviceContext scratch(none);
  std::vector<ConfigLine> taken;
  return TakeLines(scratch, categories, text, error, taken, ConfigRules::kGivenFields) &&
         CheckTwice(scratch, categories, taken, error);
}

bool TakeConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                std::string_view text, ConfigError& error, ConfigRules rules,
                std::vector<ConfigLine>* lines) {
  std::vector<ConfigLine> taken;
  const bool ok = TakeLines(context, categories, text, error, taken, rules);
  if (lines != nullptr) *lines = std::move(taken);
  return ok;
}

std::vector<std::string> PendingConfig(DeviceContext& context,
                                       const std::vector<ConfigCategory>& categories) {
  std::vector<std::string> commands;
  InSendingOrder(categories, [&](const ConfigCategory&, const ConfigGroup& group) {
    group.pending(context, commands);
  });
  return commands;
}

bool RestartPending(DeviceContext& context, const std::vector<ConfigCategory>& categories) {
  std::vector<std::string> commands;
  InSendingOrder(categories, [&](const ConfigCategory&, const ConfigGroup& group) {
    if (group.last) group.pending(context, commands);
  });
  return !commands.empty();
}

std::string RefusedLineText(const RefusedLine& refused) {
  std::string text = refused.line > 0 ? std::to_string(refused.line) + "行目: " : std::string();
  text += "「" + DeviceToUtf8(refused.command) + "」は機器に受け付けられませんでした";
  if (!refused.deviceCommand.empty()) {
    text += "（機器の値: 「" + DeviceToUtf8(refused.deviceCommand) + "」）";
  }
  return text;
}

std::string ApplyFailureText(const ApplyResult& result) {
  if (result.ok) return {};
  const std::string answered = std::to_string(result.sent);
  if (!result.readFailure.empty()) {
    return result.failedTitle + "の書込みを確認できませんでした（" + answered +
           "個のコマンドに応答があった後、読み直せませんでした）。" + result.readFailure;
  }
  return result.failedTitle + "の書込みに失敗しました。" + answered + "個確認済み、" +
         std::to_string(result.sent + 1) + "個目（" + DeviceToUtf8(result.unanswered) +
         "）は送信しましたが応答がありません。";
}

ApplyResult ApplyConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                        const ConfigProgress& progress, const std::vector<ConfigLine>& lines) {
  ApplyResult result;
  const std::vector<const ConfigGroup*> groups = AllGroups(categories);
  // Per group: what it had to send, and what its write did.
  std::vector<std::vector<std::string>> pending(groups.size());
  std::vector<std::optional<WriteReport>> reports(groups.size());
  std::vector<std::size_t> refusedGroup;  // the group of each refused command
  // The steps told: each category, then each group marked last.
  int count = static_cast<int>(categories.size());
  InSendingOrder(categories, [&count](const ConfigCategory&, const ConfigGroup& group) {
    count += group.last ? 1 : 0;
  });
  int step = -1;
  const ConfigCategory* told = nullptr;
  InSendingOrder(categories, [&](const ConfigCategory& category, const ConfigGroup& group) {
    const auto g = static_cast<std::size_t>(std::ranges::find(groups, &group) - groups.begin());
    if (result.ok && (group.last || told != &category)) {
      told = &category;
      if (progress) progress(++step, count, group.last ? group.title : category.title);
    }
    group.pending(context, pending[g]);
    if (!result.ok || pending[g].empty()) return;
    WriteReport report = group.write(context);
    const std::string title = group.last ? group.title : category.title;
    result.sent += static_cast<int>(report.sent.size());
    for (const RefusedCommand& refused : report.refused) {
      result.refused.push_back({0, title, refused.command, refused.deviceCommand});
      refusedGroup.push_back(g);
    }
    if (report.written != 1) {
      result.ok = false;
      result.failedTitle = title;
      result.unanswered = report.unanswered;
    } else if (report.readBack == 0) {
      result.ok = false;
      result.failedTitle = title;
      result.readFailure = ReadFailureText(context.readFailure);
    }
    reports[g] = std::move(report);
  });
  const auto holds = [](const std::vector<std::string>& commands, const std::string& command) {
    return std::ranges::find(commands, command) != commands.end();
  };
  for (const ConfigLine& line : lines) {
    AppliedLine applied{line.line, line.command, LineOutcome::kSame, {}};
    const std::optional<WriteReport>& report = reports[line.group];
    if (!holds(pending[line.group], line.command)) {
      // kSame: nothing was to be sent for it
    } else if (!report) {
      applied.outcome = LineOutcome::kUnsent;
    } else if (const auto refused = std::ranges::find(report->refused, line.command,
                                                      &RefusedCommand::command);
               refused != report->refused.end()) {
      applied.outcome = LineOutcome::kRefused;
      applied.deviceCommand = refused->deviceCommand;
      for (std::size_t r = 0; r < result.refused.size(); ++r) {
        RefusedLine& told = result.refused[r];
        if (told.line == 0 && refusedGroup[r] == line.group && told.command == line.command) {
          told.line = line.line;
        }
      }
    } else if (holds(report->sent, line.command)) {
      applied.outcome = report->readBack == 1 ? LineOutcome::kTaken : LineOutcome::kSent;
    } else {
      applied.outcome =
          line.command == report->unanswered ? LineOutcome::kUnanswered : LineOutcome::kUnsent;
    }
    result.lines.push_back(std::move(applied));
  }
  return result;
}

int StoreSettings(DeviceContext& context) {
  std::string reply;
  if (context.exchange.SendAndWait("fromwr 15\r", &reply, context.timing.storeMs,
                                   kTerminatorWriteOk) == 0) {
    return 0;
  }
  context.state.pendingChangeCount = 0;
  return 1;
}

ConfigHeader ConfigFileHeader(std::string_view text) {
  ConfigHeader header;
  bool titled = false;
  ForEachLine(text, [&](int, std::string_view line) {
    const std::string_view trimmed = TrimRight(line);
    if (!titled) {
      if (trimmed.empty()) return true;
      titled = ParseTitle(trimmed, header.model);
      return titled;
    }
    if (!StartsWith(trimmed, "# ")) return false;  // the header ends
    const auto value = [&trimmed](std::string_view label) {
      const std::string_view text = TrimSpace(trimmed.substr(label.size()));
      return text == kUnknown ? std::string() : std::string(text);
    };
    if (StartsWith(trimmed, kModelLabel)) header.model = value(kModelLabel);
    if (StartsWith(trimmed, kFirmwareLabel)) header.firmware = value(kFirmwareLabel);
    if (StartsWith(trimmed, kMacLabel)) header.mac = value(kMacLabel);
    return true;
  });
  return header;
}

}  // namespace setutily
