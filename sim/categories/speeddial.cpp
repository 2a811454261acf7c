// The speed-dial list: twenty telephone numbers, shown ten per page as
// "N: number" lines and set one at a time with "shortnum add N TEXT"
// (an empty text clears the entry).
#include <string>

#include "categories/categories.h"
#include "device.h"

namespace morivex9sim {

namespace {

constexpr int kEntries = 20;
constexpr int kPageSize = 10;
// The longest text the device keeps for one entry.
constexpr std::size_t kMaxEntryLength = 54;

std::string EntryKey(int number) { return "shortnum." + std::to_string(number); }

ShowHandler PageReply(int firstNumber) {
  return [firstNumber](const Device& device) {
    std::string body;
    for (int n = firstNumber; n < firstNumber + kPageSize; ++n) {
      body += std::to_string(n) + ": " + device.Get(EntryKey(n)) + "\r\n";
    }
    return body;
  };
}

}  // namespace

void RegisterSpeedDial(Device& device) {
  for (int n = 1; n <= kEntries; ++n) device.AddDefault(EntryKey(n), "");
  device.AddShow("show shortnum num1", PageReply(1));
  device.AddShow("show shortnum num2", PageReply(1 + kPageSize));
  device.AddCommand("shortnum add %d %s", [](Device& d, const std::vector<std::string>& c,
                                              std::string&, std::string& error) {
    const std::string& number = c[0];
    const std::string& text = c[1];
    const long long n = number.size() > 9 ? 0 : std::stoll(number);
    if (n < 1 || n > kEntries) {
      error = "speed dial number out of range (1-20)";
      return false;
    }
    if (!IsPhoneText(text)) {
      error = "invalid character in telephone number";
      return false;
    }
    if (text.size() > kMaxEntryLength) {
      error = "telephone number too long";
      return false;
    }
    d.Set(EntryKey(static_cast<int>(n)), text);
    return true;
  });
}

}  // namespace morivex9sim
