// The configuration file through every category's tables, against the
// simulator: dump, compare, apply, and the files that are refused.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>

#include "root/config_categories.h"
#include "settings/config_file.h"
#include "support/session_rig.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using testing::Lines;

// The lines that are not show commands.
Lines Settings(const Lines& sent) {
  Lines settings;
  for (const std::string& line : sent) {
    if (line.rfind("show ", 0) != 0) settings.push_back(line);
  }
  return settings;
}

struct ConfigFile : ::testing::Test {
  std::string Dump() {
    EXPECT_EQ(ReadConfig(rig.session, categories, {}, nullptr), 1);
    return ConfigText(rig.session, categories, {"MORIVEX-9", "Version 1.00", "mac", "date"});
  }
  // Reads the device, takes text in and returns what applying would send.
  Lines Pending(const std::string& text, ConfigError* error = nullptr) {
    EXPECT_EQ(ReadConfig(rig.session, categories, {}, nullptr), 1);
    ConfigError ignored;
    if (!TakeConfig(rig.session, categories, text, error ? *error : ignored)) return {"refused"};
    return PendingConfig(rig.session, categories);
  }
  testing::SessionRig rig;
  std::vector<ConfigCategory> categories = BuildConfigCategories();
};

TEST_F(ConfigFile, DumpFactoryResetApplyDumpAgainGivesTheSameFile) {
  auto& d = rig.Device();
  d.Set("analog.tel1.address", "0312345678*12");
  d.Set("analog.tel2.dialtime", "12");
  d.Set("shortnum.20", "0120");
  d.Set("digital.common.piafs", "2");
  d.Set("nat.3", "192.168.0.3,*");
  d.Set("host.32", "192.168.0.32,pc-32");
  d.Set("dns.secondary_address", "192.0.2.2");
  d.Set("syslog.active", "1");
  d.Set("dialup.num3.provider_name", "My ISP");
  d.Set("dialup.num3.dial_number2", "0311*12");
  const std::string before = Dump();
  EXPECT_NE(before.find("dialup provider_name num3 My ISP\ndialup dial_number num3 ,0311*12,\n"),
            std::string::npos);
  EXPECT_NE(before.find("# アナログ設定 / TEL1\nanalog address tel1 0312345678*12\n"),
            std::string::npos);
  EXPECT_NE(before.find("shortnum add 20 0120\n"), std::string::npos);
  for (const char* line : {"nat add 3 192.168.0.3,*\n", "host add 32 192.168.0.32,pc-32\n",
                           "dns address 0.0.0.0,192.0.2.2\n", "syslog active\tenable\n"}) {
    EXPECT_NE(before.find(line), std::string::npos) << line;
  }

  d.FactoryReset();
  rig.Clear();
  const Lines pending = Pending(before);
  EXPECT_NE(std::find(pending.begin(), pending.end(), "analog dial_time tel2 12"), pending.end());
  const ApplyResult applied = ApplyConfig(rig.session, categories, {});
  EXPECT_TRUE(applied.ok);
  EXPECT_EQ(applied.sent, static_cast<int>(pending.size()));
  EXPECT_EQ(Settings(rig.Sent()), pending);
  EXPECT_EQ(Dump(), before);
}

TEST_F(ConfigFile, CompareListsExactlyWhatDiffers) {
  const std::string file = Dump();
  rig.Device().Set("analog.common.delay", "7");
  rig.Clear();
  EXPECT_EQ(Pending(file), (Lines{"analog delay_number 3"}));
  EXPECT_EQ(Pending("# nothing but comments\n\n"), Lines{});
}

TEST_F(ConfigFile, ABadLineRefusesTheWholeFileWithItsNumber) {
  struct Case {
    std::string line;
    std::string reason;  // a part of it
  };
  const Case cases[] = {
      {"analog frobnicate tel1", "知らないコマンド"},
      {"analog dial_time tel1 16", "範囲外"},
      {"analog dial_time tel1 99999999999999999999", "範囲外"},
      {"analog address tel1 03\x01" "12", "制御文字"},
      {"shortnum add 3 " + std::string(60, '1'), "長すぎます"},
      {"shortnum add 3 03-ABC", "使えません"},
      {"shortnum add 21 0311", "知らないコマンド"},
      {"connect number 5/0", "範囲外"},  // each number of a command within its own bounds
      {"connect charge 100/3", "範囲外"},
      {"nat add 3 192.168.0.3,*,1", "使えません"},
      {"nat add 3 ,*", "使えません"},
      {"host add 3 192.168.0.3,", "使えません"},
      {"dhcp range_address 192.168.0/8", "使えません"},
      {"syslog facility 24", "範囲外"},
  };
  for (const Case& c : cases) {
    ConfigError error;
    EXPECT_EQ(Pending("# header\nanalog delay_number 4\n" + c.line + "\n", &error),
              Lines{"refused"}) << c.line;
    EXPECT_EQ(error.line, 3) << c.line;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.line << ": " << error.reason;
  }
  EXPECT_EQ(Settings(rig.Sent()), Lines{});  // the reads only
}

}  // namespace
}  // namespace setutily

// ---------------------------------------------------------------- window

namespace setutily {
namespace {

QAction* MenuItem(QWidget* window, const QString& text) {
  for (QAction* action : window->findChildren<QAction*>()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

TEST(ConfigWindow, SaveChangeRestoreThroughTheFileMenu) {
  testing::ShellRig rig;
  const QString path = rig.dir.filePath(QStringLiteral("backup.txt"));
  rig.configCategories = BuildConfigCategories;
  rig.chooseFile = [&path](QWidget*, bool) { return path; };
  ASSERT_TRUE(rig.Start());
  rig.sim.With([](morivex9sim::Device& d) { d.Set("analog.tel3.dialtime", "9"); });
  MenuItem(rig.window.get(), QStringLiteral("設定のバックアップ…"))->trigger();
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(rig.messages.Texts().last(), QStringLiteral("設定のバックアップを作成しました。\r\n%1").arg(path));

  rig.sim.With([](morivex9sim::Device& d) {
    d.Set("analog.tel3.dialtime", "5");
    d.ClearLog();
  });
  rig.messages.answers = {false};  // the first restore is declined
  MenuItem(rig.window.get(), QStringLiteral("バックアップからの復元…"))->trigger();
  EXPECT_EQ(rig.messages.shown.back().text,
            QStringLiteral("1個のコマンドを送信して設定を復元します。\r\nよろしいですか？"));
  MenuItem(rig.window.get(), QStringLiteral("バックアップからの復元…"))->trigger();
  const auto sent = rig.Received();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "analog dial_time tel3 9"), 1);
  EXPECT_EQ(sent.back(), "fromwr 15");
  EXPECT_EQ(rig.messages.Texts().last(), QStringLiteral("設定を復元しました（1個のコマンド）。"));
  EXPECT_EQ(rig.window->RunSession().state.pendingChangeCount, 0);
  EXPECT_TRUE(rig.Close());
}

}  // namespace
}  // namespace setutily
