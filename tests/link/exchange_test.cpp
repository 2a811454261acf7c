// The command exchange: end-markers, time-outs, bounds and refusals,
// against a scripted far end whose bytes the test shapes.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <string>

#include "link/exchange.h"
#include "support/scripted_transport.h"

namespace setutily {
namespace {

using namespace std::string_literals;
using testing::ScriptedTransport;

struct ExchangeTest : ::testing::Test {
  ExchangeTest() { exchange.SetTransport(&transport); }
  ScriptedTransport transport;
  CommandExchange exchange;
  std::string reply;
};

TEST_F(ExchangeTest, EndMarkerSplitAcrossReadsCompletesOnItsLastByte) {
  transport.onSend = [&](const QByteArray&) {
    transport.DeliverLater("ATI\r\r\nMORIVEX-9\r\n\r", 5);
    transport.DeliverLater("\nO", 20);
    transport.DeliverLater("K\r", 35);
    transport.DeliverLater("\n", 50);
  };
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(exchange.SendAndWait("ATI\r", &reply, 3000, kTerminatorOk), 1);
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_EQ(reply, "ATI\r\r\nMORIVEX-9\r\n\r\nOK\r\n");
  EXPECT_EQ(transport.sent, std::vector<std::string>{"ATI\r"});
}

TEST_F(ExchangeTest, LetterCaseOfTheEndMarkerIsIgnoredAndItMayStandAnywhere) {
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("x\r\nok\r\ntrailing"); };
  EXPECT_EQ(exchange.SendAndWait("AT\r", &reply, 3000, kTerminatorOk), 1);
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("foo\r\n# bar"); };
  EXPECT_EQ(exchange.SendAndWait("show x\r", &reply, 3000, kTerminatorPrompt), 1);
}

TEST_F(ExchangeTest, TimeOutKeepsThePartialReply) {
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("show analog tel1\r\nself"); };
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(exchange.SendAndWait("show analog tel1\r", &reply, 150, kTerminatorPrompt), 0);
  EXPECT_GE(clock.elapsed(), 140);
  EXPECT_EQ(reply, "show analog tel1\r\nself");
}

TEST_F(ExchangeTest, TypeWithoutEndMarkerAlwaysWaitsTheFullTimeOut) {
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("\r\nOK\r\n\r\n# Write OK"); };
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(exchange.SendAndWait("AT\r", &reply, 120, 8), 0);
  EXPECT_GE(clock.elapsed(), 110);
  EXPECT_EQ(reply, "\r\nOK\r\n\r\n# Write OK");
}

TEST_F(ExchangeTest, ZeroByteHidesALaterEndMarker) {
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("abc\0\r\n# "s); };
  EXPECT_EQ(exchange.SendAndWait("x\r", &reply, 120, kTerminatorPrompt), 0);
  EXPECT_EQ(reply, "abc");
}

TEST_F(ExchangeTest, OversizedReplyIsBoundedAndItsLateEndMarkerLost) {
  transport.onSend = [&](const QByteArray&) {
    transport.DeliverLater(std::string(3000, 'x') + "\r\n# ");
  };
  EXPECT_EQ(exchange.SendAndWait("x\r", &reply, 120, kTerminatorPrompt), 0);
  EXPECT_EQ(reply.size(), kReplyCapacity - 1);
  // A marker inside the capacity still completes, and the copy obeys the
  // caller's smaller buffer.
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater(std::string(1000, 'y') + "\r\n# "); };
  EXPECT_EQ(exchange.SendAndWait("x\r", &reply, 3000, kTerminatorPrompt, 256), 1);
  EXPECT_EQ(reply, std::string(255, 'y'));
}

TEST_F(ExchangeTest, BytesBeforeAnExchangeTriggerNothingAndAreDiscardedByTheNextSend) {
  transport.DeliverNow("noise\r\nOK\r\n");
  EXPECT_EQ(exchange.Accumulated(), "noise\r\nOK\r\n");
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("fresh"); };
  EXPECT_EQ(exchange.SendAndWait("AT\r", &reply, 100, kTerminatorOk), 0);
  EXPECT_EQ(reply, "fresh");
}

TEST_F(ExchangeTest, RefusesAtOnceWithoutOpenLinkOrWhenNothingIsSent) {
  QElapsedTimer clock;
  clock.start();
  transport.SetOpen(false);
  EXPECT_EQ(exchange.SendAndWait("AT\r", &reply, 3000, kTerminatorOk), 0);
  transport.SetOpen(true);
  transport.acceptNothing = true;
  EXPECT_EQ(exchange.SendAndWait("AT\r", &reply, 3000, kTerminatorOk), 0);
  CommandExchange unattached;
  EXPECT_EQ(unattached.SendAndWait("AT\r", &reply, 3000, kTerminatorOk), 0);
  EXPECT_LT(clock.elapsed(), 500);
}

TEST_F(ExchangeTest, RefusesCommandsWithControlBytesInside) {
  for (const std::string& bad : {"abc\rrestart\r"s, "a\nb\r"s, "a\0b\r"s, ""s, "x\x7f\r"s}) {
    EXPECT_EQ(exchange.SendAndWait(bad, &reply, 3000, kTerminatorPrompt), 0);
  }
  EXPECT_TRUE(transport.sent.empty());
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("\r\n# "); };
  EXPECT_EQ(exchange.SendAndWait("syslog active\tenable\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(exchange.SendAndWait("\r", &reply, 3000, kTerminatorPrompt), 1);
}

TEST_F(ExchangeTest, ASecondExchangeWhileOneWaitsFailsWithoutDisturbingIt) {
  int nested = -1;
  transport.onSend = [&](const QByteArray& bytes) {
    if (bytes == "first\r") {
      QTimer::singleShot(10, [&] {
        std::string other;
        nested = exchange.SendAndWait("second\r", &other, 1000, kTerminatorPrompt);
      });
      transport.DeliverLater("first reply\r\n# ", 40);
    }
  };
  EXPECT_EQ(exchange.SendAndWait("first\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(reply, "first reply\r\n# ");
  EXPECT_EQ(transport.sent, std::vector<std::string>{"first\r"});
}

TEST_F(ExchangeTest, LostLinkEndsTheWaitAtOnce) {
  transport.onSend = [&](const QByteArray&) { transport.LoseLinkLater(20); };
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(exchange.SendAndWait("x\r", &reply, 5000, kTerminatorPrompt), 0);
  EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(ExchangeTest, AnyOfSeveralMarkersCompletes) {
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("login ok>"); };
  EXPECT_EQ(exchange.SendAndWaitForAny("pw\r", &reply, 3000, {">", "#"}), 1);
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("router#"); };
  EXPECT_EQ(exchange.SendAndWaitForAny("pw\r", &reply, 3000, {">", "#"}), 1);
}

TEST_F(ExchangeTest, BusySignalBracketsTheWait) {
  std::vector<bool> changes;
  QObject::connect(&exchange, &CommandExchange::BusyChanged, [&](bool b) { changes.push_back(b); });
  transport.onSend = [&](const QByteArray&) { transport.DeliverLater("\r\n# "); };
  EXPECT_EQ(exchange.SendAndWait("x\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(changes, (std::vector<bool>{true, false}));
  EXPECT_FALSE(exchange.IsBusy());
}

TEST(FormatCommand, FillsArgumentsAndRefusesUnsafeText) {
  std::string out;
  EXPECT_TRUE(FormatCommand("analog dial_time tel1 %d\r", {7}, out));
  EXPECT_EQ(out, "analog dial_time tel1 7\r");
  EXPECT_TRUE(FormatCommand("analog address tel3 %s\r", {""}, out));
  EXPECT_EQ(out, "analog address tel3 \r");
  EXPECT_TRUE(FormatCommand("nat add %d %s,%s\r", {3, "192.168.0.2", "*"}, out));
  EXPECT_EQ(out, "nat add 3 192.168.0.2,*\r");
  EXPECT_FALSE(FormatCommand("dialup provider_name num1 %s\r", {"abc\rrestart"}, out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(FormatCommand("x %d\r", {"text"}, out));  // wrong kind
  EXPECT_FALSE(FormatCommand("x %s %s\r", {"one"}, out));  // too few
  EXPECT_FALSE(FormatCommand("x\r", {"extra"}, out));      // too many
}

}  // namespace
}  // namespace setutily
