#include "settings/context.h"

namespace setutily {

namespace {

constexpr std::string_view kErrorLine = "% Error";

std::string WithoutReturn(std::string_view command) {
  if (!command.empty() && command.back() == '\r') command.remove_suffix(1);
  return std::string(command);
}

}  // namespace

std::string ReadFailureText(const ReadFailure& failure) {
  const std::string command = "「" + failure.command + "」";
  switch (failure.kind) {
    case ReadFailure::Kind::kNone:
      break;
    case ReadFailure::Kind::kNoAnswer:
      return command + "に応答がありません。MORIVEX-9の電源とケーブル（ネットワーク）を確認してください。";
    case ReadFailure::Kind::kRefused:
      return "MORIVEX-9が" + command +
             "を受け付けませんでした。このファームウェアでは使えない機能です。"
             "ファームウェアの版を確認してください。";
    case ReadFailure::Kind::kNotAPage:
      return command + "の応答が設定の表示ではありません。MORIVEX-9の状態を確認してください。";
  }
  return {};
}

bool HoldsErrorLine(std::string_view reply) {
  for (std::size_t at = reply.find(kErrorLine); at != std::string_view::npos;
       at = reply.find(kErrorLine, at + 1)) {
    if (at == 0 || reply[at - 1] == '\n') return true;
  }
  return false;
}

int FetchReply(DeviceContext& context, std::string_view command) {
  if (context.exchange.SendAndWait(command, &context.replyText, context.timing.commandMs,
                                   kTerminatorPrompt) != 0) {
    return 1;
  }
  context.readFailure = {ReadFailure::Kind::kNoAnswer, WithoutReturn(command)};
  return 0;
}

int SendSettingCommand(DeviceContext& context, std::string_view command) {
  // Replies to setting commands are short and not examined.
  std::string reply;
  return context.exchange.SendAndWait(command, &reply, context.timing.commandMs,
                                      kTerminatorPrompt, 256);
}

}  // namespace setutily
