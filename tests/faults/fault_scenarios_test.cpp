// Faults from the far end, through the main window with the product's
// categories: over the serial line against the simulator's fault options,
// and over telnet against a peer that misbehaves. In each the program stays
// alive, tells the user at most once, sends nothing it should not after the
// fault, and ends or goes on as it should.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/network_open.h"
#include "link/telnet_link.h"
#include "root/categories.h"
#include "speeddial/speed_dial_form.h"
#include "support/shell_rig.h"

namespace setutily {
namespace {

using morivex9sim::Fault;
using testing::Find;
using testing::Lines;
using testing::ShellRig;
using testing::WaitUntil;

const QString kLinkLost = QStringLiteral("MORIVEX-9との接続が切れました。");
const Lines kPages = {"show shortnum num1", "show shortnum num2"};

bool Enabled(MainDialog& window, int id) { return Find<QPushButton>(&window, id)->isEnabled(); }

// Presses "短縮番号設定"; a form that opens is confirmed unchanged. The
// watch ends with the press, so a form that never opened leaves nothing
// waiting for a later one.
bool OpenSpeedDial(MainDialog& window) {
  bool opened = false;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* form = qobject_cast<FieldForm*>(QApplication::activeModalWidget());
    if (form == nullptr || opened) return;
    opened = true;
    Find<QPushButton>(form, 1)->click();
  });
  watch.start();
  Find<QPushButton>(&window, 1087)->click();
  return opened;
}

TEST(SerialFaults, ARuinedReadIsLoggedAndTheRunGoesOn) {
  const struct {
    const char* name;
    Fault fault;
  } cases[] = {
      {"garbage", {Fault::kGarbage, 300, "show shortnum num1", 1}},
      {"5000-byte reply", {Fault::kOversize, 5000, "show shortnum num1", 1}},
      {"zero byte inside", {Fault::kZeroByte, 0, "show shortnum num2", 1}},
      {"cut reply", {Fault::kCut, 20, "show shortnum num1", 1}},
      {"no answer", {Fault::kSilent, 0, "show shortnum num2", 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShellRig rig;
    rig.categories = BuildCategories;
    ASSERT_TRUE(rig.Start());
    rig.sim.AddFault(c.fault);
    EXPECT_FALSE(OpenSpeedDial(*rig.window));
    EXPECT_TRUE(rig.window->LogText().endsWith(QStringLiteral("Short Number Status Read ERROR\r\n")));
    ASSERT_EQ(rig.messages.Texts().size(), 1);
    EXPECT_TRUE(rig.messages.Texts()[0].startsWith(QStringLiteral("短縮番号設定の読込みに失敗しました。")));
    // The read stopped at the fault; the next try reads afresh.
    const Lines afterFault = rig.sim.CommandLines();
    EXPECT_TRUE(afterFault == Lines{kPages[0]} || afterFault == kPages);
    EXPECT_TRUE(Enabled(*rig.window, 1087));
    EXPECT_TRUE(OpenSpeedDial(*rig.window));
    ASSERT_TRUE(rig.Close());
    EXPECT_EQ(rig.sim.CommandLines().back(), "exit");
  }
}

TEST(SerialFaults, HangUpDuringAReadIsToldOnceAndNothingIsSentAfterIt) {
  ShellRig rig;
  rig.categories = BuildCategories;
  ASSERT_TRUE(rig.Start());
  rig.sim.AddFault({Fault::kHangUp, 0, "show shortnum num2", 1});
  EXPECT_FALSE(OpenSpeedDial(*rig.window));
  ASSERT_TRUE(WaitUntil([&] { return !rig.messages.shown.empty(); }));
  EXPECT_FALSE(Enabled(*rig.window, 1087));
  Find<QPushButton>(rig.window.get(), 1087)->click();  // disabled: nothing happens
  ASSERT_TRUE(rig.Close());
  // Told once that the device is gone (the connection dialog then offered
  // is left with "終了"); the exit sends nothing on the lost link.
  ASSERT_EQ(rig.messages.Texts().size(), 1);
  EXPECT_TRUE(rig.messages.Texts()[0].startsWith(kLinkLost));
  EXPECT_EQ(rig.sim.CommandLines(), kPages);
}

TEST(SerialFaults, AnUnansweredStoreIsToldAndTheRunStillLeavesTheCommandLine) {
  ShellRig rig;
  rig.categories = BuildCategories;
  ASSERT_TRUE(rig.Start());
  rig.sim.AddFault({Fault::kSilent, 0, "fromwr 15", -1});
  rig.window->RunSession().state.pendingChangeCount = 1;
  ASSERT_TRUE(rig.Close());
  EXPECT_EQ(rig.messages.Texts(), QStringList{QStringLiteral("保存（fromwr 15）を確認できませんでした。")});
  EXPECT_EQ(rig.sim.CommandLines(), Lines{"exit"});  // "fromwr 15" was lost on the way
}

// ---------------------------------------------------------------- telnet

// A telnet peer played by the test: it greets with greeting and then
// "Password: ", takes any passwords, answers later lines with the prompt,
// and resets the connection when line number resetAt (0-based; 0 is the
// login password) arrives. Lines end in CR LF (login) or CR NUL (commands);
// the link's option answers are counted and left out of the lines.
class MisbehavingPeer {
 public:
  explicit MisbehavingPeer(int resetAt, QByteArray greeting = {})
      : resetAt_(resetAt), greeting_(std::move(greeting)) {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      socket_ = server_.nextPendingConnection();
      QObject::connect(socket_, &QTcpSocket::readyRead, [this] { Read(); });
      socket_->write(greeting_ + "Password: ");
    });
  }
  quint16 Port() const { return server_.serverPort(); }

  Lines lines;
  int optionAnswers = 0;

 private:
  void Read() {
    for (const char c : socket_->readAll()) {
      if (skip_ > 0) {
        --skip_;
      } else if (static_cast<unsigned char>(c) == 255) {
        skip_ = 2;
        ++optionAnswers;
      } else if (c == '\n' || c == '\0') {
        if (!buffer_.empty() && buffer_.back() == '\r') buffer_.pop_back();
        lines.push_back(buffer_);
        buffer_.clear();
        if (static_cast<int>(lines.size()) - 1 == resetAt_) {
          socket_->abort();
          return;
        }
        static const char* const kAnswers[] = {"\r\nrouter> ", "administrator\r\nPassword: ",
                                               "\r\nrouter# "};
        if (lines.size() <= 3) {
          socket_->write(kAnswers[lines.size() - 1]);
        } else {
          socket_->write(buffer_.empty() && lines.back() == "fromwr 15" ? "\r\nWrite OK\r\n# "
                                                                        : "\r\n# ");
        }
      } else {
        buffer_ += c;
      }
    }
  }

  int resetAt_;
  QByteArray greeting_;
  QTcpServer server_;
  QTcpSocket* socket_ = nullptr;
  std::string buffer_;
  int skip_ = 0;
};

class TelnetFaults : public ::testing::Test {
 protected:
  bool Start(MisbehavingPeer& peer) {
    rig.WriteIni(QStringLiteral("[PORTSEL]\nPORT=1\n[IPADDR]\nFIELD=127.0.0.1\nTCPPORT=%1\n"
                                "[OPTION]\nDATA1=pw\nDATA2=adm\n")
                     .arg(peer.Port()));
    rig.categories = BuildCategories;
    rig.openNetwork = TelnetOpener();
    return rig.Start();
  }
  ShellRig rig;
};

TEST_F(TelnetFaults, ResetDuringTheLoginEndsTheRunWithOneMessage) {
  MisbehavingPeer peer(2);  // as the administrator password arrives
  EXPECT_FALSE(Start(peer));
  EXPECT_TRUE(rig.window->Finished());
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(peer.lines, (Lines{"pw", "administrator", "adm"}));
}

TEST_F(TelnetFaults, ResetDuringAReadIsToldOnceAndNothingIsSentAfterIt) {
  MisbehavingPeer peer(3);  // as the first show command arrives
  ASSERT_TRUE(Start(peer));
  EXPECT_FALSE(OpenSpeedDial(*rig.window));
  ASSERT_TRUE(WaitUntil([&] { return !rig.messages.shown.empty(); }));
  EXPECT_FALSE(Enabled(*rig.window, 1087));
  ASSERT_TRUE(rig.Close());
  ASSERT_EQ(rig.messages.Texts().size(), 1);
  EXPECT_TRUE(rig.messages.Texts()[0].startsWith(kLinkLost));
  EXPECT_EQ(peer.lines, (Lines{"pw", "administrator", "adm", "show shortnum num1"}));
}

TEST_F(TelnetFaults, AFloodOfOptionRequestsBeforeThePromptIsAnsweredBoundedly) {
  QByteArray flood;
  for (int i = 0; i < 30000; ++i) {
    flood += '\xff';
    flood += static_cast<char>(i % 2 == 0 ? telnet::kWill : telnet::kDo);
    flood += static_cast<char>(i % 256);
  }
  MisbehavingPeer peer(-1, flood);
  ASSERT_TRUE(Start(peer));
  EXPECT_TRUE(rig.messages.shown.empty()) << rig.messages.Texts().join(u'|').toStdString();
  // Each option is refused once per side, never again.
  EXPECT_LE(peer.optionAnswers, 2 * 256);
  EXPECT_LE(rig.window->LogText().count(u'\n'), 2 * MainDialog::kLogLines);
  EXPECT_TRUE(OpenSpeedDial(*rig.window));
  ASSERT_TRUE(rig.Close());
  EXPECT_TRUE(rig.messages.shown.empty()) << rig.messages.Texts().join(u'|').toStdString();
}

}  // namespace
}  // namespace setutily
