// The settings file: lookup rules, what a write keeps, safe replacement, and
// the connection settings stored in it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/connection.h"
#include "app/profile.h"
#include "support/ini_file_test.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using ProfileTest = testing::IniFileTest;

TEST_F(ProfileTest, FindsSectionsAndKeysRegardlessOfCaseAndReadsValues) {
  Put("; connection\n"
      "[portsel]\n"
      "  Port = 1 \n"
      "com=0042xyz\n"
      "COM=7\n"  // the first occurrence counts
      "[IPAddr]\n"
      "field=  192.168.0.1  \n"
      "[Option]\n"
      "DATA1=\"  spaced \"\n"
      "DATA2='quoted'\n"
      "[MODE]\n"
      "DEBUG=-12\n"
      "[BIG]\n"
      "N=99999999999999999999\n"
      "M=-99999999999999999999\n"
      "X=abc\n");
  const ProfileFile profile(Path());
  EXPECT_EQ(profile.ReadInt("PORTSEL", "PORT", 5), 1);
  EXPECT_EQ(profile.ReadInt("PORTSEL", "COM", 5), 42);
  EXPECT_EQ(profile.ReadInt("MODE", "DEBUG", 0), -12);
  EXPECT_EQ(profile.ReadInt("BIG", "N", 0), 2147483647);
  EXPECT_EQ(profile.ReadInt("BIG", "M", 0), -2147483647 - 1);
  EXPECT_EQ(profile.ReadInt("BIG", "X", 5), 0);       // present but no number
  EXPECT_EQ(profile.ReadInt("BIG", "MISSING", 5), 5);  // missing: the default
  EXPECT_EQ(profile.ReadInt("NOSECTION", "N", 9), 9);
  EXPECT_EQ(profile.ReadString("IPADDR", "FIELD", "", 19), "192.168.0.1");
  EXPECT_EQ(profile.ReadString("IPADDR", "FIELD", "", 5), "192.1");
  EXPECT_EQ(profile.ReadString("OPTION", "DATA1", "", 34), "  spaced ");
  EXPECT_EQ(profile.ReadString("OPTION", "DATA2", "", 34), "quoted");
  EXPECT_EQ(profile.ReadString("OPTION", "DATA3", "default-text", 7), "default");
}

TEST_F(ProfileTest, WriteKeepsEverythingElseAndAddsMissingKeysAndSections) {
  Put("; my settings\r\n"
      "[PortSel]\r\n"
      "port=0\r\n"
      "; keep me\r\n"
      "EXTRA=kept\r\n"
      "\r\n"
      "[Other]\r\n"
      "A=1\r\n");
  ProfileFile profile(Path());
  ASSERT_TRUE(profile.Write({{"PORTSEL", "PORT", "1"},
                             {"PORTSEL", "COM", "3"},
                             {"OPTION", "DATA1", " pw "}}));
  EXPECT_EQ(Get(),
            "; my settings\r\n"
            "[PortSel]\r\n"
            "port=1\r\n"
            "; keep me\r\n"
            "EXTRA=kept\r\n"
            "COM=3\r\n"
            "\r\n"
            "[Other]\r\n"
            "A=1\r\n"
            "\r\n"
            "[OPTION]\r\n"
            "DATA1=\" pw \"\r\n");
  EXPECT_EQ(profile.ReadString("OPTION", "DATA1", "", 34), " pw ");
  EXPECT_EQ(profile.ReadInt("portsel", "com", 0), 3);
}

TEST_F(ProfileTest, WritesSafelyForTheOwnerOnlyAndRefusesWhatWouldBreakTheFile) {
  ProfileFile profile(Path());
  ASSERT_TRUE(profile.WriteInt("PORTSEL", "COM", 2));
  struct stat info {};
  ASSERT_EQ(::stat(Path().toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"setutily.ini"});  // no leftovers
  // A file made readable by others (by hand, say) is narrowed on the next write.
  ASSERT_EQ(::chmod(Path().toLocal8Bit().constData(), 0644), 0);
  ASSERT_TRUE(profile.WriteInt("PORTSEL", "COM", 2));
  ASSERT_EQ(::stat(Path().toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // A settings file that is a symbolic link stays one; its target is written.
  const QString target = dir.filePath("real.ini");
  ASSERT_TRUE(QFile::rename(Path(), target));
  ASSERT_TRUE(QFile::link(target, Path()));
  ASSERT_TRUE(profile.WriteInt("PORTSEL", "PORT", 0));
  EXPECT_TRUE(QFileInfo(Path()).isSymLink());
  QFile real(target);
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  EXPECT_EQ(real.readAll(), "[PORTSEL]\nCOM=2\nPORT=0\n");
  ASSERT_TRUE(QFile::remove(Path()));
  ASSERT_TRUE(QFile::rename(target, Path()));
  ASSERT_TRUE(profile.Write({{"PORTSEL", "PORT", "0"}}));

  QString error;
  EXPECT_FALSE(profile.WriteString("OPTION", "DATA1", "pw\n[MODE]\nDEBUG=99", &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Get(), "[PORTSEL]\nCOM=2\nPORT=0\n");

  // A file too large to be a settings file is neither read nor replaced.
  QByteArray huge("[PORTSEL]\nCOM=5\n");
  huge.append(QByteArray(ProfileFile::kMaxFileSize, ';'));
  Put(huge);
  EXPECT_EQ(profile.ReadInt("PORTSEL", "COM", 1), 1);
  EXPECT_FALSE(profile.WriteInt("PORTSEL", "COM", 3));
  EXPECT_EQ(Get().size(), huge.size());
}

TEST_F(ProfileTest, LinesInOtherEncodingsAndAByteOrderMarkAreKeptByteForByte) {
  // A Shift-JIS comment, a Latin-1 value, a name that only a Unicode case
  // fold (Kelvin sign for K) would take for the program's key, and a line of
  // invalid UTF-8.
  const QByteArray sjis = "; \x90\xdd\x92\xe8\x83t\x83@\x83" "C\x83\x8b\r";
  const QByteArray original = "\xef\xbb\xbf[PORTSEL]\r\n" + sjis + "\nCOM=3\r\nNAME=caf\xe9\r\n" +
                              "\xe2\x84\xaa" "EY=1\r\n[\xff\xfe]\r\nX=1\r\n";
  Put(original);
  ProfileFile profile(Path());
  EXPECT_EQ(profile.ReadInt("PORTSEL", "COM", 0), 3);  // found behind the mark
  EXPECT_EQ(profile.ReadInt("PORTSEL", "KEY", 7), 7);
  ASSERT_TRUE(profile.Write({{"PORTSEL", "COM", "5"}, {"PORTSEL", "KEY", "2"}}));
  QByteArray expected = original;
  expected.replace("COM=3", "COM=5");
  expected.replace("EY=1\r\n", "EY=1\r\nKEY=2\r\n");
  EXPECT_EQ(Get(), expected);
}

TEST_F(ProfileTest, UnusableFilesAreNamedInJapaneseAndNeverReplaced) {
  EXPECT_EQ(ProfileFile(Path()).Check(), ProfileFile::Problem::kNone);  // missing: fine
  ASSERT_TRUE(QDir(dir.path()).mkdir("setutily.ini"));
  ProfileFile profile(Path());
  EXPECT_EQ(profile.Check(), ProfileFile::Problem::kNotAFile);
  QString error;
  EXPECT_FALSE(profile.WriteInt("PORTSEL", "COM", 3, &error));
  EXPECT_EQ(error, ProfileFile::ProblemText(ProfileFile::Problem::kNotAFile));
  ASSERT_TRUE(QDir(dir.path()).rmdir("setutily.ini"));

  Put("[PORTSEL]\nCOM=4\n");
  if (::getuid() != 0) {  // root reads anything
    ASSERT_EQ(::chmod(Path().toLocal8Bit().constData(), 0), 0);
    EXPECT_EQ(profile.Check(), ProfileFile::Problem::kUnreadable);
    EXPECT_EQ(profile.ReadInt("PORTSEL", "COM", 1), 1);
    ASSERT_EQ(::chmod(Path().toLocal8Bit().constData(), 0600), 0);
  }
  Put(QByteArray(ProfileFile::kMaxFileSize + 1, ';'));
  EXPECT_EQ(profile.Check(), ProfileFile::Problem::kTooLarge);
  for (auto problem : {ProfileFile::Problem::kTooLarge, ProfileFile::Problem::kNotAFile,
                       ProfileFile::Problem::kUnreadable}) {
    const QString text = ProfileFile::ProblemText(problem);
    EXPECT_TRUE(text.startsWith(QStringLiteral("設定ファイル setutily.ini ")) && text.endsWith(u'。'))
        << text.toStdString();
  }

  // A file that cannot be written: the reason is Japanese, not system text.
  ProfileFile nowhere(dir.filePath("missing/setutily.ini"));
  EXPECT_FALSE(nowhere.WriteInt("PORTSEL", "COM", 3, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("書き込めません"))) << error.toStdString();
}

TEST_F(ProfileTest, DevicePathsOfComPorts) {
  Put("[device]\ncom1 = /tmp/sim link\nCOM3=\nCOM10=/dev/x\n");
  const auto overrides = ProfileFile(Path()).ComPortOverrides();
  EXPECT_EQ(overrides.size(), 1);
  EXPECT_EQ(overrides.value(1), "/tmp/sim link");
}

TEST_F(ProfileTest, ConnectionSettingsDefaultsLimitsAndTheFiveKeys) {
  ProfileFile profile(Path());
  ConnectionSettings settings = LoadConnectionSettings(profile);  // no file
  EXPECT_EQ(settings.networkMode, 0);
  EXPECT_EQ(settings.portNumber, 1);
  EXPECT_TRUE(settings.address.isEmpty());
  EXPECT_FALSE(DebugModeOn(profile));
  EXPECT_FALSE(QFile::exists(Path()));

  Put("[PORTSEL]\nPORT=2\nCOM=4\n[IPADDR]\nFIELD=123456789012345678901234\n"
      "[OPTION]\nDATA1=1234567890123456789012345678901234567890\n[MODE]\nDEBUG=99\n");
  settings = LoadConnectionSettings(profile);
  EXPECT_EQ(settings.networkMode, 1);  // any non-zero value is the network
  EXPECT_EQ(settings.portNumber, 4);
  EXPECT_EQ(settings.address.size(), 19);
  EXPECT_EQ(settings.loginPassword.size(), 34);
  EXPECT_TRUE(DebugModeOn(profile));
}

}  // namespace
}  // namespace setutily
