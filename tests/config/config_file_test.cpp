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
    return ConfigText(rig.session, categories, {"MORIVEX-9", "Version 1.00", "mac"});
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
  // Texts as long as the forms take are read back whole.
  d.Set("dhcp.domain_name", std::string(60, 'd'));
  d.Set("ras.password", std::string(60, 'p'));
  const std::string before = Dump();
  EXPECT_NE(before.find("dhcp domain_name " + std::string(60, 'd') + "\n"), std::string::npos);
  EXPECT_NE(before.find("ras password " + std::string(60, 'p') + "\n"), std::string::npos);
  EXPECT_EQ(before.find("talky pna"), std::string::npos);  // the PNA port has no such setting
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
  std::vector<ConfigLine> lines;
  ConfigError error;
  ASSERT_TRUE(TakeConfig(rig.session, categories, before, error, ConfigRules::kWholeRecords, &lines));
  const ApplyResult applied = ApplyConfig(rig.session, categories, {}, lines);
  EXPECT_TRUE(applied.AllTaken());
  EXPECT_EQ(applied.sent, static_cast<int>(pending.size()));
  ASSERT_EQ(applied.lines.size(), lines.size());
  const auto taken = std::ranges::count(applied.lines, LineOutcome::kTaken, &AppliedLine::outcome);
  const auto same = std::ranges::count(applied.lines, LineOutcome::kSame, &AppliedLine::outcome);
  EXPECT_EQ(taken, std::ssize(pending));  // each read back; the others the device held already
  EXPECT_EQ(taken + same, std::ssize(lines));
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
      {"analog dial_time tel1 16", "ダイヤル発信時間の入力に間違いがあります。（「16」: 3～15）"},
      {"analog dial_time tel1 99999999999999999999", "ダイヤル発信時間"},
      {"analog address tel1 03\x01" "12", "制御文字"},
      {"shortnum add 3 " + std::string(60, '1'), "電話番号03の入力に間違いがあります。（「1111"},
      {"shortnum add 3 03-ABC", "電話番号03"},
      {"shortnum add 21 0311", "番号 21 は範囲外です（1～20）"},
      {"connect number 5/0", "接続回数"},  // each number of a command within its own bounds
      {"connect charge 100/3", "0～2"},
      {"nat add 3 192.168.0.3,*,1", "グローバルＩＰアドレス"},
      {"nat add 3 ,*", "プライベートＩＰアドレス"},
      {"host add 3 192.168.0.3,", "ホスト名"},
      {"dhcp range_address 192.168.0/8", "開始ＩＰアドレス"},
      {"syslog facility 24", "ファシリティ"},
      // What the forms refuse, refused alike; spellings the device prints
      // otherwise; the PNA port's missing setting; texts the device cannot hold.
      {"digital arrive_transfer talky pna 0", "知らないコマンド"},
      {"network dns_address hello,world", "プライマリＤＮＳサーバーＩＰアドレス"},
      {"ras user_id " + std::string(33, 'u'), "受信ユーザーＩＤ"},
      {"network password " + std::string(33, 'p'), "パスワード"},
      {"dialup disc_time num1 0", "切断時間"},
      {"connect time 168/0", "接続時間の入力に間違いがあります。"},
      {"dialup mode num1 mp2\ndialup protocol num1 chap", "64k 以外は、CHAPに設定できません。"},
      {"dialup dns_select num2 manual\ndialup dns_address num2 0.0.0.0,0.0.0.0",
       "サーバーアドレスの入力に間違いがあります。"},
      {"network address 0.0.0.0/02", "先頭に0の付かない数"},
      {"ras address 0.0.0.0,0.02.0.0", "先頭に0の付かない数"},
      {"analog dial_time tel1 007", "ダイヤル発信時間"},
      {"dialup provider_name num1 caf\xe9 x", "UTF-8"},
      {"dialup provider_name num1 \xf0\x9f\x98\x80", "Shift-JIS"},
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

constexpr char kHead[] = "# MORIVEX-9 設定ファイル\n";

TEST_F(ConfigFile, FilesThatAreNotBackupsAreRefusedWithTheirReason) {
  const std::string dump = Dump();
  const std::string half = dump.substr(0, dump.rfind('\n', dump.size() / 2) + 1);
  const int lines = static_cast<int>(std::count(dump.begin(), dump.end(), '\n'));
  const std::string head = kHead;
  const struct {
    std::string text;
    int line;
    std::string reason;  // a part of it
    bool otherDevice = false;
  } cases[] = {
      {"", 0, "空のファイル"},
      {"\r\n \n", 0, "空白の行だけ"},
      {"# settings\n" + head, 1, "見出し「# MORIVEX-9 設定ファイル」"},
      {"analog delay_number 4\n", 1, "見出し"},
      {head + "# 機種: OTHER-1\nanalog delay_number 4\n", 2, "別の機種（OTHER-1）", true},
      {head + "# ファームウェア: Version 0.90\n", 2, "Version 0.90 の設定ファイル", true},
      {head + "# 形式: 3\n", 2, "形式 3"},
      {half, 0, "「# end」がありません"},
      {dump + "analog delay_number 4\n", lines + 1, "「# end」（" + std::to_string(lines) + "行目）の後"},
      {head + "analog delay_number 4\n\nanalog delay_number 5\n", 4, "2行目と同じ設定に別の値"},
      {head + "nat add 3 192.168.0.3,*\nnat del 3\n", 3, "2行目と同じ設定に別の値"},
      {head + "nat add 33 192.168.0.3,*\n", 2, "番号 33 は範囲外です（1～32）"},
      {head + std::string(1 << 20, 'x') + "\n", 2,
       "知らないコマンドです: " + std::string(80, 'x') + "…"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 120));
    ConfigError error;
    EXPECT_FALSE(CheckConfig(categories, c.text, {}, error));
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    EXPECT_LT(error.reason.size(), 400u);
    EXPECT_EQ(error.otherDevice, c.otherDevice);
    if (c.otherDevice) {
      EXPECT_TRUE(CheckConfig(categories, c.text, {true}, error));
    }
  }
  for (const std::string& good : {dump, head + "analog delay_number 4\nanalog delay_number 4\n",
                                  "\xEF\xBB\xBF" + head + "# 形式: 2\n\n# end\n# after\n"}) {
    ConfigError error;
    EXPECT_TRUE(CheckConfig(categories, good, {}, error)) << good.substr(0, 80) << error.reason;
  }
}

TEST_F(ConfigFile, LinesSurviveEditorsAndTyping) {
  rig.Device().Set("ras.user_id", "someone");
  EXPECT_EQ(Pending(std::string(kHead) + "ras user_id\nsyslog active enable\n"),
            (Lines{"ras user_id ", "syslog active\tenable"}));
}

TEST_F(ConfigFile, ProgressCountsTheRouterAddressLastAndInOrder) {
  Pending(std::string(kHead) + "router address 192.168.7.1/24\nanalog delay_number 4\n");
  std::vector<std::pair<int, int>> steps;
  std::string last;
  rig.ExpectRefusals();
  ApplyConfig(rig.session, categories, [&](int index, int count, const std::string& title) {
    steps.emplace_back(index, count);
    last = title;
  });
  ASSERT_EQ(steps.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(steps[i], std::pair(i, 6));
  EXPECT_EQ(last, "ルータのＬＡＮ側ＩＰアドレス");
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

  // A line the device refuses is told with its number; nothing is stored.
  rig.refusalsExpected = true;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("# MORIVEX-9 設定ファイル\ndialup provider_name num1 テストISP\n");
  file.close();
  rig.sim.With([](morivex9sim::Device& d) { d.ClearLog(); });
  MenuItem(rig.window.get(), QStringLiteral("バックアップからの復元…"))->trigger();
  EXPECT_EQ(rig.messages.Texts().last(),
            QStringLiteral("2行目: 「dialup provider_name num1 テストISP」は機器に受け付けられません"
                           "でした（機器の値: 「dialup provider_name num1 」）\r\n設定は保存していま"
                           "せん（MORIVEX-9を再起動すると元の設定に戻ります）。"));
  EXPECT_EQ(rig.Received().back(), "show dialup num1");  // read back, not stored
  EXPECT_EQ(rig.window->RunSession().state.pendingChangeCount, 0);
  EXPECT_TRUE(rig.Close());
}

}  // namespace
}  // namespace setutily
