// The speed-dial form through its real widgets, the main window's launch
// entry, and a round trip of all twenty entries over a real serial line.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "root/categories.h"
#include "forms/line_edits.h"
#include "forms/session.h"
#include "speeddial/speed_dial_form.h"
#include "support/sim_harness.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

QString RowMessage(int row) {
  return QStringLiteral("電話番号%1の入力に間違いがあります。").arg(row + 1, 2, 10, QChar(u'0'));
}

// The edit box of each row, row 0 first.
constexpr int kEditIds[20] = {1098, 1101, 1104, 1107, 1111, 1114, 1117, 1120, 1123, 1126,
                              1129, 1132, 1135, 1138, 1141, 1144, 1147, 1150, 1153, 1156};

using morivex9sim::Fault;
using testing::Find;
using testing::InProcessRig;
using testing::OnNextModal;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::SerialRig;

std::string Key(int number) { return "shortnum." + std::to_string(number); }

NumberEdit* Row(QWidget* form, int row) {
  return Find<NumberEdit>(form, kEditIds[static_cast<std::size_t>(row)]);
}

void Click(QWidget* form, int id) {
  auto* button = Find<QPushButton>(form, id);
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

struct FormFixture : ::testing::Test {
  FormFixture() : session(rig.exchange, messages, help) {}
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session;
  SpeedDialCopies& list = session.records.Of<SpeedDialList>();
};

using SpeedDialFormTest = FormFixture;

TEST_F(SpeedDialFormTest, ShowsTwentyRowsWithTheirIdsCaptionsAndValues) {
  for (std::size_t i = 0; i < 20; ++i) list.working.entries[i].number = "03" + std::to_string(i);
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  EXPECT_EQ(form->windowTitle(), "短縮番号設定");
  const QString captions[] = {"００", "０１", "０２", "０３", "０４", "０５", "０６",
                              "０７", "０８", "０９", "１０", "１１", "１２", "１３",
                              "１４", "１５", "１６", "１７", "１８", "１９"};
  QList<QWidget*> buddies;
  for (auto* label : form->findChildren<QLabel*>()) {
    if (label->buddy() != nullptr) buddies << label->buddy();
  }
  for (int row = 0; row < 20; ++row) {
    NumberEdit* edit = Row(form.get(), row);
    ASSERT_NE(edit, nullptr) << row;
    EXPECT_EQ(edit->text().toStdString(), "03" + std::to_string(row));
    EXPECT_EQ(edit->TypingLimit(), 53);
    EXPECT_EQ(edit->accessibleName(), captions[row]);
    EXPECT_TRUE(buddies.contains(edit));
  }
  int numberHeaders = 0, phoneHeaders = 0;
  bool caution = false, subaddress = false;
  for (auto* label : form->findChildren<QLabel*>()) {
    numberHeaders += label->text() == "Ｎｏ．";
    phoneHeaders += label->text() == "電話番号";
    caution |= label->text() == "注意）";
    subaddress |= label->text() == "・サブアドレスは「*」で区切ってください。";
  }
  EXPECT_EQ(numberHeaders, 2);
  EXPECT_EQ(phoneHeaders, 2);
  EXPECT_TRUE(caution);
  EXPECT_TRUE(subaddress);
  // Tab order runs down the left column, then down the right one.
  QList<QWidget*> chain;
  for (QWidget* w = Row(form.get(), 0); chain.size() < 20; w = w->nextInFocusChain()) {
    if (auto* edit = qobject_cast<NumberEdit*>(w)) chain << edit;
  }
  for (int row = 0; row < 20; ++row) EXPECT_EQ(chain[row], Row(form.get(), row)) << row;
}

TEST_F(SpeedDialFormTest, HelpButtonAndF1OpenTopicEleven) {
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  Click(form.get(), 1587);
  QTest::keyClick(Row(form.get(), 5), Qt::Key_F1);
  EXPECT_EQ(help.contexts, (std::vector<int>{11, 11}));
}

TEST_F(SpeedDialFormTest, RowZeroIsDeviceNumberOneAndItsMessageNamesZeroOne) {
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  Row(form.get(), 0)->setText("03 1234");  // a blank is not allowed
  Click(form.get(), 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "電話番号01の入力に間違いがあります。");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kNone);
  EXPECT_EQ(form->result(), QDialog::Rejected);  // still open, nothing confirmed

  Row(form.get(), 0)->setText("0312345678");
  Click(form.get(), 1);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(list.working.entries[0].number, "0312345678");
  ASSERT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_EQ(rig.device.CommandLines(), (std::vector<std::string>{"shortnum add 1 0312345678"}));
}

TEST_F(SpeedDialFormTest, EveryRowNamesItsOwnNumberAndTheFirstBadRowWins) {
  for (int row = 0; row < 20; ++row) {
    auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
    Row(form.get(), row)->setText("x");
    if (row + 1 < 20) Row(form.get(), 19)->setText("y");  // a later bad row is not reported
    messages.shown.clear();
    Click(form.get(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, RowMessage(row));
  }
  EXPECT_EQ(RowMessage(9), "電話番号10の入力に間違いがあります。");
  EXPECT_EQ(RowMessage(19), "電話番号20の入力に間違いがあります。");
  EXPECT_EQ(session.state.pendingChangeCount, 0);
}

TEST_F(SpeedDialFormTest, AFailedCheckChangesNothingAndACorrectedOneStoresEverything) {
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  Row(form.get(), 0)->setText("0311");
  Row(form.get(), 1)->setText("0322");
  Row(form.get(), 4)->setText("０５");  // full-width digits are not allowed
  Click(form.get(), 1);
  EXPECT_EQ(messages.Texts(), QStringList{"電話番号05の入力に間違いがあります。"});
  EXPECT_EQ(list.working, SpeedDialList{});  // rows before the bad one not stored
  EXPECT_EQ(session.state.pendingChangeCount, 0);
  EXPECT_TRUE(Row(form.get(), 4)->hasSelectedText());

  Row(form.get(), 4)->setText("0555");
  Click(form.get(), 1);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(session.state.pendingChangeCount, 1);
  ASSERT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_EQ(rig.device.CommandLines(),
            (std::vector<std::string>{"shortnum add 1 0311", "shortnum add 2 0322",
                                      "shortnum add 5 0555"}));
}

TEST_F(SpeedDialFormTest, ConfirmingWithoutChangesSendsNothingButCountsAsAChange) {
  rig.device.Set(Key(4), "0444");
  ASSERT_EQ(ReadSpeedDial(session, list), 1);
  rig.device.ClearLog();
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  Click(form.get(), 1);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(session.state.pendingChangeCount, 1);
  EXPECT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_TRUE(rig.device.CommandLines().empty());
}

TEST_F(SpeedDialFormTest, ClearingARowSendsTheNumberAndOneBlank) {
  rig.device.Set(Key(3), "0333");
  ASSERT_EQ(ReadSpeedDial(session, list), 1);
  rig.device.ClearLog();
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  EXPECT_EQ(Row(form.get(), 2)->text(), "0333");
  Row(form.get(), 2)->clear();
  Click(form.get(), 1);
  ASSERT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_EQ(rig.device.CommandLines(), (std::vector<std::string>{"shortnum add 3 "}));
  EXPECT_EQ(rig.device.Get(Key(3)), "");
}

TEST_F(SpeedDialFormTest, TypedSubaddressKeepsItsStar) {
  ASSERT_EQ(ReadSpeedDial(session, list), 1);
  rig.device.ClearLog();
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  QTest::keyClicks(Row(form.get(), 6), "0312345678*99");
  EXPECT_EQ(Row(form.get(), 6)->text(), "0312345678*99");
  Click(form.get(), 1);
  ASSERT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_EQ(rig.device.CommandLines(),
            (std::vector<std::string>{"shortnum add 7 0312345678*99"}));
  EXPECT_EQ(rig.device.Get(Key(7)), "0312345678*99");
}

TEST_F(SpeedDialFormTest, LongEntryFromTheDeviceIsShownWholeAndRefusedUnchanged) {
  const std::string long54 = std::string(32, '1') + "*" + std::string(21, '2');
  rig.device.Set(Key(12), long54);
  ASSERT_EQ(ReadSpeedDial(session, list), 1);
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  NumberEdit* edit = Row(form.get(), 11);
  EXPECT_EQ(edit->text().toStdString(), long54);
  // Typing cannot make it longer...
  edit->setCursorPosition(54);
  QTest::keyClicks(edit, "3");
  EXPECT_EQ(edit->text().size(), 54);
  // ...and confirming it unchanged is refused without touching the list.
  Click(form.get(), 1);
  EXPECT_EQ(messages.Texts(), QStringList{"電話番号12の入力に間違いがあります。"});
  EXPECT_EQ(list.working.entries[11].number, long54);
  EXPECT_EQ(session.state.pendingChangeCount, 0);
  // Typing stops at 53 characters once it is short enough.
  edit->clear();
  QTest::keyClicks(edit, QString(60, u'4'));
  EXPECT_EQ(edit->text().size(), 53);
}

TEST_F(SpeedDialFormTest, CancelLeavesTheListAlone) {
  auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
  Row(form.get(), 0)->setText("0311");
  Click(form.get(), 2);
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(list.working.entries[0].number, "");
  EXPECT_EQ(session.state.pendingChangeCount, 0);
}

// ---------------------------------------------------------------- launch

CategoryLaunch SpeedDialButton(Session& session) {
  for (auto& launch : BuildCategories(session)) {
    if (launch.buttonId == 1087) return launch;
  }
  ADD_FAILURE() << "no launch entry for button 1087";
  return {};
}

TEST_F(SpeedDialFormTest, LaunchEntryReadsShowsAndWritesWithItsLogLines) {
  CategoryLaunch launch = SpeedDialButton(session);
  EXPECT_EQ(launch.readOk, "Short Number Status Read OK\r\n");
  EXPECT_EQ(launch.readError, "Short Number Status Read ERROR\r\n");
  EXPECT_EQ(launch.view, "View Short Number Dlg\r\n");
  EXPECT_EQ(launch.writeOk, "Short Number Status Write OK\r\n");
  EXPECT_EQ(launch.writeError, "Short Number Status Write ERROR\r\n");
  ASSERT_TRUE(launch.read && launch.show && launch.write);

  rig.device.Set(Key(20), "0120");
  ASSERT_EQ(launch.read(), 1);
  OnNextModal<FieldForm>([](FieldForm* form) {
    EXPECT_EQ(Row(form, 19)->text(), "0120");
    Row(form, 19)->setText("0999");
    Click(form, 1);
  });
  ASSERT_TRUE(launch.show(nullptr));
  ASSERT_TRUE(launch.write().Ok());
  EXPECT_EQ(rig.device.Get(Key(20)), "0999");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(session.state.pendingChangeCount, 1);

  // Cancelling reports no confirmation.
  OnNextModal<FieldForm>([](FieldForm* form) { Click(form, 2); });
  EXPECT_FALSE(launch.show(nullptr));
}

TEST_F(SpeedDialFormTest, LaunchEntryTellsAFailedWriteAndTheFormShowsTheDeviceAgain) {
  CategoryLaunch launch = SpeedDialButton(session);
  ASSERT_EQ(launch.read(), 1);
  OnNextModal<FieldForm>([](FieldForm* form) {
    Row(form, 0)->setText("0311");
    Click(form, 1);
  });
  ASSERT_TRUE(launch.show(nullptr));
  rig.device.AddFault({Fault::kHangUp, 0, "shortnum add", 1});
  EXPECT_EQ(launch.write().written, 0);  // the main window tells it
  EXPECT_EQ(list.working.entries[0].number, "");  // back at the device's value

  // A failed read leaves the form unopened; the main window logs it.
  EXPECT_EQ(launch.read(), 0);
}

// ---------------------------------------------------------------- real line

TEST(SpeedDialSerial, AllTwentyEntriesRoundTripThroughTheSimulator) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  rig.sim.With([](morivex9sim::Device& d) {
    for (int n = 1; n <= 20; n += 2) d.Set(Key(n), "0" + std::to_string(n * 1111));
  });
  SpeedDialCopies list;
  ASSERT_EQ(ReadSpeedDial(session, list), 1);

  // Every row gets a new value of its own: plain, punctuated, with a
  // subaddress, at the length limits, and one cleared.
  std::vector<QString> typed;
  for (int row = 0; row < 20; ++row) {
    QString value = QStringLiteral("06-%1-%2").arg(row, 4, 10, QChar(u'0')).arg(7000 + row);
    if (row == 3) value = QStringLiteral("(03)1234-5678#*12");
    if (row == 8) value = QString(32, u'9') + u'*' + QString(19, u'8');
    if (row == 14) value.clear();
    typed.push_back(value);
  }
  {
    auto form = MakeGridForm(nullptr, session, list, SpeedDialForm());
    EXPECT_EQ(Row(form.get(), 0)->text(), "01111");
    for (int row = 0; row < 20; ++row) Row(form.get(), row)->setText(typed[static_cast<std::size_t>(row)]);
    Click(form.get(), 1);
    ASSERT_EQ(form->result(), QDialog::Accepted);
  }
  rig.sim.With([](morivex9sim::Device& d) { d.ClearLog(); });
  ASSERT_EQ(WriteSpeedDial(session, list), 1);
  EXPECT_EQ(rig.sim.CommandLines().size(), 20u);  // every row changed
  for (int row = 0; row < 20; ++row) {
    std::string held;
    rig.sim.With([&](morivex9sim::Device& d) { held = d.Get(Key(row + 1)); });
    EXPECT_EQ(held, typed[static_cast<std::size_t>(row)].toStdString()) << row;
  }

  // Read back: the device's list equals what the form showed.
  SpeedDialCopies again;
  ASSERT_EQ(ReadSpeedDial(session, again), 1);
  auto form = MakeGridForm(nullptr, session, again, SpeedDialForm());
  for (int row = 0; row < 20; ++row) {
    EXPECT_EQ(Row(form.get(), row)->text(), typed[static_cast<std::size_t>(row)]) << row;
  }
}

}  // namespace
}  // namespace setutily
