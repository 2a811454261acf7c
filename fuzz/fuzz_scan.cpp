// Reply scanning and value reading on arbitrary bytes and labels.
//
// Input: byte 0 picks the field index, the list number and the cut; byte 1
// the label's length (mod 40); then the label, then the reply.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/encoding.h"
#include "text/scan.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

bool Within(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// An independent reading of a leading decimal number, exact in 128 bits
// (saturating far beyond any long long), then clamped.
long long ReferenceNumber(std::string_view text, long long lo, long long hi) {
  text = text.substr(0, text.find('\0'));
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  __int128 value = 0;
  const __int128 ceiling = static_cast<__int128>(1) << 100;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < ceiling) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (lo > hi) std::swap(lo, hi);
  if (value < lo) return lo;
  if (value > hi) return hi;
  return static_cast<long long>(value);
}

long long Bound(std::string_view bytes) {
  unsigned long long v = 0;
  for (char c : bytes.substr(0, 8)) v = (v << 8) | static_cast<unsigned char>(c);
  return static_cast<long long>(v);
}

bool NoByte(std::string_view text, char c) { return text.find(c) == std::string_view::npos; }

// The first place pattern stands in text, letter case (A-Z) folded, by
// the plainest search.
std::size_t PlainFind(std::string_view text, std::string_view pattern) {
  const auto same = [](char a, char b) {
    return FoldCase(static_cast<unsigned char>(a)) == FoldCase(static_cast<unsigned char>(b));
  };
  for (std::size_t pos = 0; pos + pattern.size() <= text.size(); ++pos) {
    std::size_t i = 0;
    while (i < pattern.size() && same(text[pos + i], pattern[i])) ++i;
    if (i == pattern.size()) return pos;
  }
  return std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const unsigned selector = data[0];
  const std::size_t labelLength = std::min<std::size_t>(data[1] % 40, size - 2);
  const std::string label(fuzz::AsText(data + 2, labelLength));
  const std::string reply(fuzz::AsText(data + 2 + labelLength, size - 2 - labelLength));
  const std::string_view visible = VisibleText(reply);

  for (int mode = 0; mode < 4; ++mode) {
    const int at = FindText(reply, label, mode);
    const std::string_view pattern = VisibleText(label);
    Require(at >= 0 && static_cast<std::size_t>(at) <= visible.size() + 1, "FindText in range");
    if (mode == 0) {
      const std::size_t plain = PlainFind(visible, pattern);
      Require(at == (plain == std::string_view::npos ? 0 : static_cast<int>(plain) + 1),
              "FindText finds the first place");
    }
    if (at > 0) {
      Require(static_cast<std::size_t>(at) - 1 + pattern.size() <= visible.size(),
              "FindText match inside the text");
      const std::string_view found = visible.substr(at - 1, pattern.size());
      Require(mode > 2 ? found == pattern : CompareNoCase(found, pattern) == 0,
              "FindText matches the pattern");
    }
  }
  const int ab = CompareNoCase(reply, label);
  const int ba = CompareNoCase(label, reply);
  Require((ab == 0) == (ba == 0) && (ab < 0) == (ba > 0), "CompareNoCase is antisymmetric");
  Require(CompareNoCase(reply, reply) == 0, "CompareNoCase reflexive");

  for (int index : {0, 3, 7, 10, 13, 17, 8, -1}) {
    char small[8];
    const std::size_t destSize = 1 + selector % sizeof small;
    const int copied = ExtractField(reply, small, destSize, index);
    Require(copied < static_cast<int>(destSize), "ExtractField stays within its buffer");
    if (copied >= 0) Require(small[copied] == '\0', "ExtractField terminates");
    std::string whole;
    const int length = ExtractField(reply, whole, index);
    Require((copied < 0) == (length < 0), "both ExtractField forms agree on failure");
    if (length >= 0) {
      Require(whole.size() == static_cast<std::size_t>(length), "ExtractField length");
      Require(whole.compare(0, static_cast<std::size_t>(copied), small) == 0,
              "ExtractField forms copy the same bytes");
      Require(Within(std::string_view(reply).substr(0, whole.size()), visible) &&
                  NoByte(whole, FieldDelimiter(index)),
              "a field stops at its delimiter, within the visible text");
    }
  }

  const long long lo = Bound(label);
  const long long hi = Bound(std::string_view(label).substr(std::min<std::size_t>(8, label.size())));
  const long long number = ParseLeadingNumber(reply, lo, hi);
  Require(number == ReferenceNumber(reply, lo, hi), "ParseLeadingNumber saturates exactly");

  const std::size_t cut = selector % 70;
  const std::string value = ReadTextValue(reply, label, cut);
  Require(value.size() <= cut && NoByte(value, '\r') && NoByte(value, '\0'),
          "ReadTextValue: one line, cut");
  const long long read = ReadNumberValue(reply, label, -5, 1000);
  Require(read >= -5 && read <= 1000, "ReadNumberValue in range");

  const int entry = static_cast<int>(selector % 24);
  const std::string listValue = ReadListEntry(reply, entry);
  Require(listValue.size() <= kMaxValueLength && NoByte(listValue, '\r') &&
              TrimSpace(listValue) == listValue,
          "ReadListEntry: one trimmed line, cut");
  if (const auto line = FindListLine(reply, entry)) {
    Require(Within(*line, visible) && NoByte(*line, '\r'), "FindListLine within the reply");
  }
  const std::string_view block = ListBlock(reply, entry);
  Require(Within(block, visible), "ListBlock within the reply");
  Require(Within(TrimSpace(reply), reply), "TrimSpace within its text");

  // The conversions are complete and bounded on any bytes.
  const std::string utf8 = DeviceToUtf8(reply);
  Require(utf8.size() <= 3 * reply.size(), "DeviceToUtf8 bounded");
  const std::string back = Utf8ToDevice(utf8);
  Require(back.size() <= utf8.size(), "Utf8ToDevice bounded");
  return 0;
}
