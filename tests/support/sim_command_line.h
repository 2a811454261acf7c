// A simulated device at its command line, for tests of a category's show
// replies and setting commands.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "device.h"

namespace setutily::testing {

class SimCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { device.SetCommandLine(true); }
  // Sends one line; true when the device accepted it. Either way the reply
  // is the echo, an error line exactly when refused, and the prompt.
  bool Accepts(const std::string& line) {
    const std::string reply = device.ReceiveText(line + "\r");
    EXPECT_EQ(reply.rfind(line + "\r\n", 0), 0u) << reply;
    EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ");
    const bool accepted = device.Log().back().accepted;
    EXPECT_EQ(reply.find("% Error") == std::string::npos, accepted) << reply;
    return accepted;
  }
  std::string Show(const std::string& command) { return device.ReceiveText(command + "\r"); }

  morivex9sim::Device device;
};

}  // namespace setutily::testing
