#include "settings/read_back.h"

#include "text/scan.h"

namespace setutily {

namespace {

// The numbers of a dotted address (and its "/prefix" as a fifth), or false.
bool AddressNumbers(std::string_view text, std::vector<long long>& numbers) {
  numbers.clear();
  const std::size_t slash = text.find('/');
  std::string_view prefix;
  if (slash != std::string_view::npos) {
    prefix = text.substr(slash + 1);
    text = text.substr(0, slash);
  }
  for (;;) {
    const std::size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) return false;
    numbers.push_back(ParseLeadingNumber(part, 0, 1'000'000));
    if (dot == std::string_view::npos) break;
    text.remove_prefix(dot + 1);
  }
  if (slash != std::string_view::npos) {
    if (prefix.empty() || prefix.find_first_not_of("0123456789") != std::string_view::npos) {
      return false;
    }
    numbers.push_back(-ParseLeadingNumber(prefix, 0, 1'000'000) - 1);  // apart from the parts
  }
  return numbers.size() >= 4;
}

bool SameAddress(std::string_view a, std::string_view b) {
  std::vector<long long> first, second;
  return AddressNumbers(a, first) && AddressNumbers(b, second) && first == second;
}

}  // namespace

bool SameAsRead(std::string_view sent, std::string_view read, TextRule rule,
                std::string_view blank, bool sentBlank, std::size_t cut) {
  if (sent.empty() && sentBlank) sent = blank;
  sent = sent.substr(0, cut);
  if (sent == read || TrimSpace(sent) == read) return true;
  // The blank stands for an empty text, either way round.
  if (!blank.empty() && ((sent.empty() && read == blank) || (sent == blank && read.empty()))) {
    return true;
  }
  const bool address = rule == TextRule::kAddress || rule == TextRule::kPrefixedAddress ||
                       (rule == TextRule::kNumeric && AddressText(sent));
  return address && SameAddress(sent, read);
}

}  // namespace setutily
