#include "link/network_login.h"

#include <QPointer>

#include "link/exchange.h"
#include "link/telnet_link.h"

namespace setutily {

NetworkLogin::NetworkLogin(TelnetLink& link, CommandExchange& exchange, QObject* parent)
    : QObject(parent), link_(link), exchange_(exchange) {
  promptTimer_.setSingleShot(true);
  connect(&promptTimer_, &QTimer::timeout, this, [this] {
    if (state_ == State::kWaitingForPrompt) Fail(Failure::kNoPasswordPrompt);
  });
  connect(&link, &TelnetLink::Connected, this, &NetworkLogin::OnConnected);
  connect(&link, &TelnetLink::OptionAnswered, this, [this] {
    if (state_ != State::kIdle) emit Log(QStringLiteral("IAC data\r\n"));
  });
  // Queued: the login runs exchanges of its own and must not start inside
  // the link's receive path.
  connect(&link, &TelnetLink::PasswordPromptSeen, this, &NetworkLogin::OnPrompt,
          Qt::QueuedConnection);
  connect(&link, &ByteTransport::LinkLost, this, [this] {
    if (state_ == State::kWaitingForPrompt) Fail(Failure::kLinkLost);
  });
}

void NetworkLogin::Arm(std::string loginPassword, std::string administratorPassword) {
  loginPassword_ = std::move(loginPassword);
  administratorPassword_ = std::move(administratorPassword);
  state_ = State::kWaitingForPrompt;
  promptTimer_.stop();
  if (link_.IsOpen()) promptTimer_.start(promptTimeoutMs_);
}

void NetworkLogin::OnConnected() {
  if (state_ == State::kIdle) return;
  emit Log(QStringLiteral("connect ok\r\n"));
  if (state_ == State::kWaitingForPrompt) promptTimer_.start(promptTimeoutMs_);
}

void NetworkLogin::OnPrompt() {
  // Only the first prompt counts: after a failure the device prompting
  // again must not make the same wrong password go out once more.
  if (state_ != State::kWaitingForPrompt || !link_.IsOpen() || link_.LoginDone()) return;
  if (exchange_.IsBusy()) return;
  Run();
}

void NetworkLogin::Run() {
  state_ = State::kRunning;
  promptTimer_.stop();
  QPointer<NetworkLogin> self(this);
  std::string reply;
  auto step = [&](const std::string& line, int markerType) {
    return link_.NetSendAndWait(exchange_, line + "\r\n", &reply, stepTimeoutMs_, markerType);
  };
  auto failed = [&](const char* logLine, Failure failure) {
    emit Log(QString::fromLatin1(logLine));
    if (self) Fail(link_.IsOpen() ? failure : Failure::kLinkLost);
  };

  const int login = step(loginPassword_, 0);
  if (!self) return;
  if (login <= 0) return failed("Local Password Check ERROR\r\n", Failure::kLoginPassword);
  exchange_.ClearAccumulator();
  link_.SetLoginDone(true);
  emit Log(QStringLiteral("Local Password Check OK\r\n"));

  const int account = step("administrator", 1);
  if (!self) return;
  if (account <= 0) {
    return failed("administrator Password Input ERROR\r\n", Failure::kAdministratorPrompt);
  }
  const int admin = step(administratorPassword_, 2);
  if (!self) return;
  if (admin <= 0) {
    return failed("administrator Password Check ERROR\r\n", Failure::kAdministratorPassword);
  }
  state_ = State::kSucceeded;
  emit Log(QStringLiteral("administrator Password Check OK\r\n"));
  if (self) emit Succeeded();
}

void NetworkLogin::Fail(Failure failure) {
  state_ = State::kFailed;
  promptTimer_.stop();
  emit Failed(failure);
}

}  // namespace setutily
