#include "support/telnet_rig.h"

#include <gtest/gtest.h>

#include "support/timing.h"
#include "support/ui_helpers.h"

namespace setutily::testing {

SimOnTcp::SimOnTcp(bool waitForOptionAnswers) : server_(device_) {
  server_.SetLoginPassword(kSimLoginPassword);
  server_.SetAdministratorPassword(kSimAdministratorPassword);
  server_.SetWaitForOptionAnswers(waitForOptionAnswers);
  std::string error;
  const bool started = server_.Start(0, &error);
  EXPECT_TRUE(started) << error;
}

SimOnTcp::~SimOnTcp() { server_.Stop(); }

void SimOnTcp::With(const std::function<void(morivex9sim::Device&)>& fn) {
  server_.WithDevice(fn);
}

std::vector<std::string> SimOnTcp::CommandLines() {
  std::vector<std::string> lines;
  With([&](morivex9sim::Device& d) { lines = d.CommandLines(); });
  return lines;
}

std::vector<morivex9sim::LogEntry> SimOnTcp::Log() {
  std::vector<morivex9sim::LogEntry> log;
  With([&](morivex9sim::Device& d) { log = d.Log(); });
  return log;
}

void SimOnTcp::AddFault(const morivex9sim::Fault& fault) {
  With([&](morivex9sim::Device& d) { d.AddFault(fault); });
}

TelnetRig::TelnetRig(const std::string& loginPassword, const std::string& administratorPassword,
                     bool waitForOptionAnswers)
    : sim(waitForOptionAnswers) {
  exchange.SetTransport(&link);
  QObject::connect(&login, &NetworkLogin::Log, [this](const QString& line) { log << line; });
  QObject::connect(&login, &NetworkLogin::Succeeded, [this] { opened = true; });
  QObject::connect(&login, &NetworkLogin::Failed,
                   [this](NetworkLogin::Failure why) { failure = why; });
  QObject::connect(&link, &TelnetLink::ConnectFailed,
                   [this] { failure = NetworkLogin::Failure::kLinkLost; });
  login.SetStepTimeout(FastTiming().loginStepMs);
  login.Arm(loginPassword, administratorPassword);
  const int started = link.OpenNetworkLink(QStringLiteral("127.0.0.1"), static_cast<quint16>(sim.Port()));
  EXPECT_EQ(started, 1) << link.LastError().toStdString();
  if (started == 1) {
    WaitUntil([this] { return opened || failure.has_value(); }, 15000);
  }
}

}  // namespace setutily::testing
