// The network transport: a telnet connection to the device over TCP, on the
// user-interface thread. Received bytes pass a telnet parser: option
// requests are answered, subnegotiations and other commands are dropped, and
// only the device's text reaches BytesReceived. Once the login has completed
// (see NetworkLogin), the command exchange runs over it exactly as over the
// serial line.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "link/transport.h"

namespace setutily {

class CommandExchange;

// Telnet command bytes.
namespace telnet {
inline constexpr unsigned char kSe = 240;    // end of subnegotiation
inline constexpr unsigned char kNop = 241;
inline constexpr unsigned char kGa = 249;    // go ahead
inline constexpr unsigned char kSb = 250;    // start of subnegotiation
inline constexpr unsigned char kWill = 251;
inline constexpr unsigned char kWont = 252;
inline constexpr unsigned char kDo = 253;
inline constexpr unsigned char kDont = 254;
inline constexpr unsigned char kIac = 255;   // interpret as command

inline constexpr unsigned char kOptEcho = 1;
inline constexpr unsigned char kOptSuppressGoAhead = 3;
inline constexpr unsigned char kOptStatus = 5;
inline constexpr unsigned char kOptTerminalType = 24;
inline constexpr unsigned char kOptWindowSize = 31;
inline constexpr unsigned char kOptTerminalSpeed = 32;
inline constexpr unsigned char kOptRemoteFlowControl = 33;
inline constexpr unsigned char kOptLinemode = 34;
inline constexpr unsigned char kOptNewEnvironment = 39;
}  // namespace telnet

// What one received byte meant (ReceiveNetworkByte).
enum NetByteCode : int {
  kNetTaken = 1,           // part of a telnet command, line padding, or text after the login
  kNetOptionAnswered = 2,  // an option request was complete and has been dealt with
  kNetPasswordPrompt = 3,  // text; "Password: " has arrived since the last send
  kNetText = 4,            // text, nothing to report
};

// Socket notifications handled by OnSocketEvent.
enum class SocketEvent { kConnected, kReadable, kError, kClosed };

// Default TCP port of the device's telnet service.
inline constexpr quint16 kTelnetPort = 23;
// How long a connection attempt may take before it counts as failed.
inline constexpr int kConnectTimeoutMs = 10000;

// Network end-marker types of NetSendAndWait: 0 ">", 1 "Password:", 2 "#",
// 3 ">" or "#"; any other type has none and always ends at its time-out.
std::vector<std::string> NetworkEndMarkers(int type);

// True when text holds "Password: " (capital P, colon, one blank) anywhere;
// letter case matters.
bool HasPasswordPrompt(std::string_view text);

// True for a dotted IPv4 address: four decimal numbers 0-255 of one to three
// digits separated by dots, nothing else.
bool ParseDottedIpv4(std::string_view text, quint32* address);

class TelnetLink : public ByteTransport {
  Q_OBJECT

 public:
  explicit TelnetLink(QObject* parent = nullptr);
  ~TelnetLink() override;

  // Starts connecting to address:port. Returns 1 when the attempt has
  // started (Connected or ConnectFailed follows), 0 at once when the address
  // is not a dotted IPv4 address or the port is 0.
  int OpenNetworkLink(const QString& address, quint16 port = kTelnetPort);
  // The same for a host given by name (looked up within the connect time),
  // as a dotted IPv4 or as an IPv6 address; 0 at once when host is empty or
  // the port is 0.
  int OpenNetworkHost(const QString& host, quint16 port = kTelnetPort);

  // Resets the connection at once (abortive close, no lingering). Returns 1.
  int CloseNetworkLink();

  // Open for exchanges: the connection is established.
  bool IsOpen() const override;

  // Sends one command for the exchange: a data byte 255 is doubled and the
  // closing carriage return goes out as CR NUL (or CR LF for a login line,
  // see NetSendAndWait). Returns bytes.size(), or 0 when nothing was sent.
  qint64 Send(const QByteArray& bytes) override;

  // Writes raw bytes to the connection and forgets the text received so far
  // (for the password prompt search). Returns the count written, 0 when not
  // connected, -1 when the socket refused them.
  qint64 SendNetwork(const QByteArray& bytes);

  // One socket notification. Codes: 0 error or unhandled, 1 connected,
  // 2 an option request was answered, 3 the password prompt is present
  // (login not done), 4 nothing to report.
  int OnSocketEvent(SocketEvent event);

  // The receive path of one byte (see NetByteCode). Text bytes are handed
  // on through BytesReceived.
  int ReceiveNetworkByte(unsigned char byte);
  // The same for a run of bytes, handing the text on in one piece; returns
  // the code that matters most (3, then 2, then 4, then 1), 1 when empty.
  int ReceiveNetworkBytes(const QByteArray& bytes);

  // Once set, text no longer reports the password prompt.
  void SetLoginDone(bool done) { loginDone_ = done; }
  bool LoginDone() const { return loginDone_; }

  // One login exchange over exchange (which must use this link): sends line
  // (a line ending "\r\n" goes out with its CR LF as given, one ending "\r"
  // as CR NUL) and waits for the network end-marker of type. 1 when it
  // arrived in time, 0 otherwise or when nothing could be sent.
  int NetSendAndWait(CommandExchange& exchange, std::string_view line, std::string* reply,
                     int timeoutMs, int type);

  // For tests: a shorter connect time-out.
  void SetConnectTimeout(int ms) { connectTimeoutMs_ = ms; }

  // Why the last connection attempt failed or the link went away.
  QString LastError() const { return lastError_; }

 signals:
  void Connected();
  // The connection could not be made (refused, unreachable, timed out).
  void ConnectFailed(const QString& reason);
  // One option request was dealt with (answered or left alone on purpose).
  void OptionAnswered();
  // "Password: " arrived while the login was not done.
  void PasswordPromptSeen();

 private:
  enum class ParseState { kData, kIac, kOption, kSub, kSubIac };

  // Starts connecting to address, or to name when it is not empty.
  int StartConnect(const QHostAddress& address, const QString& name, quint16 port);
  int TakeIacCommand(unsigned char byte);
  int TakeText(unsigned char byte);
  void AnswerOption(unsigned char command, unsigned char option);
  void FlushText();
  void ResetProtocol();
  void OnConnectTimeout();

  QTcpSocket socket_;
  QTimer connectTimer_;
  int connectTimeoutMs_ = kConnectTimeoutMs;
  bool connected_ = false;
  bool closing_ = false;
  bool loginDone_ = false;
  bool crLfNext_ = false;  // the next Send closes its line with CR LF
  QString lastError_;

  // Receive side.
  ParseState state_ = ParseState::kData;
  unsigned char command_ = 0;  // WILL/WONT/DO/DONT awaiting its option byte
  bool lastWasCr_ = false;
  bool batching_ = false;
  QByteArray text_;            // text of the current read, not yet handed on
  std::string tail_;           // the last bytes received since the last send
  bool promptSeen_ = false;    // "Password: " arrived since the last send
  bool optionAnswered_ = false;

  // The last answer sent for each option, per side, so that an answer is
  // never repeated: a request that merely acknowledges ours gets nothing,
  // and two ends can never keep answering each other.
  std::array<unsigned char, 256> lastRemoteAnswer_{};  // DO / DONT / 0
  std::array<unsigned char, 256> lastLocalAnswer_{};   // WILL / WONT / 0
};

}  // namespace setutily
