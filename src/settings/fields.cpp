#include "settings/fields.h"

namespace setutily {

int FetchReply(Session& session, std::string_view command) {
  return session.exchange.SendAndWait(command, &session.replyText, kCommandTimeoutMs,
                                      kTerminatorPrompt);
}

int SendSettingCommand(Session& session, std::string_view command) {
  // Replies to setting commands are short and not examined.
  std::string reply;
  return session.exchange.SendAndWait(command, &reply, kCommandTimeoutMs, kTerminatorPrompt, 256);
}

namespace fields_detail {

std::string ReplaceScope(std::string_view command, std::string_view scope) {
  std::string out;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (command.substr(i, 2) == "{}") {
      out.append(scope);
      ++i;
    } else {
      out.push_back(command[i]);
    }
  }
  return out;
}

}  // namespace fields_detail

}  // namespace setutily
