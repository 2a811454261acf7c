// The simulator's own AT and command-line behaviour.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "device.h"

namespace morivex9sim {
namespace {

TEST(SimAtMode, IdentificationReplies) {
  Device d;
  EXPECT_EQ(d.ReceiveText("ATI\r"), "ATI\r\r\nMORIVEX-9 ISDN TA/ROUTER\r\n\r\nOK\r\n");
  const std::string version = d.ReceiveText("AT%I2\r");
  EXPECT_NE(version.find("Version 1.00"), std::string::npos);
  d.SetFirmware("0.90");
  EXPECT_NE(d.ReceiveText("at%i2\r").find("Version 0.90"), std::string::npos);
  d.SetMac("00:11:22:33:44:55");
  EXPECT_EQ(d.ReceiveText("AT%M\r").substr(7, 17), "00:11:22:33:44:55");
  EXPECT_EQ(d.ReceiveText("ATX9\r"), "ATX9\r\r\nERROR\r\n");
  EXPECT_FALSE(d.Log().back().accepted);
  EXPECT_FALSE(d.InCommandLine());
  EXPECT_EQ(d.ReceiveText("ATT1\r"), "ATT1\r\r\n# ");
  EXPECT_TRUE(d.InCommandLine());
}

TEST(SimCommandLine, EchoPromptAndErrors) {
  Device d;
  d.SetCommandLine(true);
  EXPECT_EQ(d.ReceiveText("\r"), "\r\n# ");
  EXPECT_EQ(d.ReceiveText("youbi 6\r"), "youbi 6\r\n# ");
  EXPECT_EQ(d.ClockWeekday(), 6);
  const std::string error = d.ReceiveText("bogus command\r");
  EXPECT_EQ(error.rfind("bogus command\r\n% Error", 0), 0u);
  EXPECT_EQ(error.substr(error.size() - 4), "\r\n# ");
  EXPECT_FALSE(d.Log().back().accepted);
  EXPECT_EQ(d.ReceiveText("exit\r"), "exit\r\n\r\nOK\r\n");
  EXPECT_FALSE(d.InCommandLine());
}

TEST(SimCommandLine, LinesMayArriveInPiecesAndSeveralAtOnce) {
  Device d;
  d.SetCommandLine(true);
  EXPECT_EQ(d.ReceiveText("you"), "");
  EXPECT_EQ(d.ReceiveText("bi 2\r\0youbi 3\r\n"), "youbi 2\r\n# ");
  std::string both = d.ReceiveText("youbi 4\ryoubi 5\r");
  EXPECT_EQ(both, "youbi 4\r\n# youbi 5\r\n# ");
  EXPECT_EQ((d.CommandLines()), (std::vector<std::string>{"youbi 2", "youbi 4", "youbi 5"}));
}

TEST(SimCommandLine, ClockCommandsValidateTheirValues) {
  Device d;
  d.SetCommandLine(true);
  d.ReceiveText("date 2027/01/05\r");
  d.ReceiveText("time 09:03:07\r");
  EXPECT_EQ(d.ClockDate(), "2027/01/05");
  EXPECT_EQ(d.ClockTime(), "09:03:07");
  for (const char* bad : {"date 2027/1/5\r", "date 2027/13/01\r", "time 24:00:00\r",
                          "time 9:3:7\r", "youbi 7\r", "youbi -1\r"}) {
    d.ReceiveText(bad);
    EXPECT_FALSE(d.Log().back().accepted) << bad;
  }
  EXPECT_EQ(d.ClockTime(), "09:03:07");
}

TEST(SimFlash, StoreRestartAndReload) {
  QTemporaryDir dir;
  const std::string state = dir.filePath("flash").toStdString();
  {
    Device d;
    d.AddDefault("test.value", "1");
    d.SetStateFile(state);
    d.SetCommandLine(true);
    d.Set("test.value", "2");
    EXPECT_NE(d.ReceiveText("fromwr 15\r").find("Write OK"), std::string::npos);
    d.Set("test.value", "3");  // not stored
  }
  {
    Device d;
    d.AddDefault("test.value", "1");
    d.SetStateFile(state);
    EXPECT_EQ(d.Get("test.value"), "2");
    d.SetCommandLine(true);
    EXPECT_EQ(d.ReceiveText("restart\r").substr(0, 9), "restart\r\n");
    EXPECT_EQ(d.Get("test.value"), "1");
    EXPECT_FALSE(d.InCommandLine());  // rebooting
    // A store command now reaches the AT interpreter and fails.
    EXPECT_EQ(d.ReceiveText("fromwr 15\r").find("Write OK"), std::string::npos);
  }
}

TEST(SimPatterns, PlaceholdersAndHelpers) {
  std::vector<std::string> c;
  EXPECT_TRUE(Device::Match("nat add %d %s,%s", "nat add 3 192.168.0.2,*", c));
  EXPECT_EQ(c, (std::vector<std::string>{"3", "192.168.0.2", "*"}));
  EXPECT_TRUE(Device::Match("analog address tel1 %s", "analog address tel1 ", c));
  EXPECT_EQ(c, (std::vector<std::string>{""}));
  EXPECT_FALSE(Device::Match("analog dial_time tel1 %d", "analog dial_time tel1 x", c));
  EXPECT_TRUE(Device::Match("a %w b", "a word b", c));
  EXPECT_FALSE(Device::Match("a %w", "a two words", c));

  Device d;
  d.SetCommandLine(true);
  d.AddChoice("test mode %w", "test.mode", {"voice", "audio"});
  d.AddNumber("test time %d", "test.time", 3, 15);
  d.AddText("test name %s", "test.name", IsPhoneText);
  d.ReceiveText("test mode audio\r");
  EXPECT_EQ(d.Get("test.mode"), "1");
  d.ReceiveText("test mode video\r");
  EXPECT_FALSE(d.Log().back().accepted);
  d.ReceiveText("test time 16\r");
  EXPECT_FALSE(d.Log().back().accepted);
  d.ReceiveText("test time 15\r");
  EXPECT_EQ(d.Get("test.time"), "15");
  d.ReceiveText("test name 03-1234*5\r");
  EXPECT_EQ(d.Get("test.name"), "03-1234*5");
  d.ReceiveText("test name abc\r");
  EXPECT_FALSE(d.Log().back().accepted);
  EXPECT_EQ(d.Get("test.name"), "03-1234*5");
}

TEST(SimFaults, SkipCountAndLostLines) {
  Device d;
  d.SetCommandLine(true);
  d.AddFault({Fault::kSilent, 0, "youbi", 1, 1});  // the second "youbi" is lost
  EXPECT_EQ(d.ReceiveText("youbi 1\r"), "youbi 1\r\n# ");
  EXPECT_EQ(d.ReceiveText("youbi 2\r"), "");
  EXPECT_EQ(d.ClockWeekday(), 1);
  EXPECT_EQ(d.ReceiveText("youbi 3\r"), "youbi 3\r\n# ");
  EXPECT_EQ(d.CommandLines(), (std::vector<std::string>{"youbi 1", "youbi 3"}));
}

}  // namespace
}  // namespace morivex9sim
