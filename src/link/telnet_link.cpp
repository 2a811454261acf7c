#include "link/telnet_link.h"

#include <sys/socket.h>

#include <QHostAddress>

#include "link/exchange.h"

namespace setutily {

namespace {

using namespace telnet;

constexpr std::string_view kPasswordPrompt = "Password: ";

// The answers the device's telnet service is known to expect. Requests not
// listed here are refused (see AnswerOption).
struct OptionAnswer {
  unsigned char received;
  unsigned char option;
  unsigned char answer;
};
constexpr OptionAnswer kOptionAnswers[] = {
    {kWill, kOptEcho, kDo},
    {kWill, kOptSuppressGoAhead, kDo},
    {kWill, kOptStatus, kDont},
    {kWont, kOptLinemode, kDont},
    {kDo, kOptEcho, kWill},
    {kDo, kOptWindowSize, kWont},
    {kDo, kOptRemoteFlowControl, kWont},
    {kDont, kOptEcho, kWont},
};

}  // namespace

std::vector<std::string> NetworkEndMarkers(int type) {
  switch (type) {
    case 0: return {">"};
    case 1: return {"Password:"};
    case 2: return {"#"};
    case 3: return {">", "#"};
    default: return {};
  }
}

bool HasPasswordPrompt(std::string_view text) {
  return text.find(kPasswordPrompt) != std::string_view::npos;
}

bool ParseDottedIpv4(std::string_view text, quint32* address) {
  quint32 result = 0;
  int parts = 0;
  std::size_t i = 0;
  while (parts < 4) {
    std::size_t digits = 0;
    unsigned value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    result = (result << 8) | value;
    ++parts;
    if (parts < 4) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
  }
  if (i != text.size()) return false;
  if (address != nullptr) *address = result;
  return true;
}

TelnetLink::TelnetLink(QObject* parent) : ByteTransport(parent) {
  connectTimer_.setSingleShot(true);
  connect(&connectTimer_, &QTimer::timeout, this, &TelnetLink::OnConnectTimeout);
  connect(&socket_, &QTcpSocket::connected, this, [this] { OnSocketEvent(SocketEvent::kConnected); });
  connect(&socket_, &QTcpSocket::readyRead, this, [this] { OnSocketEvent(SocketEvent::kReadable); });
  connect(&socket_, &QTcpSocket::errorOccurred, this, [this] { OnSocketEvent(SocketEvent::kError); });
  connect(&socket_, &QTcpSocket::disconnected, this, [this] { OnSocketEvent(SocketEvent::kClosed); });
}

TelnetLink::~TelnetLink() {
  // The socket is destroyed after this body and may still notify; nothing
  // of this object may run by then.
  QObject::disconnect(&socket_, nullptr, this, nullptr);
  CloseNetworkLink();
}

int TelnetLink::OpenNetworkLink(const QString& address, quint16 port) {
  quint32 ip = 0;
  if (!ParseDottedIpv4(address.trimmed().toStdString(), &ip)) {
    if (socket_.state() != QAbstractSocket::UnconnectedState || connected_) CloseNetworkLink();
    lastError_ = QStringLiteral("\"%1\" is not a dotted IPv4 address").arg(address);
    return 0;
  }
  return StartConnect(QHostAddress(ip), QString(), port);
}

int TelnetLink::OpenNetworkHost(const QString& host, quint16 port) {
  const QString name = host.trimmed();
  quint32 ip = 0;
  if (ParseDottedIpv4(name.toStdString(), &ip)) return StartConnect(QHostAddress(ip), {}, port);
  const QHostAddress literal(name);
  if (!literal.isNull()) return StartConnect(literal, {}, port);
  if (name.isEmpty()) {
    if (socket_.state() != QAbstractSocket::UnconnectedState || connected_) CloseNetworkLink();
    lastError_ = QStringLiteral("no host given");
    return 0;
  }
  return StartConnect(QHostAddress(), name, port);
}

int TelnetLink::StartConnect(const QHostAddress& address, const QString& name, quint16 port) {
  if (socket_.state() != QAbstractSocket::UnconnectedState || connected_) CloseNetworkLink();
  lastError_.clear();
  if (port == 0) {
    lastError_ = QStringLiteral("port 0");
    return 0;
  }
  ResetProtocol();
  connected_ = false;
  closing_ = false;
  loginDone_ = false;
  // A name is looked up by the socket; the connect time-out covers the look-up.
  if (name.isEmpty()) {
    socket_.connectToHost(address, port);
  } else {
    socket_.connectToHost(name, port);
  }
  connectTimer_.start(connectTimeoutMs_);
  return 1;
}

int TelnetLink::CloseNetworkLink() {
  closing_ = true;
  connectTimer_.stop();
  if (socket_.socketDescriptor() >= 0) {
    // Reset the connection instead of lingering over unsent data.
    const linger noLinger{1, 0};
    setsockopt(static_cast<int>(socket_.socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
               sizeof noLinger);
  }
  socket_.abort();
  connected_ = false;
  loginDone_ = false;
  ResetProtocol();
  return 1;
}

bool TelnetLink::IsOpen() const {
  return connected_ && socket_.state() == QAbstractSocket::ConnectedState;
}

void TelnetLink::ResetProtocol() {
  state_ = ParseState::kData;
  command_ = 0;
  lastWasCr_ = false;
  text_.clear();
  tail_.clear();
  promptSeen_ = false;
  crLfNext_ = false;
  lastRemoteAnswer_.fill(0);
  lastLocalAnswer_.fill(0);
}

qint64 TelnetLink::Send(const QByteArray& bytes) {
  const bool crLf = crLfNext_;
  crLfNext_ = false;
  if (!IsOpen() || bytes.isEmpty()) return 0;
  const bool closingCr = bytes.endsWith('\r');
  const QByteArrayView body(bytes.constData(), bytes.size() - (closingCr ? 1 : 0));
  QByteArray framed;
  framed.reserve(bytes.size() * 2 + 2);
  for (const char c : body) {
    framed.append(c);
    // A carriage return is always followed by NUL or LF on the wire, and a
    // data byte 255 is doubled so that it is not taken as a command.
    if (c == '\r') framed.append('\0');
    if (static_cast<unsigned char>(c) == kIac) framed.append(static_cast<char>(kIac));
  }
  if (closingCr) {
    framed.append('\r');
    framed.append(crLf ? '\n' : '\0');
  }
  const qint64 written = SendNetwork(framed);
  return written == framed.size() ? bytes.size() : 0;
}

qint64 TelnetLink::SendNetwork(const QByteArray& bytes) {
  if (!IsOpen()) return 0;
  tail_.clear();
  promptSeen_ = false;
  const qint64 written = socket_.write(bytes);
  if (written < 0) return -1;
  socket_.flush();
  return written;
}

int TelnetLink::OnSocketEvent(SocketEvent event) {
  switch (event) {
    case SocketEvent::kConnected:
      if (closing_) return 0;
      connectTimer_.stop();
      connected_ = true;
      socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
      emit Connected();
      return 1;
    case SocketEvent::kReadable: {
      if (!connected_) return 0;
      const int code = ReceiveNetworkBytes(socket_.readAll());
      return code == kNetTaken ? kNetText : code;
    }
    case SocketEvent::kError:
      if (closing_) return 0;
      if (!connected_) {
        if (!connectTimer_.isActive()) return 0;  // already reported
        connectTimer_.stop();
        lastError_ = socket_.errorString();
        socket_.abort();
        emit ConnectFailed(lastError_);
        return 0;
      }
      // On an established connection every error means it is gone (a
      // reset connection is reported here and not always as kClosed too).
      lastError_ = socket_.errorString();
      connected_ = false;
      emit LinkLost();
      return 0;
    case SocketEvent::kClosed:
      if (closing_ || !connected_) return 0;
      lastError_ = QStringLiteral("the device closed the connection");
      connected_ = false;
      emit LinkLost();
      return 0;
  }
  return 0;
}

void TelnetLink::OnConnectTimeout() {
  if (connected_ || closing_) return;
  lastError_ = QStringLiteral("no connection within %1 ms").arg(connectTimeoutMs_);
  socket_.abort();
  emit ConnectFailed(lastError_);
}

int TelnetLink::ReceiveNetworkBytes(const QByteArray& bytes) {
  int best = kNetTaken;
  const bool wasBatching = batching_;
  batching_ = true;
  bool prompt = false;
  for (const char c : bytes) {
    const int code = ReceiveNetworkByte(static_cast<unsigned char>(c));
    if (code == kNetPasswordPrompt) {
      prompt = true;
      best = kNetPasswordPrompt;
    } else if (code == kNetOptionAnswered && best != kNetPasswordPrompt) {
      best = kNetOptionAnswered;
    } else if (code == kNetText && best == kNetTaken) {
      best = kNetText;
    }
  }
  batching_ = wasBatching;
  if (!batching_) {
    FlushText();
    if (prompt) emit PasswordPromptSeen();
  }
  return best;
}

int TelnetLink::ReceiveNetworkByte(unsigned char byte) {
  switch (state_) {
    case ParseState::kData:
      if (byte == kIac) {
        state_ = ParseState::kIac;
        return kNetTaken;
      }
      if (byte == '\0' && lastWasCr_) {
        // CR NUL is a bare carriage return: the NUL is padding only.
        lastWasCr_ = false;
        return kNetTaken;
      }
      return TakeText(byte);
    case ParseState::kIac:
      state_ = ParseState::kData;
      if (byte == kIac) return TakeText(byte);
      return TakeIacCommand(byte);
    case ParseState::kOption:
      state_ = ParseState::kData;
      AnswerOption(command_, byte);
      return kNetOptionAnswered;
    case ParseState::kSub:
      if (byte == kIac) state_ = ParseState::kSubIac;
      return kNetTaken;
    case ParseState::kSubIac:
      if (byte == kSe) {
        state_ = ParseState::kData;
      } else if (byte == kIac) {
        state_ = ParseState::kSub;  // a doubled 255 inside the subnegotiation
      } else {
        // A command inside a subnegotiation ends it; the command counts.
        state_ = ParseState::kData;
        return TakeIacCommand(byte);
      }
      return kNetTaken;
  }
  return kNetTaken;
}

int TelnetLink::TakeIacCommand(unsigned char byte) {
  if (byte >= kWill) {  // WILL, WONT, DO, DONT: the option follows
    command_ = byte;
    state_ = ParseState::kOption;
  } else if (byte == kSb) {
    state_ = ParseState::kSub;
  }
  // Any other command (NOP, GA, data mark, a stray SE, ...) is dropped.
  return kNetTaken;
}

int TelnetLink::TakeText(unsigned char byte) {
  lastWasCr_ = byte == '\r';
  text_.append(static_cast<char>(byte));
  tail_.push_back(static_cast<char>(byte));
  if (tail_.size() > kPasswordPrompt.size()) tail_.erase(0, tail_.size() - kPasswordPrompt.size());
  if (tail_ == kPasswordPrompt) promptSeen_ = true;
  if (!batching_) FlushText();
  if (loginDone_) return kNetTaken;
  if (promptSeen_) {
    if (!batching_) emit PasswordPromptSeen();
    return kNetPasswordPrompt;
  }
  return kNetText;
}

void TelnetLink::FlushText() {
  if (text_.isEmpty()) return;
  QByteArray text;
  text.swap(text_);
  emit BytesReceived(text);
}

void TelnetLink::AnswerOption(unsigned char command, unsigned char option) {
  unsigned char answer = 0;
  for (const auto& row : kOptionAnswers) {
    if (row.received == command && row.option == option) answer = row.answer;
  }
  if (answer == 0) {
    // Refuse what we do not know, so that no server waits for an answer;
    // acknowledge a server that switches off an option we had agreed to.
    if (command == kWill) answer = kDont;
    else if (command == kDo) answer = kWont;
    else if (command == kWont && lastRemoteAnswer_[option] == kDo) answer = kDont;
    else if (command == kDont && lastLocalAnswer_[option] == kWill) answer = kWont;
  }
  if (answer != 0) {
    unsigned char& last = (answer == kDo || answer == kDont) ? lastRemoteAnswer_[option]
                                                             : lastLocalAnswer_[option];
    if (last != answer && IsOpen()) {
      last = answer;
      const char bytes[3] = {static_cast<char>(kIac), static_cast<char>(answer),
                             static_cast<char>(option)};
      socket_.write(bytes, 3);
      socket_.flush();
    }
  }
  emit OptionAnswered();
}

int TelnetLink::NetSendAndWait(CommandExchange& exchange, std::string_view line,
                               std::string* reply, int timeoutMs, int type) {
  if (reply != nullptr) reply->clear();
  if (exchange.Transport() != this) return 0;
  std::string_view body = line;
  const bool crLf = body.size() >= 2 && body.substr(body.size() - 2) == "\r\n";
  if (crLf) body.remove_suffix(1);
  crLfNext_ = crLf;
  const int result = exchange.SendAndWaitForAny(body, reply, timeoutMs, NetworkEndMarkers(type));
  crLfNext_ = false;
  return result;
}

}  // namespace setutily
