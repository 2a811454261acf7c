// The command line: what it asks for, its exit statuses, and what
// --list-ports and --help print.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "root/command_line.h"
#include "support/port_folders.h"

namespace setutily {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, ParsesTheActionOrSaysWhatIsWrong) {
  const struct {
    QStringList arguments;
    Action action;
    const char* error;  // part of the message
  } cases[] = {
      {{}, Action::kOpenWindow, ""},
      {{"--version"}, Action::kVersion, ""},
      {{"--list-ports"}, Action::kListPorts, ""},
      {{"-h"}, Action::kHelp, ""},
      {{"--version", "--help"}, Action::kHelp, ""},
      {{"--version", "--list-ports"}, Action::kUsageError, "together"},
      {{"--verbose"}, Action::kUsageError, "unknown option '--verbose'"},
      {{"-x"}, Action::kUsageError, "unknown option '-x'"},
      {{"--version=2"}, Action::kUsageError, "takes no value"},
      {{"setutily.ini"}, Action::kUsageError, "unexpected argument"},
      {{"-"}, Action::kUsageError, "unexpected argument"},
      {{"--"}, Action::kUsageError, "unexpected argument"},
      {{"--dump", "-", "--port", "com9"}, Action::kDump, ""},
      {{"--dump", "x", "--port", "COM0"}, Action::kUsageError,
       "not a COM port (COM1-COM9): 'COM0'"},
      {{"--dump", "x", "--port", "COM10"}, Action::kUsageError, "not a COM port"},
      {{"--diff", "x", "--network", "127.0.0.1:0"}, Action::kUsageError, "not HOST[:PORT]"},
      {{"--diff", "x", "--network", "127.0.0.1:65536"}, Action::kUsageError, "not HOST[:PORT]"},
      {{"--diff", "x", "--network", "[::1]:0"}, Action::kUsageError, "not HOST[:PORT]"},
      {{"--diff", "x", "--network", "1.2.3.256"}, Action::kUsageError, "not HOST[:PORT]"},
      {{"--diff", "x", "--network", "my_router"}, Action::kUsageError, "not HOST[:PORT]"},
      {{"--diff", "x", "--network", "router.local:23", "--json"}, Action::kDiff, ""},
      {{"--dump", "x"}, Action::kUsageError,
       "--dump needs --port COMn, --device PATH or --network HOST[:PORT]"},
      {{"--dump", "x", "--any-model"}, Action::kUsageError, "--any-model goes with"},
      {{"--dump", "x", "--json", "--port", "COM1"}, Action::kUsageError, "--json goes with"},
      {{"--diff", "x", "--any-device", "--port", "COM1"}, Action::kUsageError,
       "--any-device goes with --apply"},
      {{"--version", "--settings", "s.ini"}, Action::kUsageError, "--settings goes with"},
      {{"--list-ports", "--settings", "s.ini"}, Action::kListPorts, ""},
      {{"--apply="}, Action::kUsageError, "needs a value"},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(line.error.contains(QLatin1String(c.error))) << line.error.toStdString();
  }
}

TEST(CommandLine, NetworkTargetsTakeAddressesHostNamesAndIpv6) {
  const struct {
    const char* target;
    const char* address;
    quint16 port;
  } cases[] = {
      {"192.168.1.1", "192.168.1.1", 0}, {"192.168.1.1:2323", "192.168.1.1", 2323},
      {"morivex-3.example.net:23", "morivex-3.example.net", 23}, {"localhost", "localhost", 0},
      {"[::1]:23", "::1", 23}, {"[fe80::1%eth0]", "fe80::1%eth0", 0}, {"::1", "::1", 0},
  };
  for (const auto& c : cases) {
    QString address;
    quint16 port = 1;
    EXPECT_TRUE(SplitNetworkTarget(QLatin1String(c.target), address, port)) << c.target;
    EXPECT_EQ(address, QLatin1String(c.address));
    EXPECT_EQ(port, c.port) << c.target;
  }
  QString address;
  quint16 port = 0;
  for (const char* bad : {"", ":23", "[::1", "[::1]23", "[1.2.3.4]", "[::1]:", "host:", "-a.b", "a..b"}) {
    EXPECT_FALSE(SplitNetworkTarget(QLatin1String(bad), address, port)) << bad;
  }
}

class CommandTest : public ::testing::Test {
 protected:
  CommandTest() {
    environment.currentDirectory = dir.filePath("work");
    environment.configHome = dir.filePath("config");
    environment.programDirectory = dir.filePath("prefix/bin");
    environment.ports = ports.folders;
    QDir().mkpath(environment.currentDirectory);
  }
  int Run(const QStringList& arguments) {
    output.clear();
    errors.clear();
    QTextStream out(&output);
    QTextStream err(&errors);
    return RunCommand(ParseCommandLine(arguments), environment, out, err);
  }
  void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir dir;
  testing::PortFolders ports;
  CommandEnvironment environment;
  QString output;
  QString errors;
};

TEST_F(CommandTest, VersionAndUsageErrors) {
  EXPECT_EQ(Run({"--version"}), kExitDone);
  EXPECT_EQ(output, "setutily " + ProgramVersion() + "\n");
  EXPECT_FALSE(ProgramVersion().isEmpty());
  EXPECT_EQ(Run({"--verbose"}), kExitUsage);
  EXPECT_TRUE(output.isEmpty());
  EXPECT_EQ(errors, "setutily: unknown option '--verbose'\nTry 'setutily --help'.\n");
}

TEST_F(CommandTest, ListPortsShowsEachComPortsDeviceAndThePortsFound) {
  // The user's settings file leads COM2 to the adapter by its by-id name.
  Write(environment.configHome + "/setutily/setutily.ini",
        ("[DEVICE]\nCOM2=" + ports.ById() + "\nCOM3=/nowhere/ttyX\n").toUtf8());
  EXPECT_EQ(Run({"--list-ports"}), kExitDone);
  const QStringList lines = output.split('\n');
  EXPECT_EQ(lines[0], "Settings file: " + environment.configHome + "/setutily/setutily.ini");
  EXPECT_TRUE(lines.contains("  COM2  " + ports.ById() + " -> " + ports.Dev("ttyUSB0")));
  EXPECT_TRUE(lines.contains("  COM3  /nowhere/ttyX  (not found)"));
  const qsizetype found = lines.indexOf("Serial ports on this computer:");
  ASSERT_GE(found, 0);
  EXPECT_EQ(lines[found + 1], "  " + ports.ById() + " -> " + ports.Dev("ttyUSB0"));
  EXPECT_EQ(lines[found + 5], "  " + ports.Dev("ttyS0"));

  // A settings file in the current directory is the one that counts.
  Write(environment.currentDirectory + "/setutily.ini", "[DEVICE]\nCOM2=/dev/ttyS1\n");
  Run({"--list-ports"});
  EXPECT_TRUE(output.startsWith("Settings file: " + environment.currentDirectory + "/setutily.ini\n"));
  EXPECT_TRUE(output.contains("  COM2  /dev/ttyS1"));
  // Unless --settings names another.
  const QString named = environment.configHome + "/setutily/setutily.ini";
  Run({"--list-ports", "--settings", named});
  EXPECT_TRUE(output.startsWith("Settings file: " + named + "\n"));
}

TEST_F(CommandTest, HelpListsTheOptionsAndTheFilesThisRunUses) {
  EXPECT_EQ(Run({"--help"}), kExitDone);
  // The exit statuses, from the manual's table.
  for (const ExitStatusMeaning& status : kExitStatuses) {
    const QString start = QString::fromLatin1(status.meaning).section(u' ', 0, 2);
    EXPECT_TRUE(output.contains(QStringLiteral("\n  %1").arg(status.shown != nullptr
                                                               ? QLatin1String(status.shown)
                                                               : QString::number(status.status))
                                    .leftJustified(9) +
                                start))
        << start.toStdString();
  }
  for (const char* option : {"--list-ports", "--version", "-h, --help"}) {
    EXPECT_TRUE(output.contains(QLatin1String(option))) << option;
  }
  EXPECT_TRUE(output.contains("now: " + environment.configHome + "/setutily/setutily.ini\n"));
  const QString installed = dir.filePath("prefix/share/setutily/MORIVEX-9.hlp");
  Write(installed, "@@topic 1 x\n");
  Run({"--help"});
  EXPECT_TRUE(output.contains("now: " + installed + "\n")) << output.toStdString();
}

}  // namespace
}  // namespace setutily
