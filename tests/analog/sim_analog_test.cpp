// The simulated device's analog ports: show replies and setting commands.
#include <gtest/gtest.h>

#include "device.h"

namespace morivex9sim {
namespace {

class SimAnalog : public ::testing::Test {
 protected:
  void SetUp() override { device.SetCommandLine(true); }
  // Sends one line; true when the device accepted it.
  bool Accepts(const std::string& line) {
    const std::string reply = device.ReceiveText(line + "\r");
    EXPECT_EQ(reply.rfind(line + "\r\n", 0), 0u) << "echo first: " << reply;
    EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ");
    const bool accepted = device.Log().back().accepted;
    EXPECT_EQ(reply.find("% Error") == std::string::npos, accepted) << reply;
    return accepted;
  }
  Device device;
};

TEST_F(SimAnalog, ShowRepliesInTheDeviceLayout) {
  EXPECT_EQ(device.ReceiveText("show analog tel2\r"),
            "show analog tel2\r\n"
            "self address: \r\n"
            "arrive transfer: 0\r\n"
            "  address: \r\n"
            "  talky: 0\r\n"
            "global arrive: 1\r\n"
            "subaddress less arrive: 1\r\n"
            "analog port mode: 0\r\n"
            "number display: 0\r\n"
            "i number: 0\r\n"
            "notice number: 3\r\n"
            "call waiting: 0\r\n"
            "ring sound: 0\r\n"
            "send dial time: 4\r\n"
            "disc signal: 0\r\n"
            "# ");
  EXPECT_EQ(device.ReceiveText("show analog common\r"),
            "show analog common\r\n"
            "i number: 0\r\n"
            "delay number: 3\r\n"
            "ring sound frequency: 16\r\n"
            "# ");
}

TEST_F(SimAnalog, SettingCommandsChangeWhatTheShowRepliesReport) {
  for (const char* line :
       {"analog address tel3 0312345678*99", "analog arrive_transfer address tel3 (03)1234-5678#",
        "analog arrive_transfer tel3 enable", "analog arrive_transfer talky tel3 3",
        "analog global_arrive tel3 disable", "analog no_subaddress tel3 disable",
        "analog port_mode tel3 audio", "analog number_display tel3 cd", "analog i_number tel3 add2",
        "analog notice_number tel3 address", "analog callwaiting tel3 pseudo",
        "analog ring_sound tel3 ring3", "analog dial_time tel3 15", "analog disc_signal tel3 enable",
        "analog use_i_number enable", "analog delay_number 0", "analog ring_sound_freq 30"}) {
    EXPECT_TRUE(Accepts(line)) << line;
  }
  const std::string tel3 = device.ReceiveText("show analog tel3\r");
  for (const char* line :
       {"self address: 0312345678*99\r\n", "arrive transfer: 1\r\n",
        "  address: (03)1234-5678#\r\n", "  talky: 3\r\n", "global arrive: 0\r\n",
        "subaddress less arrive: 0\r\n", "analog port mode: 1\r\n", "number display: 2\r\n",
        "i number: 3\r\n", "notice number: 2\r\n", "call waiting: 2\r\n", "ring sound: 2\r\n",
        "send dial time: 15\r\n", "disc signal: 1\r\n"}) {
    EXPECT_NE(tel3.find(line), std::string::npos) << line;
  }
  EXPECT_NE(device.ReceiveText("show analog tel1\r").find("send dial time: 4\r\n"),
            std::string::npos);  // the other ports keep theirs
  const std::string common = device.ReceiveText("show analog common\r");
  EXPECT_NE(common.find("i number: 1\r\ndelay number: 0\r\nring sound frequency: 30\r\n"),
            std::string::npos);
  EXPECT_TRUE(Accepts("analog address tel3 "));  // an empty number clears it
  EXPECT_EQ(device.Get("analog.tel3.address"), "");
}

TEST_F(SimAnalog, ValuesOutOfRangeAndUnknownKeywordsAreRefused) {
  const auto before = device.Settings();
  for (const std::string& line : std::vector<std::string>{
           "analog dial_time tel1 2", "analog dial_time tel1 16", "analog delay_number 10",
        "analog delay_number -1", "analog ring_sound_freq 15", "analog ring_sound_freq 31",
        "analog arrive_transfer talky tel1 4", "analog port_mode tel1 video",
        "analog ring_sound tel2 ring4", "analog use_i_number on", "analog i_number tel4 both",
        "analog address tel1 03 1234", "analog address tel1 abc",
        "analog arrive_transfer address tel2 " + std::string(54, '1'),
        "analog dial_time tel1 99999999999999999999"}) {
    EXPECT_FALSE(Accepts(line)) << line;
  }
  EXPECT_EQ(device.Settings(), before);
}

}  // namespace
}  // namespace morivex9sim
