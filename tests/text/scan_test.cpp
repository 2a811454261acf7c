#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "text/scan.h"

namespace setutily {
namespace {

using namespace std::string_literals;

TEST(FindText, ModeZeroFindsFirstOccurrenceIgnoringCase) {
  EXPECT_EQ(FindText("Version 1.00", "version ", 0), 1);
  EXPECT_EQ(FindText("abVersion", "VERSION", 0), 3);
  EXPECT_EQ(FindText("ab", "abc", 0), 0);        // text shorter than pattern
  EXPECT_EQ(FindText("anything", "", 0), 1);     // empty pattern
  EXPECT_EQ(FindText("", "", 0), 1);
  EXPECT_EQ(FindText("abcabc", "cab", 0), 3);
  EXPECT_EQ(FindText("abc", "x", 0), 0);
  // Only A-Z fold: Shift-JIS bytes and punctuation compare as they are.
  EXPECT_EQ(FindText("\x83\x65\x83\x58", "\x83\x58", 0), 3);
  EXPECT_EQ(FindText("[", "{", 0), 0);
}

TEST(FindText, ZeroByteEndsTheVisibleText) {
  const std::string text = "abc\0\r\nOK\r\n"s;
  EXPECT_EQ(FindText(text, "\r\nOK\r\n", 0), 0);
  EXPECT_EQ(FindText(text, "abc", 0), 1);
}

TEST(FindText, ModeOneRequiresTheFirstWord) {
  EXPECT_EQ(FindText("SHOW analog", "show", 1), 1);
  EXPECT_EQ(FindText("showing analog", "show", 1), 0);
  EXPECT_EQ(FindText("x show", "show", 1), 0);  // only position 0 is tried
  EXPECT_EQ(FindText("show", "show", 1), 1);
}

TEST(FindText, ModeTwoAndAboveRequireTheWholeText) {
  EXPECT_EQ(FindText("ENABLE", "enable", 2), 1);
  EXPECT_EQ(FindText("enabled", "enable", 2), 0);
  EXPECT_EQ(FindText("enable", "enable", 3), 1);
  EXPECT_EQ(FindText("ENABLE", "enable", 3), 0);  // exact bytes
}

TEST(CompareNoCase, ReturnsFoldedDifference) {
  EXPECT_EQ(CompareNoCase("ABC", "abc"), 0);
  EXPECT_LT(CompareNoCase("abc", "abd"), 0);
  EXPECT_EQ(CompareNoCase("b", "a"), 1);
  EXPECT_EQ(CompareNoCase("ab", "abc"), -'c');
  EXPECT_EQ(CompareNoCase("", ""), 0);
}

TEST(ExtractField, DelimiterRules) {
  std::string out = "untouched";
  EXPECT_EQ(ExtractField("192.168.0.0/24", out, 3), 11);
  EXPECT_EQ(out, "192.168.0.0");
  out = "untouched";
  EXPECT_EQ(ExtractField("192.168.0.1", out, 13), -1);
  EXPECT_EQ(out, "untouched");
  EXPECT_EQ(ExtractField("192.168.0.1", out, 3), 11);
  EXPECT_EQ(out, "192.168.0.1");
  EXPECT_EQ(ExtractField("a-b", out, 14), 1);
  EXPECT_EQ(out, "a");
  EXPECT_EQ(ExtractField("value\rrest", out, 7), 5);
  EXPECT_EQ(ExtractField("x", out, 8), -1);  // outside the contract
  EXPECT_EQ(ExtractField("x", out, 18), -1);
}

TEST(ExtractField, NeverWritesPastItsDestination) {
  const std::string source(300, '7');
  char dest[8];
  std::fill(std::begin(dest), std::end(dest), 'x');
  EXPECT_EQ(ExtractField(source, dest, sizeof dest, 7), 7);
  EXPECT_EQ(std::string(dest), "7777777");
  char one[1] = {'x'};
  EXPECT_EQ(ExtractField(source, one, 1, 7), 0);
  EXPECT_EQ(one[0], '\0');
  std::string all;
  EXPECT_EQ(ExtractField(source, all, 0), 300);  // long values are not cut short
}

TEST(ParseLeadingNumber, ReadsLikeTheDeviceValuesAndClamps) {
  EXPECT_EQ(ParseLeadingNumber("  42abc", -100, 100), 42);
  EXPECT_EQ(ParseLeadingNumber("-7", -100, 100), -7);
  EXPECT_EQ(ParseLeadingNumber("+7", -100, 100), 7);
  EXPECT_EQ(ParseLeadingNumber("abc", -100, 100), 0);
  EXPECT_EQ(ParseLeadingNumber("", -100, 100), 0);
  // Too large for the field: clamped, never wrapped into range.
  EXPECT_EQ(ParseLeadingNumber("4294967303", 0, 15), 15);
  EXPECT_EQ(ParseLeadingNumber("99999999999999999999999999999", 0, 2147483647), 2147483647);
  EXPECT_EQ(ParseLeadingNumber("-99999999999999999999999999999", -5, 5), -5);
}

TEST(ParseLeadingNumber, SaturatesForAnyBounds) {
  constexpr long long kMin = std::numeric_limits<long long>::min();
  constexpr long long kMax = std::numeric_limits<long long>::max();
  const struct {
    const char* text;
    long long min, max, expected;
  } cases[] = {
      {"9223372036854775807", kMin, kMax, kMax},
      {"9223372036854775808", kMin, kMax, kMax},
      {"-9223372036854775808", kMin, kMax, kMin},
      {"-9223372036854775809", kMin, kMax, kMin},
      {"123456789012345678", kMin, kMax, 123456789012345678LL},
      {"-999999999999999999", kMin, kMax, -999999999999999999LL},
      {"1000000000000000000", 0, 500000000000000000LL, 500000000000000000LL},
      {"18446744073709551621", kMin, kMax, kMax},  // 2^64 + 5 must not wrap to 5
      {"7", 10, 0, 7},                             // bounds in either order
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseLeadingNumber(c.text, c.min, c.max), c.expected) << c.text;
  }
}

TEST(ReadValue, TakesTheTextAfterTheLabel) {
  const std::string reply =
      "show analog tel1\r\n"
      "self address: 0312345678*12\r\n"
      "arrive transfer: 1\r\n"
      "  address: 0398765432\r\n"
      "  talky: 3\r\n"
      "send dial time: 7\r\n"
      "\r\n# ";
  EXPECT_EQ(ReadTextValue(reply, "self address:"), "0312345678*12");
  // The indented label does not match inside "self address:".
  EXPECT_EQ(ReadTextValue(reply, "  address:"), "0398765432");
  EXPECT_EQ(ReadNumberValue(reply, "  talky:"), 3);
  EXPECT_EQ(ReadNumberValue(reply, "SEND DIAL TIME:"), 7);
  EXPECT_EQ(ReadNumberValue(reply, "arrive transfer:", 0, 1), 1);
}

TEST(ReadValue, MissingLabelsYieldEmptyOrZeroNeverTheEcho) {
  const std::string reply = "show analog tel1 12345\r\nfoo: 9\r\n# ";
  EXPECT_EQ(ReadTextValue(reply, "self address:"), "");
  EXPECT_EQ(ReadNumberValue(reply, "send dial time:"), 0);
  EXPECT_EQ(ReadNumberValue(reply, "send dial time:", 3, 15), 3);
}

TEST(ReadValue, ValuesAreCutTo54AndStopAtTheEndOfText) {
  const std::string longValue(80, '1');
  EXPECT_EQ(ReadTextValue("label: " + longValue + "\r\n", "label:"), longValue.substr(0, 54));
  EXPECT_EQ(ReadTextValue("label: 123", "label:"), "123");  // no carriage return
  EXPECT_EQ(ReadTextValue("label:", "label:"), "");         // label at the very end
  EXPECT_EQ(ReadTextValue("label: 12\0 34\r\n"s, "label:"), "12");
}

TEST(ReadListEntry, FindsEachNumberedLine) {
  std::string reply = "show shortnum num1\r\n";
  for (int n = 1; n <= 10; ++n) {
    reply += std::to_string(n) + ": " + (n == 3 ? "" : std::to_string(n * 111)) + "\r\n";
  }
  reply += "# ";
  EXPECT_EQ(ReadListEntry(reply, 1), "111");
  EXPECT_EQ(ReadListEntry(reply, 3), "");
  EXPECT_EQ(ReadListEntry(reply, 10), "1110");
  EXPECT_EQ(ReadListEntry(reply, 11), "");  // missing line
  EXPECT_EQ(ReadListEntry("12:   045-123 \t\r\n", 12), "045-123");
}

}  // namespace
}  // namespace setutily

namespace setutily {
namespace {

TEST(ListLines, TakeNumberedLinesOnlyAtALineStart) {
  const std::string reply =
      "show nat\r\n 11: 10.0.0.11, *\r\n  3: 10.0.0.3, 1.2.3.4\r\nx 4: no\r\n"
      " 5: five\r\nrank: 2\r\n 6: six\r\n# ";
  EXPECT_FALSE(FindListLine(reply, 1));  // only inside "11: "
  EXPECT_EQ(FindListLine(reply, 11).value_or("-"), "10.0.0.11, *");
  EXPECT_EQ(FindListLine(reply, 3).value_or("-"), "10.0.0.3, 1.2.3.4");
  EXPECT_FALSE(FindListLine(reply, 4));  // not at a line start
  // An entry's block runs to the next numbered line.
  EXPECT_EQ(ListBlock(reply, 5), " 5: five\r\nrank: 2\r\n");
  EXPECT_EQ(ListBlock(reply, 6), " 6: six\r\n# ");
  EXPECT_EQ(ListBlock(reply, 7), "");
}

}  // namespace
}  // namespace setutily
