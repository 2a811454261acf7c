// Backup, compare and restore from the command line against the simulator,
// over a pseudo-terminal and over telnet.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "root/command_line.h"
#include "support/session_rig.h"
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
};

// The file without its date line.
QByteArray Undated(QByteArray file) {
  const qsizetype at = file.indexOf("# 日時: ");
  if (at >= 0) file.remove(at, file.indexOf('\n', at) - at);
  return file;
}

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
  sim.With([](morivex9sim::Device& d) {
    d.FactoryReset();
    d.ClearLog();
  });
  ASSERT_EQ(cli.Run({"--diff", cli.Path("a.txt"), "--device", device}), 0);
  EXPECT_EQ(cli.out, QStringLiteral("analog dial_time tel1 9\nshortnum add 3 0311112222\n"));
  ASSERT_EQ(cli.Run({"--apply", cli.Path("a.txt"), "--device", device}), 0) << cli.err.toStdString();
  EXPECT_EQ(Settings(sim.Log()), (Lines{"exit", "analog dial_time tel1 9",
                                        "shortnum add 3 0311112222", "fromwr 15", "exit"}));
  ASSERT_EQ(cli.Run({"--dump", cli.Path("b.txt"), "--device", device}), 0);
  EXPECT_EQ(Undated(cli.Read("a.txt")), Undated(cli.Read("b.txt")));
}

TEST(ConfigCommand, ApplyOverTelnetAndALinkLostHalfway) {
  testing::SimOnTcp sim;
  Cli cli;
  qputenv("SETUTILY_LOGIN_PASSWORD", testing::kSimLoginPassword);
  qputenv("SETUTILY_ADMIN_PASSWORD", testing::kSimAdministratorPassword);
  const QString address = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
  cli.Write("f.txt", "analog delay_number 7\nanalog ring_sound_freq 20\nshortnum add 1 011\n");
  ASSERT_EQ(cli.Run({"--apply", cli.Path("f.txt"), "--network", address, "--no-store"}), 0)
      << cli.err.toStdString();
  EXPECT_EQ(Settings(sim.Log()),
            (Lines{"analog delay_number 7", "analog ring_sound_freq 20", "shortnum add 1 011"}));

  cli.Write("g.txt", "analog delay_number 8\nanalog ring_sound_freq 21\n");
  sim.With([](morivex9sim::Device& d) { d.ClearLog(); });
  sim.AddFault({Fault::kHangUp, 0, "analog ring_sound_freq", 1, 0});
  EXPECT_EQ(cli.Run({"--apply", cli.Path("g.txt"), "--network", address}), 1);
  EXPECT_TRUE(cli.err.contains(QStringLiteral("1個のコマンドを送信済みです。保存していません。")))
      << cli.err.toStdString();
  const Lines sent = Settings(sim.Log());
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "fromwr 15"), 0);
  qunsetenv("SETUTILY_LOGIN_PASSWORD");
  qunsetenv("SETUTILY_ADMIN_PASSWORD");
}

TEST(ConfigCommand, ABadFileOrCommandLineTouchesNothing) {
  testing::SimOnPty sim;
  Cli cli;
  cli.Write("bad.txt", "# ok\nanalog delay_number 42\n");
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

}  // namespace
}  // namespace setutily
