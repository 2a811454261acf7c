#include "link/exchange.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "text/checks.h"
#include "text/scan.h"

namespace setutily {

std::string_view TerminatorText(int type) {
  switch (type) {
    case kTerminatorOk: return "\r\nOK\r\n";
    case kTerminatorSpacedWrite: return " Write OK ";
    case kTerminatorReady: return "READY:\r\n";
    case kTerminatorFlashRom: return "F-ROM>";
    case kTerminatorErase: return " Erase OK ";
    case kTerminatorPrompt: return "\r\n# ";
    case kTerminatorWriteOk: return "Write OK";
    case kTerminatorF0: return "F0>";
    default: return {};
  }
}

CommandExchange::CommandExchange(QObject* parent) : QObject(parent) {
  accumulator_.reserve(kReplyCapacity);
}

CommandExchange::~CommandExchange() {
  if (loop_ != nullptr) loop_->exit(1);
}

void CommandExchange::SetTransport(ByteTransport* transport) {
  disconnect(receiveConnection_);
  disconnect(lostConnection_);
  transport_ = transport;
  if (transport != nullptr) {
    receiveConnection_ = connect(transport, &ByteTransport::BytesReceived, this,
                                 &CommandExchange::ReceiveBytes);
    lostConnection_ = connect(transport, &ByteTransport::LinkLost, this, [this] {
      if (loop_ != nullptr) loop_->exit(1);
    });
  }
}

std::string_view CommandExchange::Accumulated() const {
  return std::string_view(accumulator_).substr(0, visibleLength_);
}

void CommandExchange::ClearAccumulator() {
  accumulator_.clear();
  visibleLength_ = 0;
  zeroSeen_ = false;
}

void CommandExchange::ReceiveByte(unsigned char byte) {
  const std::size_t before = visibleLength_;
  if (accumulator_.size() >= kReplyCapacity - 1) return;  // full: drop
  accumulator_.push_back(static_cast<char>(byte));
  if (zeroSeen_) return;
  if (byte == 0) {
    zeroSeen_ = true;
    return;
  }
  visibleLength_ = accumulator_.size();
  if (watching_ && waiting_ && !markerSeen_) CheckForMarker(before);
}

void CommandExchange::ReceiveBytes(const QByteArray& bytes) {
  const std::size_t before = visibleLength_;
  const std::size_t room = kReplyCapacity - 1 - std::min(accumulator_.size(), kReplyCapacity - 1);
  const std::string_view taken(bytes.constData(),
                               std::min(static_cast<std::size_t>(bytes.size()), room));
  if (!zeroSeen_) {
    // The text ends at the first zero byte; later bytes are kept unseen.
    const std::size_t zero = taken.find('\0');
    zeroSeen_ = zero != std::string_view::npos;
    visibleLength_ = accumulator_.size() + std::min(zero, taken.size());
  }
  accumulator_.append(taken);
  if (watching_ && waiting_ && !markerSeen_ && visibleLength_ != before) CheckForMarker(before);
}

void CommandExchange::CheckForMarker(std::size_t previousVisible) {
  // Earlier positions were searched when their bytes arrived, so only a
  // marker that ends in the new bytes can be new: start the search early
  // enough for the longest marker to straddle the old end.
  std::size_t longest = 0;
  for (const auto& m : markers_) longest = std::max(longest, m.size());
  const std::size_t from = previousVisible >= longest ? previousVisible - longest + 1 : 0;
  const std::string_view window = Accumulated().substr(from);
  for (const auto& marker : markers_) {
    if (FindText(window, marker, 0) != 0) {
      markerSeen_ = true;
      if (loop_ != nullptr) loop_->exit(0);
      return;
    }
  }
}

namespace {

// A command may end in one carriage return and may hold tabs; any other
// control byte would change what the device sees as the command.
bool IsWellFormedCommand(std::string_view command) {
  if (command.empty()) return false;
  std::string_view body = command;
  if (body.back() == '\r') body.remove_suffix(1);
  for (const char c : body) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7f) return false;
  }
  return true;
}

}  // namespace

int CommandExchange::SendAndWait(std::string_view command, std::string* reply, int timeoutMs,
                                 int terminatorType, std::size_t replyCapacity) {
  std::vector<std::string> markers;
  const std::string_view marker = TerminatorText(terminatorType);
  if (!marker.empty()) markers.emplace_back(marker);
  return Run(command, reply, timeoutMs, std::move(markers), replyCapacity);
}

int CommandExchange::SendAndWaitForAny(std::string_view command, std::string* reply,
                                       int timeoutMs, const std::vector<std::string>& markers,
                                       std::size_t replyCapacity) {
  return Run(command, reply, timeoutMs, markers, replyCapacity);
}

int CommandExchange::Run(std::string_view command, std::string* reply, int timeoutMs,
                         std::vector<std::string> markers, std::size_t replyCapacity) {
  if (reply != nullptr) reply->clear();
  if (waiting_ || held_) return 0;
  if (transport_ == nullptr || !transport_->IsOpen()) return 0;
  if (!IsWellFormedCommand(command)) return 0;

  markers_ = std::move(markers);
  markerSeen_ = false;
  watching_ = true;
  ClearAccumulator();
  const QByteArray bytes(command.data(), static_cast<qsizetype>(command.size()));
  if (transport_->Send(bytes) <= 0) return 0;

  QPointer<CommandExchange> self(this);
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
  waiting_ = true;
  emit BusyChanged(true);
  // Bytes may already have arrived while sending (an in-process device).
  if (!markers_.empty()) CheckForMarker(0);
  if (!markerSeen_) {
    loop_ = &loop;
    timer.start(std::max(timeoutMs, 0));
    loop.exec();
    if (!self) return 0;  // the exchange was destroyed while waiting
    loop_ = nullptr;
    timer.stop();
  }
  waiting_ = false;
  if (reply != nullptr && replyCapacity > 0) {
    const std::string_view text = Accumulated();
    reply->assign(text.substr(0, std::min(text.size(), replyCapacity - 1)));
  }
  const int result = markerSeen_ ? 1 : 0;
  emit BusyChanged(false);
  return result;
}

bool FormatCommand(std::string_view format, std::initializer_list<CommandArg> args,
                   std::string& out) {
  return FormatCommand(format, std::span<const CommandArg>(args.begin(), args.size()), out);
}

bool FormatCommand(std::string_view format, std::span<const CommandArg> args, std::string& out) {
  out.clear();
  std::string result;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() &&
        (format[i + 1] == 's' || format[i + 1] == 'd')) {
      if (next == args.end()) return false;
      const CommandArg& arg = *next++;
      if (format[i + 1] == 's') {
        if (!arg.isText || !IsCommandSafeText(arg.text)) return false;
        result.append(arg.text);
      } else {
        if (arg.isText) return false;
        result.append(std::to_string(arg.number));
      }
      ++i;
    } else {
      result.push_back(format[i]);
    }
  }
  if (next != args.end()) return false;
  out = std::move(result);
  return true;
}

}  // namespace setutily
