#include <gtest/gtest.h>

#include <string>

#include "text/checks.h"
#include "text/encoding.h"

namespace setutily {
namespace {

TEST(CheckIpAddress, PlainAddresses) {
  for (const char* ok : {"", "192.168.0.1", "0.0.0.0", "255.255.255.255", "192.168.0.1.5",
                         "192.168.0.1/99", "010.001.000.001"}) {
    EXPECT_EQ(CheckIpAddress(ok, 0), 0) << ok;
  }
  for (const char* bad : {"192.168.0", "192.168.0.256", "192..0.1", "192.168.0.", "a.b.c.d",
                          "192.168.0.1x", " 192.168.0.1", "1.2.3.-4", "4294967297.0.0.1",
                          "1.2.3.99999999999999999999"}) {
    EXPECT_EQ(CheckIpAddress(bad, 0), 1) << bad;
  }
}

TEST(CheckIpAddress, AddressWithPrefixLength) {
  for (const char* ok : {"192.168.0.1/24", "192.168.0.0/0", "10.0.0.0/32", "", "/24"}) {
    EXPECT_EQ(CheckIpAddress(ok, 1), 0) << ok;
  }
  for (const char* bad : {"192.168.0.1/33", "192.168.0.1", "192.168.0.1/", "192.168.0/24",
                          "192.168.0.1/4294967297"}) {
    EXPECT_EQ(CheckIpAddress(bad, 1), 1) << bad;
  }
}

TEST(CheckNumberRange, DigitsWithinLimits) {
  EXPECT_EQ(CheckNumberRange("", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange("0", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange("1", 1, 255), 0);
  EXPECT_EQ(CheckNumberRange("255", 1, 255), 0);
  EXPECT_EQ(CheckNumberRange("256", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange("-1", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange(" 5", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange("5.0", 1, 255), 1);
  EXPECT_EQ(CheckNumberRange("", 0, 100), 0);
  EXPECT_EQ(CheckNumberRange("007", 3, 15), 0);
  // A long digit string never wraps around into range.
  EXPECT_EQ(CheckNumberRange("4294967303", 3, 15), 1);
  EXPECT_EQ(CheckNumberRange("18446744073709551623", 3, 15), 1);
  EXPECT_EQ(CheckNumberRange(std::string(200, '9'), 0, 2147483647), 1);
}

TEST(CheckPhoneNumber, CharactersAndLengths) {
  EXPECT_EQ(CheckPhoneNumber(""), 0);
  EXPECT_EQ(CheckPhoneNumber("(03)1234-5678#"), 0);
  EXPECT_EQ(CheckPhoneNumber("03 1234"), 1);
  EXPECT_EQ(CheckPhoneNumber("03a"), 1);
  EXPECT_EQ(CheckPhoneNumber(std::string(32, '1')), 0);
  EXPECT_EQ(CheckPhoneNumber(std::string(33, '1')), 1);
  EXPECT_EQ(CheckPhoneNumber("0312*" + std::string(19, '2')), 0);
  EXPECT_EQ(CheckPhoneNumber("0312*" + std::string(20, '2')), 1);
  EXPECT_EQ(CheckPhoneNumber(std::string(32, '1') + "*" + std::string(19, '2')), 0);  // 52 in all
  EXPECT_EQ(CheckPhoneNumber(std::string(54, '1')), 1);
  EXPECT_EQ(CheckPhoneNumber("1*2*3"), 0);  // the subaddress starts at the first "*"
}

TEST(IsCommandSafeText, RefusesBytesThatSplitCommands) {
  EXPECT_TRUE(IsCommandSafeText("provider-name 1"));
  EXPECT_TRUE(IsCommandSafeText("\x83\x65\x83\x58"));  // Shift-JIS
  EXPECT_FALSE(IsCommandSafeText("abc\rrestart"));
  EXPECT_FALSE(IsCommandSafeText("abc\n"));
  EXPECT_FALSE(IsCommandSafeText("a\tb"));
  EXPECT_FALSE(IsCommandSafeText("a\x7f"));
  EXPECT_FALSE(IsCommandSafeText(std::string("a\0b", 3)));
}

TEST(Encoding, ShiftJisRoundTripAndAsciiUnchanged) {
  EXPECT_EQ(Utf8ToDevice("0312345678"), "0312345678");
  EXPECT_EQ(Utf8ToDevice("テスト"), "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(DeviceToUtf8("\x83\x65\x83\x58\x83\x67"), "テスト");
  EXPECT_EQ(Utf8ToDevice("a😀b"), "a?b");          // no Shift-JIS form
  EXPECT_EQ(DeviceToUtf8("a\x83"), "a\xEF\xBF\xBD");  // truncated sequence
}

}  // namespace
}  // namespace setutily
