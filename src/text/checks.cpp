#include "text/checks.h"

#include <string>

#include "text/scan.h"

namespace setutily {

namespace {

bool OnlyCharsFrom(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

// Decimal value of the leading digits, saturating far beyond every field so
// that a long digit string cannot wrap around into range.
long long DigitsValue(std::string_view text) {
  return ParseLeadingNumber(text, -1'000'000'000'000'000'000LL, 1'000'000'000'000'000'000LL);
}

}  // namespace

int CheckIpAddress(std::string_view text, int mode) {
  if (!OnlyCharsFrom(text, "0123456789./")) return 1;
  const auto slash = text.find('/');
  const std::string_view address = text.substr(0, slash);
  const std::string_view suffix =
      slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
  if (mode == 1) {
    if (!suffix.empty()) {
      const long long prefix = DigitsValue(suffix);
      if (prefix < 0 || prefix > 32) return 1;
    } else if (!address.empty()) {
      return 1;
    }
  }
  if (address.empty()) return 0;
  std::size_t start = 0;
  for (int field = 0; field < 4; ++field) {
    if (start > address.size()) return 1;  // the field would start beyond the end
    std::string value;
    const std::string_view rest = address.substr(start);
    ExtractField(rest, value, 1);
    if (value.empty()) return 1;
    const long long number = DigitsValue(value);
    if (number < 0 || number > 255) return 1;
    start += value.size() + 1;
  }
  return 0;
}

int CheckNumberRange(std::string_view text, long long minimum, long long maximum) {
  if (!OnlyCharsFrom(text, "0123456789")) return 1;
  const long long value = DigitsValue(text);
  return (value >= minimum && value <= maximum) ? 0 : 1;
}

int CheckPhoneNumber(std::string_view text) {
  if (!OnlyCharsFrom(text, "0123456789()-#*")) return 1;
  if (text.size() > 53) return 1;
  const auto star = text.find('*');
  const std::string_view number = text.substr(0, star);
  const std::string_view subaddress =
      star == std::string_view::npos ? std::string_view{} : text.substr(star);
  if (number.size() > 32) return 1;
  if (subaddress.size() > 20) return 1;
  return 0;
}

bool IsCommandSafeText(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

}  // namespace setutily
