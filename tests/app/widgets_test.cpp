// The shared form pieces: edit boxes for device text, the number edit box's
// key filter, radio groups, the form frame and accessible names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "forms/busy_box.h"
#include "forms/form.h"
#include "forms/line_edits.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using testing::RecordingHelp;
using testing::RecordingMessages;

TEST(NumberEdit, TypesOnlyTheCharactersOfNumbers) {
  NumberEdit edit;
  QTest::keyClicks(&edit, "ab0(3)1-2.3/4:5*6#7+8 x");
  EXPECT_EQ(edit.text(), "0(3)1-2.3/4:5*6#78");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "0(3)1-2.3/4:5*6#7");
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), "0(3)1-2.3/4:5*6#");
  QTest::keyClick(&edit, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(edit.text(), "0(3)1-2.3/4:5*6#");
  QTest::keyClick(&edit, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(edit.text(), "0(3)1-2.3/4:5*6#-");
}

TEST(NumberEdit, CopyCutAndPastePassAndPastedTextIsNotFiltered) {
  NumberEdit edit;
  QApplication::clipboard()->setText("03-1234 abc");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "03-1234 abc");
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);  // not let through
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "03-1234 abc");
}

TEST(DeviceLineEdit, RefusesControlCharactersTypedOrPasted) {
  DeviceLineEdit edit;
  edit.setText("abc");
  edit.setCursorPosition(3);
  QApplication::clipboard()->setText("x\rrestart");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "abc");
  QApplication::clipboard()->setText("def");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "abcdef");
}

TEST(DeviceLineEdit, TypingLimitDoesNotCutTextFromTheDevice) {
  DeviceLineEdit edit;
  edit.SetTypingLimit(5);
  edit.setText("12345678");  // from the device: shown whole
  EXPECT_EQ(edit.text(), "12345678");
  edit.setCursorPosition(8);
  QTest::keyClicks(&edit, "9");
  EXPECT_EQ(edit.text(), "12345678");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClicks(&edit, "ab");
  EXPECT_EQ(edit.text(), "12345");
}

TEST(DeviceLineEdit, LimitCountsDeviceBytesAndAPasteInsertsWhatFits) {
  const struct {
    const char* before;  // "|" marks the cursor, "[...]" the selection
    const char* pasted;
    const char* after;
  } cases[] = {
      {"ab|", "cdefgh", "abcdef|"},
      {"|ab", "cdefgh", "cdef|ab"},
      {"a[bc]d", "xyz12", "axyz1|d"},
      {"abcde|", "\xe3\x81\x82", "abcde|"},                      // あ: two bytes, one left
      {"abcd|", "\xe3\x81\x82\xe3\x81\x84", "abcd\xe3\x81\x82|"},  // あい: room for あ
      {"|", "\xef\xbd\xb1\xef\xbd\xb2\xe3\x81\x82\xe3\x81\x84", "\xef\xbd\xb1\xef\xbd\xb2\xe3\x81\x82\xe3\x81\x84|"},  // ｱｲあい: 6 bytes
      {"abcdef|", "g", "abcdef|"},
  };
  for (const auto& c : cases) {
    DeviceLineEdit edit;
    edit.SetTypingLimit(6);
    QString before = QString::fromUtf8(c.before);
    const qsizetype selection = before.indexOf(u'[');
    const qsizetype cursor = before.indexOf(u'|');
    before.remove(u'|').remove(u'[');
    const qsizetype selectionEnd = before.indexOf(u']');
    before.remove(u']');
    edit.setText(before);
    if (selection >= 0) {
      edit.setSelection(static_cast<int>(selection), static_cast<int>(selectionEnd - selection));
    } else {
      edit.setCursorPosition(static_cast<int>(cursor));
    }
    QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QString shown = edit.text();
    shown.insert(edit.cursorPosition(), u'|');
    EXPECT_EQ(shown, QString::fromUtf8(c.after)) << c.before << " + " << c.pasted;
  }
  // Typed: a full-width character takes two of the bytes.
  DeviceLineEdit edit;
  edit.SetTypingLimit(3);
  for (const QChar c : QString::fromUtf8("\xe3\x81\x82\xe3\x81\x84" "a")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&edit, &press);
  }
  EXPECT_EQ(edit.text(), QString::fromUtf8("\xe3\x81\x82" "a"));
}

TEST(DeviceLineEdit, FitsDeviceRefusesWhatCouldNotGoOutAsItStands) {
  const struct {
    const char* text;
    int limit;
    bool fits;
  } cases[] = {
      {"abcdefgh", 8, true},          {"abcdefghi", 8, false},
      {"\xe3\x81\x82" "bcdefg", 8, true}, {"\xe3\x81\x82" "bcdefgh", 8, false},  // あ counts two
      {"a\tb", 8, false},             {"a\x7f", 0, false},
      {"\xf0\x9f\x98\x80", 0, false},  // no Shift-JIS form
      {"\xef\xbf\xbd", 0, false},       // a replaced byte from the device
      {"", 8, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitsDevice(QString::fromUtf8(c.text), c.limit), c.fits) << c.text;
  }
  EXPECT_EQ(DeviceByteCount(QString::fromUtf8("\xe3\x81\x82\xef\xbd\xb1" "a")), 4);
}

TEST(RadioGroup, IndexesAndNoSelection) {
  QWidget box;
  RadioGroup group;
  auto* a = new QRadioButton("a", &box);
  auto* b = new QRadioButton("b", &box);
  group.Add(a);
  group.Add(b);
  EXPECT_EQ(group.Value(), -1);
  group.SetValue(1);
  EXPECT_EQ(group.Value(), 1);
  group.SetValue(7);  // a code no button shows
  EXPECT_EQ(group.Value(), -1);
  EXPECT_FALSE(a->isChecked());
  EXPECT_FALSE(b->isChecked());
  a->click();
  EXPECT_EQ(group.Value(), 0);
}

class ProbeForm : public SettingsForm {
 public:
  ProbeForm(Messages& m, HelpViewer& h) : SettingsForm(nullptr, "probe", m, h, 7) {
    auto* group = new QGroupBox(QStringLiteral("ダイヤル発信時間"), this);
    auto* layout = new QVBoxLayout(group);
    edit = new NumberEdit(group);
    edit->setObjectName("1151");
    layout->addWidget(edit);
    auto* label = new QLabel(QStringLiteral("自己アドレス"), this);
    named = new DeviceLineEdit(this);
    label->setBuddy(named);
    Body()->addWidget(group);
    Body()->addWidget(label);
    Body()->addWidget(named);
    FinishLayout();
  }
  bool Confirm() override {
    ++confirms;
    if (!pass) ShowCheckMessage("bad");
    return pass;
  }
  NumberEdit* edit;
  DeviceLineEdit* named;
  bool pass = false;
  int confirms = 0;
};

TEST(SettingsForm, ButtonsHelpAndConfirmation) {
  RecordingMessages messages;
  RecordingHelp help;
  ProbeForm form(messages, help);
  form.show();
  EXPECT_EQ(form.edit->accessibleName(), QStringLiteral("ダイヤル発信時間"));
  EXPECT_EQ(form.named->accessibleName(), QStringLiteral("自己アドレス"));
  testing::Find<QPushButton>(&form, 1587)->click();
  QTest::keyClick(&form, Qt::Key_F1);
  EXPECT_EQ(help.contexts, (std::vector<int>{7, 7}));
  testing::Find<QPushButton>(&form, 1)->click();
  EXPECT_TRUE(form.isVisible());  // a failed check keeps the form open
  EXPECT_EQ(messages.Texts(), QStringList{"bad"});
  form.pass = true;
  QTest::keyClick(form.edit, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.confirms, 2);
}

TEST(BusyBox, ShownOnlyWhileWorkRunsWithTheOwnerDisabled) {
  QWidget owner;
  owner.show();
  bool sawBox = false, ownerDisabled = false;
  const int result = RunBusy(&owner, [&] {
    sawBox = owner.findChild<BusyBox*>() != nullptr && owner.findChild<BusyBox*>()->isVisible();
    ownerDisabled = !owner.isEnabled();
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(sawBox);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(owner.isEnabled());
  EXPECT_EQ(owner.findChild<BusyBox*>(), nullptr);
}

}  // namespace
}  // namespace setutily
