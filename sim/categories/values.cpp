#include "categories/values.h"

#include <cctype>

namespace morivex9sim {

namespace {

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

bool IsAddress(std::string_view text) {
  int count = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find('.', start);
    const std::string_view field =
        text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (field.size() > 3 || !NumberIn(field, 0, 255)) return false;
    ++count;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return count == 4;
}

bool SplitAddressPrefix(std::string_view text, std::string& address, int& prefix) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return false;
  const auto length = NumberIn(text.substr(slash + 1), 0, 32);
  if (!IsAddress(text.substr(0, slash)) || !length || text.size() - slash - 1 > 2) return false;
  address = std::string(text.substr(0, slash));
  prefix = *length;
  return true;
}

std::optional<int> NumberIn(std::string_view text, int min, int max) {
  if (!IsDigits(text) || text.size() > 9) return std::nullopt;
  const int value = std::stoi(std::string(text));
  if (value < min || value > max) return std::nullopt;
  return value;
}

bool IsPrintable(std::string_view text, std::size_t maxLength, bool blanks) {
  if (text.size() > maxLength) return false;
  for (const char c : text) {
    if (c < (blanks ? 0x20 : 0x21) || c > 0x7E) return false;
  }
  return true;
}

bool IsName(std::string_view text, std::size_t maxLength) {
  if (text.size() > maxLength) return false;
  for (const char c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.' && c != '_') {
      return false;
    }
  }
  return true;
}

bool IsDialNumber(std::string_view text) {
  const std::size_t star = text.find('*');
  const std::size_t numberPart = star == std::string_view::npos ? text.size() : star;
  return IsPhoneText(text) && text.size() <= 53 && numberPart <= 32 &&
         text.size() - numberPart <= 20;
}

std::vector<std::string> SplitCommas(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string Line(const std::string& label, const std::string& value) {
  return label + " " + value + "\r\n";
}

bool IsAddressOrEmpty(std::string_view text) { return text.empty() || IsAddress(text); }

void AddCheckedText(Device& device, std::string pattern, std::string key,
                    std::function<bool(std::string_view)> check, std::string error) {
  device.AddCommand(std::move(pattern),
                    [key = std::move(key), check = std::move(check), error = std::move(error)](
                        Device& d, const std::vector<std::string>& c, std::string&,
                        std::string& reason) {
                      if (!check(c.back())) {
                        reason = error;
                        return false;
                      }
                      d.Set(key, c.back());
                      return true;
                    });
}

void AddAddressPair(Device& device, std::string pattern, std::string first, std::string second) {
  device.AddCommand(std::move(pattern), [first = std::move(first), second = std::move(second)](
                                            Device& d, const std::vector<std::string>& c,
                                            std::string&, std::string& error) {
    const auto parts = SplitCommas(c.back());
    if (parts.size() != 2 || !IsAddress(parts[0]) || !IsAddress(parts[1])) {
      error = "two addresses expected (a.b.c.d,a.b.c.d)";
      return false;
    }
    d.Set(first, parts[0]);
    d.Set(second, parts[1]);
    return true;
  });
}

}  // namespace morivex9sim
