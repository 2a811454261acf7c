// The simulator's command line: what its option table accepts and refuses.
#include <gtest/gtest.h>

#include "sim_options.h"

namespace morivex9sim {
namespace {

TEST(SimOptions, ParsesOrSaysWhatIsWrong) {
  const struct {
    std::vector<std::string> arguments;
    std::string error;  // empty: accepted
  } kCases[] = {
      {{"--tcp", "0", "--quiet"}, ""},
      {{"--pty", "/tmp/x", "--baud", "115200", "--fault", "delay:500@show analog#1x3"}, ""},
      {{"-h"}, ""},
      {{"--quiet"}, "give --pty PATH, --tcp PORT or both"},
      {{"--tcp", "65536"}, "bad PORT \"65536\" for --tcp"},
      {{"--tcp", "2x"}, "bad PORT \"2x\" for --tcp"},
      {{"--pty"}, "--pty needs a value (PATH)"},
      {{"--tcp", "0", "--baud", "-1"}, "bad N \"-1\" for --baud"},
      {{"--tcp", "0", "--fault", "melt"}, "bad FAULT \"melt\" for --fault"},
      {{"--tcp", "0", "--fault", "cut:ten"}, "bad FAULT \"cut:ten\" for --fault"},
      {{"--tcp", "0", "--verbose"}, "unknown option --verbose"},
      {{"--tcp", "0", "tcp"}, "unknown option tcp"},
      {{"-q"}, "unknown option -q"},
      {{"--tcp", "0", "--without", "show syslog"}, ""},
      {{"--tcp", "0", "--without", "show syslogs"}, "bad COMMAND \"show syslogs\" for --without"},
  };
  for (const auto& c : kCases) {
    Device device;
    SimSetup setup(device);
    std::string error;
    EXPECT_EQ(ParseSimCommandLine(c.arguments, setup, error), c.error.empty()) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

TEST(SimOptions, FaultTextGivesKindValuePrefixSkipAndCount) {
  const struct {
    const char* text;
    Fault::Kind kind;
    int value;
    const char* match;
    int skip;
    int count;
  } kCases[] = {
      {"hangup", Fault::kHangUp, 0, "", 0, -1},
      {"delay:500@show analog#1x3", Fault::kDelay, 500, "show analog", 1, 3},
      // An "x" or "#" inside the prefix is the prefix's own.
      {"silent@exit", Fault::kSilent, 0, "exit", 0, -1},
      {"garbage:8@show #1x2", Fault::kGarbage, 8, "show ", 1, 2},
  };
  for (const auto& c : kCases) {
    Fault fault;
    ASSERT_TRUE(ParseFault(c.text, fault)) << c.text;
    EXPECT_EQ(fault.kind, c.kind) << c.text;
    EXPECT_EQ(fault.value, c.value) << c.text;
    EXPECT_EQ(fault.match, c.match) << c.text;
    EXPECT_EQ(fault.skip, c.skip) << c.text;
    EXPECT_EQ(fault.count, c.count) << c.text;
  }
}

}  // namespace
}  // namespace morivex9sim
