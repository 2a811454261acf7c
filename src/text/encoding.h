// Conversion between the user interface's text (UTF-8) and the device's
// byte encoding, Shift-JIS (code page 932). ASCII passes unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setutily {

// Characters that have no Shift-JIS form become "?".
std::string Utf8ToDevice(std::string_view utf8);

// The Shift-JIS form of utf8, or nullopt when a character has none (or the
// text is not valid UTF-8): for texts that must reach the device as typed.
std::optional<std::string> Utf8ToDeviceExact(std::string_view utf8);

// Byte sequences that are not valid Shift-JIS become U+FFFD.
std::string DeviceToUtf8(std::string_view device);

}  // namespace setutily
