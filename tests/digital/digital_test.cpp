// The digital category against the simulator: its read, its five forms
// through the digital menu, and the writes of their groups.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/help_file.h"
#include "digital/digital_forms.h"
#include "forms/form_parts.h"
#include "support/menu_test.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::SessionRig;
using testing::Press;
using testing::Type;

bool Checked(QWidget* form, int id) { return Find<QRadioButton>(form, id)->isChecked(); }
QString Text(QWidget* form, int id) {
  if (auto* edit = Find<QLineEdit>(form, id)) return edit->text();
  return Find<QLabel>(form, id)->text();
}
void Step(QWidget* form, int id, bool up) {
  auto* arrows = Find<StepArrows>(form, id);
  (up ? arrows->UpButton() : arrows->DownButton())->click();
}

enum Button { kData = 1058, kUsb = 1066, kCommon = 1062, kThroughput = 1070, kBacp = 1074 };

class Digital : public testing::MenuTest<DigitalMenu> {
 protected:
  void Read() {
    ASSERT_EQ(ReadDigitalSettings(rig.session, digital), 1);
    rig.Clear();
  }

  DigitalCategory& digital = rig.Records<DigitalSettings>();
};

TEST_F(Digital, ConfirmingEveryFormUnchangedSendsNothingAndEachHasItsHelp) {
  Read();
  for (int button : {kData, kUsb, kCommon, kThroughput, kBacp}) {
    Confirm(button, [](FieldForm* form) { Press(form, 1587); });
  }
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_EQ(rig.session.state.pendingChangeCount, 5);
  EXPECT_EQ(rig.help.contexts, (std::vector<int>{6, 7, 8, 9, 10}));
  HelpTopic topic;
  for (int context : rig.help.contexts) {
    EXPECT_EQ(LoadHelpTopic(QStringLiteral(SETUTILY_SOURCE_DIR "/resources/MORIVEX-9.hlp"), context, topic),
              HelpLookup::kFound)
        << context;
  }
}

// One change per group; each write sends exactly its commands, and the
// device then reports what the forms hold.
TEST_F(Digital, RoundTripOneChangePerGroup) {
  Set("digital.data.address", "0311*22");
  Set("digital.usb.talky", "2");
  Set("digital.throughput.add.minimum", "3");
  Set("digital.bacp.arrive", "5");
  Read();
  EXPECT_EQ(digital.working.data.self_address, "0311*22");
  EXPECT_EQ(digital.working.usb.talky, 2);
  EXPECT_EQ(digital.working.add_minimum_time, 3);
  EXPECT_EQ(digital.working.arrive_flags, 5);
  EXPECT_EQ(digital.working.piafs, 1);
  EXPECT_EQ(digital.working, digital.baseline);

  struct Change {
    int button;
    std::function<void(FieldForm*)> edit;
    Lines sent;
  };
  const Change changes[] = {
      {kData, [](FieldForm* f) { Type(f, 1305, "0312"); }, {"digital address data 0312"}},
      {kUsb, [](FieldForm* f) { Press(f, 1577); }, {"digital i_number usb add2"}},
      {kCommon, [](FieldForm* f) { Type(f, 1595, "200"); }, {"digital disc_time 200"}},
      {kThroughput, [](FieldForm* f) { Type(f, 1348, "45"); },
       {"digital throughput_bod del_standard_rate 45"}},
      // Bit 1 of the called side: all three of its answers, none of the calling side.
      {kBacp, [](FieldForm* f) { Press(f, 1366); },
       {"digital bacp_bap arrive_add auto", "digital bacp_bap arrive_request auto",
        "digital bacp_bap arrive_del auto"}},
  };
  for (const Change& change : changes) {
    Confirm(change.button, change.edit);
    EXPECT_EQ(rig.Sent(), change.sent) << change.button;
    rig.Clear();
  }
  EXPECT_TRUE(rig.messages.shown.empty());
  DigitalCategory again;
  ASSERT_EQ(ReadDigitalSettings(rig.session, again), 1);
  EXPECT_EQ(again.working, digital.working);
  EXPECT_EQ(again.working.arrive_flags, 7);
  EXPECT_EQ(again.working.depart_flags, 7);
}

// The router category reads and writes the PNA block with the port settings.
TEST_F(Digital, ThePortTablesServeThePnaPort) {
  Set("digital.pna.address", "0399");
  Set("digital.pna.inumber", "1");
  DigitalPortSettings& base = digital.baseline.pna;
  ASSERT_EQ(ReadShow(rig.session, "show digital pna\r", *PnaPortGroup().settings, base, "pna"), 1);
  EXPECT_EQ(base.self_address, "0399");
  EXPECT_EQ(base.i_number, 1);
  DigitalPortSettings& pna = digital.working.pna = base;
  pna.self_address.clear();
  pna.i_number = 3;
  rig.Clear();
  EXPECT_EQ(WriteGroup(rig.session, PnaPortGroup()), 1);
  EXPECT_EQ(rig.Sent(), (Lines{"digital address pna ", "digital i_number pna add2"}));
}

TEST_F(Digital, ThroughputOnAndOffReachAcrossTheCommonAndThroughputForms) {
  Set("digital.common.throughput_bod", "1");
  Set("digital.throughput.add.direction", "0");
  Set("digital.throughput.del.direction", "1");
  Read();
  // Off in the common form: no addition, no deletion; the common write
  // sends no throughput parameter.
  Confirm(kCommon, [](FieldForm* f) { Press(f, 1330); });
  EXPECT_EQ(rig.Sent(), (Lines{"digital throughput_bod disable"}));
  rig.Clear();
  // A direction that evaluates turns it on again; the throughput write
  // does not send that.
  Confirm(kThroughput, [](FieldForm* f) {
    EXPECT_TRUE(Checked(f, 1338));
    EXPECT_TRUE(Checked(f, 1342));
    Press(f, 1335);
  });
  EXPECT_EQ(rig.Sent(), (Lines{"digital throughput_bod add_evaluation_direction both"}));
  InForm(kCommon, [](FieldForm* f) { EXPECT_TRUE(Checked(f, 1329)); });
}

TEST_F(Digital, MinimumHoldingTimeInSecondsStoredInUnitsOfFive) {
  Read();
  Confirm(kThroughput, [](FieldForm* f) {
    EXPECT_EQ(Text(f, 1347), "60");
    EXPECT_EQ(Text(f, 1343), "約 6.40 kbps");
    Find<QLineEdit>(f, 1347)->setText("1275");
    Step(f, 1353, true);
    EXPECT_EQ(Text(f, 1347), "5");
    Step(f, 1353, false);
    EXPECT_EQ(Text(f, 1347), "1275");
    Step(f, 1351, true);
    EXPECT_EQ(Text(f, 1343), "約 6.48 kbps");
    Step(f, 1351, false);
    EXPECT_EQ(Text(f, 1343), "約 6.40 kbps");
    Type(f, 1347, "7");
  });
  EXPECT_EQ(rig.Sent(), (Lines{"digital throughput_bod add_minimum_time 1"}));
  InForm(kThroughput, [](FieldForm* f) { EXPECT_EQ(Text(f, 1347), "5"); });
}

TEST_F(Digital, TheFirstFailingCheckInTheFormsOrderIsToldAndNothingIsStored) {
  Read();
  const DigitalSettings before = digital.working;
  Confirm(kThroughput, [](FieldForm* f) {
    Type(f, 1345, "101");  // addition threshold
    Type(f, 1349, "0");    // deletion evaluation time, checked first
  });
  EXPECT_EQ(rig.messages.Texts(), QStringList{"評価時間の入力に間違いがあります。"});
  EXPECT_EQ(digital.working, before);
  EXPECT_EQ(rig.session.state.pendingChangeCount, 0);
  EXPECT_TRUE(rig.Sent().empty());
}

TEST_F(Digital, CodesTheFormsCannotShowAreNeitherShownNorSent) {
  Set("digital.common.channel", "5");
  Set("digital.common.piafs", "7");
  Set("digital.data.notice", "4");
  Set("digital.throughput.del.direction", "7");
  Read();
  // No selection is not "no addition": throughput BOD stays off.
  Confirm(kThroughput, [](FieldForm* f) {
    for (int id : {1339, 1340, 1341, 1342}) EXPECT_FALSE(Checked(f, id)) << id;
  });
  EXPECT_EQ(digital.working.throughput_bod, 0);
  Confirm(kCommon, [](FieldForm* f) {
    EXPECT_FALSE(Checked(f, 1323));
    EXPECT_FALSE(Checked(f, 1324));
    EXPECT_EQ(Find<QComboBox>(f, 1647)->currentIndex(), -1);
    Type(f, 1595, "9");
  });
  Confirm(kData, [](FieldForm* f) {
    for (int id : {1310, 1311, 1312, 1313}) EXPECT_FALSE(Checked(f, id)) << id;
    Type(f, 1305, "0312");
  });
  EXPECT_EQ(rig.Sent(), (Lines{"digital disc_time 9", "digital address data 0312"}));
}

TEST_F(Digital, AWriteThatStopsIsToldAndTheUnsentFieldsShowTheDevicesValues) {
  Read();
  rig.Device().AddFault({Fault::kSilent, 0, "digital global_arrive data", 1, 0});
  Confirm(kData, [](FieldForm* f) {
    Type(f, 1305, "0312");
    Press(f, 1307);  // global arrive off (the device has on)
    Press(f, 1310);  // no caller number (the device has "as contracted")
  });
  EXPECT_EQ(rig.messages.Texts(), QStringList{"書込みに失敗しました。"});
  EXPECT_EQ(rig.log, QStringList{"Digital Status Write ERROR\r\n"});
  EXPECT_EQ(rig.Sent(), (Lines{"digital address data 0312"}));
  InForm(kData, [](FieldForm* f) {
    EXPECT_EQ(Text(f, 1305), "0312");
    EXPECT_TRUE(Checked(f, 1306));
    EXPECT_TRUE(Checked(f, 1313));
  });
}

}  // namespace
}  // namespace setutily
