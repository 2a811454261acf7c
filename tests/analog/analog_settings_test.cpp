// Reading and writing the analog category against the device simulator.
#include <gtest/gtest.h>

#include "analog/analog_settings.h"
#include "forms/session.h"
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
using testing::SerialRig;

// Gives every analog setting of the device a value of its own, so a label
// read into the wrong field shows.
void DistinctDeviceValues(Device& d) {
  const char* ports[] = {"tel1", "tel2", "tel3"};
  for (int i = 0; i < 3; ++i) {
    const std::string p = std::string("analog.") + ports[i] + ".";
    d.Set(p + "address", "0311112222*" + std::to_string(i + 1));
    d.Set(p + "transfer", "1");
    d.Set(p + "transfer_address", "090-5555-000" + std::to_string(i));
    d.Set(p + "talky", std::to_string(i + 1));
    d.Set(p + "inumber", "2");
    d.Set(p + "display", i == 2 ? "2" : "0");
    d.Set(p + "global", "0");
    d.Set(p + "nosub", "1");
    d.Set(p + "notice", "1");
    d.Set(p + "waiting", "2");
    d.Set(p + "dialtime", std::to_string(10 + i));
    d.Set(p + "mode", "1");
    d.Set(p + "ring", "1");
    d.Set(p + "disc", "1");
  }
  d.Set("analog.common.inumber", "1");
  d.Set("analog.common.delay", "7");
  d.Set("analog.common.frequency", "25");
}

AnalogPort ExpectedPort(int i) {
  AnalogPort p;
  p.self_address = "0311112222*" + std::to_string(i + 1);
  p.arrive_transfer = 1;
  p.transfer_address = "090-5555-000" + std::to_string(i);
  p.talky = i + 1;
  p.i_number = 2;
  p.number_display = i == 2 ? 2 : 0;
  p.global_arrive = 0;
  p.no_subaddress = 1;
  p.notice_number = 1;
  p.callwaiting = 2;
  p.dial_time = 10 + i;
  p.port_mode = 1;
  p.ring_sound = 1;
  p.disc_signal = 1;
  return p;
}

class AnalogOnSim : public ::testing::Test {
 protected:
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session{rig.exchange, messages, help};
  AnalogCategory analog;

  void SetUp() override { ASSERT_EQ(ReadAnalogSettings(session, analog), 1); }
  std::vector<std::string> Sent() { return rig.device.CommandLines(); }
};

TEST(ReadAnalogSettings, FillsEveryFieldOverTheSerialLine) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  rig.sim.With(DistinctDeviceValues);
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  AnalogCategory analog;
  ASSERT_EQ(ReadAnalogSettings(session, analog), 1);
  EXPECT_EQ(rig.sim.CommandLines(),
            (std::vector<std::string>{"show analog tel1", "show analog tel2", "show analog tel3",
                                      "show analog common"}));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(analog.baseline.ports[i] == ExpectedPort(i)) << i;
  EXPECT_EQ(analog.baseline.common.use_i_number, 1);
  EXPECT_EQ(analog.baseline.common.delay_number, 7);
  EXPECT_EQ(analog.baseline.common.ring_sound_freq, 25);
  EXPECT_TRUE(analog.working == analog.baseline);
}

TEST(ReadAnalogSettings, AFailedExchangeLeavesTheWorkingCopyAsItWas) {
  InProcessRig rig;
  rig.device.AddFault({Fault::kHangUp, 0, "show analog tel3", 1, 0});
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  AnalogCategory analog;
  analog.working.ports[0].dial_time = 99;
  EXPECT_EQ(ReadAnalogSettings(session, analog), 0);
  EXPECT_EQ(analog.working.ports[0].dial_time, 99);
  EXPECT_EQ(analog.baseline.ports[0].dial_time, 4);  // read before the failure
}

TEST(ReadAnalogSettings, MissingLabelsDoNotBorrowOtherLines) {
  // A device that leaves out the forwarding address and the dial time.
  ScriptedTransport transport;
  CommandExchange exchange;
  exchange.SetTransport(&transport);
  transport.onSend = [&](const QByteArray& bytes) {
    const std::string command = bytes.toStdString();
    std::string reply = command.substr(0, command.size() - 1) + "\r\n";
    if (command.rfind("show analog tel", 0) == 0) {
      reply += "self address: 0312345678\r\narrive transfer: 1\r\n  talky: 2\r\n"
               "number display: 1\r\n";
    } else {
      reply += "i number: 1\r\nring sound frequency: 20\r\n";
    }
    transport.DeliverLater(reply + "# ");
  };
  RecordingMessages messages;
  RecordingHelp help;
  Session session(exchange, messages, help);
  AnalogCategory analog;
  ASSERT_EQ(ReadAnalogSettings(session, analog), 1);
  const AnalogPort& tel2 = analog.working.ports[1];
  EXPECT_EQ(tel2.self_address, "0312345678");
  EXPECT_EQ(tel2.transfer_address, "");
  EXPECT_EQ(tel2.talky, 2);
  EXPECT_EQ(tel2.dial_time, 0);
  EXPECT_EQ(tel2.number_display, 1);
  EXPECT_EQ(analog.working.common.delay_number, 0);
  EXPECT_EQ(analog.working.common.ring_sound_freq, 20);
}

TEST_F(AnalogOnSim, NothingChangedSendsNothing) {
  rig.device.ClearLog();
  for (int group = 0; group < 4; ++group) {
    EXPECT_EQ(WriteAnalogSettings(session, analog, static_cast<AnalogGroup>(group)), 1);
  }
  EXPECT_TRUE(Sent().empty());
}

TEST_F(AnalogOnSim, OneChangedSettingSendsExactlyItsCommand) {
  rig.device.ClearLog();
  analog.working.ports[1].dial_time = 7;
  EXPECT_EQ(WriteAnalogSettings(session, analog, AnalogGroup::kTel2), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"analog dial_time tel2 7"}));
  analog.working.ports[2].self_address = "";
  analog.baseline.ports[2].self_address = "0312345678";
  rig.device.ClearLog();
  EXPECT_EQ(WriteAnalogSettings(session, analog, AnalogGroup::kTel3), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"analog address tel3 "}));
  EXPECT_EQ(rig.device.Get("analog.tel3.address"), "");
}

TEST_F(AnalogOnSim, EverySettingWrittenIsReadBackAsWritten) {
  rig.device.ClearLog();
  AnalogSettings want = analog.working;
  for (int i = 0; i < 3; ++i) want.ports[i] = ExpectedPort(i);
  want.common = {1, 9, 30};
  analog.working = want;
  for (int group = 0; group < 4; ++group) {
    ASSERT_EQ(WriteAnalogSettings(session, analog, static_cast<AnalogGroup>(group)), 1) << group;
  }
  for (const auto& entry : rig.device.Log()) EXPECT_TRUE(entry.accepted) << entry.line;
  // Port commands in their order, the common group's at the end; settings
  // equal to the factory values (no_subaddress, TEL1/TEL2 display) not at all.
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 12u + 12u + 13u + 3u);
  EXPECT_EQ(sent[0], "analog address tel1 0311112222*1");
  EXPECT_EQ(sent[1], "analog arrive_transfer address tel1 090-5555-0000");
  EXPECT_EQ(sent[2], "analog arrive_transfer tel1 enable");
  EXPECT_EQ(sent[3], "analog arrive_transfer talky tel1 1");
  EXPECT_EQ(sent[11], "analog disc_signal tel1 enable");
  EXPECT_EQ(sent[24 + 6], "analog number_display tel3 cd");
  EXPECT_EQ(sent[39], "analog ring_sound_freq 30");

  AnalogCategory again;
  ASSERT_EQ(ReadAnalogSettings(session, again), 1);
  EXPECT_TRUE(again.working == want);
}

TEST_F(AnalogOnSim, AFailedSecondCommandKeepsTheFirstAndRevertsTheRest) {
  rig.device.ClearLog();
  rig.device.AddFault({Fault::kHangUp, 0, "analog arrive_transfer address tel1", 1, 0});
  AnalogPort& tel1 = analog.working.ports[0];
  tel1.self_address = "0312345678";
  tel1.transfer_address = "0398765432";
  tel1.callwaiting = 1;
  tel1.dial_time = 12;
  WriteFailure failure;
  EXPECT_EQ(WriteAnalogSettings(session, analog, AnalogGroup::kTel1, &failure), 0);
  EXPECT_EQ(failure.command, "analog arrive_transfer address tel1 0398765432\r");
  EXPECT_EQ(rig.device.Get("analog.tel1.address"), "0312345678");
  EXPECT_EQ(tel1.self_address, "0312345678");
  AnalogPort rest = analog.baseline.ports[0];
  rest.self_address = "0312345678";
  EXPECT_TRUE(tel1 == rest);
}

}  // namespace
}  // namespace setutily
