// The declared-settings machinery on a small record of its own: what a
// read takes from a reply, and what a write sends.
#include <gtest/gtest.h>

#include "forms/session.h"
#include <array>

#include "settings/config.h"
#include "settings/write_table.h"
#include "settings/read_table.h"
#include "support/sim_harness.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::InProcessRig;
using testing::RecordingHelp;
using testing::RecordingMessages;

struct Probe {
  std::string name;
  std::string primary, secondary;
  int mode = 0;
  int beep = 0;
  int count = 0;
  int rank = 0;
};

int FoldRank(int reported) { return reported == 1 ? 0 : 1; }

const Settings<Probe> kProbe = {
    Text(&Probe::name, "name:").Sends("probe name {} %s\r"),
    Together("probe address {} %s,%s\r", Text(&Probe::primary, "  primary:").SentEmptyAs("0.0.0.0"),
             Text(&Probe::secondary).SentEmptyAs("0.0.0.0")),
    Choice(&Probe::mode, "mode:", {"probe mode {} slow\r", "probe mode {} fast\r"}),
    TwoChoice(&Probe::beep, {}, "probe beep off\r", "probe beep on\r"),
    Number(&Probe::count, "count:").Reads(1, 255).Sends("probe count {} %d\r"),
    Number(&Probe::rank, "rank:").Adjust(FoldRank),
};

TEST(ReadFields, TakesEachLabelFromTheWholeReply) {
  const std::string reply =
      "show probe\r\nmode: 2\r\ncount: 999\r\nname: \x83\x65\x83\x58\x83\x67 x\r\n"
      "self primary: 9\r\n  primary: 10.0.0.1\r\nrank: 1\r\n# ";
  Probe probe;
  probe.secondary = "kept";
  ReadFields(reply, kProbe, probe);
  EXPECT_EQ(probe.name, "\x83\x65\x83\x58\x83\x67 x");  // device bytes kept as they are
  EXPECT_EQ(probe.primary, "10.0.0.1");                 // the indented label, not "self primary:"
  EXPECT_EQ(probe.mode, 2);
  EXPECT_EQ(probe.count, 255);  // clamped into its range
  EXPECT_EQ(probe.rank, 0);     // adjusted
  EXPECT_EQ(probe.secondary, "kept");
}

TEST(ReadFields, MissingLabelsGiveEmptyTextAndZeroWithinTheRange) {
  Probe probe;
  probe.name = "old";
  probe.mode = 7;
  ReadFields("show probe\r\nrank: 3\r\n# ", kProbe, probe);
  EXPECT_EQ(probe.name, "");
  EXPECT_EQ(probe.mode, 0);
  EXPECT_EQ(probe.count, 1);
  EXPECT_EQ(probe.rank, 1);
}

class WriteChangesTest : public ::testing::Test {
 protected:
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session{rig.exchange, messages, help};
  Probe baseline;
  Probe working;

  std::vector<std::string> Sent() { return rig.device.CommandLines(); }
};

TEST_F(WriteChangesTest, NothingChangedSendsNothing) {
  EXPECT_EQ(WriteChanges(session, kProbe, working, baseline, "p1"), 1);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(WriteChangesTest, SendsChangedFieldsInTableOrderWithTheScope) {
  working.count = 12;
  working.name = "a b";
  working.secondary = "10.0.0.2";  // one of the pair: both go, the empty one as 0.0.0.0
  working.beep = 5;                // a two-choice field: any other value sends the second
  working.mode = 1;
  EXPECT_EQ(WriteChanges(session, kProbe, working, baseline, "p2"), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe name p2 a b",
                                              "probe address p2 0.0.0.0,10.0.0.2",
                                              "probe mode p2 fast", "probe beep on",
                                              "probe count p2 12"}));
}

TEST_F(WriteChangesTest, ACodeWithoutACommandSendsNothingAndTheWalkGoesOn) {
  working.mode = 2;
  working.count = 3;
  EXPECT_EQ(WriteChanges(session, kProbe, working, baseline, "p1"), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe count p1 3"}));
}

TEST_F(WriteChangesTest, AFailedExchangeStopsAndRevertsFromTheFailedFieldOn) {
  rig.device.AddFault({Fault::kHangUp, 0, "probe mode", 1, 0});
  working.name = "new";
  working.primary = "1.2.3.4";
  working.mode = 1;
  working.count = 9;
  WriteFailure failure;
  EXPECT_EQ(WriteChanges(session, kProbe, working, baseline, "p1", &failure), 0);
  EXPECT_EQ(failure.index, 2);
  EXPECT_EQ(failure.command, "probe mode p1 fast\r");
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe name p1 new", "probe address p1 1.2.3.4,0.0.0.0",
                                              "probe mode p1 fast"}));
  // What was answered stays; the failed field and the rest are the device's again.
  EXPECT_EQ(working.name, "new");
  EXPECT_EQ(working.primary, "1.2.3.4");
  EXPECT_EQ(working.mode, 0);
  EXPECT_EQ(working.count, 0);
}

TEST_F(WriteChangesTest, ATextThatWouldSplitTheCommandIsNeverSent) {
  working.name = "x\rrestart";
  working.count = 4;
  WriteFailure failure;
  EXPECT_EQ(WriteChanges(session, kProbe, working, baseline, "p1", &failure), 0);
  EXPECT_EQ(failure.index, 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(working.name, "");
  EXPECT_EQ(working.count, 0);
}

struct Router {
  std::string address;
  int limit = 0, period = 0, flags = 0;
  bool operator==(const Router&) const = default;
};

TEST(ReadFields, JoinedSplitAndCutValues) {
  const Settings<Router> settings = {
      Text(&Router::address, "ip address:").JoinedWith("/", "submask:").Cut(12),
      Together("charge %d/%d\r", Number(&Router::limit, "charge:"),
               Number(&Router::period).Reads(0, 2))
          .Split('/'),
  };
  Router r;
  ReadFields("ip address: 192.168.0.1\r\nsubmask: 24\r\ncharge: 3000/7/1\r\n", settings, r);
  EXPECT_EQ(r.address, "192.168.0.1/");  // joined, then cut
  EXPECT_EQ(r.limit, 3000);
  EXPECT_EQ(r.period, 2);  // clamped into its range
}

struct Entry {
  int used = 0;
  std::string a, b;
  bool operator==(const Entry&) const = default;
};

TEST(ReadPairList, EntriesFromTheirOwnLinesOnly) {
  std::array<Entry, 12> entries;
  entries[1] = {1, "kept", "texts"};
  const Settings<Entry> list = {Presence(&Entry::used, "add {} %s,%s\r", "del {}\r",
                                         Text(&Entry::a).Cut(8), Text(&Entry::b).Cut(4))};
  ReadPairList(" 3: 10.0.0.3 ,  name5678, x\r\n 11: 10.0.0.11, w\r\n 2: no comma\r\n"
               " 4:10.0.0.4,v\r\n 12: 123456789,\r\n# ",
               list, entries);
  EXPECT_EQ(entries[0], Entry{});                       // only inside "11: "
  EXPECT_EQ(entries[1], (Entry{0, "kept", "texts"}));  // a line without a comma: unused
  EXPECT_EQ(entries[2], (Entry{1, "10.0.0.3", "name"}));  // cut, blanks removed, to the next comma
  EXPECT_EQ(entries[3], Entry{});                       // "4:" without its blank is no entry line
  EXPECT_EQ(entries[10], (Entry{1, "10.0.0.1", "w"}));  // cut to 8
  EXPECT_EQ(entries[11], (Entry{1, "12345678", ""}));
}

bool Always(const RunState&) { return true; }
void Restart(RunState& state) { state.rebootOnClose = true; }

TEST_F(WriteChangesTest, BitsPresenceConditionsAndAfterSent) {
  const Settings<Router> table = {
      When<Router>(Always, {"probe clear\r"}),
      Bits(&Router::flags, {}, {{"probe b0 on\r", "probe b0 off\r"},
                                {"probe b1 on\r", "probe b1 off\r"}}),
      Text(&Router::address).Sends("probe address %s\r").AfterSent(Restart),
  };
  Router base, work;
  work.flags = 2;
  work.address = "10.0.0.1/8";
  EXPECT_EQ(WriteChanges(session, table, work, base), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe clear", "probe b0 off", "probe b1 on",
                                              "probe address 10.0.0.1/8"}));
  EXPECT_TRUE(session.state.rebootOnClose);

  // A list: presence by the in-use flag, texts re-sent while in use,
  // deletions first; a failure takes back the entry and those not yet sent.
  const Settings<Entry> entries = {
      Presence(&Entry::used, "probe add {} %s,%s\r", "probe del {}\r", Text(&Entry::a),
               Text(&Entry::b))};
  std::array<Entry, 4> was{Entry{1, "x", "y"}, Entry{1, "p", "q"}, Entry{}, Entry{1, "m", "n"}};
  std::array<Entry, 4> now = was;
  now[0].a = "x2";            // in use in both, text changed: added again
  now[1].used = 0;            // deleted
  now[2] = Entry{0, "z", ""}; // not in use: texts alone send nothing
  now[3].used = 0;
  rig.device.ClearLog();
  rig.device.AddFault({Fault::kHangUp, 0, "probe del 4", 1, 0});
  WriteFailure failure;
  EXPECT_EQ(WriteListChanges(session, entries, now, was, 1, &failure), 0);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe del 2", "probe del 4"}));
  EXPECT_EQ(failure.index, 3);
  EXPECT_EQ(now[3], was[3]);
  EXPECT_EQ(now[0], was[0]);
  EXPECT_EQ(now[1].used, 0);
}

bool Fast(const Probe& probe) { return probe.mode == 1; }

TEST_F(WriteChangesTest, AnEntryWithAConditionIsDueOnlyWhileTheWorkingRecordMeetsIt) {
  const Settings<Probe> table = {
      Choice(&Probe::mode, {}, {"probe mode {} slow\r", "probe mode {} fast\r"}),
      Together("probe address {} %s,%s\r", Text(&Probe::primary).SentEmptyAs("0.0.0.0"),
               Text(&Probe::secondary).SentEmptyAs("0.0.0.0"))
          .OnlyIf(Fast),
  };
  working.primary = "10.0.0.1";
  EXPECT_EQ(WriteChanges(session, table, working, baseline, "p1"), 1);
  EXPECT_TRUE(Sent().empty());
  std::vector<std::string> dumped;
  DumpSettings(table, working, "p1", dumped);
  EXPECT_EQ(dumped, (std::vector<std::string>{"probe mode p1 slow"}));
  working.mode = 1;
  EXPECT_EQ(WriteChanges(session, table, working, baseline, "p1"), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"probe mode p1 fast",
                                              "probe address p1 10.0.0.1,0.0.0.0"}));
}

TEST_F(WriteChangesTest, ABitsFieldSendsACommandPerBitAndFailsAsAWhole) {
  struct Sides {
    int near = 0, far = 0;
  };
  const Settings<Sides> table = {
      Bits(&Sides::near, {}, {{"near a on\r", "near a off\r"}, {"near b on\r", "near b off\r"}}),
      Bits(&Sides::far, {}, {{"far a on\r", "far a off\r"}, {"far b on\r", "far b off\r"}}),
  };
  Sides base{.near = 1, .far = 1};
  Sides changed{.near = 1, .far = 3};  // bit 1 of far only
  EXPECT_EQ(WriteChanges(session, table, changed, base), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"far a on", "far b on"}));
  rig.device.ClearLog();
  // Silent on the second command of a side: the whole side is the device's again.
  rig.device.AddFault({Fault::kSilent, 0, "near b", 1, 0});
  session.timing.commandMs = 50;
  Sides both{.near = 2, .far = 0};
  EXPECT_EQ(WriteChanges(session, table, both, base), 0);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"near a off"}));
  EXPECT_EQ(both.near, 1);
  EXPECT_EQ(both.far, 1);
}

TEST(SettingsCopies, CommitKeepsThePreviousWorkingCopyAsBaselineAndCounts) {
  SettingsCopies<Probe> copies;
  copies.baseline.count = 1;
  copies.AdoptBaseline();
  copies.working.count = 2;  // an earlier confirmation, already written
  RunState state;
  Probe edited = copies.working;
  edited.count = 3;
  copies.Commit(edited, state);
  EXPECT_EQ(copies.baseline.count, 2);
  EXPECT_EQ(copies.working.count, 3);
  EXPECT_EQ(state.pendingChangeCount, 1);
}

}  // namespace
}  // namespace setutily
