// The simulated device's digital ports: show replies and setting commands.
#include <string>
#include <vector>

#include "support/sim_command_line.h"

namespace setutily::testing {
namespace {

using SimDigital = SimCommandLineTest;

// One command per setting, each to a value other than the factory one; the
// reply then shows every line in the device's layout.
TEST_F(SimDigital, PortCommandsShowInTheirPortReply) {
  const std::string changed =
      "self address: 0312345678*99\r\n"
      "arrive transfer: 1\r\n"
      "  address: (03)1234-5678#\r\n"
      "  talky: 3\r\n"
      "global arrive: 0\r\n"
      "subaddress less arrive: 0\r\n"
      "notice number: 2\r\n"
      "i number: 3\r\n"
      "# ";
  for (const std::string port : {"data", "usb", "pna"}) {
    const std::string page = "show digital " + port;
    EXPECT_EQ(Show(page).find("i number: 3"), std::string::npos) << "untouched before: " << port;
    std::vector<std::string> commands = {
        "address " + port + " 0312345678*99", "arrive_transfer address " + port + " (03)1234-5678#",
        "arrive_transfer " + port + " enable", "global_arrive " + port + " disable",
        "no_subaddress " + port + " disable", "notice_number " + port + " address",
        "i_number " + port + " add2"};
    std::string expected = page + "\r\n" + changed;
    if (port == "pna") {  // the HomePNA port has no talky mode
      expected.erase(expected.find("  talky: 3\r\n"), 12);
    } else {
      commands.push_back("arrive_transfer talky " + port + " 3");
    }
    for (const auto& command : commands) EXPECT_TRUE(Accepts("digital " + command)) << command;
    EXPECT_EQ(Show(page), expected);
  }
  EXPECT_TRUE(Accepts("digital address usb "));  // an empty number clears it
  EXPECT_EQ(Show("show digital usb").rfind("show digital usb\r\nself address: \r\n", 0), 0u);
}

TEST_F(SimDigital, CommonCommandsShowInTheCommonReply) {
  const std::vector<std::string> commands = {
      "channel 2", "arrive usb", "resource_bod arrive", "throughput_bod enable",
      "throughput_bod add_evaluation_direction recv", "throughput_bod add_standard_rate 100",
      "throughput_bod add_evaluation_time 255", "throughput_bod add_minimum_time 1",
      "throughput_bod del_evaluation_direction both", "throughput_bod del_standard_rate 0",
      "throughput_bod del_evaluation_time 1", "throughput_bod del_minimum_time 255",
      "bacp_bap enable", "bacp_bap depart_add reject", "bacp_bap depart_del reject",
      "bacp_bap arrive_request reject", "bacp_bap arrive_add reject",
      "bacp_bap arrive_request auto", "disc_time 255", "piafs 2"};
  for (const auto& command : commands) EXPECT_TRUE(Accepts("digital " + command)) << command;
  EXPECT_EQ(Show("show digital common"),
            "show digital common\r\n"
            "init channel number: 0\r\n"
            "digital arrive priority: 1\r\n"
            "resource bod: 2\r\n"
            "throughput bod: 1\r\n"
            "  add evaluation direction: 2\r\n"
            "  add standard rate: 100\r\n"
            "  add evaluation time: 255\r\n"
            "  add minimum maintenance time: 1\r\n"
            "  del evaluation direction: 0\r\n"
            "  del standard rate: 0\r\n"
            "  del evaluation time: 1\r\n"
            "  del minimum maintenance time: 255\r\n"
            "bacp/bap: 1\r\n"
            "  depart channel: 2\r\n"
            "  arrive channel: 6\r\n"
            "disconnect time: 255\r\n"
            "piafs: 2\r\n"
            "# ");
}

TEST_F(SimDigital, ValuesOutOfRangeAndUnknownKeywordsAreRefused) {
  const auto before = device.Settings();
  const std::vector<std::string> refused = {
      "channel 0", "channel 3", "arrive pna", "resource_bod always", "disc_time 256",
      "disc_time -1", "disc_time 99999999999999999999", "piafs 3",
      "throughput_bod add_evaluation_direction up", "throughput_bod add_standard_rate 101",
      "throughput_bod del_evaluation_time 0", "throughput_bod del_minimum_time 256",
      "bacp_bap depart_add yes", "bacp_bap middle_add auto", "arrive_transfer talky pna 1",
      "arrive_transfer talky data 4", "global_arrive lan enable", "i_number usb add3",
      "address data 03 1234", "arrive_transfer address usb " + std::string(54, '1')};
  for (const auto& line : refused) EXPECT_FALSE(Accepts("digital " + line)) << line;
  EXPECT_EQ(device.Settings(), before);
}

}  // namespace
}  // namespace setutily::testing
