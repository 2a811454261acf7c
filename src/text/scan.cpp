#include "text/scan.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <string>

namespace setutily {

unsigned char FoldCase(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

std::string_view VisibleText(std::string_view text) {
  const auto zero = text.find('\0');
  return zero == std::string_view::npos ? text : text.substr(0, zero);
}

namespace {

bool MatchesAt(std::string_view text, std::size_t pos, std::string_view pattern, bool fold) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[pos + i]);
    const auto b = static_cast<unsigned char>(pattern[i]);
    if (fold ? FoldCase(a) != FoldCase(b) : a != b) return false;
  }
  return true;
}

}  // namespace

int FindText(std::string_view text, std::string_view pattern, int mode) {
  text = VisibleText(text);
  pattern = VisibleText(pattern);
  if (text.size() < pattern.size()) return 0;
  const bool fold = mode == 0 || mode == 1 || mode == 2;
  const std::size_t last = mode == 1 ? 0 : text.size() - pattern.size();
  std::size_t found = std::string_view::npos;
  if (pattern.empty()) {
    found = 0;
  } else {
    // Only where the first byte (in either letter case when folding) stands
    // can the pattern begin; memchr finds those places.
    const char first = pattern.front();
    char other = first;
    if (fold && first >= 'A' && first <= 'Z') other = static_cast<char>(first - 'A' + 'a');
    if (fold && first >= 'a' && first <= 'z') other = static_cast<char>(first - 'a' + 'A');
    std::size_t nextFirst = text.find(first);
    std::size_t nextOther = other == first ? nextFirst : text.find(other);
    for (;;) {
      const std::size_t pos = std::min(nextFirst, nextOther);
      if (pos == std::string_view::npos || pos > last) break;
      if (MatchesAt(text, pos, pattern, fold)) {
        found = pos;
        break;
      }
      if (nextFirst == pos) nextFirst = text.find(first, pos + 1);
      if (nextOther == pos) nextOther = other == first ? nextFirst : text.find(other, pos + 1);
    }
  }
  if (found == std::string_view::npos) return 0;
  const int result = static_cast<int>(std::min<std::size_t>(found + 1, 0x7fffffff));
  switch (mode) {
    case 0:
      return result;
    case 1: {
      std::string word;
      ExtractField(text, word, 0);
      return CompareNoCase(word, pattern) == 0 ? result : 0;
    }
    default:
      return CompareNoCase(text, pattern) == 0 ? result : 0;
  }
}

int CompareNoCase(std::string_view a, std::string_view b) {
  a = VisibleText(a);
  b = VisibleText(b);
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    // Past its end a text reads as its terminating zero byte.
    const unsigned char ca = i < a.size() ? FoldCase(static_cast<unsigned char>(a[i])) : 0;
    const unsigned char cb = i < b.size() ? FoldCase(static_cast<unsigned char>(b[i])) : 0;
    if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
  }
  return 0;
}

char FieldDelimiter(int index) {
  static constexpr char kDelimiters[8] = {' ', '.', ',', '/', '-', ':', '*', '\r'};
  if (index >= 10) index -= 10;
  return (index >= 0 && index < 8) ? kDelimiters[index] : '\0';
}

namespace {

// Length of the field, or -1 when the index is invalid or a required
// delimiter is missing.
long FieldLength(std::string_view source, int index) {
  const bool strict = index >= 10 && index <= 17;
  if (!strict && !(index >= 0 && index <= 7)) return -1;
  source = VisibleText(source);
  const auto at = source.find(FieldDelimiter(index));
  if (at == std::string_view::npos) return strict ? -1 : static_cast<long>(source.size());
  return static_cast<long>(at);
}

}  // namespace

int ExtractField(std::string_view source, char* dest, std::size_t destSize, int index) {
  const long length = FieldLength(source, index);
  if (length < 0) return -1;
  if (dest == nullptr || destSize == 0) return 0;
  const std::size_t copied = std::min<std::size_t>(static_cast<std::size_t>(length), destSize - 1);
  std::memcpy(dest, source.data(), copied);
  dest[copied] = '\0';
  return static_cast<int>(copied);
}

int ExtractField(std::string_view source, std::string& dest, int index) {
  const long length = FieldLength(source, index);
  if (length < 0) return -1;
  dest.assign(source.data(), static_cast<std::size_t>(length));
  return static_cast<int>(std::min<long>(length, 0x7fffffff));
}

long long ParseLeadingNumber(std::string_view text, long long min, long long max) {
  text = VisibleText(text);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate the magnitude saturating at 2^63, just beyond every value a
  // long long holds, so that a long digit string clamps instead of wrapping
  // whatever the bounds.
  constexpr unsigned long long kSaturated = 1ULL << 63;
  unsigned long long magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const auto digit = static_cast<unsigned long long>(text[i] - '0');
    magnitude = magnitude > (kSaturated - digit) / 10 ? kSaturated : magnitude * 10 + digit;
  }
  long long value;
  if (negative) {
    // -2^63 is representable; the magnitude never exceeds it.
    value = magnitude == kSaturated ? std::numeric_limits<long long>::min()
                                    : -static_cast<long long>(magnitude);
  } else {
    value = magnitude >= kSaturated ? std::numeric_limits<long long>::max()
                                    : static_cast<long long>(magnitude);
  }
  if (min > max) std::swap(min, max);
  return std::clamp(value, min, max);
}

namespace {

// The value that starts at byte offset `start` of the visible reply.
std::string ValueAt(std::string_view visible, std::size_t start,
                    std::size_t cut = kMaxValueLength) {
  if (start > visible.size()) return {};
  std::string value;
  ExtractField(visible.substr(start), value, 7);
  if (value.size() > cut) value.resize(cut);
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// When a numbered list line ("  12: ...") starts at offset `line`, the
// position just after its ": " and its number; otherwise npos.
std::size_t ListLineValue(std::string_view text, std::size_t line, long long* number) {
  std::size_t i = line;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == digits || i - digits > 9 || text.substr(i, 2) != ": ") return std::string_view::npos;
  *number = ParseLeadingNumber(text.substr(digits, i - digits), 0, 999999999);
  return i + 2;
}

// Calls visit(lineStart) for every line of text until it returns true.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (start <= text.size()) {
    if (visit(start)) return;
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

}  // namespace

std::string ReadTextValue(std::string_view reply, std::string_view label, std::size_t cut) {
  const std::string_view visible = VisibleText(reply);
  const int pos = FindText(visible, label, 0);
  if (pos == 0) return {};
  // The label's first byte is at pos - 1; the value starts one byte (the
  // separator after the colon) beyond the label's end.
  return ValueAt(visible, static_cast<std::size_t>(pos) + label.size(), cut);
}

std::optional<std::string_view> FindListLine(std::string_view reply, int number) {
  const std::string_view visible = VisibleText(reply);
  std::optional<std::string_view> found;
  ForEachLine(visible, [&](std::size_t line) {
    long long n = -1;
    const std::size_t value = ListLineValue(visible, line, &n);
    if (value == std::string_view::npos || n != number) return false;
    std::string_view rest = visible.substr(value);
    found = rest.substr(0, rest.find('\r'));
    return true;
  });
  return found;
}

bool CouldBeListPage(std::string_view reply, std::string_view command) {
  const std::string_view visible = VisibleText(reply);
  while (!command.empty() && (command.back() == '\r' || command.back() == '\n')) {
    command.remove_suffix(1);
  }
  bool listed = false, other = false;
  ForEachLine(visible, [&](std::size_t start) {
    const std::size_t end = visible.find('\n', start);
    if (end == std::string_view::npos) return true;  // the prompt
    const std::string_view line = visible.substr(start, end - start);
    long long n = -1;
    if (ListLineValue(visible, start, &n) != std::string_view::npos) {
      listed = true;
      return true;
    }
    const bool blank = line.find_first_not_of(" \t\r") == std::string_view::npos;
    const bool echo = start == 0 && !command.empty() && FindText(line, command, 0) != 0;
    other = other || (!blank && !echo);
    return false;
  });
  return listed || !other;
}

std::string_view ListBlock(std::string_view reply, int number) {
  const std::string_view visible = VisibleText(reply);
  std::size_t begin = std::string_view::npos;
  std::size_t end = visible.size();
  ForEachLine(visible, [&](std::size_t line) {
    long long n = -1;
    if (ListLineValue(visible, line, &n) == std::string_view::npos) return false;
    if (begin == std::string_view::npos) {
      if (n == number) begin = line;
      return false;
    }
    end = line;
    return true;
  });
  if (begin == std::string_view::npos) return {};
  return visible.substr(begin, end - begin);
}

long long ReadNumberValue(std::string_view reply, std::string_view label, long long min,
                          long long max) {
  return ParseLeadingNumber(ReadTextValue(reply, label), min, max);
}

std::string_view TrimSpace(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n\v\f";
  const auto first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kSpace);
  return text.substr(first, last - first + 1);
}

std::string ReadListEntry(std::string_view reply, int number) {
  const std::string_view visible = VisibleText(reply);
  const std::string label = std::to_string(number) + ": ";
  const int pos = FindText(visible, label, 0);
  if (pos == 0) return {};
  // The value starts after the label's blank, so a value of the full
  // kMaxValueLength is kept whole; further surrounding white space is trimmed.
  const std::string value = ValueAt(visible, static_cast<std::size_t>(pos) - 1 + label.size());
  return std::string(TrimSpace(value));
}

}  // namespace setutily
