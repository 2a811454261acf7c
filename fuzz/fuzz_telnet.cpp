// The telnet receive path: arbitrary byte streams, split at arbitrary
// points, must yield the same text as a small independent decoder.
//
// Input: byte 0 seeds the split points; the rest is the stream.
#include <QByteArray>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "link/telnet_link.h"

using namespace setutily;
using setutily::fuzz::Require;

namespace {

using namespace setutily::telnet;

// The reference: IAC IAC is a data byte 255; IAC SB ... IAC SE is skipped
// (IAC IAC inside it too; another command inside it ends it and counts as
// that command); IAC WILL/WONT/DO/DONT and their option byte are dropped, as
// is any other IAC pair. In the data that remains, CR NUL is CR.
std::string Reference(std::string_view stream) {
  const std::size_t n = stream.size();
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(stream[k]); };
  std::string data;
  std::size_t i = 0;
  while (i < n) {
    if (at(i) != kIac) {
      data.push_back(stream[i++]);
      continue;
    }
    if (i + 1 >= n) break;  // a command still to come
    const unsigned char command = at(i + 1);
    if (command == kIac) {
      data.push_back(static_cast<char>(kIac));
      i += 2;
    } else if (command >= kWill) {
      i += 3;  // the option byte goes too
    } else if (command == kSb) {
      std::size_t k = i + 2;
      i = n;  // unless it ends within the stream
      while (k + 1 < n) {
        if (at(k) != kIac) {
          ++k;
        } else if (at(k + 1) == kIac) {
          k += 2;
        } else {
          i = at(k + 1) == kSe ? k + 2 : k;
          break;
        }
      }
    } else {
      i += 2;
    }
  }
  // CR NUL pairs, left to right, without overlap.
  std::string text;
  for (std::size_t k = 0; k < data.size(); ++k) {
    text.push_back(data[k]);
    if (data[k] == '\r' && k + 1 < data.size() && data[k + 1] == '\0') ++k;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view stream = fuzz::AsText(data + 1, size - 1);
  TelnetLink link;
  std::string received;
  QObject::connect(&link, &ByteTransport::BytesReceived, [&received](const QByteArray& bytes) {
    received.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  });
  // Split points from a small generator seeded by byte 0; seed 0 feeds the
  // stream byte by byte through the one-byte path.
  std::uint32_t state = data[0];
  std::size_t at = 0;
  while (at < stream.size()) {
    if (data[0] == 0) {
      link.ReceiveNetworkByte(static_cast<unsigned char>(stream[at++]));
      continue;
    }
    state = state * 1103515245u + 12345u;
    const std::size_t length = std::min<std::size_t>(1 + (state >> 16) % 17, stream.size() - at);
    link.ReceiveNetworkBytes(QByteArray(stream.data() + at, static_cast<qsizetype>(length)));
    at += length;
  }
  Require(received == Reference(stream), "telnet text matches the reference decoder");
  return 0;
}
