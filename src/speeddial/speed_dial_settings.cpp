#include "speeddial/speed_dial_settings.h"

#include "settings/context.h"
#include "link/exchange.h"
#include "text/scan.h"

namespace setutily {

namespace {

// The two pages of the list: the command that shows each, and its first
// device number.
struct SpeedDialPage {
  const char* command;
  int firstNumber;
};
constexpr SpeedDialPage kPages[] = {
    {"show shortnum num1\r", 1},
    {"show shortnum num2\r", 1 + kSpeedDialPageSize},
};

}  // namespace

int ReadSpeedDial(DeviceContext& context, SpeedDialList& list) {
  SpeedDialList::Entries read;
  for (const SpeedDialPage& page : kPages) {
    if (FetchReply(context, page.command) == 0) return 0;
    for (int n = page.firstNumber; n < page.firstNumber + kSpeedDialPageSize; ++n) {
      read[static_cast<std::size_t>(n - 1)] = ReadListEntry(context.replyText, n);
    }
  }
  list.baseline = read;
  list.working = read;
  return 1;
}

int WriteSpeedDial(DeviceContext& context, SpeedDialList& list) {
  for (std::size_t i = 0; i < list.working.size(); ++i) {
    if (list.working[i] == list.baseline[i]) continue;
    std::string command;
    const bool sent =
        FormatCommand("shortnum add %d %s\r", {static_cast<int>(i + 1), list.working[i]},
                      command) &&
        SendSettingCommand(context, command) != 0;
    if (!sent) {
      // This entry and the ones after it did not reach the device.
      for (std::size_t j = i; j < list.working.size(); ++j) list.working[j] = list.baseline[j];
      return 0;
    }
    list.baseline[i] = list.working[i];
  }
  return 1;
}

}  // namespace setutily
