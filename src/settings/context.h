// What a category's read and write need from the run: the command exchange,
// the reply buffer, the waits, the words that steer the exit sequence, the
// records of every category, and the run's log. Plain QtCore: the forms and
// the shell build on it, never the other way round.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "link/exchange.h"
#include "link/timing.h"
#include "settings/store.h"

namespace setutily {

enum class ConnectionState {
  kNone,      // no link
  kLinkOpen,  // serial link open and device identified, or telnet connected
  kLoggedIn,  // telnet login done
};

struct RunState {
  int pendingChangeCount = 0;           // confirmed forms; non-zero: store to flash at exit
  bool rebootOnClose = false;           // the device restarts: no "exit\r" at exit
  bool countersClearRequested = false;  // the next connection-limit write clears the counters
  ConnectionState connectionState = ConnectionState::kNone;
  bool networkMode = false;             // the link is the telnet connection
};

// Why the last read of a settings page failed.
struct ReadFailure {
  enum class Kind {
    kNone,
    kNoAnswer,  // the reply did not arrive whole
    kRefused,   // the device answered with its error line (no such command)
    kNotAPage,  // the reply holds none of the page's labels
  };
  Kind kind = Kind::kNone;
  std::string command;  // the show command, without its carriage return
};

// What went wrong and what to check, in Japanese (UTF-8), for the user.
std::string ReadFailureText(const ReadFailure& failure);

// Whether reply holds the line the device answers a command it refuses
// with ("% Error: ..."), at the start of a line.
bool HoldsErrorLine(std::string_view reply);

struct DeviceContext {
  explicit DeviceContext(CommandExchange& exchange) : exchange(exchange) {}
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // One line (ending "\r\n") for the run's log; nothing when no log is set.
  void Log(const QString& line) const {
    if (appendLog) appendLog(line);
  }

  CommandExchange& exchange;
  LinkTiming timing;
  RunState state;
  std::string replyText;  // the reply buffer of reads and maintenance commands
  DeviceSettings records;  // every category's baseline and working copy
  ReadFailure readFailure;  // set by the read that failed last
  std::function<void(const QString&)> appendLog;
};

// Sends a show command and leaves its reply in context.replyText; 1 when the
// reply arrived complete, 0 otherwise (context.readFailure says so).
int FetchReply(DeviceContext& context, std::string_view command);

// One setting command (its reply is short and not examined); 1 or 0.
int SendSettingCommand(DeviceContext& context, std::string_view command);

}  // namespace setutily
