// The speed-dial list driven through the real main window against the
// simulator on a pseudo-terminal: "短縮番号設定", the form, and "終了".
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "root/categories.h"
#include "forms/line_edits.h"
#include "speeddial/speed_dial_form.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

// The edit box of each row, row 0 first.
constexpr int kEditIds[20] = {1098, 1101, 1104, 1107, 1111, 1114, 1117, 1120, 1123, 1126,
                              1129, 1132, 1135, 1138, 1141, 1144, 1147, 1150, 1153, 1156};

using morivex9sim::Device;
using morivex9sim::Fault;
using testing::Click;
using testing::Find;
using testing::Lines;
using testing::OnNextModal;
using testing::ShellRig;

const QString kReadOk = QStringLiteral("Short Number Status Read OK\r\n");
const QString kView = QStringLiteral("View Short Number Dlg\r\n");
const QString kWriteOk = QStringLiteral("Short Number Status Write OK\r\n");
const QString kWriteError = QStringLiteral("Short Number Status Write ERROR\r\n");
const Lines kPages = {"show shortnum num1", "show shortnum num2"};

std::string Key(int number) { return "shortnum." + std::to_string(number); }

NumberEdit* Row(QWidget* form, int row) {
  return Find<NumberEdit>(form, kEditIds[static_cast<std::size_t>(row)]);
}

// Replaces a row's text by typing, as a user does (empty text clears it).
void TypeRow(QWidget* form, int row, const QString& text) {
  NumberEdit* edit = Row(form, row);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

class SpeedDialWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.categories = BuildCategories;  // the real categories behind the buttons
    rig.sim.With([](Device& d) {
      d.Set(Key(1), "0311112222");
      d.Set(Key(2), "0422223333");
      d.Set(Key(5), "0120-444-555");
      d.Set(Key(13), "0612345678*21");
    });
    ASSERT_TRUE(rig.Start());
    rig.window->show();
  }

  // Presses "短縮番号設定" and runs action in the form it opens; the action
  // must close the form. Returns whether the form opened.
  bool InForm(std::function<void(FieldForm*)> action) {
    bool opened = false;
    OnNextModal<FieldForm>([&](FieldForm* form) {
      opened = true;
      action(form);
    });
    Click(rig.window.get(), 1087);
    return opened;
  }

  std::string Held(int number) {
    std::string value;
    rig.sim.With([&](Device& d) { value = d.Get(Key(number)); });
    return value;
  }

  ShellRig rig;
};

TEST_F(SpeedDialWindow, ChangesAndAClearedEntryReachTheDeviceAsTheFormShowedThem) {
  MainDialog& window = *rig.window;
  QStringList shown;
  ASSERT_TRUE(InForm([&](FieldForm* form) {
    EXPECT_EQ(form->parentWidget(), &window);
    EXPECT_EQ(Row(form, 0)->text(), "0311112222");
    EXPECT_EQ(Row(form, 12)->text(), "0612345678*21");
    EXPECT_EQ(window.LogText(), "com open\r\n" + kReadOk + kView);
    TypeRow(form, 1, QStringLiteral("045-111-2222"));
    TypeRow(form, 19, QStringLiteral("(03)5555-6666#"));
    TypeRow(form, 4, QString());
    for (int row = 0; row < kSpeedDialCount; ++row) shown << Row(form, row)->text();
    Click(form, 1);
  }));
  EXPECT_EQ(window.LogText(), "com open\r\n" + kReadOk + kView + kWriteOk);
  Lines expected = kPages;
  expected.insert(expected.end(), {"shortnum add 2 045-111-2222", "shortnum add 5 ",
                                   "shortnum add 20 (03)5555-6666#"});
  expected.insert(expected.end(), kPages.begin(), kPages.end());  // read back
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  ASSERT_EQ(shown.size(), kSpeedDialCount);
  for (int row = 0; row < kSpeedDialCount; ++row) {
    EXPECT_EQ(Held(row + 1), shown[row].toStdString()) << row;
  }
  EXPECT_TRUE(rig.messages.shown.empty());

  // Cancelling the next form reads again but sends and logs nothing more.
  ASSERT_TRUE(InForm([](FieldForm* form) {
    EXPECT_EQ(Row(form, 1)->text(), "045-111-2222");  // read back from the device
    TypeRow(form, 0, QStringLiteral("0999"));
    Click(form, 2);
  }));
  expected.insert(expected.end(), kPages.begin(), kPages.end());
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  EXPECT_EQ(window.LogText(), "com open\r\n" + kReadOk + kView + kWriteOk + kReadOk + kView);
  EXPECT_EQ(Held(1), "0311112222");

  ASSERT_TRUE(rig.Close());
  expected.insert(expected.end(), {"fromwr 15", "exit"});
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  rig.sim.With([](Device& d) { EXPECT_EQ(d.FlashWrites(), 1); });
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(SpeedDialWindow, ALineLostDuringTheWriteIsToldAndLogged) {
  MainDialog& window = *rig.window;
  rig.sim.AddFault({Fault::kHangUp, 0, "shortnum add", 1, 1});  // on the second
  ASSERT_TRUE(InForm([](FieldForm* form) {
    TypeRow(form, 2, QStringLiteral("0333"));
    TypeRow(form, 3, QStringLiteral("0444"));
    Click(form, 1);
  }));
  ASSERT_FALSE(rig.messages.shown.empty());
  EXPECT_EQ(rig.messages.shown[0].text, QStringLiteral("書込みに失敗しました。"));
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_TRUE(window.LogText().endsWith(kWriteError));
  EXPECT_FALSE(window.LogText().contains(kWriteOk));
  // The line dropped instead of answering the second entry: nothing was
  // sent after it.
  Lines expected = kPages;
  expected.insert(expected.end(), {"shortnum add 3 0333", "shortnum add 4 0444"});
  EXPECT_EQ(rig.sim.CommandLines(), expected);
  // The lost line is reported as well, and the buttons stay disabled.
  ASSERT_TRUE(testing::WaitUntil([&] { return rig.messages.shown.size() == 2; }));
  EXPECT_TRUE(rig.messages.shown[1].text.startsWith(QStringLiteral("MORIVEX-9との接続が切れました。")));
  EXPECT_FALSE(Find<QPushButton>(&window, 1087)->isEnabled());
}

TEST(SpeedDialExit, AConfirmedFormIsStoredBeforeExitEvenWithoutChanges) {
  for (const bool confirm : {true, false}) {
    SCOPED_TRACE(confirm);
    ShellRig rig;
    rig.categories = BuildCategories;
    ASSERT_TRUE(rig.Start());
    rig.window->show();
    OnNextModal<FieldForm>([confirm](FieldForm* form) { Click(form, confirm ? 1 : 2); });
    Click(rig.window.get(), 1087);
    ASSERT_TRUE(rig.Close());
    Lines expected = kPages;
    if (confirm) expected.push_back("fromwr 15");
    expected.push_back("exit");
    EXPECT_EQ(rig.sim.CommandLines(), expected);
    rig.sim.With([confirm](Device& d) { EXPECT_EQ(d.FlashWrites(), confirm ? 1 : 0); });
    EXPECT_EQ(rig.window->LogText(),
              "com open\r\n" + kReadOk + kView + (confirm ? kWriteOk : QString()));
  }
}

}  // namespace
}  // namespace setutily
