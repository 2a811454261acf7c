// Backup, compare and restore from the command line against the simulator,
// over a pseudo-terminal and over telnet.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <csignal>

#include "root/command_line.h"
#include "root/signal_watch.h"
#include "support/session_rig.h"
#include "support/small_disk.h"
#include "support/telnet_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Lines;

struct Cli {
  // Runs "setutily args..." in the rig's directory; returns the status.
  int Run(QStringList args) {
    CommandEnvironment environment;
    environment.currentDirectory = dir.path();
    environment.configHome = dir.filePath(QStringLiteral("config"));
    environment.timing = testing::FastTiming();
    environment.stopSignals = stop;
    environment.standardInput = input;
    out.clear();
    err.clear();
    QTextStream o(&out), e(&err);
    return RunCommand(ParseCommandLine(args), environment, o, e);
  }
  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
  QByteArray Read(const char* name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Write(const char* name, const QByteArray& bytes) const {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir dir;
  QString out, err;
  SignalWatch* stop = nullptr;
  QIODevice* input = nullptr;
};

constexpr char kHead[] = "# MORIVEX-9 設定ファイル\n";

Lines Settings(const std::vector<morivex9sim::LogEntry>& log) {
  Lines lines;
  for (const auto& entry : log) {
    if (entry.commandLine && !entry.line.empty() && entry.line.rfind("show ", 0) != 0) {
      lines.push_back(entry.line);
    }
  }
  return lines;
}

TEST(ConfigCommand, DumpResetApplyDumpOverASerialLine) {
  testing::SimOnPty sim;
  Cli cli;
  const QString device = sim.LinkPath();
  sim.With([](morivex9sim::Device& d) {
    d.Set("analog.tel1.dialtime", "9");
    d.Set("shortnum.3", "0311112222");
  });
  ASSERT_EQ(cli.Run({"--dump", cli.Path("a.txt"), "--device", device}), 0) << cli.err.toStdString();
  EXPECT_TRUE(cli.err.contains(QStringLiteral("アナログ設定を読んでいます…")));
  EXPECT_EQ(QFile::permissions(cli.Path("a.txt")) & 0x0077, 0);  // no one but its owner: passwords
  sim.With([](morivex9sim::Device& d) {
    d.FactoryReset();
    d.ClearLog();
  });
  ASSERT_EQ(cli.Run({"--diff", cli.Path("a.txt"), "--device", device}), kExitDifferent);
  EXPECT_EQ(cli.out, QStringLiteral("analog dial_time tel1 9\nshortnum add 3 0311112222\n"));
  ASSERT_EQ(cli.Run({"--apply", cli.Path("a.txt"), "--device", device}), 0) << cli.err.toStdString();
  EXPECT_EQ(Settings(sim.Log()), (Lines{"exit", "analog dial_time tel1 9",
                                        "shortnum add 3 0311112222", "fromwr 15", "exit"}));
  ASSERT_EQ(cli.Run({"--dump", cli.Path("b.txt"), "--device", device}), 0);
  // The same device, the same file, byte for byte; its header names the device.
  EXPECT_EQ(cli.Read("a.txt"), cli.Read("b.txt"));
  EXPECT_TRUE(cli.Read("a.txt").contains("# ファームウェア: Version 1.00\n"
                                         "# MACアドレス: 00:80:6D:12:34:56\n"));
}

TEST(ConfigCommand, ApplyOverTelnetAndALinkLostHalfway) {
  testing::SimOnTcp sim;
  Cli cli;
  qputenv("SETUTILY_LOGIN_PASSWORD", testing::kSimLoginPassword);
  qputenv("SETUTILY_ADMIN_PASSWORD", testing::kSimAdministratorPassword);
  const QString address = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
  cli.Write("f.txt", "# MORIVEX-9 設定ファイル\nanalog delay_number 7\nanalog ring_sound_freq 20\n"
                    "shortnum add 1 011\n");
  ASSERT_EQ(cli.Run({"--apply", cli.Path("f.txt"), "--network", address, "--no-store"}), 0)
      << cli.err.toStdString();
  EXPECT_EQ(Settings(sim.Log()),
            (Lines{"analog delay_number 7", "analog ring_sound_freq 20", "shortnum add 1 011"}));

  cli.Write("g.txt", "# MORIVEX-9 設定ファイル\nanalog delay_number 8\nanalog ring_sound_freq 21\n");
  sim.With([](morivex9sim::Device& d) { d.ClearLog(); });
  sim.AddFault({Fault::kHangUp, 0, "analog ring_sound_freq", 1, 0});
  EXPECT_EQ(cli.Run({"--apply", cli.Path("g.txt"), "--network", address}), 1);
  EXPECT_TRUE(cli.err.contains(QStringLiteral("1個確認済み、2個目（analog ring_sound_freq 21）は送信しましたが応答がありません。")))
      << cli.err.toStdString();
  const Lines sent = Settings(sim.Log());
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "fromwr 15"), 0);
  qunsetenv("SETUTILY_LOGIN_PASSWORD");
  qunsetenv("SETUTILY_ADMIN_PASSWORD");
}

TEST(ConfigCommand, ABadFileOrCommandLineTouchesNothing) {
  testing::SimOnPty sim;
  Cli cli;
  cli.Write("bad.txt", "# MORIVEX-9 設定ファイル\nanalog delay_number 42\n");
  EXPECT_EQ(cli.Run({"--apply", cli.Path("bad.txt"), "--device", sim.LinkPath()}), 2);
  EXPECT_TRUE(cli.err.contains(QStringLiteral("2行目"))) << cli.err.toStdString();
  EXPECT_EQ(cli.Run({"--apply", cli.Path("missing.txt"), "--device", sim.LinkPath()}), 2);
  for (const QStringList& args :
       {QStringList{"--dump", "x", "--port", "COM1", "--device", "y"},
        QStringList{"--diff", "x", "--no-store"}, QStringList{"--port", "COM1"},
        QStringList{"--dump", "x", "--apply", "y"}}) {
    EXPECT_EQ(cli.Run(args), 2) << args.join(' ').toStdString();
  }
  EXPECT_TRUE(sim.Log().empty());
}

TEST(ConfigCommand, ASignalEndsTheRunCleanlyAndTheNextRunSucceeds) {
  const struct {
    int signal;
    int status;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.signal);
    testing::SimOnPty sim;
    Cli cli;
    cli.Write("f.txt", QByteArray(kHead) + "analog delay_number 7\nanalog ring_sound_freq 20\n"
                                           "shortnum add 1 011\n");
    // The signal comes while the second command waits for its answer.
    sim.AddFault({Fault::kDelay, 300, "analog ring_sound_freq", 1, 0});
    SignalWatch watch;
    cli.stop = &watch;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      const Lines sent = Settings(sim.Log());
      if (std::count(sent.begin(), sent.end(), "analog ring_sound_freq 20") == 0) return;
      poll.stop();
      std::raise(c.signal);
    });
    poll.start(2);
    EXPECT_EQ(cli.Run({"--apply", cli.Path("f.txt"), "--device", sim.LinkPath()}), c.status);
    EXPECT_TRUE(cli.err.contains(SignalName(c.signal) + QStringLiteral(" で中断しました。2個のコマンド"
                                                                      "に応答がありました。保存していません。")))
        << cli.err.toStdString();
    EXPECT_EQ(Settings(sim.Log()),
              (Lines{"analog delay_number 7", "analog ring_sound_freq 20", "exit"}));

    cli.stop = nullptr;
    sim.With([](morivex9sim::Device& d) { d.ClearLog(); });
    ASSERT_EQ(cli.Run({"--apply", cli.Path("f.txt"), "--device", sim.LinkPath()}), 0)
        << cli.err.toStdString();
    EXPECT_EQ(Settings(sim.Log()), (Lines{"shortnum add 1 011", "fromwr 15", "exit"}));
  }
}

TEST(ConfigCommand, TargetsAreCheckedBeforeTheDeviceIsTouched) {
  testing::SimOnPty sim;
  Cli cli;
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(QDir(cli.dir.path()).mkdir(QStringLiteral("folder")));
  ASSERT_EQ(::mkfifo(QFile::encodeName(cli.Path("pipe")).constData(), 0600), 0);
  if (root) ::mknod(QFile::encodeName(cli.Path("full")).constData(), S_IFCHR | 0666, makedev(1, 7));
  cli.Write("big.txt", QByteArray(kHead) + QByteArray(1 << 20, '#'));
  const testing::SmallDisk readOnly(true);
  const struct {
    const char* action;
    QString path;
    const char* reason;
    bool skip = false;
  } cases[] = {
      {"--dump", cli.Path("folder"), "に書き込めません（フォルダーです）"},
      {"--dump", cli.Path("pipe"), "（通常のファイルではありません（デバイスやパイプなど））"},
      {"--dump", cli.Path("full"), "（通常のファイルではありません", !root},
      {"--dump", cli.Path("none/b.txt"), "（フォルダーがありません）"},
      {"--dump", readOnly.Path(QStringLiteral("b.txt")), "（読み取り専用のファイルシステムです）",
       !readOnly.Mounted()},
      {"--apply", cli.Path("missing.txt"), "を読めません（ファイルがありません）"},
      {"--diff", cli.Path("folder"), "を読めません（フォルダーです）"},
      {"--diff", cli.Path("pipe"), "を読めません（通常のファイルではありません"},
      {"--apply", cli.Path("big.txt"), "を読めません（大きすぎます（1 MiB まで））"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    if (c.skip) continue;
    EXPECT_EQ(cli.Run({c.action, c.path, "--device", sim.LinkPath()}), 2);
    EXPECT_TRUE(cli.err.contains(QString::fromUtf8(c.reason))) << cli.err.toStdString();
  }
  struct stat status {};
  EXPECT_TRUE(::stat(QFile::encodeName(cli.Path("pipe")).constData(), &status) == 0 &&
              S_ISFIFO(status.st_mode));
  if (root) {
    EXPECT_TRUE(::stat(QFile::encodeName(cli.Path("full")).constData(), &status) == 0 &&
                S_ISCHR(status.st_mode));
  }
  EXPECT_TRUE(sim.Log().empty());
}

TEST(ConfigCommand, DashIsStandardOutputAndInput) {
  testing::SimOnPty sim;
  Cli cli;
  sim.With([](morivex9sim::Device& d) { d.Set("analog.tel1.dialtime", "9"); });
  ASSERT_EQ(cli.Run({"--dump", "-", "--device", sim.LinkPath()}), 0) << cli.err.toStdString();
  EXPECT_TRUE(cli.out.startsWith(QStringLiteral("# MORIVEX-9 設定ファイル (setutily)\n")));
  EXPECT_TRUE(cli.out.endsWith(QStringLiteral("\n# end\n")));
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("-")));
  sim.With([](morivex9sim::Device& d) { d.Set("analog.tel1.dialtime", "5"); });
  QBuffer input;
  input.setData(cli.out.toUtf8());
  ASSERT_TRUE(input.open(QIODevice::ReadOnly));
  cli.input = &input;
  ASSERT_EQ(cli.Run({"--diff", "-", "--device", sim.LinkPath()}), kExitDifferent)
      << cli.err.toStdString();
  EXPECT_EQ(cli.out, QStringLiteral("analog dial_time tel1 9\n"));
}

TEST(ConfigCommand, ADeviceLeftAtItsCommandLineAndNoStoreWithANewAddress) {
  testing::SimOnPty sim;
  Cli cli;
  sim.With([](morivex9sim::Device& d) { d.SetCommandLine(true); });
  cli.Write("a.txt", QByteArray(kHead) + "router address 192.168.7.1/24\nanalog delay_number 7\n");
  EXPECT_EQ(cli.Run({"--apply", cli.Path("a.txt"), "--device", sim.LinkPath(), "--no-store"}), 2);
  EXPECT_TRUE(cli.err.contains(QStringLiteral("すべての設定を保存して再起動します"))) << cli.err.toStdString();
  const auto log = sim.Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].line, "ATI");
  EXPECT_TRUE(log[0].commandLine);  // refused at the command line
  EXPECT_EQ(log[1].line, "exit");
  EXPECT_EQ(log[2].line, "ATI");
  EXPECT_EQ(Settings(log), (Lines{"ATI", "exit", "exit"}));  // nothing set
}

TEST(ConfigCommand, ApplyStoresOnlyWhenTheDeviceTookEverySettingAndMovesAListWhole) {
  // Twenty hosts with long names at 13-32 move to 1-20: sent additions
  // first, they would overflow the device's table.
  QByteArray moved = kHead;
  const auto name = [](int k) { return "host-" + std::to_string(k) + "." + std::string(50, 'a'); };
  const auto address = [](int k) { return "192.168.0." + std::to_string(100 + k); };
  for (int k = 1; k <= 20; ++k) {
    moved += QByteArray::fromStdString("host add " + std::to_string(k) + " " + address(k) + "," +
                                       name(k) + "\n");
  }
  for (int n = 21; n <= 32; ++n) moved += "host del " + QByteArray::number(n) + "\n";
  const struct {
    const char* file;
    int status;
    const char* told;
    int flashWrites;
  } kCases[] = {
      {"dialup provider_name num1 テストISP\nanalog delay_number 7\n", 1,
       "2行目: 「dialup provider_name num1 テストISP」は機器に受け付けられませんでした（機器の値: "
       "「dialup provider_name num1 」）\nsetutily: 受け付けられなかった設定があるため、保存していません",
       0},
      {moved.constData() + sizeof(kHead) - 1, 0, "設定を保存しました。", 1},
  };
  for (const auto& c : kCases) {
    testing::SimOnPty sim;
    Cli cli;
    sim.With([&](morivex9sim::Device& d) {
      for (int k = 1; k <= 20; ++k) {
        d.Set("host." + std::to_string(k + 12), address(k) + "," + name(k));
      }
    });
    cli.Write("f.txt", QByteArray(kHead) + c.file);
    EXPECT_EQ(cli.Run({"--apply", cli.Path("f.txt"), "--device", sim.LinkPath()}), c.status);
    EXPECT_TRUE(cli.err.contains(QString::fromUtf8(c.told))) << cli.err.toStdString();
    sim.With([&](morivex9sim::Device& d) {
      EXPECT_EQ(d.FlashWrites(), c.flashWrites);
      EXPECT_EQ(d.Get("analog.common.delay"), c.status == 0 ? "3" : "7");  // sent all the same
      if (c.status != 0) return;
      for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(d.Get("host." + std::to_string(k)), address(k) + "," + name(k));
      }
      EXPECT_EQ(d.Get("host.21"), "");
    });
  }
}

TEST(ConfigCommand, ADumpOfAReplyThatIsNoSettingsPageFailsAndWritesNothing) {
  const struct {
    std::function<void(morivex9sim::Device&)> firmware;
    const char* told;
  } kCases[] = {
      {[](morivex9sim::Device& d) { d.RemoveShow("show syslog"); },
       "詳細設定の読込みに失敗しました。MORIVEX-9が「show syslog」を受け付けませんでした。"},
      {[](morivex9sim::Device& d) {
         d.AddShow("show dns", [](const morivex9sim::Device&) { return std::string("ok\r\n"); });
       },
       "詳細設定の読込みに失敗しました。「show dns」の応答が設定の表示ではありません。"},
  };
  for (const auto& c : kCases) {
    testing::SimOnPty sim;
    Cli cli;
    sim.With(c.firmware);
    EXPECT_EQ(cli.Run({"--dump", cli.Path("a.txt"), "--device", sim.LinkPath()}), 1);
    EXPECT_TRUE(cli.err.contains(QString::fromUtf8(c.told))) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains(QStringLiteral("ファイルは書いていません。")));
    EXPECT_FALSE(QFileInfo::exists(cli.Path("a.txt")));
  }
}

// Each outcome a caller acts on, by exit status and by the JSON object on
// standard output, over telnet to a host name.
TEST(ConfigCommand, ExitStatusesAndJsonTellEachOutcome) {
  testing::SimOnTcp sim;
  Cli cli;
  qputenv("SETUTILY_ADMIN_PASSWORD", testing::kSimAdministratorPassword);
  const QString address = QStringLiteral("localhost:%1").arg(sim.Port());
  qputenv("SETUTILY_LOGIN_PASSWORD", testing::kSimLoginPassword);
  ASSERT_EQ(cli.Run({"--dump", cli.Path("backup.txt"), "--network", address}), 0)
      << cli.err.toStdString();
  // The MAC address over the network comes from the router's hardware address.
  EXPECT_TRUE(cli.Read("backup.txt").contains("# ファームウェア: 不明\n# MACアドレス: 00:80:6D:12:34:56\n"));
  QByteArray other = cli.Read("backup.txt");
  other.replace("00:80:6D:12:34:56", "00:80:6d:99:99:99");
  cli.Write("other.txt", other);
  cli.Write("change.txt", QByteArray(kHead) + "dialup password num1 geheim\nanalog dial_time tel1 9\n");
  cli.Write("bad.txt", QByteArray(kHead) + "analog dial_time tel1 99\n");
  cli.Write("ring.txt", QByteArray(kHead) + "analog delay_number 8\nanalog ring_sound_freq 21\n");
  cli.Write("refused.txt", QByteArray(kHead) + "dialup provider_name num1 テストISP\n");
  const struct {
    const char* name;
    QStringList args;
    int status;
    QStringList json;  // parts of the compact object
    const char* loginPassword = testing::kSimLoginPassword;
    bool hangUp = false;  // the link drops at "analog ring_sound_freq"
  } cases[] = {
      {"no difference", {"--diff", "backup.txt"}, kExitDone,
       {R"("changed":false)", R"("differences":[])", R"("device":{"firmware":null,"mac":"00:80:6D:12:34:56","model":"MORIVEX-9"})"}},
      {"differences", {"--diff", "change.txt"}, kExitDifferent,
       {R"("category":"詳細設定","commands":["dialup password num1 ********"],"device":"（空欄）","field":"パスワード","file":"********","form":"ダイヤルアップ１設定")",
        R"("category":"アナログ設定","commands":["analog dial_time tel1 9"])", R"("changed":true)"}},
      {"applied", {"--apply", "change.txt"}, kExitDone,
       {R"("sent":["dialup password num1 ********","analog dial_time tel1 9"])", R"("stored":true)",
        R"("changed":true)", R"("notTaken":[])"}},
      {"applied again", {"--apply", "change.txt"}, kExitDone,
       {R"("changed":false)", R"("sent":[])", R"("stored":false)"}},
      {"bad file", {"--apply", "bad.txt"}, kExitUsage, {R"("error":"2行目: )", R"("status":2)"}},
      {"another device", {"--apply", "other.txt"}, kExitUsage,
       {R"(のものです。この機器は 00:80:6D:12:34:56 です。)", R"("file":{"mac":"00:80:6d:99:99:99")"}},
      {"any device", {"--apply", "other.txt", "--any-device"}, kExitDone, {R"("changed":true)"}},
      {"write failed", {"--apply", "ring.txt"}, kExitFailed,
       {R"("sent":["analog delay_number 8"])", R"("stored":false)"}, testing::kSimLoginPassword, true},
      {"refused", {"--apply", "refused.txt"}, kExitFailed,
       {R"("notTaken":[{"command":"dialup provider_name num1 テストISP","device":"dialup provider_name num1 "}])",
        R"("stored":false)"}},
      {"login refused", {"--diff", "backup.txt"}, kExitLoginRefused,
       {R"("error":"ログインパスワードが受け付けられませんでした。)"}, "wrong"},
      {"unreachable", {"--diff", "backup.txt", "--network", "127.0.0.1:1"}, kExitUnreachable,
       {R"("error":"機器が接続されていません。 127.0.0.1:1 に接続できませんでした。")"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    qputenv("SETUTILY_LOGIN_PASSWORD", c.loginPassword);
    if (c.hangUp) sim.AddFault({Fault::kHangUp, 0, "analog ring_sound_freq", 1, 0});
    QStringList args = c.args;
    args[1] = cli.Path(args[1].toUtf8().constData());
    if (!args.contains("--network")) args << "--network" << address;
    EXPECT_EQ(cli.Run(args << "--json"), c.status) << cli.err.toStdString();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(cli.out.toUtf8(), &error);
    ASSERT_TRUE(json.isObject()) << error.errorString().toStdString() << cli.out.toStdString();
    const QString compact = QString::fromUtf8(json.toJson(QJsonDocument::Compact));
    EXPECT_TRUE(compact.contains(QStringLiteral(R"("status":%1)").arg(c.status)));
    for (const QString& part : c.json) EXPECT_TRUE(compact.contains(part)) << compact.toStdString();
    EXPECT_FALSE((cli.out + cli.err).contains("geheim"));
  }
  qunsetenv("SETUTILY_LOGIN_PASSWORD");
  qunsetenv("SETUTILY_ADMIN_PASSWORD");
}

TEST(ConfigCommand, PasswordsAreHiddenInTheDiffAndTheSettingsFileIsTheOneNamed) {
  testing::SimOnTcp sim;
  Cli cli;
  const QString address = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
  // A settings file in the current folder is not looked at; --settings is.
  cli.Write("setutily.ini", QStringLiteral("[OPTION]\nDATA1=%1\nDATA2=%2\n")
                                .arg(testing::kSimLoginPassword, testing::kSimAdministratorPassword)
                                .toUtf8());
  cli.Write("f.txt", QByteArray(kHead) + "ras password geheim\n");
  EXPECT_EQ(cli.Run({"--diff", cli.Path("f.txt"), "--network", address}), kExitLoginRefused);
  EXPECT_EQ(cli.Run({"--diff", cli.Path("f.txt"), "--network", address, "--settings",
                     cli.Path("setutily.ini")}),
            kExitDifferent)
      << cli.err.toStdString();
  EXPECT_EQ(cli.out, "ras password ********\n");
  EXPECT_EQ(cli.Run({"--diff", cli.Path("f.txt"), "--network", address, "--settings",
                     cli.Path("none.ini")}),
            kExitUsage);
  EXPECT_TRUE(cli.err.contains("none.ini がありません")) << cli.err.toStdString();
}

}  // namespace
}  // namespace setutily
