// The analog telephone ports of the simulated device: factory settings, the
// four "show analog" replies and the "analog ..." setting commands.
#include <string>
#include <utility>
#include <vector>

#include "categories/categories.h"
#include "device.h"

namespace morivex9sim {

namespace {

// Longest telephone number the device keeps for a port.
constexpr std::size_t kMaxNumberText = 53;

bool IsPortNumber(std::string_view text) {
  return text.size() <= kMaxNumberText && IsPhoneText(text);
}

std::string Key(const std::string& port, const char* setting) {
  return "analog." + port + "." + setting;
}

void AddPort(Device& device, const std::string& port, const std::string& selfNumber) {
  device.AddDefault(Key(port, "address"), selfNumber);
  device.AddDefault(Key(port, "transfer"), "0");
  device.AddDefault(Key(port, "transfer_address"), "");
  device.AddDefault(Key(port, "talky"), "0");
  device.AddDefault(Key(port, "global"), "1");
  device.AddDefault(Key(port, "nosub"), "1");
  device.AddDefault(Key(port, "mode"), "0");
  device.AddDefault(Key(port, "display"), "0");
  device.AddDefault(Key(port, "inumber"), "0");
  device.AddDefault(Key(port, "notice"), "3");
  device.AddDefault(Key(port, "waiting"), "0");
  device.AddDefault(Key(port, "ring"), "0");
  device.AddDefault(Key(port, "dialtime"), "4");
  device.AddDefault(Key(port, "disc"), "0");

  device.AddShow("show analog " + port, [port](const Device& d) {
    return d.LabelLines({
        {"self address:", Key(port, "address")},
        {"arrive transfer:", Key(port, "transfer")},
        {"  address:", Key(port, "transfer_address")},
        {"  talky:", Key(port, "talky")},
        {"global arrive:", Key(port, "global")},
        {"subaddress less arrive:", Key(port, "nosub")},
        {"analog port mode:", Key(port, "mode")},
        {"number display:", Key(port, "display")},
        {"i number:", Key(port, "inumber")},
        {"notice number:", Key(port, "notice")},
        {"call waiting:", Key(port, "waiting")},
        {"ring sound:", Key(port, "ring")},
        {"send dial time:", Key(port, "dialtime")},
        {"disc signal:", Key(port, "disc")},
    });
  });

  const std::vector<std::string> onOff = {"disable", "enable"};
  // The longer "arrive_transfer address|talky" forms come before the plain one.
  device.AddText("analog arrive_transfer address " + port + " %s",
                 Key(port, "transfer_address"), IsPortNumber);
  device.AddNumber("analog arrive_transfer talky " + port + " %d", Key(port, "talky"), 0, 3);
  device.AddChoice("analog arrive_transfer " + port + " %w", Key(port, "transfer"), onOff);
  device.AddText("analog address " + port + " %s", Key(port, "address"), IsPortNumber);
  device.AddChoice("analog global_arrive " + port + " %w", Key(port, "global"), onOff);
  device.AddChoice("analog no_subaddress " + port + " %w", Key(port, "nosub"), onOff);
  device.AddChoice("analog port_mode " + port + " %w", Key(port, "mode"), {"voice", "audio"});
  device.AddChoice("analog number_display " + port + " %w", Key(port, "display"),
                   {"disable", "nd", "cd"});
  device.AddChoice("analog i_number " + port + " %w", Key(port, "inumber"),
                   {"both", "contract", "add1", "add2"});
  device.AddChoice("analog notice_number " + port + " %w", Key(port, "notice"),
                   {"disable", "contract", "address", "net"});
  device.AddChoice("analog callwaiting " + port + " %w", Key(port, "waiting"),
                   {"disable", "ntt", "pseudo"});
  device.AddChoice("analog ring_sound " + port + " %w", Key(port, "ring"),
                   {"ring1", "ring2", "ring3"});
  device.AddNumber("analog dial_time " + port + " %d", Key(port, "dialtime"), 3, 15);
  device.AddChoice("analog disc_signal " + port + " %w", Key(port, "disc"), onOff);
}

}  // namespace

void RegisterAnalog(Device& device) {
  AddPort(device, "tel1", "");
  AddPort(device, "tel2", "");
  AddPort(device, "tel3", "");

  device.AddDefault("analog.common.inumber", "0");
  device.AddDefault("analog.common.delay", "3");
  device.AddDefault("analog.common.frequency", "16");
  device.AddShow("show analog common", [](const Device& d) {
    return d.LabelLines({
        {"i number:", "analog.common.inumber"},
        {"delay number:", "analog.common.delay"},
        {"ring sound frequency:", "analog.common.frequency"},
    });
  });
  device.AddChoice("analog use_i_number %w", "analog.common.inumber", {"disable", "enable"});
  device.AddNumber("analog delay_number %d", "analog.common.delay", 0, 9);
  device.AddNumber("analog ring_sound_freq %d", "analog.common.frequency", 16, 30);
}

}  // namespace morivex9sim
