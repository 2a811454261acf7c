// The connection port dialog: what it shows from setutily.ini, what "登録"
// writes, and what "終了" and a refused confirmation leave alone.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/connection_dialog.h"
#include "app/profile.h"
#include "link/serial_ports.h"
#include "support/ini_file_test.h"
#include "support/port_folders.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using testing::Find;
using testing::RecordingMessages;

class ConnectionDialogTest : public testing::IniFileTest {
 protected:
  QLineEdit* Edit(QWidget* dialog, int id) { return Find<QLineEdit>(dialog, id); }

  RecordingMessages messages;
};

TEST_F(ConnectionDialogTest, FirstRunShowsDefaultsAndConfirmWritesExactlyTheFiveKeys) {
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  EXPECT_TRUE(Find<QRadioButton>(&dialog, 1004)->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(&dialog, 1002)->isChecked());
  auto* port = Find<QComboBox>(&dialog, 1022);
  EXPECT_EQ(port->count(), 9);
  EXPECT_EQ(port->currentText(), "COM1");
  EXPECT_EQ(port->itemText(8), "COM9");
  EXPECT_TRUE(port->isEnabled());
  for (int id : {1016, 1010, 1013}) {
    EXPECT_TRUE(Edit(&dialog, id)->text().isEmpty());
    EXPECT_FALSE(Edit(&dialog, id)->isEnabled()) << id;
  }
  EXPECT_EQ(Edit(&dialog, 1010)->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Edit(&dialog, 1013)->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Edit(&dialog, 1010)->accessibleName(), QStringLiteral("ログインパスワード"));
  EXPECT_EQ(port->accessibleName(), QStringLiteral("COMポート"));
  auto* modeGroup = qobject_cast<QGroupBox*>(Find<QRadioButton>(&dialog, 1004)->parentWidget());
  ASSERT_NE(modeGroup, nullptr);  // both radio buttons in one labelled group
  EXPECT_EQ(modeGroup->title(), QStringLiteral("接続方法"));
  EXPECT_EQ(Find<QRadioButton>(&dialog, 1002)->parentWidget(), modeGroup);

  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Get(), "[PORTSEL]\nPORT=0\nCOM=1\n\n[IPADDR]\nFIELD=\n\n[OPTION]\nDATA1=\nDATA2=\n");
  EXPECT_EQ(dialog.Settings().portNumber, 1);
  EXPECT_EQ(dialog.Settings().networkMode, 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConnectionDialogTest, NetworkModeFromTheFileIsKeptAndRadiosSwitchTheFields) {
  Put("[PORTSEL]\nPORT=1\nCOM=3\n[IPADDR]\nFIELD=192.168.1.1\n[OPTION]\nDATA1=login\nDATA2=admin\n");
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  EXPECT_TRUE(Find<QRadioButton>(&dialog, 1002)->isChecked());
  EXPECT_FALSE(Find<QComboBox>(&dialog, 1022)->isEnabled());
  EXPECT_EQ(Find<QComboBox>(&dialog, 1022)->currentIndex(), 2);
  EXPECT_EQ(Edit(&dialog, 1016)->text(), "192.168.1.1");
  EXPECT_EQ(Edit(&dialog, 1010)->text(), "login");
  EXPECT_TRUE(Edit(&dialog, 1013)->isEnabled());

  Find<QRadioButton>(&dialog, 1004)->click();
  EXPECT_TRUE(Find<QComboBox>(&dialog, 1022)->isEnabled());
  EXPECT_FALSE(Edit(&dialog, 1016)->isEnabled());
  Find<QRadioButton>(&dialog, 1002)->click();
  EXPECT_FALSE(Find<QComboBox>(&dialog, 1022)->isEnabled());
  EXPECT_TRUE(Edit(&dialog, 1016)->isEnabled());

  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(dialog.Settings().networkMode, 1);
  EXPECT_EQ(dialog.Settings().adminPassword, "admin");
  EXPECT_EQ(ProfileFile(Path()).ReadInt("PORTSEL", "PORT", -1), 1);
}

TEST_F(ConnectionDialogTest, OverlongStoredPasswordIsRefusedAndOnlyQuitLeaves) {
  const QByteArray original =
      "[PORTSEL]\nPORT=0\nCOM=2\n[OPTION]\nDATA1=123456789\nDATA2=ok\n; comment\n";
  Put(original);
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  dialog.show();
  EXPECT_EQ(Edit(&dialog, 1010)->text(), "123456789");  // shown whole
  Find<QComboBox>(&dialog, 1022)->setCurrentIndex(4);
  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("ログインパスワードは8文字以内で入力してください。"));
  EXPECT_EQ(Get(), original);  // nothing written by the refused confirmation

  Find<QPushButton>(&dialog, 2)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(Get(), original);
}

TEST_F(ConnectionDialogTest, StoredTextsThatCouldNotGoOutAsTheyStandAreRefused) {
  const struct {
    const char* line;
    const char16_t* message;
  } cases[] = {
      {"DATA1=ab\tcd", u"ログインパスワードは8文字以内で入力してください。"},
      {"DATA2=\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88\xe3\x81\x8a",  // 10 bytes
       u"管理者パスワードは8文字以内で入力してください。"},
      {"DATA1=\xf0\x9f\x98\x80", u"ログインパスワードは8文字以内で入力してください。"},
  };
  for (const auto& c : cases) {
    const QByteArray original = QByteArray("[PORTSEL]\nPORT=1\n[OPTION]\n") + c.line + "\n";
    Put(original);
    messages.shown.clear();
    ProfileFile profile(Path());
    ConnectionPortDialog dialog(profile, messages);
    Find<QPushButton>(&dialog, 1)->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << c.line;
    ASSERT_EQ(messages.shown.size(), 1u) << c.line;
    EXPECT_EQ(messages.shown[0].text, QString::fromUtf16(c.message));
    EXPECT_EQ(Get(), original);
  }
  // Four full-width characters are eight bytes: accepted.
  Put("[OPTION]\nDATA1=\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88\n");
  messages.shown.clear();
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConnectionDialogTest, QuitWritesNothing) {
  {
    ProfileFile profile(Path());
    ConnectionPortDialog dialog(profile, messages);
    Find<QPushButton>(&dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
  EXPECT_FALSE(QFile::exists(Path()));
  Put("[MODE]\nDEBUG=99\n");
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  Find<QComboBox>(&dialog, 1022)->setCurrentIndex(3);
  dialog.reject();  // Escape or the close box
  EXPECT_EQ(Get(), "[MODE]\nDEBUG=99\n");
}

TEST_F(ConnectionDialogTest, PortNumberOutsideTheListIsStoredAsZero) {
  Put("[PORTSEL]\nCOM=12\n");
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages);
  EXPECT_EQ(Find<QComboBox>(&dialog, 1022)->currentIndex(), -1);
  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(dialog.Settings().portNumber, 0);
  EXPECT_EQ(profile.ReadInt("PORTSEL", "COM", -1), 0);
}

TEST_F(ConnectionDialogTest, ShowsEachComPortsDeviceAndStoresThePortChosenForIt) {
  testing::PortFolders ports;
  Put(("[DEVICE]\nCOM1=" + ports.Dev("ttyS1") + "\nCOM2=/nowhere/ttyX\n").toUtf8());
  ProfileFile profile(Path());
  ConnectionPortDialog dialog(profile, messages, nullptr,
                              [&] { return ListSerialPorts(ports.folders); });
  auto* port = Find<QComboBox>(&dialog, 1022);
  auto* device = dialog.findChild<QLabel*>("DevicePath");
  auto* choice = dialog.findChild<QComboBox*>("DeviceChoice");
  ASSERT_NE(device, nullptr);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(port->count(), 9);
  EXPECT_EQ(device->text(), ports.Dev("ttyS1"));
  // COM1's own device (no UART, so not among the ports found) leads the list.
  ASSERT_EQ(choice->count(), 6);
  EXPECT_EQ(choice->currentIndex(), 0);
  EXPECT_EQ(choice->itemText(1), ports.ById() + " -> " + ports.Dev("ttyUSB0"));

  port->setCurrentIndex(1);
  EXPECT_EQ(device->text(), QStringLiteral("/nowhere/ttyX（見つかりません）"));
  choice->setCurrentIndex(choice->findData(ports.ById()));
  EXPECT_EQ(device->text(), ports.ById() + "\n-> " + ports.Dev("ttyUSB0"));
  EXPECT_EQ(choice->count(), 5);  // the missing device is no longer offered
  port->setCurrentIndex(0);
  EXPECT_EQ(device->text(), ports.Dev("ttyS1"));
  port->setCurrentIndex(1);
  EXPECT_EQ(choice->currentData().toString(), ports.ById());

  // A port plugged in meanwhile shows after "再検索".
  QFile(ports.Dev("ttyUSB3")).open(QIODevice::WriteOnly);
  Find<QPushButton>(&dialog, "RescanPorts")->click();
  EXPECT_EQ(choice->count(), 6);

  Find<QRadioButton>(&dialog, 1002)->click();
  EXPECT_FALSE(choice->isEnabled());
  Find<QRadioButton>(&dialog, 1004)->click();
  Find<QPushButton>(&dialog, 1)->click();
  EXPECT_EQ(dialog.Settings().portNumber, 2);
  EXPECT_EQ(dialog.Settings().devicePath, ports.ById());
  // Only the mapping that changed is written.
  EXPECT_EQ(profile.ComPortOverrides(),
            (QMap<int, QString>{{1, ports.Dev("ttyS1")}, {2, ports.ById()}}));
  EXPECT_EQ(LoadConnectionSettings(profile).devicePath, ports.ById());
}

}  // namespace
}  // namespace setutily
