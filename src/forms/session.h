// The run as the forms see it: the device context of the core, plus the
// services a form uses to talk to the user (messages and help).
#pragma once

#include "settings/context.h"

namespace setutily {

class Messages;
class HelpViewer;

struct Session : DeviceContext {
  Session(CommandExchange& exchange, Messages& messages, HelpViewer& help)
      : DeviceContext(exchange), messages(messages), help(help) {}

  Messages& messages;
  HelpViewer& help;
};

}  // namespace setutily
