// The simulator's telnet service as a plain client sees it.
#include <gtest/gtest.h>

#include <QTcpSocket>
#include <string>

#include "support/telnet_rig.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using namespace std::string_literals;
using testing::SimOnTcp;
using testing::WaitUntil;

struct RawClient {
  explicit RawClient(int port) {
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_TRUE(socket.waitForConnected(3000));
  }
  // Reads until text (as sent, telnet bytes included) has arrived.
  bool ReadUntil(const std::string& text) {
    return WaitUntil([&] {
      seen += socket.readAll().toStdString();
      return seen.find(text) != std::string::npos;
    });
  }
  void Line(const std::string& line) { socket.write(QByteArray::fromStdString(line + "\r\n")); }
  QTcpSocket socket;
  std::string seen;
};

TEST(SimulatorTelnet, GivesUpAfterThreeWrongLoginPasswords) {
  SimOnTcp sim;
  RawClient client(sim.Port());
  ASSERT_TRUE(client.ReadUntil("\xff\xfb\x01"s));  // WILL ECHO among the requests
  ASSERT_TRUE(client.ReadUntil("Password: "));
  for (const char* wrong : {"a", "b", "c"}) {
    client.seen.clear();
    client.Line(wrong);
    ASSERT_TRUE(client.ReadUntil("Login incorrect\r\0\n"s));
  }
  EXPECT_TRUE(WaitUntil([&] { return client.socket.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(client.seen.find("Password: "), std::string::npos);
  EXPECT_EQ(sim.Record().loginTries, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(sim.Record().closedByServer, 1);
}

TEST(SimulatorTelnet, AdministratorPasswordIsAskedAgainThenTheSessionEnds) {
  SimOnTcp sim;
  RawClient client(sim.Port());
  ASSERT_TRUE(client.ReadUntil("Password: "));
  client.Line(testing::kSimLoginPassword);
  ASSERT_TRUE(client.ReadUntil("> "));
  client.Line("administrator");
  ASSERT_TRUE(client.ReadUntil("administrator\r\0\nPassword:"s));
  for (int i = 0; i < 3; ++i) client.Line("wrong");
  EXPECT_TRUE(WaitUntil([&] { return client.socket.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(sim.Record().administratorTries.size(), 3u);
  EXPECT_EQ(sim.Record().logins, 0);
}

TEST(SimulatorTelnet, WaitsForEveryAnswerWhenToldTo) {
  SimOnTcp sim(true);
  RawClient client(sim.Port());
  ASSERT_TRUE(client.ReadUntil("\xff\xf1"s));  // the NOP after the requests
  WaitUntil([] { return false; }, 100);
  client.seen += client.socket.readAll().toStdString();
  EXPECT_EQ(client.seen.find("Password: "), std::string::npos);
  // Answer all but one: still no prompt. Then the last one.
  client.socket.write("\xff\xfd\x01\xff\xfd\x03\xff\xfe\x05\xff\xfc\x18\xff\xfc\x20\xff\xfc\x27\xff\xfc\x1f");
  WaitUntil([] { return false; }, 100);
  client.seen += client.socket.readAll().toStdString();
  EXPECT_EQ(client.seen.find("Password: "), std::string::npos);
  client.socket.write("\xff\xfc\x21");
  EXPECT_TRUE(client.ReadUntil("Password: "));
}

TEST(SimulatorTelnet, CommandLineEndsItsLinesWithCrNulAndDoublesIac) {
  SimOnTcp sim;
  sim.With([](morivex9sim::Device& d) {
    d.AddCommand("echo255", [](morivex9sim::Device&, const auto&, std::string& reply, std::string&) {
      reply = "\xff\r\n";
      return true;
    });
  });
  RawClient client(sim.Port());
  ASSERT_TRUE(client.ReadUntil("Password: "));
  client.Line(testing::kSimLoginPassword);
  client.Line("administrator");
  client.Line(testing::kSimAdministratorPassword);
  ASSERT_TRUE(client.ReadUntil("\r\0\n# "s));
  client.seen.clear();
  client.socket.write("echo255\r\0"s.c_str(), 9);
  ASSERT_TRUE(client.ReadUntil("# "));
  EXPECT_EQ(client.seen, "echo255\r\0\n\xff\xff\r\0\n# "s);
  client.seen.clear();
  client.socket.write("exit\r\0"s.c_str(), 6);
  EXPECT_TRUE(client.ReadUntil("\r\0\nOK\r\0\n"s));
  EXPECT_TRUE(WaitUntil([&] { return client.socket.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(sim.CommandLines(), (std::vector<std::string>{"echo255", "exit"}));
}

}  // namespace
}  // namespace setutily
