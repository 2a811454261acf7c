// Where the installed program finds its files, and the serial ports it
// offers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/file_locations.h"
#include "app/profile.h"
#include "link/serial_ports.h"
#include "support/port_folders.h"

namespace setutily {
namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(FileLocations, SettingsFileInTheCurrentDirectoryWhenThereIsOneElseTheUsers) {
  QTemporaryDir dir;
  const QString here = dir.filePath("work");
  const QString config = dir.filePath("config");
  QDir().mkpath(here);
  EXPECT_EQ(ProfilePath(here, config), config + "/setutily/setutily.ini");
  Touch(here + "/setutily.ini");
  EXPECT_EQ(ProfilePath(here, config), here + "/setutily.ini");
}

TEST(FileLocations, TheUsersSettingsFolderAndFileAreOwnerOnly) {
  constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                           QFileDevice::ExeGroup | QFileDevice::ReadOther |
                           QFileDevice::WriteOther | QFileDevice::ExeOther;
  QTemporaryDir dir;
  const QString path = ProfilePath(dir.filePath("work"), dir.filePath("config"));
  const QString folder = QFileInfo(path).path();
  ASSERT_TRUE(MakePrivateFolder(folder));
  for (const QString& made : {dir.filePath("config"), folder}) {
    const QFileDevice::Permissions mode = QFileInfo(made).permissions();
    EXPECT_TRUE(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner));
    EXPECT_FALSE(mode & kOthers) << made.toStdString();
  }
  EXPECT_TRUE(MakePrivateFolder(folder));  // already there
  ProfileFile profile(path);
  ASSERT_TRUE(profile.WriteInt("PORTSEL", "COM", 1));
  EXPECT_FALSE(QFileInfo(path).permissions() & kOthers);
  EXPECT_FALSE(MakePrivateFolder(path + "/below"));  // a file is in the way
}

TEST(FileLocations, HelpFileFromTheCurrentDirectoryFirstThenBesideTheProgram) {
  QTemporaryDir dir;
  const QString here = dir.filePath("work");
  const QString prefix = dir.filePath("prefix");
  QDir().mkpath(here);
  const QStringList folders = HelpFolders(here, prefix + "/bin");
  ASSERT_GE(folders.size(), 2);
  EXPECT_EQ(folders[0], here);
  EXPECT_TRUE(FindHelpFile(folders).isEmpty() ||
              !FindHelpFile(folders).startsWith(dir.path()));  // none of ours yet
  Touch(prefix + "/share/setutily/MORIVEX-9.hlp");
  EXPECT_EQ(FindHelpFile(folders), prefix + "/share/setutily/MORIVEX-9.hlp");
  Touch(here + "/MORIVEX-9.hlp");
  EXPECT_EQ(FindHelpFile(folders), here + "/MORIVEX-9.hlp");
}

TEST(SerialPorts, ByIdNamesWithTheirTargetsThenOtherAdaptersThenPortsWithAUart) {
  testing::PortFolders ports;
  const std::vector<SerialPortEntry> expected{
      {ports.ById(), ports.Dev("ttyUSB0")},
      {ports.Dev("ttyUSB2"), {}},
      {ports.Dev("ttyUSB10"), {}},
      {ports.Dev("ttyACM0"), {}},
      {ports.Dev("ttyS0"), {}},
  };
  EXPECT_EQ(ListSerialPorts(ports.folders), expected);
  EXPECT_EQ(SerialPortText(expected[0]), ports.ById() + " -> " + ports.Dev("ttyUSB0"));
  EXPECT_EQ(SerialPortText(expected[1]), ports.Dev("ttyUSB2"));

  // No by-id folder, no tty class: only the adapters' nodes.
  SerialPortFolders bare = ports.folders;
  bare.byId = ports.dir.filePath("none");
  bare.ttyClass = ports.dir.filePath("none");
  EXPECT_EQ(ListSerialPorts(bare).size(), 4u);
  EXPECT_EQ(ListSerialPorts(bare).front().path, ports.Dev("ttyUSB0"));
}

}  // namespace
}  // namespace setutily
