// Input checks applied to typed text when a form is confirmed.
// Each returns 0 when the text is acceptable and 1 when it is rejected.
#pragma once

#include <string_view>

namespace setutily {

// Mode 0: a dotted IPv4 address (anything from the first "/" on is ignored;
// an empty text is accepted). Mode 1: an address, "/" and a prefix length
// 0-32 (an empty text, or an empty address before "/N", is accepted).
// Only "0123456789./" may appear.
int CheckIpAddress(std::string_view text, int mode);

// Only decimal digits; the value (0 for an empty text) must lie in
// [minimum, maximum]. A digit string too long for any field is rejected.
int CheckNumberRange(std::string_view text, long long minimum, long long maximum);

// Only "0123456789()-#*"; at most 53 characters; at most 32 before the
// first "*" and at most 20 from the "*" on.
int CheckPhoneNumber(std::string_view text);

// True when text holds no byte that could break a device command apart:
// nothing below 0x20 and no DEL.
bool IsCommandSafeText(std::string_view text);

}  // namespace setutily
