// The analog menu and forms, driven through their widgets against the
// device simulator.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include "root/categories.h"
#include "analog/analog_forms.h"
#include "forms/category.h"
#include "forms/line_edits.h"
#include "forms/session.h"
#include "forms/form_parts.h"
#include "support/session_rig.h"
#include "support/sim_harness.h"
#include "support/timing.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::InProcessRig;
using testing::OnNextModal;
using testing::RecordingHelp;
using testing::RecordingMessages;
using testing::SerialRig;

using Lines = std::vector<std::string>;

// Control ids of the three port forms that the tests press.
struct PortIds {
  int selfAddress, transferAddress, transferOn, talkyForward, talkyOrigin, dialTime, dialArrows;
  int displayNone, displayNumber, displayCallWaiting, iBoth, callwaitingNtt;
};
constexpr PortIds kPort[3] = {
    {1095, 1100, 1093, 1103, 1106, 1151, 1154, 1139, 1142, 1143, 1167, 1277},
    {1171, 1175, 1179, 1187, 1191, 1205, 1206, 1208, 1209, 1210, 1227, 1285},
    {1229, 1235, 1231, 1237, 1239, 1251, 1253, 1254, 1256, 1258, 1273, 1291},
};
constexpr int kMenuButton[4] = {1005, 1007, 1006, 1008};

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void Press(QWidget* form, int id) { Find<QAbstractButton>(form, id)->click(); }

void Step(QWidget* form, int arrowsId, bool up) {
  auto* arrows = Find<StepArrows>(form, arrowsId);
  (up ? arrows->UpButton() : arrows->DownButton())->click();
}

QString Text(QWidget* form, int id) { return Find<QLineEdit>(form, id)->text(); }

class AnalogForms : public ::testing::Test {
 protected:
  InProcessRig rig;
  RecordingMessages messages;
  RecordingHelp help;
  Session session{rig.exchange, messages, help};
  AnalogCategory& analog = session.records.Of<AnalogSettings>();
  QStringList log;

  void SetUp() override {
    session.timing = testing::FastTiming();
    session.appendLog = [this](const QString& line) { log << line; };
  }

  // Reads the category (after the test has set up the device) and starts
  // counting commands from there.
  void Read() {
    ASSERT_EQ(ReadAnalogSettings(session, analog), 1);
    rig.device.ClearLog();
  }
  void Set(const std::string& key, const std::string& value) { rig.device.Set(key, value); }
  Lines Sent() { return testing::WithoutShows(rig.device.CommandLines()); }

  // Presses a menu button and runs action in the form it opens; the action
  // must close the form (confirm or cancel).
  void InForm(CategoryMenu& menu, int buttonId, std::function<void(SettingsForm*)> action) {
    OnNextModal<SettingsForm>(std::move(action), &menu);
    Find<QPushButton>(&menu, buttonId)->click();
  }
};

TEST(AnalogLaunch, TheRoadOfOneChangeOverTheSerialLine) {
  SerialRig rig;
  ASSERT_TRUE(rig.opened);
  RecordingMessages messages;
  RecordingHelp help;
  Session session(rig.exchange, messages, help);
  const auto categories = BuildCategories(session);
  const auto launch = std::find_if(categories.begin(), categories.end(),
                                   [](const CategoryLaunch& c) { return c.buttonId == 1539; });
  ASSERT_NE(launch, categories.end());
  EXPECT_EQ(launch->readOk, "Analog Status Read OK\r\n");
  EXPECT_EQ(launch->readError, "Analog Status Read ERROR\r\n");
  EXPECT_EQ(launch->view, "View Analog Dlg\r\n");
  EXPECT_FALSE(launch->write);

  ASSERT_EQ(launch->read(), 1);
  OnNextModal<CategoryMenu>([](CategoryMenu* menu) {
    OnNextModal<FieldForm>([](FieldForm* form) {
      Type(Find<QLineEdit>(form, 1151), "7");
      Press(form, 1);
    }, menu);
    Press(menu, 1005);
    Press(menu, 2);
  });
  EXPECT_FALSE(launch->show(nullptr));
  EXPECT_EQ(rig.sim.CommandLines(),
            (Lines{"show analog tel1", "show analog tel2", "show analog tel3", "show analog common",
                   "analog dial_time tel1 7", "show analog tel1"}));
  EXPECT_EQ(session.state.pendingChangeCount, 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AnalogForms, ConfirmingUnchangedFormsSendsNothing) {
  Set("analog.tel2.talky", "3");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  for (int button : kMenuButton) InForm(menu, button, [](SettingsForm* form) { Press(form, 1); });
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(session.state.pendingChangeCount, 4);
  // Cancelling sends nothing and counts nothing.
  InForm(menu, 1005, [](SettingsForm* form) { Press(form, 2); });
  EXPECT_EQ(session.state.pendingChangeCount, 4);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(AnalogForms, EverySettingChangedInTheFormsReachesTheDevice) {
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  for (int port = 0; port < 3; ++port) {
    InForm(menu, kMenuButton[port], [port](SettingsForm* form) {
      Type(Find<QLineEdit>(form, kPort[port].selfAddress), "03-1234-5678*" + QString::number(port));
      Type(Find<QLineEdit>(form, kPort[port].transferAddress), "(090)1111#2222");
      Press(form, kPort[port].transferOn);
      Press(form, kPort[port].talkyOrigin);
      // The last button of every radio group.
      for (auto* group : form->findChildren<RadioGroup*>()) {
        group->Button(group->Count() - 1)->click();
      }
      Type(Find<QLineEdit>(form, kPort[port].dialTime), QString::number(13 + port));
      Press(form, 1);
    });
  }
  InForm(menu, 1008, [](SettingsForm* form) {
    Type(Find<QLineEdit>(form, 1294), "8");
    Type(Find<QLineEdit>(form, 1298), "27");
    Press(form, 1304);
    Press(form, 1);
  });
  EXPECT_TRUE(messages.shown.empty());
  for (const auto& entry : rig.device.Log()) EXPECT_TRUE(entry.accepted) << entry.line;
  // TEL2 is refused caller display while TEL1 uses it: it stays at none.
  EXPECT_EQ(rig.device.Get("analog.tel1.display"), "2");
  EXPECT_EQ(rig.device.Get("analog.tel2.display"), "0");
  EXPECT_EQ(rig.device.Get("analog.tel3.display"), "2");
  EXPECT_EQ(rig.device.Get("analog.tel2.address"), "03-1234-5678*1");
  EXPECT_EQ(rig.device.Get("analog.tel3.dialtime"), "15");
  EXPECT_EQ(rig.device.Get("analog.common.frequency"), "27");

  // What the device now reports is what the forms hold.
  AnalogCategory again;
  ASSERT_EQ(ReadAnalogSettings(session, again), 1);
  for (int port = 0; port < 3; ++port) {
    const AnalogPort& read = again.working.ports[port];
    const AnalogPort& shown = analog.working.ports[port];
    EXPECT_EQ(read.self_address, shown.self_address);
    EXPECT_EQ(read.transfer_address, "(090)1111#2222");
    EXPECT_EQ(read.talky, 1);
    EXPECT_EQ(read.arrive_transfer, 1);
    EXPECT_EQ(read.i_number, 3);
    EXPECT_EQ(read.notice_number, 3);
    EXPECT_EQ(read.callwaiting, 2);
    EXPECT_EQ(read.ring_sound, 2);
    EXPECT_EQ(read.port_mode, 1);
    EXPECT_EQ(read.global_arrive, 1);
    EXPECT_EQ(read.no_subaddress, 1);
    EXPECT_EQ(read.disc_signal, 1);
    EXPECT_EQ(read.number_display, shown.number_display);
    EXPECT_EQ(read.dial_time, shown.dial_time);
  }
  EXPECT_EQ(again.working.common.delay_number, 8);
  EXPECT_EQ(again.working.common.use_i_number, 1);
}

TEST_F(AnalogForms, TalkyBoxesShowBothFlagsAndSendTheirSum) {
  Set("analog.tel1.talky", "3");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1005, [](SettingsForm* form) {
    EXPECT_TRUE(Find<QCheckBox>(form, 1103)->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(form, 1106)->isChecked());
    Press(form, 1103);  // untick "転送トーキ"
    Press(form, 1);
  });
  EXPECT_EQ(Sent(), (Lines{"analog arrive_transfer talky tel1 1"}));
}

TEST_F(AnalogForms, AnEmptySelfAddressOnTel3IsSentAsEmpty) {
  Set("analog.tel3.address", "0312345678");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1006, [](SettingsForm* form) {
    EXPECT_EQ(Text(form, 1229), "0312345678");
    Type(Find<QLineEdit>(form, 1229), "");
    Press(form, 1);
  });
  EXPECT_EQ(Sent(), (Lines{"analog address tel3 "}));
  EXPECT_EQ(rig.device.Get("analog.tel3.address"), "");
}

TEST_F(AnalogForms, CallerDisplayIsOfferedToOnlyOneOfTel1AndTel2) {
  Set("analog.tel2.display", "1");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1005, [](SettingsForm* form) {
    EXPECT_TRUE(Find<QRadioButton>(form, 1139)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(form, 1142)->isEnabled());
    EXPECT_FALSE(Find<QRadioButton>(form, 1143)->isEnabled());
    Press(form, 1);
  });
  EXPECT_TRUE(Sent().empty());
  // TEL2 itself and TEL3 are free.
  InForm(menu, 1007, [](SettingsForm* form) {
    EXPECT_TRUE(Find<QRadioButton>(form, 1209)->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(form, 1210)->isEnabled());
    Press(form, 2);
  });
  InForm(menu, 1006, [](SettingsForm* form) {
    EXPECT_TRUE(Find<QRadioButton>(form, 1258)->isEnabled());
    Press(form, 2);
  });
}

TEST_F(AnalogForms, APortShownWithoutCallerDisplayIsSetSoOnConfirmation) {
  // The device reports both ports with caller display: TEL2's form shows
  // none, and confirming it makes the device match what was shown.
  Set("analog.tel1.display", "2");
  Set("analog.tel2.display", "1");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1007, [](SettingsForm* form) {
    EXPECT_TRUE(Find<QRadioButton>(form, 1208)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(form, 1209)->isEnabled());
    Press(form, 2);
  });
  EXPECT_EQ(analog.working.ports[1].number_display, 1);  // cancelled: nothing changed
  InForm(menu, 1007, [](SettingsForm* form) { Press(form, 1); });
  EXPECT_EQ(Sent(), (Lines{"analog number_display tel2 disable"}));
  EXPECT_EQ(rig.device.Get("analog.tel2.display"), "0");
}

TEST_F(AnalogForms, ArrowsStepAndWrap) {
  Read();
  for (int port = 0; port < 3; ++port) {
    auto form = OpenForm(nullptr, session, TelPortForm(), port);
    const PortIds& id = kPort[port];
    auto* dial = Find<QLineEdit>(form.get(), id.dialTime);
    dial->setText("15");
    Step(form.get(), id.dialArrows, true);
    EXPECT_EQ(dial->text(), "3");
    Step(form.get(), id.dialArrows, false);
    EXPECT_EQ(dial->text(), "15");
    Step(form.get(), id.dialArrows, false);
    EXPECT_EQ(dial->text(), "14");
    dial->setText("0");  // out of range before: stepped, not pulled back
    Step(form.get(), id.dialArrows, true);
    EXPECT_EQ(dial->text(), "1");
    dial->setText("123");  // only the first two characters count
    Step(form.get(), id.dialArrows, false);
    EXPECT_EQ(dial->text(), "11");
    QTest::keyClick(dial, Qt::Key_Up);  // the keyboard steps too
    EXPECT_EQ(dial->text(), "12");
  }
  auto common = OpenForm(nullptr, session, AnalogCommonForm());
  auto* delay = Find<QLineEdit>(common.get(), 1294);
  auto* frequency = Find<QLineEdit>(common.get(), 1298);
  delay->setText("9");
  Step(common.get(), 1296, true);
  EXPECT_EQ(delay->text(), "0");
  Step(common.get(), 1296, false);
  EXPECT_EQ(delay->text(), "9");
  delay->setText("25");  // one character counts: 2
  Step(common.get(), 1296, true);
  EXPECT_EQ(delay->text(), "3");
  frequency->setText("30");
  Step(common.get(), 1300, true);
  EXPECT_EQ(frequency->text(), "16");
  Step(common.get(), 1300, false);
  EXPECT_EQ(frequency->text(), "30");
  QTest::keyClick(frequency, Qt::Key_Down);
  EXPECT_EQ(frequency->text(), "29");
}

TEST_F(AnalogForms, PortChecksAtTheirBoundariesInTheirOrder) {
  Read();
  struct Case {
    QString self, transfer, dial;
    QString message;  // empty: accepted
  };
  const Case cases[] = {
      {"03 1234", "x", "2", u"自己アドレスの入力に間違いがあります。"_qs},
      {QString(33, u'1'), "", "5", u"自己アドレスの入力に間違いがあります。"_qs},
      {"0312345678", "03-1234-5678a", "2", u"転送先電話番号の入力に間違いがあります。"_qs},
      {"", "", "2", u"ダイヤル発信時間の入力に間違いがあります。"_qs},
      {"", "", "16", u"ダイヤル発信時間の入力に間違いがあります。"_qs},
      {"", "", "", u"ダイヤル発信時間の入力に間違いがあります。"_qs},
      {QString(32, u'1') + "*" + QString(19, u'2'), "", "3", QString()},
      {"", "(03)1234-5678#", "15", QString()},
  };
  for (const Case& c : cases) {
    messages.shown.clear();
    auto form = OpenForm(nullptr, session, TelPortForm(), 0);
    form->show();
    Find<QLineEdit>(form.get(), 1095)->setText(c.self);
    Find<QLineEdit>(form.get(), 1100)->setText(c.transfer);
    Find<QLineEdit>(form.get(), 1151)->setText(c.dial);
    Press(form.get(), 1);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(messages.shown.empty()) << c.self.toStdString() << " " << c.dial.toStdString();
      EXPECT_EQ(form->result(), QDialog::Accepted);
    } else {
      ASSERT_EQ(messages.shown.size(), 1u) << c.dial.toStdString();
      EXPECT_EQ(messages.shown[0].text, c.message);
      EXPECT_EQ(messages.shown[0].icon, MessageIcon::kNone);
      EXPECT_TRUE(form->isVisible());
    }
  }
}

TEST_F(AnalogForms, CommonChecksAtTheirBoundariesInTheirOrder) {
  Read();
  struct Case {
    QString frequency, delay, message;
  };
  const Case cases[] = {
      {"15", "x", u"呼出音周波数の入力に間違いがあります。"_qs},
      {"31", "0", u"呼出音周波数の入力に間違いがあります。"_qs},
      {"", "0", u"呼出音周波数の入力に間違いがあります。"_qs},
      {"16", "10", u"遅延回数の入力に間違いがあります。"_qs},
      {"30", "", QString()},
      {"16", "9", QString()},
  };
  for (const Case& c : cases) {
    messages.shown.clear();
    auto form = OpenForm(nullptr, session, AnalogCommonForm());
    form->show();
    Find<QLineEdit>(form.get(), 1298)->setText(c.frequency);
    Find<QLineEdit>(form.get(), 1294)->setText(c.delay);
    Press(form.get(), 1);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(messages.shown.empty());
      EXPECT_EQ(analog.working.common.ring_sound_freq, c.frequency.toInt());
      EXPECT_EQ(analog.working.common.delay_number, c.delay.toInt());  // empty: 0
    } else {
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].text, c.message);
    }
  }
}

TEST_F(AnalogForms, TypingLimitsPerPort) {
  Read();
  const int limits[3] = {53, 51, 51};
  for (int port = 0; port < 3; ++port) {
    auto form = OpenForm(nullptr, session, TelPortForm(), port);
    for (int id : {kPort[port].selfAddress, kPort[port].transferAddress}) {
      auto* edit = Find<QLineEdit>(form.get(), id);
      Type(edit, QString(60, u'1'));
      EXPECT_EQ(edit->text().size(), limits[port]) << id;
    }
    auto* dial = Find<QLineEdit>(form.get(), kPort[port].dialTime);
    Type(dial, "1234");
    EXPECT_EQ(dial->text(), port == 0 ? "12" : "1234");
  }
}

TEST_F(AnalogForms, AFailedCheckChangesNothingAndTheCorrectedConfirmationSendsAll) {
  Read();
  const AnalogSettings before = analog.working;
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1005, [this, &before](SettingsForm* form) {
    Type(Find<QLineEdit>(form, 1095), "0312345678");
    Type(Find<QLineEdit>(form, 1100), "0398765432");
    Press(form, 1277);
    Type(Find<QLineEdit>(form, 1151), "2");
    Press(form, 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(messages.Texts(), QStringList{u"ダイヤル発信時間の入力に間違いがあります。"_qs});
    EXPECT_EQ(analog.working.ports[0].self_address, before.ports[0].self_address);
    EXPECT_EQ(analog.baseline.ports[0].callwaiting, before.ports[0].callwaiting);
    EXPECT_EQ(analog.working.ports[0].callwaiting, before.ports[0].callwaiting);
    EXPECT_EQ(session.state.pendingChangeCount, 0);
    Type(Find<QLineEdit>(form, 1151), "9");
    Press(form, 1);
  });
  EXPECT_EQ(Sent(), (Lines{"analog address tel1 0312345678",
                           "analog arrive_transfer address tel1 0398765432",
                           "analog callwaiting tel1 ntt", "analog dial_time tel1 9"}));
  EXPECT_EQ(session.state.pendingChangeCount, 1);

  // A failed check followed by "戻る" leaves the working copy as it was.
  rig.device.ClearLog();
  const AnalogSettings now = analog.working;
  InForm(menu, 1007, [](SettingsForm* form) {
    Type(Find<QLineEdit>(form, 1171), "0311112222");
    Type(Find<QLineEdit>(form, 1205), "99");
    Press(form, 1);
    Press(form, 2);
  });
  EXPECT_EQ(analog.working.ports[1].self_address, now.ports[1].self_address);
  InForm(menu, 1007, [](SettingsForm* form) { Press(form, 1); });
  EXPECT_TRUE(Sent().empty());
}

TEST_F(AnalogForms, CodesTheFormCannotShowAreLeftAsTheyAre) {
  Set("analog.tel1.inumber", "7");
  Set("analog.tel1.talky", "5");
  Read();
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  InForm(menu, 1005, [](SettingsForm* form) {
    for (int id : {1167, 1145, 1148, 1149}) EXPECT_FALSE(Find<QRadioButton>(form, id)->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(form, 1103)->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(form, 1106)->isChecked());
    Press(form, 1);
  });
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(analog.working.ports[0].i_number, 7);
  EXPECT_EQ(analog.working.ports[0].talky, 5);
  // Ticking a box is a choice: the boxes' value is sent.
  InForm(menu, 1005, [](SettingsForm* form) {
    Press(form, 1103);
    Press(form, 1);
  });
  EXPECT_EQ(Sent(), (Lines{"analog arrive_transfer talky tel1 2"}));
}

TEST_F(AnalogForms, AWriteThatTimesOutIsToldAndTheUnsentSettingsReverted) {
  Read();
  rig.device.AddFault({Fault::kSilent, 0, "analog arrive_transfer address tel1", 1, 0});
  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  const AnalogPort device = analog.working.ports[0];
  InForm(menu, 1005, [](SettingsForm* form) {
    Type(Find<QLineEdit>(form, 1095), "0312345678");
    Type(Find<QLineEdit>(form, 1100), "0398765432");
    Type(Find<QLineEdit>(form, 1151), "9");
    Press(form, 1);
  });
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, u"書込みに失敗しました。"_qs);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(log, QStringList{"Analog Status Write ERROR\r\n"});
  EXPECT_EQ(Sent(), (Lines{"analog address tel1 0312345678"}));  // the second was lost
  EXPECT_TRUE(menu.isEnabled());
  const AnalogPort& tel1 = analog.working.ports[0];
  EXPECT_EQ(tel1.self_address, "0312345678");
  EXPECT_EQ(tel1.transfer_address, device.transfer_address);
  EXPECT_EQ(tel1.dial_time, device.dial_time);
  // The form shows what the device holds; changing it again sends it again.
  InForm(menu, 1005, [&device](SettingsForm* form) {
    EXPECT_EQ(Text(form, 1151), QString::number(device.dial_time));
    Type(Find<QLineEdit>(form, 1151), "9");
    Press(form, 1);
  });
  EXPECT_EQ(Sent().back(), "analog dial_time tel1 9");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(AnalogForms, HelpTopicsAndTheMenuKeys) {
  Read();
  for (int port = 0; port < 3; ++port) {
    auto form = OpenForm(nullptr, session, TelPortForm(), port);
    form->show();
    Press(form.get(), 1587);
    QTest::keyClick(form.get(), Qt::Key_F1);
  }
  auto common = OpenForm(nullptr, session, AnalogCommonForm());
  common->show();
  Press(common.get(), 1587);
  EXPECT_EQ(help.contexts, (std::vector<int>{2, 2, 3, 3, 4, 4, 5}));

  CategoryMenu menu(nullptr, session, AnalogMenu(session));
  menu.show();
  EXPECT_EQ(menu.windowTitle(), u"アナログ設定"_qs);
  QTest::keyClick(&menu, Qt::Key_F1);
  EXPECT_EQ(help.contexts.size(), 7u);
  Press(&menu, 2);
  EXPECT_FALSE(menu.isVisible());
  EXPECT_TRUE(Sent().empty());
}

// The control that Tab moves to from w.
QWidget* NextTabStop(QWidget* w) {
  do {
    w = w->nextInFocusChain();
  } while ((w->focusPolicy() & Qt::TabFocus) == 0 || !w->isEnabled());
  return w;
}

TEST_F(AnalogForms, TabRunsThroughTheControlsBeforeTheButtons) {
  Read();
  auto form = OpenForm(nullptr, session, TelPortForm(), 0);
  form->show();
  EXPECT_EQ(form->focusWidget(), Find(form.get(), 1095));
  EXPECT_EQ(NextTabStop(Find(form.get(), 1136)), Find(form.get(), 1));
  EXPECT_EQ(NextTabStop(Find(form.get(), 1587)), Find(form.get(), 1095));
  auto common = OpenForm(nullptr, session, AnalogCommonForm());
  common->show();
  EXPECT_EQ(common->focusWidget(), Find(common.get(), 1294));
}

TEST_F(AnalogForms, EveryControlHasItsIdAndAName) {
  Read();
  const QString titles[3] = {u"ＴＥＬ１ポート設定"_qs, u"ＴＥＬ２ポート設定"_qs, u"ＴＥＬ３ポート設定"_qs};
  for (int port = 0; port < 4; ++port) {
    std::unique_ptr<FieldForm> form;
    if (port < 3) {
      form = OpenForm(nullptr, session, TelPortForm(), port);
      EXPECT_EQ(form->windowTitle(), titles[port]);
    } else {
      form = OpenForm(nullptr, session, AnalogCommonForm());
      EXPECT_EQ(form->windowTitle(), u"アナログポート共通設定"_qs);
    }
    QSet<QString> ids;
    int controls = 0;
    for (QWidget* w : form->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                           qobject_cast<StepArrows*>(w);
      if (!control || qobject_cast<QToolButton*>(w)) continue;
      ++controls;
      bool numeric = false;
      w->objectName().toInt(&numeric);
      EXPECT_TRUE(numeric) << w->objectName().toStdString();
      EXPECT_FALSE(ids.contains(w->objectName())) << w->objectName().toStdString();
      ids.insert(w->objectName());
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
    // Controls plus "登録", "戻る", "ヘルプ".
    EXPECT_EQ(controls, port < 3 ? 33 + 3 : 6 + 3) << port;
  }
}

}  // namespace
}  // namespace setutily
