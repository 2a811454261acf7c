// The two-password login: against the simulator over a real loopback TCP
// connection, and against a far end the test plays for the cases the
// simulator does not produce.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <string>

#include "link/exchange.h"
#include "link/network_login.h"
#include "link/telnet_link.h"
#include "support/telnet_rig.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

// The wait of each login step after the first prompt (short for tests).
constexpr int kStepMs = 500;

using namespace std::string_literals;
using Failure = NetworkLogin::Failure;
using testing::TelnetRig;
using testing::WaitUntil;

// The simulator opens with eight option requests: each gets one log line.
QStringList IacLines() {
  QStringList lines;
  for (int i = 0; i < 8; ++i) lines << QStringLiteral("IAC data\r\n");
  return lines;
}

TEST(NetworkLoginWithSimulator, LogsEveryStepAndReachesTheCommandLine) {
  TelnetRig rig;
  ASSERT_TRUE(rig.opened);
  EXPECT_FALSE(rig.failure.has_value());
  EXPECT_EQ(rig.login.CurrentState(), NetworkLogin::State::kSucceeded);
  const QStringList expected = QStringList{"connect ok\r\n"} + IacLines() +
                               QStringList{"Local Password Check OK\r\n",
                                           "administrator Password Check OK\r\n"};
  EXPECT_EQ(rig.log, expected);
  const auto record = rig.sim.Record();
  EXPECT_EQ(record.loginTries, std::vector<std::string>{testing::kSimLoginPassword});
  EXPECT_EQ(record.administratorTries, std::vector<std::string>{testing::kSimAdministratorPassword});
  EXPECT_EQ(record.logins, 1);
  // Every request was answered: the table's answers and refusals.
  using P = std::pair<int, int>;
  EXPECT_EQ(record.optionAnswers, (std::vector<P>{{253, 1}, {253, 3}, {254, 5}, {252, 24},
                                                  {252, 32}, {252, 39}, {252, 31}, {252, 33}}));
  // The command line answers as over the serial line.
  std::string reply;
  EXPECT_EQ(rig.exchange.SendAndWait("youbi 2\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(reply, "youbi 2\r\n# ");
  EXPECT_EQ(rig.sim.CommandLines(), std::vector<std::string>{"youbi 2"});
  // Text after the login starts nothing.
  const auto lines = rig.log.size();
  rig.link.ReceiveNetworkBytes("\r\nPassword: ");
  WaitUntil([] { return false; }, 50);
  EXPECT_EQ(rig.log.size(), lines);
}

TEST(NetworkLoginWithSimulator, ServerThatWaitsForEveryAnswerBeforePrompting) {
  TelnetRig rig(testing::kSimLoginPassword, testing::kSimAdministratorPassword, true);
  EXPECT_TRUE(rig.opened);
}

TEST(NetworkLoginWithSimulator, WrongLoginPasswordFailsOnceAndIsNotRepeated) {
  TelnetRig rig("wrong", testing::kSimAdministratorPassword);
  EXPECT_FALSE(rig.opened);
  ASSERT_TRUE(rig.failure.has_value());
  EXPECT_EQ(*rig.failure, Failure::kLoginPassword);
  EXPECT_EQ(rig.log.last(), "Local Password Check ERROR\r\n");
  EXPECT_FALSE(rig.log.contains("Local Password Check OK\r\n"));
  // The device prompted again; the login does not answer it.
  WaitUntil([] { return false; }, 300);
  EXPECT_EQ(rig.sim.Record().loginTries, std::vector<std::string>{"wrong"});
  EXPECT_TRUE(rig.sim.Record().administratorTries.empty());
  EXPECT_TRUE(rig.link.IsOpen());
  EXPECT_EQ(rig.login.CurrentState(), NetworkLogin::State::kFailed);
}

TEST(NetworkLoginWithSimulator, WrongAdministratorPasswordFailsOnceAndIsNotRepeated) {
  TelnetRig rig(testing::kSimLoginPassword, "nimda");
  EXPECT_FALSE(rig.opened);
  ASSERT_TRUE(rig.failure.has_value());
  EXPECT_EQ(*rig.failure, Failure::kAdministratorPassword);
  EXPECT_EQ(rig.log.mid(rig.log.size() - 2),
            (QStringList{"Local Password Check OK\r\n", "administrator Password Check ERROR\r\n"}));
  WaitUntil([] { return false; }, 300);
  const auto record = rig.sim.Record();
  EXPECT_EQ(record.loginTries.size(), 1u);
  EXPECT_EQ(record.administratorTries, std::vector<std::string>{"nimda"});
  EXPECT_EQ(record.logins, 0);
}

// A far end played by the test: it answers the login lines it is given.
struct ScriptedDevice : ::testing::Test {
  void Start(std::function<void(const std::string& line)> onLine) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this, onLine] {
      peer.reset(server.nextPendingConnection());
      QObject::connect(peer.get(), &QTcpSocket::readyRead, [this, onLine] {
        // Keep the text only: drop the link's option answers.
        for (const char c : peer->readAll().toStdString()) {
          if (skip > 0) {
            --skip;
          } else if (static_cast<unsigned char>(c) == 255) {
            skip = 2;
          } else {
            buffer += c;
          }
        }
        for (auto end = buffer.find("\r\n"); end != std::string::npos; end = buffer.find("\r\n")) {
          const std::string line = buffer.substr(0, end);
          buffer.erase(0, end + 2);
          lines.push_back(line);
          onLine(line);
        }
      });
      peer->write("\xff\xfb\x01\xff\xfa\x18\x01\xff\xf0Password: ");
    });
    exchange.SetTransport(&link);
    QObject::connect(&login, &NetworkLogin::Log, [this](const QString& line) { log << line; });
    QObject::connect(&login, &NetworkLogin::Failed, [this](Failure f) { failure = f; });
    QObject::connect(&login, &NetworkLogin::Succeeded, [this] { succeeded = true; });
    login.SetStepTimeout(kStepMs);
    login.Arm("pw", "adm");
    ASSERT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), server.serverPort()), 1);
  }
  bool Ended(int ms = 8000) {
    return WaitUntil([this] { return succeeded || failure.has_value(); }, ms);
  }

  QTcpServer server;
  std::unique_ptr<QTcpSocket> peer;
  std::string buffer;
  int skip = 0;
  std::vector<std::string> lines;
  TelnetLink link;
  CommandExchange exchange;
  NetworkLogin login{link, exchange};
  QStringList log;
  std::optional<Failure> failure;
  bool succeeded = false;
};

TEST_F(ScriptedDevice, AdministratorPromptThatNeverComesFailsAfterItsTimeOut) {
  Start([this](const std::string& line) {
    if (line == "pw") peer->write("\r\nrouter> ");
  });
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(Ended());
  EXPECT_GE(clock.elapsed(), kStepMs - 100);
  EXPECT_EQ(failure, Failure::kAdministratorPrompt);
  EXPECT_EQ(log, (QStringList{"connect ok\r\n", "IAC data\r\n", "Local Password Check OK\r\n",
                              "administrator Password Input ERROR\r\n"}));
  EXPECT_EQ(lines, (std::vector<std::string>{"pw", "administrator"}));
}

TEST_F(ScriptedDevice, PasswordsGoOutAsLinesAndPromptsAreMatchedAnyCase) {
  Start([this](const std::string& line) {
    if (line == "pw") peer->write("\r\nrouter> ");
    if (line == "administrator") peer->write("administrator\r\npassword:");
    if (line == "adm") peer->write("\r\nrouter# ");
  });
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(succeeded);
  EXPECT_EQ(lines, (std::vector<std::string>{"pw", "administrator", "adm"}));
}

TEST_F(ScriptedDevice, DeviceThatHangsUpBeforePromptingEndsTheLogin) {
  login.SetPromptTimeout(300);
  Start([](const std::string&) {});
  // The device drops the connection before its greeting goes out.
  QObject::connect(&server, &QTcpServer::newConnection, [this] { peer->abort(); });
  ASSERT_TRUE(Ended());
  EXPECT_EQ(failure, Failure::kLinkLost);
}

TEST(NetworkLoginWithoutPrompt, SilentDeviceEndsAtThePromptTimeOut) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  TelnetLink link;
  CommandExchange exchange;
  exchange.SetTransport(&link);
  NetworkLogin login(link, exchange);
  login.SetPromptTimeout(300);
  std::optional<Failure> failure;
  QObject::connect(&login, &NetworkLogin::Failed, [&](Failure f) { failure = f; });
  login.Arm("pw", "adm");
  ASSERT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), server.serverPort()), 1);
  ASSERT_TRUE(WaitUntil([&] { return failure.has_value(); }, 3000));
  EXPECT_EQ(failure, Failure::kNoPasswordPrompt);
}

}  // namespace
}  // namespace setutily
