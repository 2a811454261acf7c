// The simulated device's incoming-call control: show replies and setting
// commands.
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_command_line.h"

namespace setutily::testing {
namespace {

using SimIncoming = SimCommandLineTest;

// One command per standard setting, each to a value other than the factory
// one; the reply then shows every line in the device's layout. Data-port
// ranks are on the telephone scale: normal 1, reject 3.
TEST_F(SimIncoming, StandardCommandsShowInTheBasicReply) {
  for (const std::string command :
       {"ring_select pseudo", "trouble_tel pseudo", "ring_select ring3",
        "ranking default tel1 precede", "ranking default tel2 delay", "ranking default tel3 reject",
        "ranking default data reject", "ranking default usb normal", "ranking default pna reject",
        "ring_select default ring2", "ranking noid tel1 reject", "ranking noid tel2 precede",
        "ranking noid tel3 delay", "ranking noid data normal", "ranking noid usb reject",
        "ranking noid pna normal", "ring_select noid ring3"}) {
    EXPECT_TRUE(Accepts("arrive " + command)) << command;
  }
  EXPECT_EQ(Show("show arrive basic"),
            "show arrive basic\r\n"
            "ring select service: 1\r\n"
            "trouble tel service: 1\r\n"
            "ntt ring: 2\r\n"
            "default tel1 rank: 0\r\n"
            "default tel2 rank: 2\r\n"
            "default tel3 rank: 3\r\n"
            "default data rank: 3\r\n"
            "default usb rank: 1\r\n"
            "default pna rank: 3\r\n"
            "default ring: 1\r\n"
            "noid tel1 rank: 3\r\n"
            "noid tel2 rank: 0\r\n"
            "noid tel3 rank: 2\r\n"
            "noid data rank: 1\r\n"
            "noid usb rank: 3\r\n"
            "noid pna rank: 1\r\n"
            "noid ring: 2\r\n"
            "# ");
  EXPECT_TRUE(Accepts("arrive ring_select ntt"));
  EXPECT_NE(Show("show arrive basic").find("\r\nring select service: 0\r\n"), std::string::npos);
}

// Every entry set to codes that differ from its neighbours' and between its
// ports, with numbers of the longest length; the pages stay under the 2048
// bytes a reply may take, each entry's lines after its own "n: " label.
TEST_F(SimIncoming, TableCommandsShowInTheirPage) {
  const std::pair<const char*, const char*> rows[] = {
      {"precede normal delay normal reject normal ring1", "0 1 2 1 3 1 0"},
      {"reject delay precede reject normal reject ring3", "3 2 0 3 1 3 2"}};
  const char* ports[] = {"tel1", "tel2", "tel3", "data", "usb", "pna"};
  auto number = [](const std::string& k) {
    return "0" + k + std::string(51 - k.size(), '5') + "#";
  };
  for (int n = 1; n <= 20; ++n) {
    const std::string k = std::to_string(n);
    ASSERT_TRUE(Accepts("arrive address " + k + " " + number(k)));
    std::istringstream words(rows[n % 2].first);
    std::string word;
    for (const char* port : ports) {
      words >> word;
      ASSERT_TRUE(Accepts("arrive ranking " + k + " " + port + " " + word));
    }
    words >> word;
    ASSERT_TRUE(Accepts("arrive ring_select " + k + " " + word));
  }
  for (const auto& [command, first] :
       {std::pair{"show arrive num1", 1}, {"show arrive num2", 11}}) {
    std::string expected = std::string(command) + "\r\n";
    for (int n = first; n < first + 10; ++n) {
      expected += std::to_string(n) + ": " + number(std::to_string(n)) + "\r\n";
      std::istringstream codes(rows[n % 2].second);
      std::string code;
      for (const char* port : ports) {
        codes >> code;
        expected += std::string(port) + " rank: " + code + "\r\n";
      }
      codes >> code;
      expected += "ring: " + code + "\r\n";
    }
    const std::string page = Show(command);
    EXPECT_EQ(page, expected + "# ");
    EXPECT_LT(page.size(), 2048u) << command;
  }
  EXPECT_TRUE(Accepts("arrive address 3 "));  // an empty number clears the entry
  EXPECT_NE(Show("show arrive num1").find("\r\n3: \r\ntel1 rank: 3\r\n"), std::string::npos);
}

TEST_F(SimIncoming, ValuesOutOfRangeAndUnknownKeywordsAreRefused) {
  const auto before = device.Settings();
  const std::vector<std::string> refused = {
      "ring_select other", "trouble_tel none", "ranking default data precede",
      "ranking noid usb delay", "ranking default tel4 normal", "ring_select default ring0",
      "ranking 0 tel1 normal", "ranking 21 pna reject", "ranking 5 data delay",
      "ranking 99999999999 tel1 normal", "ring_select 21 ring1", "ring_select 4 ring4",
      "address 21 0312345678", "address 5 03-1234 5678", "address 5 " + std::string(54, '1')};
  for (const auto& line : refused) EXPECT_FALSE(Accepts("arrive " + line)) << line;
  EXPECT_EQ(device.Settings(), before);
}

}  // namespace
}  // namespace setutily::testing
