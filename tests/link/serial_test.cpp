// The serial link and the exchange over a real pseudo-terminal with the
// device simulator at the far end.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <string>

#include "support/sim_harness.h"
#include "text/scan.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::SerialRig;

TEST(ComPortDevicePath, DefaultsAndOverrides) {
  EXPECT_EQ(ComPortDevicePath(1, {}), "/dev/ttyS0");
  EXPECT_EQ(ComPortDevicePath(9, {}), "/dev/ttyS8");
  EXPECT_EQ(ComPortDevicePath(1, {{1, " /dev/ttyUSB0 "}}), "/dev/ttyUSB0");
  EXPECT_EQ(ComPortDevicePath(2, {{1, "/dev/ttyUSB0"}}), "/dev/ttyS1");
  EXPECT_EQ(ComPortDevicePath(0, {}), "");
  EXPECT_EQ(ComPortDevicePath(10, {}), "");
}

TEST(SerialLink, OpenFailuresAreReportedAndLeaveTheLinkClosed) {
  SerialLink link;
  EXPECT_EQ(link.Open("/nonexistent/ttyS99"), kSerialCannotOpen);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.LastError().isEmpty());
  EXPECT_FALSE(link.LastErrorWasPermission());
  EXPECT_EQ(link.Open(""), kSerialCannotOpen);
  EXPECT_EQ(link.Close(), 0);  // closing a link that is not open does nothing
  EXPECT_EQ(link.Send("x"), 0);
}

TEST(SerialLink, OpenCloseAndCloseAgain) {
  SerialRig rig(false);
  ASSERT_TRUE(rig.opened);
  EXPECT_TRUE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.Close(), 1);
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.Close(), 0);
}

TEST(SerialExchange, IdentificationAgainstTheSimulator) {
  SerialRig rig(false);
  ASSERT_TRUE(rig.opened);
  std::string reply;
  ASSERT_EQ(rig.exchange.SendAndWait("ATI\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_NE(FindText(reply, "MORIVEX-9", 0), 0);
  ASSERT_EQ(rig.exchange.SendAndWait("AT%M\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_EQ(reply.substr(7, 17), "00:80:6D:12:34:56");
  ASSERT_EQ(rig.exchange.SendAndWait("ATT1\r", &reply, 3000, kTerminatorPrompt), 1);
  ASSERT_EQ(rig.exchange.SendAndWait("fromwr 15\r", &reply, 10000, kTerminatorWriteOk), 1);
  ASSERT_EQ(rig.exchange.SendAndWait("exit\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_EQ(rig.sim.CommandLines(), (std::vector<std::string>{"fromwr 15", "exit"}));
}

TEST(SerialExchange, ManyExchangesInARow) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  std::string reply;
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(rig.exchange.SendAndWait("youbi 3\r", &reply, 3000, kTerminatorPrompt), 1) << i;
  }
  EXPECT_EQ(rig.sim.CommandLines().size(), 50u);
}

TEST(SerialExchange, FaultsFromTheFarEnd) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  std::string reply;

  // No answer: the time-out ends the exchange.
  rig.sim.AddFault({Fault::kSilent, 0, "youbi 1", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 1\r", &reply, 200, kTerminatorPrompt), 0);

  // A late answer within the time-out still completes.
  rig.sim.AddFault({Fault::kDelay, 100, "youbi 2", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 2\r", &reply, 3000, kTerminatorPrompt), 1);

  // A reply cut short times out with what arrived.
  rig.sim.AddFault({Fault::kCut, 5, "youbi 3", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 3\r", &reply, 200, kTerminatorPrompt), 0);
  EXPECT_EQ(reply, "youbi");

  // Noise never completes and stays bounded.
  rig.sim.AddFault({Fault::kGarbage, 5000, "youbi 4", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 4\r", &reply, 300, kTerminatorPrompt), 0);
  EXPECT_LE(reply.size(), kReplyCapacity - 1);

  // A zero byte before the prompt hides it.
  rig.sim.AddFault({Fault::kZeroByte, 0, "youbi 5", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 5\r", &reply, 200, kTerminatorPrompt), 0);
  EXPECT_EQ(reply, "youbi 5");  // the zero byte sits before the echo's line end

  // An oversized reply pushes the prompt beyond the accumulator.
  rig.sim.AddFault({Fault::kOversize, 2100, "youbi 6", 1});
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 6\r", &reply, 300, kTerminatorPrompt), 0);
  EXPECT_EQ(reply.size(), kReplyCapacity - 1);

  // After all that the line works normally again.
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 0\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(reply, "youbi 0\r\n# ");
}

TEST(SerialExchange, HangUpEndsTheWaitAndClosesTheLink) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  rig.sim.AddFault({Fault::kHangUp, 0, "youbi", 1});
  std::string reply;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 1\r", &reply, 5000, kTerminatorPrompt), 0);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 1\r", &reply, 5000, kTerminatorPrompt), 0);
}

}  // namespace
}  // namespace setutily
