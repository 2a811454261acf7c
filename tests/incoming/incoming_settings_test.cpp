// Reading and writing incoming-call control: against the simulator, and
// against hand-made pages for the entry rules the simulator never breaks.
#include <gtest/gtest.h>

#include "incoming/incoming_settings.h"
#include "support/scripted_transport.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Lines;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::ScriptedTransport;
using testing::SessionRig;

IncomingEntry Entry(std::string number, std::array<int, 7> codes) {
  return {std::move(number), codes[0], codes[1], codes[2], codes[3], codes[4], codes[5], codes[6]};
}

TEST(ReadIncomingControl, DataRanksFoldFromTheTelephoneScale) {
  const struct {
    const char* reported;
    int folded;
  } cases[] = {{"3", 1}, {"1", 0}, {"0", 1}, {"2", 1}};
  for (const auto& c : cases) {
    SessionRig rig;
    for (const char* key : {"arrive.default.data", "arrive.noid.pna", "arrive.7.usb",
                            "arrive.13.data", "arrive.13.tel2"}) {
      rig.Device().Set(key, c.reported);
    }
    auto& incoming = rig.Records<IncomingControlSettings>();
    ASSERT_EQ(ReadIncomingControl(rig.session, incoming), 1);
    EXPECT_EQ(rig.Received(), (Lines{"show arrive basic", "show arrive num1", "show arrive num2"}));
    const IncomingControlSettings& s = incoming.working;
    EXPECT_EQ(s.default_data_rank, c.folded) << c.reported;
    EXPECT_EQ(s.noid_pna_rank, c.folded) << c.reported;
    EXPECT_EQ(s.entries[6].usb_rank, c.folded) << c.reported;
    EXPECT_EQ(s.entries[12].data_rank, c.folded) << c.reported;
    EXPECT_EQ(s.entries[12].tel2_rank, std::stoi(c.reported));  // telephone ranks as printed
    EXPECT_EQ(s.default_usb_rank, 0);  // factory "normal" (1) folds to 0
    EXPECT_TRUE(incoming.baseline == incoming.working);
  }
}

// A device page shaped by hand: entries out of the usual shape.
TEST(ReadIncomingControl, EachEntryIsReadFromItsOwnLinesOnly) {
  ScriptedTransport transport;
  CommandExchange exchange;
  exchange.SetTransport(&transport);
  const std::string num1 =
      "1: 0311111111\r\n"
      "tel1 rank: 3\r\ntel2 rank: 3\r\ntel3 rank: 3\r\ndata rank: 3\r\nusb rank: 3\r\n"
      "pna rank: 3\r\nring: 2\r\n"
      "2: 0322222222*12\r\n"
      "tel1 rank: 0\r\ntel2 rank: 0\r\ntel3 rank: 0\r\ndata rank: 1\r\nusb rank: 1\r\n"
      "pna rank: 1\r\nring: 0\r\n"
      "4: 044\r\n"  // no tel2 rank, no ring in entry 4
      "tel1 rank: 2\r\ntel3 rank: 1\r\ndata rank: 1\r\nusb rank: 3\r\npna rank: 1\r\n"
      "5: 055\r\n"
      "tel1 rank: 1\r\ntel2 rank: 3\r\ntel3 rank: 2\r\ndata rank: 3\r\nusb rank: 1\r\n"
      "pna rank: 3\r\nring: 1\r\n"
      "10:    0310101010   \r\n"
      "tel1 rank: 2\r\ntel2 rank: 1\r\ntel3 rank: 0\r\ndata rank: 3\r\nusb rank: 1\r\n"
      "pna rank: 1\r\nring: 2\r\n";
  transport.onSend = [&](const QByteArray& bytes) {
    const std::string command = bytes.toStdString();
    std::string reply = command.substr(0, command.size() - 1) + "\r\n";
    if (command == "show arrive num1\r") reply += num1;
    if (command == "show arrive basic\r") reply += "ring select service: 1\r\nnoid ring: 2\r\n";
    transport.DeliverLater(reply + "# ");
  };
  RecordingMessages messages;
  RecordingHelp help;
  Session session(exchange, messages, help);
  IncomingControlCopies incoming;
  ASSERT_EQ(ReadIncomingControl(session, incoming), 1);
  const auto& e = incoming.working.entries;
  EXPECT_EQ(e[0], Entry("0311111111", {3, 3, 3, 1, 1, 1, 2}));
  EXPECT_EQ(e[1], Entry("0322222222*12", {0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(e[2], Entry("", {0, 0, 0, 1, 1, 1, 0}));  // no such entry: missing labels
  EXPECT_EQ(e[3], Entry("044", {2, 0, 1, 0, 1, 0, 0}));  // not entry 5's tel2 rank and ring
  EXPECT_EQ(e[4], Entry("055", {1, 3, 2, 1, 0, 1, 1}));
  EXPECT_EQ(e[9], Entry("0310101010", {2, 1, 0, 1, 0, 0, 2}));  // its own line, trimmed
  EXPECT_EQ(e[10], Entry("", {0, 0, 0, 1, 1, 1, 0}));
  EXPECT_EQ(incoming.working.ring_select_service, 1);
  EXPECT_EQ(incoming.working.noid_ring, 2);
  EXPECT_EQ(incoming.working.default_data_rank, 1);  // missing: 0, folded
  EXPECT_EQ(incoming.working.ntt_ring, 0);
}

class IncomingOnSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReadIncomingControl(rig.session, incoming), 1);
    rig.Clear();
  }
  SessionRig rig;
  IncomingControlCopies& incoming = rig.Records<IncomingControlSettings>();
};

// Every setting changed, every section written in order, then read back.
TEST_F(IncomingOnSim, EverySettingWrittenIsReadBackAsWritten) {
  IncomingControlSettings& s = incoming.working;
  s.ring_select_service = 1;
  s.trouble_tel_service = 1;
  s.default_tel1_rank = 0, s.default_tel2_rank = 2, s.default_tel3_rank = 3;
  s.default_data_rank = 1, s.default_usb_rank = 1, s.default_pna_rank = 1, s.default_ring = 1;
  s.noid_tel1_rank = 3, s.noid_tel2_rank = 0, s.noid_tel3_rank = 2;
  s.noid_data_rank = 1, s.noid_usb_rank = 1, s.noid_pna_rank = 1, s.noid_ring = 2;
  s.ntt_ring = 2;
  for (int k = 0; k < kIncomingEntryCount; ++k) {
    s.entries[k] = Entry("03" + std::string(51, static_cast<char>('0' + k % 10)),
                         {k % 4, (k + 1) % 4, (k + 2) % 4, k % 2, (k + 1) % 2, k % 2, k % 3});
  }
  s.entries[2].number = "";  // unchanged from the factory value: not sent
  const IncomingControlSettings want = s;
  for (int section : {0, 1, 2}) {
    ASSERT_EQ(WriteIncomingControl(rig.session, incoming, static_cast<IncomingSection>(section)),
              1);
  }
  const Lines sent = rig.Sent();
  const Lines standard = {
      "arrive ring_select pseudo", "arrive trouble_tel pseudo",
      "arrive ranking default tel1 precede", "arrive ranking default tel2 delay",
      "arrive ranking default tel3 reject", "arrive ranking default data reject",
      "arrive ranking default usb reject", "arrive ranking default pna reject",
      "arrive ring_select default ring2", "arrive ranking noid tel1 reject",
      "arrive ranking noid tel2 precede", "arrive ranking noid tel3 delay",
      "arrive ranking noid data reject", "arrive ranking noid usb reject",
      "arrive ranking noid pna reject", "arrive ring_select noid ring3",
      "arrive ring_select ring3"};
  ASSERT_GT(sent.size(), standard.size());
  EXPECT_EQ(Lines(sent.begin(), sent.begin() + standard.size()), standard);
  // Entry by entry: all of entry 1 (factory: normal everywhere, ring1), then entry 2.
  const Lines entries = {"arrive address 1 03" + std::string(51, '0'),
                         "arrive ranking 1 tel1 precede", "arrive ranking 1 tel3 delay",
                         "arrive ranking 1 usb reject",
                         "arrive address 2 03" + std::string(51, '1'),
                         "arrive ranking 2 tel2 delay", "arrive ranking 2 tel3 reject",
                         "arrive ranking 2 data reject"};
  EXPECT_EQ(Lines(sent.begin() + standard.size(), sent.begin() + standard.size() + entries.size()),
            entries);
  EXPECT_EQ(sent.back(), "arrive ring_select 20 ring2");

  IncomingControlCopies again;
  ASSERT_EQ(ReadIncomingControl(rig.session, again), 1);
  EXPECT_TRUE(again.working == want);

  // A cleared number sends the address command with the empty text.
  incoming.baseline = incoming.working;
  incoming.baseline.entries[2].number = "0312345678";
  rig.Clear();
  EXPECT_EQ(WriteIncomingControl(rig.session, incoming, IncomingSection::kEntries1), 1);
  EXPECT_EQ(rig.Sent(), (Lines{"arrive address 3 "}));
}

TEST_F(IncomingOnSim, AFailureAtEntryFourKeepsOneToThreeAndRevertsTheRest) {
  rig.Device().AddFault({Fault::kHangUp, 0, "arrive ranking 4 tel2", 1, 0});
  for (int k = 0; k < kIncomingPageSize; ++k) {
    incoming.working.entries[k].number = "0" + std::to_string(k + 1);
    incoming.working.entries[k].tel2_rank = 2;
  }
  incoming.working.entries[12].tel2_rank = 2;  // another section: not written, kept
  WriteFailure failure;
  EXPECT_EQ(WriteIncomingControl(rig.session, incoming, IncomingSection::kEntries1, &failure), 0);
  EXPECT_EQ(failure.index, 3);
  EXPECT_EQ(failure.command, "arrive ranking 4 tel2 delay\r");
  EXPECT_EQ(rig.Sent(), (Lines{"arrive address 1 01", "arrive ranking 1 tel2 delay",
                               "arrive address 2 02", "arrive ranking 2 tel2 delay",
                               "arrive address 3 03", "arrive ranking 3 tel2 delay",
                               "arrive address 4 04", "arrive ranking 4 tel2 delay"}));
  for (int k = 0; k < kIncomingPageSize; ++k) {
    const IncomingEntry& e = incoming.working.entries[k];
    EXPECT_EQ(e, k < 3 ? Entry("0" + std::to_string(k + 1), {1, 2, 1, 0, 0, 0, 0})
                       : incoming.baseline.entries[k])
        << k;
  }
  EXPECT_EQ(incoming.working.entries[12].tel2_rank, 2);
}

}  // namespace
}  // namespace setutily
