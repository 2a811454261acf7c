// The speed-dial list: the simulator's pages and command, reading both
// pages, and writing the changed entries (including a write that fails on
// the way).
#include <gtest/gtest.h>

#include <QTimer>

#include "forms/session.h"
#include "speeddial/speed_dial_settings.h"
#include "support/scripted_transport.h"
#include "support/sim_harness.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::InProcessRig;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::ScriptedTransport;

std::string Key(int number) { return "shortnum." + std::to_string(number); }

// ---------------------------------------------------------------- simulator

TEST(SpeedDialSim, PagesListAllTenLinesWithEmptyNumbersAsBareLabels) {
  Device d;
  d.SetCommandLine(true);
  for (int n = 1; n <= 20; ++n) EXPECT_EQ(d.Get(Key(n)), "") << n;  // factory setting
  d.Set(Key(2), "0311112222");
  d.Set(Key(20), "0120(33)4444*56");
  EXPECT_EQ(d.ReceiveText("show shortnum num1\r"),
            "show shortnum num1\r\n1: \r\n2: 0311112222\r\n3: \r\n4: \r\n5: \r\n6: \r\n7: \r\n"
            "8: \r\n9: \r\n10: \r\n# ");
  EXPECT_EQ(d.ReceiveText("show shortnum num2\r"),
            "show shortnum num2\r\n11: \r\n12: \r\n13: \r\n14: \r\n15: \r\n16: \r\n17: \r\n"
            "18: \r\n19: \r\n20: 0120(33)4444*56\r\n# ");
}

TEST(SpeedDialSim, AddSetsAndClearsAndRejectsBadNumbersOrCharacters) {
  Device d;
  d.SetCommandLine(true);
  EXPECT_EQ(d.ReceiveText("shortnum add 1 03-1234#*9\r"), "shortnum add 1 03-1234#*9\r\n# ");
  EXPECT_EQ(d.Get(Key(1)), "03-1234#*9");
  EXPECT_EQ(d.ReceiveText("shortnum add 20 (06)\r"), "shortnum add 20 (06)\r\n# ");
  EXPECT_EQ(d.Get(Key(20)), "(06)");
  d.ReceiveText("shortnum add 1 \r");
  EXPECT_EQ(d.Get(Key(1)), "");

  for (const char* bad : {"shortnum add 0 123\r", "shortnum add 21 123\r",
                          "shortnum add -1 123\r", "shortnum add 99999999999999999999 1\r",
                          "shortnum add 5 12a\r", "shortnum add 5 12 34\r",
                          "shortnum add 5 1+2\r"}) {
    const std::string reply = d.ReceiveText(bad);
    EXPECT_NE(reply.find("% Error"), std::string::npos) << bad;
    EXPECT_FALSE(d.Log().back().accepted) << bad;
  }
  EXPECT_EQ(d.Get(Key(5)), "");
  EXPECT_EQ(d.Get(Key(20)), "(06)");
}

// ---------------------------------------------------------------- read

struct InProcessSession {
  InProcessSession() : session(rig.exchange, messages, help) {}
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session;
};

TEST(ReadSpeedDial, FillsBaselineAndWorkingCopyFromBothPages) {
  InProcessSession s;
  s.rig.device.Set(Key(1), "0311112222");
  s.rig.device.Set(Key(10), "0310101010");
  s.rig.device.Set(Key(11), "0311111111*7");
  s.rig.device.Set(Key(20), "0320202020");
  SpeedDialCopies list;
  list.working.entries[4].number = "stale";
  ASSERT_EQ(ReadSpeedDial(s.session, list), 1);
  EXPECT_EQ(s.rig.device.CommandLines(),
            (std::vector<std::string>{"show shortnum num1", "show shortnum num2"}));
  EXPECT_EQ(list.baseline.entries[0].number, "0311112222");  // entry 0 is device number 1
  EXPECT_EQ(list.baseline.entries[1].number, "");
  EXPECT_EQ(list.baseline.entries[9].number, "0310101010");
  EXPECT_EQ(list.baseline.entries[10].number, "0311111111*7");
  EXPECT_EQ(list.baseline.entries[19].number, "0320202020");
  EXPECT_EQ(list.working, list.baseline);
}

TEST(ReadSpeedDial, BareAndMissingLinesGiveEmptyEntriesAndValuesAreTrimmed) {
  ScriptedTransport far;
  CommandExchange exchange;
  exchange.SetTransport(&far);
  RecordingMessages messages;
  RecordingHelp help;
  Session session(exchange, messages, help);
  // Page 1: "3: " with nothing after it, "5:" missing entirely, blanks
  // around a value. Page 2: only two lines, the last without its line end.
  far.onSend = [&far](const QByteArray& command) {
    if (command == "show shortnum num1\r") {
      far.DeliverLater(
          "show shortnum num1\r\n1: 0311\r\n2:   0322  \r\n3: \r\n4: 044\r\n6: 066\r\n"
          "7: 077\r\n8: 088\r\n9: 099\r\n10: 0100\r\n# ");
    } else {
      far.DeliverLater("show shortnum num2\r\n12: 0112\r\n20: 0120\r\n# ");
    }
  };
  SpeedDialCopies list;
  ASSERT_EQ(ReadSpeedDial(session, list), 1);
  EXPECT_EQ(list.baseline.entries[0].number, "0311");
  EXPECT_EQ(list.baseline.entries[1].number, "0322");
  EXPECT_EQ(list.baseline.entries[2].number, "");
  EXPECT_EQ(list.baseline.entries[3].number, "044");
  EXPECT_EQ(list.baseline.entries[4].number, "");  // not taken from the echo line
  EXPECT_EQ(list.baseline.entries[9].number, "0100");
  EXPECT_EQ(list.baseline.entries[10].number, "");
  EXPECT_EQ(list.baseline.entries[11].number, "0112");
  EXPECT_EQ(list.baseline.entries[19].number, "0120");
}

TEST(ReadSpeedDial, AFailedPageLeavesTheListUnchanged) {
  InProcessSession s;
  s.rig.device.Set(Key(1), "0311");
  SpeedDialCopies list;
  list.baseline.entries[0].number = list.working.entries[0].number = "keep";
  // The second page is lost; a hang-up ends the wait at once.
  s.rig.device.AddFault({Fault::kHangUp, 0, "show shortnum num2", 1});
  EXPECT_EQ(ReadSpeedDial(s.session, list), 0);
  EXPECT_EQ(list.baseline.entries[0].number, "keep");
  EXPECT_EQ(list.working.entries[0].number, "keep");
}

// ---------------------------------------------------------------- write

TEST(WriteSpeedDial, SendsOnlyChangedEntriesInDeviceOrder) {
  InProcessSession s;
  s.rig.device.Set(Key(3), "0333");
  SpeedDialCopies list;
  ASSERT_EQ(ReadSpeedDial(s.session, list), 1);
  s.rig.device.ClearLog();
  EXPECT_EQ(WriteSpeedDial(s.session, list), 1);  // nothing changed: nothing sent
  EXPECT_TRUE(s.rig.device.CommandLines().empty());

  list.working.entries[19].number = "0120";
  list.working.entries[2].number = "";                    // cleared
  list.working.entries[0].number = "0312345678*1234";     // with a subaddress
  ASSERT_EQ(WriteSpeedDial(s.session, list), 1);
  // Clearing sends the number, one blank and nothing else before the CR.
  EXPECT_EQ(s.rig.device.CommandLines(),
            (std::vector<std::string>{"shortnum add 1 0312345678*1234", "shortnum add 3 ",
                                      "shortnum add 20 0120"}));
  EXPECT_EQ(s.rig.device.Get(Key(1)), "0312345678*1234");
  EXPECT_EQ(s.rig.device.Get(Key(3)), "");
  EXPECT_EQ(s.rig.device.Get(Key(20)), "0120");
  // The working copy is what the device holds; the next confirmed form makes
  // it the baseline.
  EXPECT_EQ(list.working.entries[0].number, "0312345678*1234");
}

TEST(WriteSpeedDial, FailureOnTheThirdChangedEntryStopsAndRevertsFromThere) {
  InProcessSession s;
  for (int n = 1; n <= 20; ++n) s.rig.device.Set(Key(n), "0" + std::to_string(n));
  SpeedDialCopies list;
  ASSERT_EQ(ReadSpeedDial(s.session, list), 1);
  const SpeedDialList before = list.baseline;
  list.working.entries[1].number = "111";
  list.working.entries[4].number = "";
  list.working.entries[8].number = "999";   // third changed entry: lost on the line
  list.working.entries[13].number = "444";
  list.working.entries[19].number = "200";
  s.rig.device.ClearLog();
  s.rig.device.AddFault({Fault::kSilent, 0, "shortnum add 9 ", 1});
  // The lost line would leave the exchange waiting for its full time-out;
  // drop the link instead so the failure comes at once.
  QObject::connect(&s.rig.exchange, &CommandExchange::BusyChanged, [&](bool busy) {
    if (busy && !s.rig.device.Log().empty() && s.rig.device.Log().back().lost) {
      QTimer::singleShot(0, [&] {
        s.rig.transport.Close();
        emit s.rig.transport.LinkLost();
      });
    }
  });

  EXPECT_EQ(WriteSpeedDial(s.session, list), 0);
  EXPECT_EQ(s.rig.device.CommandLines(),
            (std::vector<std::string>{"shortnum add 2 111", "shortnum add 5 "}));
  // The first two reached the device and stay in the working copy.
  EXPECT_EQ(s.rig.device.Get(Key(2)), "111");
  EXPECT_EQ(s.rig.device.Get(Key(5)), "");
  EXPECT_EQ(list.working.entries[1].number, "111");
  EXPECT_EQ(list.working.entries[4].number, "");
  // The failed entry and every one after it show the device's value again.
  EXPECT_EQ(s.rig.device.Get(Key(9)), "09");
  for (std::size_t i = 8; i < 20; ++i) {
    EXPECT_EQ(list.working.entries[i].number, before.entries[i].number) << i;
  }
}

TEST(WriteSpeedDial, EntryThatCannotFormACommandIsNotSent) {
  InProcessSession s;
  SpeedDialCopies list;
  list.working.entries[0].number = "0311\rrestart";
  EXPECT_EQ(WriteSpeedDial(s.session, list), 0);
  EXPECT_TRUE(s.rig.device.CommandLines().empty());
  EXPECT_EQ(list.working.entries[0].number, "");
}

}  // namespace
}  // namespace setutily
