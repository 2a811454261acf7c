#include "app/network_open.h"
#include "forms/messages.h"

#include <QEventLoop>
#include <QTimer>

#include "forms/busy_box.h"
#include "app/profile.h"
#include "forms/session.h"
#include "link/exchange.h"
#include "text/encoding.h"

namespace setutily {

namespace {


// Extra time on top of the sum of all waits before the opening is given up
// whatever state it is in; each wait has its own time-out, so this only
// guards against a notification that never comes.
constexpr int kGuardMarginMs = 2000;

enum class Outcome { kWaiting, kLoggedIn, kNoConnection, kLoginFailed };

}  // namespace

quint16 TelnetPortSetting(const ProfileFile& profile, QString* problem) {
  if (problem != nullptr) problem->clear();
  const QString text = profile.ReadString(QStringLiteral("IPADDR"), QStringLiteral("TCPPORT"),
                                          QString::number(kTelnetPort), 32);
  bool digitsOnly = !text.isEmpty() && text.size() <= 5;
  for (const QChar c : text) digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
  const int value = digitsOnly ? text.toInt() : 0;
  if (value >= 1 && value <= 65535) return static_cast<quint16>(value);
  if (problem != nullptr) {
    *problem = QStringLiteral("TCPPORT \"%1\" is not a port number: port %2\r\n")
                   .arg(text)
                   .arg(kTelnetPort);
  }
  return kTelnetPort;
}

QString LoginFailureMessage(NetworkLogin::Failure failure) {
  switch (failure) {
    case NetworkLogin::Failure::kLoginPassword:
      return QStringLiteral("ログインパスワードが受け付けられませんでした。\r\n"
                            "接続ポート設定のログインパスワードを確認してください。");
    case NetworkLogin::Failure::kAdministratorPrompt:
      return QStringLiteral("管理者（administrator）としてのログインが受け付けられませんでした。");
    case NetworkLogin::Failure::kAdministratorPassword:
      return QStringLiteral("管理者パスワードが受け付けられませんでした。\r\n"
                            "接続ポート設定の管理者パスワードを確認してください。");
    case NetworkLogin::Failure::kNoPasswordPrompt:
      return QStringLiteral("MORIVEX-9からパスワードの入力を求められませんでした。");
    case NetworkLogin::Failure::kLinkLost:
      return QStringLiteral("ログイン中にMORIVEX-9との接続が切れました。");
  }
  return QString::fromUtf16(kNotConnectedText);
}

NetworkOpenResult OpenTelnetConnection(const NetworkOpenRequest& request) {
  RunState& state = request.session.state;
  const LinkTiming& timing = request.session.timing;
  QString portProblem;
  const quint16 port =
      request.port != 0 ? request.port : TelnetPortSetting(request.profile, &portProblem);
  if (!portProblem.isEmpty()) request.appendLog(portProblem);

  // Declared first so that it goes last: the login and its exchange hold on
  // to it until they are gone.
  auto link = std::make_unique<TelnetLink>();
  link->SetConnectTimeout(timing.connectMs);
  // The login runs its exchanges on an exchange of its own; the main
  // window's exchange takes the link over once it is logged in.
  CommandExchange exchange;
  exchange.SetTransport(link.get());
  NetworkLogin login(*link, exchange);
  login.SetPromptTimeout(timing.passwordPromptMs);
  login.SetStepTimeout(timing.loginStepMs);

  Outcome outcome = Outcome::kWaiting;
  NetworkLogin::Failure failure = NetworkLogin::Failure::kLinkLost;
  QEventLoop loop;
  auto finish = [&](Outcome reached) {
    if (outcome != Outcome::kWaiting) return;
    outcome = reached;
    loop.quit();
  };
  QObject::connect(&login, &NetworkLogin::Log, &loop,
                   [&request](const QString& line) { request.appendLog(line); });
  QObject::connect(&login, &NetworkLogin::Succeeded, &loop,
                   [&] { finish(Outcome::kLoggedIn); });
  QObject::connect(&login, &NetworkLogin::Failed, &loop, [&](NetworkLogin::Failure why) {
    failure = why;
    finish(Outcome::kLoginFailed);
  });
  QObject::connect(link.get(), &TelnetLink::ConnectFailed, &loop,
                   [&] { finish(Outcome::kNoConnection); });

  login.Arm(Utf8ToDevice(request.settings.loginPassword.toStdString()),
            Utf8ToDevice(request.settings.adminPassword.toStdString()));
  if ((request.hostNames ? link->OpenNetworkHost(request.settings.address, port)
                         : link->OpenNetworkLink(request.settings.address, port)) != 1) {
    return {nullptr, QString::fromUtf16(kNotConnectedText)};
  }
  request.appendLog(QStringLiteral("socket open\r\n"));
  state.connectionState = ConnectionState::kLinkOpen;

  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &loop, [&] { finish(Outcome::kNoConnection); });
  guard.start(timing.connectMs + timing.passwordPromptMs + 3 * timing.loginStepMs +
              kGuardMarginMs);
  if (request.window != nullptr) {
    BusyBox box(request.window, QString::fromUtf16(kIdentifyingText));
    box.ShowCentred();
    if (outcome == Outcome::kWaiting) loop.exec();
  } else if (outcome == Outcome::kWaiting) {
    loop.exec();  // without a window (the command line)
  }
  guard.stop();

  NetworkOpenResult result;
  switch (outcome) {
    case Outcome::kLoggedIn:
      if (link->IsOpen()) {
        exchange.SetTransport(nullptr);
        result.transport = std::move(link);
        return result;
      }
      result.failureMessage = LoginFailureMessage(NetworkLogin::Failure::kLinkLost);
      break;
    case Outcome::kLoginFailed:
      result.failureMessage = LoginFailureMessage(failure);
      result.loginRefused = failure == NetworkLogin::Failure::kLoginPassword ||
                            failure == NetworkLogin::Failure::kAdministratorPrompt ||
                            failure == NetworkLogin::Failure::kAdministratorPassword;
      break;
    case Outcome::kWaiting:
    case Outcome::kNoConnection:
      result.failureMessage = QString::fromUtf16(kNotConnectedText);
      break;
  }
  // No link: the connection (if any) is reset when the link goes.
  state.connectionState = ConnectionState::kNone;
  return result;
}

NetworkOpener TelnetOpener() { return &OpenTelnetConnection; }

}  // namespace setutily
