// Value checks and reply-line helpers shared by the router-side categories
// of the simulated device (router, LAN services, WAN connections).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device.h"

namespace morivex9sim {

// A dotted IPv4 address: four decimal fields of one to three digits, each 0-255.
bool IsAddress(std::string_view text);

// An address with a prefix length, "a.b.c.d/n" with n 0-32; on success the
// two parts go to address and prefix.
bool SplitAddressPrefix(std::string_view text, std::string& address, int& prefix);

// A decimal number of at most nine digits (no sign) in [min, max].
std::optional<int> NumberIn(std::string_view text, int min, int max);

// A text of printable ASCII of at most maxLength characters; blanks only
// when allowed.
bool IsPrintable(std::string_view text, std::size_t maxLength, bool blanks);

// A host or domain name: letters, digits, "-", "." and "_", at most maxLength.
bool IsName(std::string_view text, std::size_t maxLength);

// A telephone number as the device keeps it: the characters of IsPhoneText,
// at most 53 in all, 32 before the first "*" and 20 from the "*" on.
bool IsDialNumber(std::string_view text);

// Splits text at every comma.
std::vector<std::string> SplitCommas(std::string_view text);

// One reply line "label value\r\n".
std::string Line(const std::string& label, const std::string& value);

// A setting command whose %s is checked by check and stored unchanged;
// refused with error otherwise.
void AddCheckedText(Device& device, std::string pattern, std::string key,
                    std::function<bool(std::string_view)> check, std::string error);

// "a,b": two addresses stored under two keys (a pair command).
void AddAddressPair(Device& device, std::string pattern, std::string first, std::string second);

// An empty text or an address.
bool IsAddressOrEmpty(std::string_view text);

}  // namespace morivex9sim
