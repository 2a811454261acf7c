// The input checks and the command builder.
//
// Properties: whatever a check accepts can be carried by a device command
// (no control byte, a number in range), text that converts exactly to
// Shift-JIS stays free of control bytes, and the builder never emits a
// second command: the control bytes of its output are exactly those of the
// template, whatever the arguments.
//
// Input: byte 0 picks the check's mode and bounds; the rest up to the first
// 0x1E byte is the typed text, then the template, then the argument texts
// (separated by 0x1E).
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "link/exchange.h"
#include "settings/write_table.h"
#include "text/checks.h"
#include "text/encoding.h"
#include "text/scan.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

int ControlBytes(std::string_view text) {
  int count = 0;
  for (char c : text) count += !IsCommandSafeText(std::string_view(&c, 1));
  return count;
}

// The template's own text: the bytes that are not "%s" or "%d".
std::string Literal(std::string_view format) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
      ++i;
    } else {
      out.push_back(format[i]);
    }
  }
  return out;
}

// Templates as the categories write them.
constexpr std::string_view kTemplates[] = {
    "analog address {} %s\r", "analog dial_time {} %d\r", "shortnum add %d %s\r",
    "dns address %s,%s\r",    "date %s/%s/%s\r",          "nat add {} %s,%s\r",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const unsigned selector = data[0];
  const auto parts = SplitAt(fuzz::AsText(data + 1, size - 1), '\x1e');
  const std::string_view typed = parts[0];

  // Checks: acceptance implies a text a command can carry.
  const int ipMode = static_cast<int>(selector & 1);
  if (CheckIpAddress(typed, ipMode) == 0) {
    Require(IsCommandSafeText(typed), "an accepted address is command-safe");
  }
  constexpr long long kBounds[][2] = {{0, 9}, {16, 30}, {3, 15}, {0, 65535}, {1, 2147483647LL},
                                      {-5, 5}, {0, 0}, {0, 999999999999999999LL}};
  const auto& bound = kBounds[(selector >> 1) % 8];
  if (CheckNumberRange(typed, bound[0], bound[1]) == 0) {
    Require(IsCommandSafeText(typed), "an accepted number is command-safe");
    const long long value = ParseLeadingNumber(typed, -(1LL << 62), 1LL << 62);
    Require(value >= bound[0] && value <= bound[1], "an accepted number is in range");
    std::string command;
    Require(FormatCommand("analog dial_time tel1 %d\r", {value}, command) &&
                ControlBytes(command) == 1,
            "an accepted number builds one command");
  }
  if (CheckPhoneNumber(typed) == 0) {
    Require(IsCommandSafeText(typed) && typed.size() <= 53, "an accepted dial string fits");
  }
  if (IsCommandSafeText(typed)) {
    if (const auto device = Utf8ToDeviceExact(typed)) {
      Require(IsCommandSafeText(*device), "exact Shift-JIS text stays command-safe");
    }
  }

  // The builder: real templates with any arguments, then any template.
  std::vector<CommandArg> args;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if ((selector & 0x80) != 0 && parts[i].size() <= 4) {
      args.emplace_back(ParseLeadingNumber(parts[i], -(1LL << 62), 1LL << 62));
    } else {
      args.emplace_back(parts[i]);
    }
  }
  std::vector<std::string_view> formats(std::begin(kTemplates), std::end(kTemplates));
  if (parts.size() > 1) formats.push_back(parts[1]);
  for (std::string_view format : formats) {
    std::string command;
    const std::string scope = std::to_string(selector % 21);
    if (!write_detail::Format(format, args, scope, command)) {
      Require(command.empty(), "a refused command leaves nothing");
      continue;
    }
    Require(ControlBytes(command) == ControlBytes(Literal(format)),
            "the builder adds no control byte to its template");
  }
  return 0;
}
