#include "settings/write_table.h"

#include "text/checks.h"

namespace setutily {

bool PhoneText(std::string_view text) { return CheckPhoneNumber(text) == 0; }
bool AddressText(std::string_view text) { return CheckIpAddress(text, 0) == 0; }
bool PrefixedAddressText(std::string_view text) { return CheckIpAddress(text, 1) == 0; }

bool TextRuleHolds(TextRule rule, std::string_view text) {
  switch (rule) {
    case TextRule::kPhone:
      return PhoneText(text);
    case TextRule::kAddress:
      return AddressText(text);
    case TextRule::kPrefixedAddress:
      return PrefixedAddressText(text);
    case TextRule::kAny:
    case TextRule::kNumeric:
      break;
  }
  return true;
}

}  // namespace setutily

namespace setutily::write_detail {

std::string ReplaceScope(std::string_view command, std::string_view scope) {
  std::string out;
  out.reserve(command.size() + scope.size());
  for (;;) {
    const std::size_t place = command.find("{}");
    out.append(command.substr(0, place));
    if (place == std::string_view::npos) return out;
    out.append(scope);
    command.remove_prefix(place + 2);
  }
}

bool Format(std::string_view format, std::span<const CommandArg> args, std::string_view scope,
            std::string& command) {
  return FormatCommand(ReplaceScope(format, scope), args, command);
}

}  // namespace setutily::write_detail
