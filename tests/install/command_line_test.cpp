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
      {{"--diff", "x", "--network", "127.0.0.1:0"}, Action::kUsageError, "not ADDRESS[:PORT]"},
      {{"--diff", "x", "--network", "127.0.0.1:65536"}, Action::kUsageError, "not ADDRESS[:PORT]"},
      {{"--diff", "x", "--network", "router.local"}, Action::kUsageError, "not ADDRESS[:PORT]"},
      {{"--dump", "x", "--any-model"}, Action::kUsageError, "--any-model goes with"},
      {{"--apply="}, Action::kUsageError, "needs a value"},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(line.error.contains(QLatin1String(c.error))) << line.error.toStdString();
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
}

TEST_F(CommandTest, HelpListsTheOptionsAndTheFilesThisRunUses) {
  EXPECT_EQ(Run({"--help"}), kExitDone);
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
