#include "text/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace setutily {

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Converts with iconv; an unconvertible or invalid input sequence is
// replaced and skipped (one byte of input at a time), so the result is
// always complete and bounded. When exact is given, such a sequence sets it
// to false instead.
std::string Convert(std::string_view input, const char* to, const char* from,
                    std::string_view replacement, bool* exact = nullptr) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string out;
  std::vector<char> chunk(256);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* outPtr = chunk.data();
    std::size_t outLeft = chunk.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk.data(), chunk.size() - outLeft);
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one input byte and mark the gap; for UTF-8
      // input, skip the whole multi-byte sequence.
      if (exact != nullptr) *exact = false;
      out.append(replacement);
      std::size_t skip = 1;
      if (std::string_view(from) == "UTF-8") {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf8ToDevice(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert(utf8, "CP932", "UTF-8", "?");
}

std::optional<std::string> Utf8ToDeviceExact(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  bool exact = true;
  std::string device = Convert(utf8, "CP932", "UTF-8", "?", &exact);
  if (!exact) return std::nullopt;
  return device;
}

std::string DeviceToUtf8(std::string_view device) {
  if (IsAscii(device)) return std::string(device);
  return Convert(device, "UTF-8", "CP932", "\xEF\xBF\xBD");
}

}  // namespace setutily
