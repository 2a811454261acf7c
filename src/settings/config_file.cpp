#include "settings/config_file.h"

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <climits>

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

std::string ConfigText(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                       const ConfigHeader& header) {
  std::string text = "# MORIVEX-9 設定ファイル (setutily)\n";
  text += "# 機種: " + header.model + "\n";
  text += "# ファームウェア: " + header.firmware + "\n";
  text += "# MACアドレス: " + header.mac + "\n";
  text += "# 日時: " + header.date + "\n";
  std::vector<std::string> commands;
  InSendingOrder(categories, [&](const ConfigCategory& category, const ConfigGroup& group) {
    commands.clear();
    group.dump(context, commands);
    text += "\n# " + category.title + " / " + group.title + "\n";
    for (const std::string& command : commands) text += DeviceToUtf8(command) + "\n";
  });
  return text;
}

bool TakeConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                std::string_view text, ConfigError& error, ConfigRules rules) {
  // The lines each group took, with the setting each set, for the rules.
  struct Taken {
    const ConfigGroup* group;
    std::vector<std::pair<int, int>> lines;  // line number, setting
  };
  std::vector<Taken> taken;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // BOM
    error.line = number;
    // Every byte of the file reaches the device as written, or the file is refused.
    const std::optional<std::string> exact = Utf8ToDeviceExact(line);
    if (!exact) {
      QStringDecoder utf8(QStringDecoder::Utf8);
      const QString decoded = utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
      error.reason = utf8.hasError() ? "UTF-8 の文字として読めません（UTF-8 で保存してください）"
                                     : "Shift-JIS で表せない文字を含んでいます";
      return false;
    }
    if (TrimSpace(line).empty() || line.front() == '#') continue;
    const std::string& command = *exact;
    LineFit fit = LineFit::kOther;
    std::string why;
    int setting = -1;
    const ConfigGroup* by = nullptr;
    for (const ConfigCategory& category : categories) {
      for (const ConfigGroup& group : category.groups) {
        fit = group.take(context, command, why, setting);
        if (fit != LineFit::kOther) {
          by = &group;
          break;
        }
      }
      if (fit != LineFit::kOther) break;
    }
    if (fit == LineFit::kTaken) {
      auto at = std::ranges::find(taken, by, &Taken::group);
      if (at == taken.end()) at = taken.insert(taken.end(), Taken{by, {}});
      at->lines.emplace_back(number, setting);
      continue;
    }
    error.reason = fit == LineFit::kBad ? why
                   : IsCommandSafeText(std::string_view(command).substr(0, command.find('\t')))
                       ? "知らないコマンドです: " + std::string(line)
                       : "制御文字を含んでいます";
    return false;
  }
  // The rules across fields, on the records the file would write.
  for (const Taken& group : taken) {
    std::vector<int> given;
    for (const auto& [line, setting] : group.lines) given.push_back(setting);
    RuleBreak broken;
    if (!group.group->check ||
        !group.group->check(context, given, rules == ConfigRules::kGivenFields, broken)) {
      continue;
    }
    error.line = group.lines.front().first;
    for (const auto& [line, setting] : group.lines) {
      if (std::ranges::find(broken.settings, setting) == broken.settings.end()) continue;
      error.line = line;
      break;
    }
    error.reason = broken.message;
    return false;
  }
  return true;
}

std::vector<std::string> PendingConfig(DeviceContext& context,
                                       const std::vector<ConfigCategory>& categories) {
  std::vector<std::string> commands;
  InSendingOrder(categories, [&](const ConfigCategory&, const ConfigGroup& group) {
    group.pending(context, commands);
  });
  return commands;
}

ApplyResult ApplyConfig(DeviceContext& context, const std::vector<ConfigCategory>& categories,
                        const ConfigProgress& progress) {
  ApplyResult result;
  const int count = static_cast<int>(categories.size());
  const ConfigCategory* told = nullptr;
  InSendingOrder(categories, [&](const ConfigCategory& category, const ConfigGroup& group) {
    if (!result.ok) return;
    if (progress && told != &category) {
      told = &category;
      const auto index = &category - categories.data();
      progress(static_cast<int>(index), count, category.title);
    }
    std::vector<std::string> pending;
    group.pending(context, pending);
    if (pending.empty()) return;
    WriteFailure failure;
    if (group.write(context, &failure) == 1) {
      result.sent += static_cast<int>(pending.size());
      return;
    }
    // The commands before the failed one were answered.
    std::string failed = failure.command;
    if (!failed.empty() && failed.back() == '\r') failed.pop_back();
    const auto at = std::find(pending.begin(), pending.end(), failed);
    result.sent += static_cast<int>(at - pending.begin());
    result.ok = false;
    result.failedTitle = category.title;
  });
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

}  // namespace setutily
