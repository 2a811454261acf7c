#include "settings/context.h"

namespace setutily {

int FetchReply(DeviceContext& context, std::string_view command) {
  return context.exchange.SendAndWait(command, &context.replyText, context.timing.commandMs,
                                      kTerminatorPrompt);
}

int SendSettingCommand(DeviceContext& context, std::string_view command) {
  // Replies to setting commands are short and not examined.
  std::string reply;
  return context.exchange.SendAndWait(command, &reply, context.timing.commandMs,
                                      kTerminatorPrompt, 256);
}

}  // namespace setutily
