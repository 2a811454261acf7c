// The telnet link against a far end that the test plays itself over a real
// loopback connection: option answers, the byte path, line framing in both
// directions, prompt detection, and connections that cannot be made.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <string>

#include "link/exchange.h"
#include "link/telnet_link.h"
#include "support/ui_helpers.h"

namespace setutily {
namespace {

using namespace std::string_literals;
using namespace telnet;
using testing::WaitUntil;

std::string Cmd(unsigned char command, unsigned char option) {
  return {static_cast<char>(kIac), static_cast<char>(command), static_cast<char>(option)};
}

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A link connected to a listening socket of the test: `peer` is the device's
// end of the connection.
struct TelnetPeer : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&link, &ByteTransport::BytesReceived,
                     [this](const QByteArray& b) { received += b.toStdString(); });
    ASSERT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), server.serverPort()), 1);
    ASSERT_TRUE(WaitUntil([this] { return link.IsOpen() && server.hasPendingConnections(); }));
    peer.reset(server.nextPendingConnection());
  }

  // Everything the link sent to the peer up to now. A marker written
  // straight to the socket after the bytes in question shows that nothing
  // else is still on its way.
  std::string SentByLink() {
    link.SendNetwork(QByteArray("\x01", 1));
    std::string all;
    WaitUntil([&] {
      all += peer->readAll().toStdString();
      return !all.empty() && all.back() == '\x01';
    });
    if (!all.empty() && all.back() == '\x01') all.pop_back();
    return all;
  }

  // The far end's bytes, fed to the link as one read.
  int Feed(const std::string& bytes) { return link.ReceiveNetworkBytes(Bytes(bytes)); }

  QTcpServer server;
  TelnetLink link;
  std::unique_ptr<QTcpSocket> peer;
  std::string received;
};

TEST_F(TelnetPeer, EveryRowOfTheAnswerTable) {
  const struct {
    unsigned char command, option, answer;
  } rows[] = {
      {kWill, kOptEcho, kDo},         {kWill, kOptSuppressGoAhead, kDo},
      {kWill, kOptStatus, kDont},     {kWont, kOptLinemode, kDont},
      {kDo, kOptEcho, kWill},         {kDo, kOptWindowSize, kWont},
      {kDo, kOptRemoteFlowControl, kWont}, {kDont, kOptEcho, kWont},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Feed(Cmd(row.command, row.option)), kNetOptionAnswered);
    EXPECT_EQ(SentByLink(), Cmd(row.answer, row.option)) << int(row.command) << " " << int(row.option);
  }
  EXPECT_EQ(received, "");
}

TEST_F(TelnetPeer, UnknownRequestsAreRefusedAndAnswersNeverRepeat) {
  QSignalSpy answered(&link, &TelnetLink::OptionAnswered);
  // Requests outside the table are refused, so a server never waits.
  Feed(Cmd(kDo, kOptTerminalType) + Cmd(kDo, kOptNewEnvironment) + Cmd(kWill, 200));
  EXPECT_EQ(SentByLink(), Cmd(kWont, kOptTerminalType) + Cmd(kWont, kOptNewEnvironment) + Cmd(kDont, 200));
  // Notices that need no answer get none.
  Feed(Cmd(kWont, 200) + Cmd(kDont, kOptTerminalType) + Cmd(kWont, kOptStatus));
  EXPECT_EQ(SentByLink(), "");
  // A server that acknowledges our answers (or asks again) gets no second
  // answer: the two ends cannot keep answering each other.
  Feed(Cmd(kWill, kOptEcho));
  EXPECT_EQ(SentByLink(), Cmd(kDo, kOptEcho));
  for (int i = 0; i < 3; ++i) Feed(Cmd(kWill, kOptEcho) + Cmd(kDo, kOptTerminalType) + Cmd(kWont, kOptLinemode));
  EXPECT_EQ(SentByLink(), Cmd(kDont, kOptLinemode));
  // Switching off an option we had agreed to is acknowledged once; switching
  // it on again is agreed again.
  Feed(Cmd(kWont, kOptEcho) + Cmd(kWont, kOptEcho) + Cmd(kWill, kOptEcho));
  EXPECT_EQ(SentByLink(), Cmd(kDont, kOptEcho) + Cmd(kDo, kOptEcho));
  EXPECT_EQ(answered.count(), 3 + 3 + 1 + 9 + 3);
  EXPECT_EQ(received, "");
}

TEST_F(TelnetPeer, CommandsSubnegotiationsAndDoubledIacNeverReachTheText) {
  // IAC IAC is one data byte 255; NOP and GA are dropped.
  EXPECT_EQ(Feed("a\xff\xff" "b\xff\xf1" "c\xff\xf9" "d"), kNetText);
  EXPECT_EQ(received, "a\xff" "bcd");
  received.clear();
  // A subnegotiation is skipped whole, even split across reads, including a
  // doubled 255 and an option request inside it.
  EXPECT_EQ(Feed("x\xff\xfa\x18\x01"), kNetText);
  EXPECT_EQ(Feed("\xff\xff\xfb\x01 more"), kNetTaken);
  EXPECT_EQ(Feed("\xff"), kNetTaken);
  EXPECT_EQ(Feed("\xf0y"), kNetText);
  EXPECT_EQ(received, "xy");
  EXPECT_EQ(SentByLink(), "");
  // A request split between reads is answered once complete.
  EXPECT_EQ(Feed("\xff"), kNetTaken);
  EXPECT_EQ(Feed("\xfb"), kNetTaken);
  EXPECT_EQ(Feed("\x03z"), kNetOptionAnswered);
  EXPECT_EQ(SentByLink(), Cmd(kDo, kOptSuppressGoAhead));
  EXPECT_EQ(received, "xyz");
  // A command inside an unterminated subnegotiation ends it.
  Feed("\xff\xfa\x18junk\xff\xfb\x01text");
  EXPECT_EQ(SentByLink(), Cmd(kDo, kOptEcho));
  EXPECT_EQ(received, "xyztext");
}

TEST_F(TelnetPeer, NulAfterCarriageReturnIsDroppedEvenAcrossReads) {
  Feed("line\r\0\n# "s);
  EXPECT_EQ(received, "line\r\n# ");
  received.clear();
  Feed("a\r");
  Feed("\0b"s);
  Feed("\0c\r\n\0"s);  // a NUL that follows no carriage return is text
  EXPECT_EQ(received, "a\rb\0c\r\n\0"s);
}

TEST_F(TelnetPeer, ExchangeOverTheLinkSeesOnlyText) {
  CommandExchange exchange;
  exchange.SetTransport(&link);
  QObject::connect(peer.get(), &QTcpSocket::readyRead, [this] {
    const std::string got = peer->readAll().toStdString();
    if (got == "youbi 3\r\0"s) {
      peer->write(Bytes("youbi 3\r\0\n\xff\xfb\x01\xff\xf1\r\0\n# "s));
    }
  });
  std::string reply;
  EXPECT_EQ(exchange.SendAndWait("youbi 3\r", &reply, 3000, kTerminatorPrompt), 1);
  EXPECT_EQ(reply, "youbi 3\r\n\r\n# ");
}

TEST_F(TelnetPeer, SendFramesTheClosingCarriageReturnAndDoublesIac) {
  EXPECT_EQ(link.Send("show x\r"), 7);
  EXPECT_EQ(SentByLink(), "show x\r\0"s);
  EXPECT_EQ(link.Send("a\xff" "b\r"), 4);
  EXPECT_EQ(SentByLink(), "a\xff\xff" "b\r\0"s);
  EXPECT_EQ(link.Send("no end"), 6);
  EXPECT_EQ(SentByLink(), "no end");

  // Login lines go out with CR LF, as given.
  CommandExchange exchange;
  exchange.SetTransport(&link);
  const auto answering = QObject::connect(peer.get(), &QTcpSocket::readyRead, [this] {
    if (peer->bytesAvailable() > 0 && peer->peek(1) != "\x01") peer->write("\r\nMORIVEX-9> ");
  });
  std::string reply;
  EXPECT_EQ(link.NetSendAndWait(exchange, "secret\r\n", &reply, 3000, 0), 1);
  EXPECT_EQ(reply, "\r\nMORIVEX-9> ");
  // The next command goes out with CR NUL again.
  EXPECT_EQ(link.NetSendAndWait(exchange, "administrator\r", &reply, 100, 9), 0);
  QObject::disconnect(answering);
  EXPECT_EQ(SentByLink(), "secret\r\nadministrator\r\0"s);

  // An exchange over another transport is not this link's.
  CommandExchange other;
  EXPECT_EQ(link.NetSendAndWait(other, "x\r\n", &reply, 3000, 0), 0);
}

TEST(NetworkEndMarkers, TypesAndThePasswordPrompt) {
  EXPECT_EQ(NetworkEndMarkers(0), std::vector<std::string>{">"});
  EXPECT_EQ(NetworkEndMarkers(1), std::vector<std::string>{"Password:"});
  EXPECT_EQ(NetworkEndMarkers(2), std::vector<std::string>{"#"});
  EXPECT_EQ(NetworkEndMarkers(3), (std::vector<std::string>{">", "#"}));
  EXPECT_TRUE(NetworkEndMarkers(4).empty());
  EXPECT_TRUE(NetworkEndMarkers(-1).empty());

  EXPECT_TRUE(HasPasswordPrompt("Password: "));
  EXPECT_TRUE(HasPasswordPrompt("\r\nLogin incorrect\r\nPassword: "));
  EXPECT_TRUE(HasPasswordPrompt("Password: x"));
  EXPECT_FALSE(HasPasswordPrompt("password: "));
  EXPECT_FALSE(HasPasswordPrompt("Password:"));
  EXPECT_FALSE(HasPasswordPrompt("PASSWORD: "));
  EXPECT_FALSE(HasPasswordPrompt("Password:\t"));
  EXPECT_FALSE(HasPasswordPrompt("assword: "));
  EXPECT_FALSE(HasPasswordPrompt(""));
}

TEST_F(TelnetPeer, PromptIsReportedOnlyExactlyAndOnlyBeforeTheLogin) {
  QSignalSpy prompts(&link, &TelnetLink::PasswordPromptSeen);
  EXPECT_EQ(Feed("password: Password:"), kNetText);
  EXPECT_EQ(prompts.count(), 0);
  // Split across reads and interrupted by a command, it still counts.
  EXPECT_EQ(Feed("\r\nPass"), kNetText);
  EXPECT_EQ(Feed("wo\xff\xf1rd:"), kNetText);
  EXPECT_EQ(Feed(" "), kNetPasswordPrompt);
  EXPECT_EQ(prompts.count(), 1);
  // Bytes one by one report it on every byte until something is sent.
  EXPECT_EQ(link.ReceiveNetworkByte('x'), kNetPasswordPrompt);
  EXPECT_EQ(prompts.count(), 2);
  EXPECT_EQ(link.Send("pw\r"), 3);
  EXPECT_EQ(Feed("\r\n>"), kNetText);
  // Once the login is done the same text is no longer a prompt.
  link.SetLoginDone(true);
  EXPECT_EQ(Feed("Password: "), kNetTaken);
  EXPECT_EQ(prompts.count(), 2);
}

TEST(TelnetLinkOpen, AddressesThatAreNotDottedIpv4FailAtOnce) {
  TelnetLink link;
  QSignalSpy failed(&link, &TelnetLink::ConnectFailed);
  for (const char* bad : {"", "localhost", "192.168.1", "192.168.1.256", "192.168.1.1.1",
                          "::1", "1.2.3.4x", "1..2.3", "0001.2.3.4", "-1.2.3.4", "1.2.3.+4"}) {
    EXPECT_EQ(link.OpenNetworkLink(QString::fromLatin1(bad), 2323), 0) << bad;
    EXPECT_FALSE(link.LastError().isEmpty());
  }
  EXPECT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), 0), 0);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.Send("x\r"), 0);
  EXPECT_EQ(link.SendNetwork("x"), 0);
  EXPECT_EQ(failed.count(), 0);

  quint32 address = 0;
  EXPECT_TRUE(ParseDottedIpv4("192.168.001.10", &address));
  EXPECT_EQ(address, 0xC0A8010Au);
  EXPECT_TRUE(ParseDottedIpv4("255.255.255.255", &address));
  EXPECT_EQ(address, 0xFFFFFFFFu);
}

TEST(TelnetLinkOpen, RefusedConnectionIsReportedWithoutHanging) {
  // A port that was just free is refused on loopback.
  quint16 port = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    port = probe.serverPort();
  }
  TelnetLink link;
  QSignalSpy connected(&link, &TelnetLink::Connected);
  QSignalSpy failed(&link, &TelnetLink::ConnectFailed);
  QElapsedTimer clock;
  clock.start();
  ASSERT_EQ(link.OpenNetworkLink(QStringLiteral(" 127.0.0.1 "), port), 1);
  EXPECT_TRUE(WaitUntil([&] { return failed.count() > 0; }));
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_EQ(connected.count(), 0);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.LastError().isEmpty());
  // The attempt is over: nothing more arrives.
  WaitUntil([] { return false; }, 100);
  EXPECT_EQ(failed.count(), 1);
}

TEST(TelnetLinkOpen, ConnectionThatNeverCompletesEndsAtItsTimeOut) {
  // A listening socket whose queue is full drops further connection
  // requests, so a connection attempt hangs as towards an unreachable host.
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  socklen_t length = sizeof address;
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const quint16 port = ntohs(address.sin_port);
  std::vector<std::unique_ptr<QTcpSocket>> fillers;
  for (int i = 0; i < 3; ++i) {
    fillers.push_back(std::make_unique<QTcpSocket>());
    fillers.back()->connectToHost(QHostAddress::LocalHost, port);
  }
  WaitUntil([] { return false; }, 200);

  TelnetLink link;
  link.SetConnectTimeout(400);
  QSignalSpy connected(&link, &TelnetLink::Connected);
  QSignalSpy failed(&link, &TelnetLink::ConnectFailed);
  QElapsedTimer clock;
  clock.start();
  ASSERT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), port), 1);
  EXPECT_TRUE(WaitUntil([&] { return failed.count() > 0; }, 3000));
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_EQ(connected.count(), 0);
  EXPECT_FALSE(link.IsOpen());
  close(listener);
}

TEST_F(TelnetPeer, LostAndClosedConnections) {
  QSignalSpy lost(&link, &ByteTransport::LinkLost);
  peer->close();
  EXPECT_TRUE(WaitUntil([&] { return lost.count() > 0; }));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.Send("x\r"), 0);

  // Closing on purpose resets the connection and reports no loss.
  ASSERT_EQ(link.OpenNetworkLink(QStringLiteral("127.0.0.1"), server.serverPort()), 1);
  ASSERT_TRUE(WaitUntil([this] { return link.IsOpen() && server.hasPendingConnections(); }));
  std::unique_ptr<QTcpSocket> second(server.nextPendingConnection());
  EXPECT_EQ(link.CloseNetworkLink(), 1);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(WaitUntil([&] { return second->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(second->error(), QAbstractSocket::RemoteHostClosedError);
  EXPECT_EQ(lost.count(), 1);
}

}  // namespace
}  // namespace setutily
