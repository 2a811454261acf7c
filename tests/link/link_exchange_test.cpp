// The command exchange at the device's command line over both links: the
// serial line (a real pseudo-terminal) and telnet (a real loopback TCP
// connection after the two-password login). One body, both rigs: whatever
// the link, the exchange sees the same replies.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <string>

#include "support/sim_harness.h"
#include "support/telnet_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;

template <class Rig>
struct LinkExchange : ::testing::Test {
  Rig rig;
  std::string reply;
};

using Rigs = ::testing::Types<testing::SerialRig, testing::TelnetRig>;
TYPED_TEST_SUITE(LinkExchange, Rigs);

TYPED_TEST(LinkExchange, ManyExchangesInARow) {
  auto& rig = this->rig;
  ASSERT_TRUE(rig.opened);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(rig.exchange.SendAndWait("youbi 3\r", &this->reply, 3000, kTerminatorPrompt), 1) << i;
    ASSERT_EQ(this->reply, "youbi 3\r\n# ") << i;
  }
  EXPECT_EQ(rig.sim.CommandLines().size(), 50u);
}

TYPED_TEST(LinkExchange, StoreAndLeaveWithTheirEndMarkersInEitherCase) {
  auto& rig = this->rig;
  ASSERT_TRUE(rig.opened);
  rig.sim.With([](morivex9sim::Device& d) {
    d.AddCommand("lower ok", [](morivex9sim::Device&, const auto&, std::string& reply, std::string&) {
      reply = "\r\nok\r\n";
      return true;
    });
  });
  EXPECT_EQ(rig.exchange.SendAndWait("lower ok\r", &this->reply, 3000, kTerminatorOk), 1);
  EXPECT_EQ(rig.exchange.SendAndWait("fromwr 15\r", &this->reply, 10000, kTerminatorWriteOk), 1);
  EXPECT_EQ(this->reply.find("Write OK"), std::string("fromwr 15\r\n").size());
  EXPECT_EQ(rig.sim.CommandLines(), (std::vector<std::string>{"lower ok", "fromwr 15"}));
}

TYPED_TEST(LinkExchange, FaultsFromTheFarEnd) {
  auto& rig = this->rig;
  ASSERT_TRUE(rig.opened);
  std::string& reply = this->reply;

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

  // Noise (all byte values) never completes and stays bounded.
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

TYPED_TEST(LinkExchange, HangUpEndsTheWaitAndClosesTheLink) {
  auto& rig = this->rig;
  ASSERT_TRUE(rig.opened);
  rig.sim.AddFault({Fault::kHangUp, 0, "youbi", 1});
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 1\r", &this->reply, 5000, kTerminatorPrompt), 0);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_TRUE(rig.sim.HungUp());
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 1\r", &this->reply, 5000, kTerminatorPrompt), 0);
  EXPECT_LT(clock.elapsed(), 4000);
}

}  // namespace
}  // namespace setutily
