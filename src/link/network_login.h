// The two-password login over the telnet link. Once armed it logs the
// connection, logs each option request the link dealt with, and when the
// device prompts "Password: " outside an exchange it sends the login
// password, then "administrator" and the administrator password, logging
// each step. It reports success or failure once and never tries again on
// its own: repeating wrong passwords would only lock the account.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

namespace setutily {

class CommandExchange;
class TelnetLink;

// Time-out of each login exchange.
inline constexpr int kLoginStepTimeoutMs = 3000;
// How long after the connection the device may take to prompt for the password.
inline constexpr int kPasswordPromptTimeoutMs = 15000;

class NetworkLogin : public QObject {
  Q_OBJECT

 public:
  enum class Failure {
    kLoginPassword,          // no prompt with ">" after the login password
    kAdministratorPrompt,    // no "Password:" after "administrator"
    kAdministratorPassword,  // no prompt with "#" after the administrator password
    kNoPasswordPrompt,       // the device never prompted for the password
    kLinkLost,               // the connection went away before the login ended
  };
  Q_ENUM(Failure)
  enum class State { kIdle, kWaitingForPrompt, kRunning, kSucceeded, kFailed };

  // The exchange must use link as its transport.
  NetworkLogin(TelnetLink& link, CommandExchange& exchange, QObject* parent = nullptr);

  // Arms the login with the two passwords (device encoding); call before or
  // after opening the link. A login that has ended stays ended until Arm is
  // called again.
  void Arm(std::string loginPassword, std::string administratorPassword);

  State CurrentState() const { return state_; }

  // The wait for the first prompt, and for the answer of each later step.
  void SetPromptTimeout(int ms) { promptTimeoutMs_ = ms; }
  void SetStepTimeout(int ms) { stepTimeoutMs_ = ms; }

 signals:
  // One log line, ending "\r\n".
  void Log(const QString& line);
  void Succeeded();
  void Failed(NetworkLogin::Failure failure);

 private:
  void OnConnected();
  void OnPrompt();
  void Run();
  void Fail(Failure failure);

  TelnetLink& link_;
  CommandExchange& exchange_;
  std::string loginPassword_;
  std::string administratorPassword_;
  State state_ = State::kIdle;
  int promptTimeoutMs_ = kPasswordPromptTimeoutMs;
  int stepTimeoutMs_ = kLoginStepTimeoutMs;
  QTimer promptTimer_;
};

}  // namespace setutily
