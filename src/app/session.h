// The state of one run of the utility, passed explicitly to everything that
// needs it (there are no process-wide globals): the link to the device, the
// words that steer the exit sequence, and the services the forms use.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "link/exchange.h"

namespace setutily {

class Messages;
class HelpViewer;

struct RunState {
  int pendingChangeCount = 0;          // confirmed forms; non-zero: store to flash at exit
  bool rebootOnClose = false;          // the device restarts: no "exit\r" at exit
  bool countersClearRequested = false; // the next connection-limit write clears the counters
  int connectionState = 0;             // 0 not connected, 1 link open / identified, 2 logged in
  bool networkMode = false;            // the link is the telnet connection
};

struct Session {
  Session(CommandExchange& exchange, Messages& messages, HelpViewer& help)
      : exchange(exchange), messages(messages), help(help) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  CommandExchange& exchange;
  Messages& messages;
  HelpViewer& help;
  RunState state;
  std::string replyText;  // the reply buffer of reads and maintenance commands
  // Appends a line (ending "\r\n") to the main window's log pane; set by the
  // main window. Menus log the outcome of their writes through it.
  std::function<void(const QString&)> appendLog;
};

}  // namespace setutily
