// The command exchange: send one command and wait, with the user interface
// still running, until the reply's end-marker arrives or the time-out ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/transport.h"

class QEventLoop;
class QTimer;

namespace setutily {

// End-marker kinds of a reply.
enum ReplyTerminator : int {
  kTerminatorOk = 0,          // "\r\nOK\r\n": AT commands, the bare "\r", "exit\r"
  kTerminatorSpacedWrite = 1, // " Write OK "
  kTerminatorReady = 2,       // "READY:\r\n"
  kTerminatorFlashRom = 3,    // "F-ROM>"
  kTerminatorErase = 4,       // " Erase OK "
  kTerminatorPrompt = 5,      // "\r\n# ": every command-line command
  kTerminatorWriteOk = 6,     // "Write OK": "fromwr 15\r"
  kTerminatorF0 = 7,          // "F0>"
};

// The end-marker text of a terminator type, or empty for a type without one
// (any type outside 0-7): such an exchange always ends at its time-out.
std::string_view TerminatorText(int type);

// The accumulator and the main reply buffer hold this many bytes, the last
// of which is always the terminating zero.
inline constexpr std::size_t kReplyCapacity = 2048;

// Default time-out and type of a command-line command.
inline constexpr int kCommandTimeoutMs = 10000;

class CommandExchange : public QObject {
  Q_OBJECT

 public:
  explicit CommandExchange(QObject* parent = nullptr);
  ~CommandExchange() override;

  // The transport that carries the exchanges; may be replaced or cleared
  // (nullptr) between exchanges. The exchange does not own it.
  void SetTransport(ByteTransport* transport);
  ByteTransport* Transport() const { return transport_; }

  // Sends command and waits for the end-marker of terminatorType or the
  // time-out. Returns 1 when the end-marker arrived in time, 0 otherwise.
  // The reply (bytes up to a zero byte, at most replyCapacity - 1 of them)
  // is stored in *reply when reply is not null, also after a time-out.
  // Fails at once with 0 (reply left empty) when no transport is open, when
  // another exchange is waiting, when the transport accepts no bytes, or when
  // the command holds a control byte other than its closing carriage return
  // or a tab, so a stray carriage return can never split one command in two.
  int SendAndWait(std::string_view command, std::string* reply, int timeoutMs,
                  int terminatorType, std::size_t replyCapacity = kReplyCapacity);

  // Same, completing when any of markers occurs (letter case ignored).
  // An empty list waits for the whole time-out and returns 0.
  int SendAndWaitForAny(std::string_view command, std::string* reply, int timeoutMs,
                        const std::vector<std::string>& markers,
                        std::size_t replyCapacity = kReplyCapacity);

  // One received byte: appended to the accumulator (bytes beyond its
  // capacity are dropped). Once the first exchange has started, the visible
  // text is searched for the current end-marker. Bytes are normally fed by
  // the transport's BytesReceived signal.
  void ReceiveByte(unsigned char byte);
  void ReceiveBytes(const QByteArray& bytes);

  // True while an exchange waits.
  bool IsBusy() const { return waiting_; }

  // While held, every new exchange fails at once without sending anything:
  // a run being stopped lets the exchange in progress finish and starts no
  // other.
  void Hold(bool held) { held_ = held; }
  bool Held() const { return held_; }

  // The accumulated reply so far (up to the first zero byte).
  std::string_view Accumulated() const;

  // Discards what has accumulated.
  void ClearAccumulator();

 signals:
  // Emitted when an exchange starts waiting and when it has ended, so that
  // windows can refuse other commands meanwhile.
  void BusyChanged(bool busy);

 private:
  int Run(std::string_view command, std::string* reply, int timeoutMs,
          std::vector<std::string> markers, std::size_t replyCapacity);
  void CheckForMarker(std::size_t searchFrom);

  QPointer<ByteTransport> transport_;
  QMetaObject::Connection receiveConnection_;
  QMetaObject::Connection lostConnection_;
  std::string accumulator_;        // bounded at kReplyCapacity - 1 bytes
  std::size_t visibleLength_ = 0;  // bytes before the first zero byte
  bool zeroSeen_ = false;
  bool watching_ = false;  // on from the first exchange
  bool waiting_ = false;
  bool markerSeen_ = false;
  bool held_ = false;
  std::vector<std::string> markers_;
  QEventLoop* loop_ = nullptr;
};

// Builds a device command from a printf-like template in which "%s" takes
// the next text and "%d" the next number, in order. Texts are in the device's
// encoding. Returns false (and leaves out empty) when a text holds a byte that
// could break the command apart (see IsCommandSafeText).
struct CommandArg {
  CommandArg(std::string_view text) : isText(true), text(text) {}   // NOLINT
  CommandArg(const std::string& text) : isText(true), text(text) {} // NOLINT
  CommandArg(const char* text) : isText(true), text(text) {}        // NOLINT
  CommandArg(long long number) : isText(false), number(number) {}   // NOLINT
  CommandArg(int number) : isText(false), number(number) {}         // NOLINT
  bool isText;
  std::string_view text;
  long long number = 0;
};
bool FormatCommand(std::string_view format, std::initializer_list<CommandArg> args,
                   std::string& out);
// The same with arguments assembled at run time (table-driven writes).
bool FormatCommand(std::string_view format, std::span<const CommandArg> args, std::string& out);

}  // namespace setutily
