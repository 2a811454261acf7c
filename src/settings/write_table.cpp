#include "settings/write_table.h"

#include "text/checks.h"

namespace setutily {

bool PhoneText(std::string_view text) { return CheckPhoneNumber(text) == 0; }
bool AddressText(std::string_view text) { return CheckIpAddress(text, 0) == 0; }
bool PrefixedAddressText(std::string_view text) { return CheckIpAddress(text, 1) == 0; }

}  // namespace setutily

namespace setutily::write_detail {

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

bool Format(std::string_view format, std::span<const CommandArg> args, std::string_view scope,
            std::string& command) {
  return FormatCommand(ReplaceScope(format, scope), args, command);
}

}  // namespace setutily::write_detail
