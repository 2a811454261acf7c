// The digital data ports of the simulated device (DATA, USB, and the HomePNA
// port PNA) and the settings they share: factory settings, the four
// "show digital" replies and the "digital ..." setting commands.
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

std::string PortKey(const std::string& port, const char* setting) {
  return "digital." + port + "." + setting;
}

std::string CommonKey(const char* setting) { return std::string("digital.common.") + setting; }

const std::vector<std::string> kOnOff = {"disable", "enable"};

// One port. The HomePNA port has no transfer talky mode: its reply carries
// no "  talky:" line and the device knows no talky command for it.
void AddPort(Device& device, const std::string& port, bool hasTalky) {
  device.AddDefault(PortKey(port, "address"), "");
  device.AddDefault(PortKey(port, "transfer"), "0");
  device.AddDefault(PortKey(port, "transfer_address"), "");
  if (hasTalky) device.AddDefault(PortKey(port, "talky"), "0");
  device.AddDefault(PortKey(port, "global"), "1");
  device.AddDefault(PortKey(port, "nosub"), "1");
  device.AddDefault(PortKey(port, "notice"), "3");
  device.AddDefault(PortKey(port, "inumber"), "0");

  device.AddShow("show digital " + port, [port, hasTalky](const Device& d) {
    std::vector<std::pair<std::string, std::string>> lines = {
        {"self address:", PortKey(port, "address")},
        {"arrive transfer:", PortKey(port, "transfer")},
        {"  address:", PortKey(port, "transfer_address")},
    };
    if (hasTalky) lines.emplace_back("  talky:", PortKey(port, "talky"));
    lines.insert(lines.end(), {
                                  {"global arrive:", PortKey(port, "global")},
                                  {"subaddress less arrive:", PortKey(port, "nosub")},
                                  {"notice number:", PortKey(port, "notice")},
                                  {"i number:", PortKey(port, "inumber")},
                              });
    return d.LabelLines(lines);
  });

  // The longer "arrive_transfer address|talky" forms come before the plain one.
  device.AddText("digital arrive_transfer address " + port + " %s",
                 PortKey(port, "transfer_address"), IsPortNumber);
  if (hasTalky) {
    device.AddNumber("digital arrive_transfer talky " + port + " %d", PortKey(port, "talky"), 0, 3);
  }
  device.AddChoice("digital arrive_transfer " + port + " %w", PortKey(port, "transfer"), kOnOff);
  device.AddText("digital address " + port + " %s", PortKey(port, "address"), IsPortNumber);
  device.AddChoice("digital global_arrive " + port + " %w", PortKey(port, "global"), kOnOff);
  device.AddChoice("digital no_subaddress " + port + " %w", PortKey(port, "nosub"), kOnOff);
  device.AddChoice("digital notice_number " + port + " %w", PortKey(port, "notice"),
                   {"disable", "contract", "address", "net"});
  device.AddChoice("digital i_number " + port + " %w", PortKey(port, "inumber"),
                   {"both", "contract", "add1", "add2"});
}

// One half (channel addition or deletion) of throughput bandwidth-on-demand.
void AddThroughputHalf(Device& device, const std::string& half, const char* rate,
                       const char* evaluation, const char* minimum) {
  const std::string key = "digital.throughput." + half + ".";
  device.AddDefault(key + "direction", "3");
  device.AddDefault(key + "rate", rate);
  device.AddDefault(key + "time", evaluation);
  device.AddDefault(key + "minimum", minimum);
  const std::string command = "digital throughput_bod " + half + "_";
  device.AddChoice(command + "evaluation_direction %w", key + "direction",
                   {"both", "send", "recv", "disable"});
  device.AddNumber(command + "standard_rate %d", key + "rate", 0, 100);
  device.AddNumber(command + "evaluation_time %d", key + "time", 1, 255);
  // In units of 5 seconds.
  device.AddNumber(command + "minimum_time %d", key + "minimum", 1, 255);
}

// BACP/BAP answers of one side: bit 0 channel addition, bit 1 call-back
// request, bit 2 channel deletion; a set bit answers automatically.
void AddBacpSide(Device& device, const std::string& side) {
  const std::string key = "digital.bacp." + side;
  device.AddDefault(key, "7");
  const std::vector<std::pair<std::string, int>> answers = {{"add", 1}, {"request", 2}, {"del", 4}};
  for (const auto& [answer, bit] : answers) {
    device.AddCommand(
        "digital bacp_bap " + side + "_" + answer + " %w",
        [key, bit = bit](Device& d, const std::vector<std::string>& c, std::string&, std::string& error) {
          std::string code;
          if (!Device::FindCode({{"reject", "0"}, {"auto", "1"}}, c.back(), code, error)) {
            return false;
          }
          long long flags = d.GetNumber(key);
          flags = code == "1" ? (flags | bit) : (flags & ~bit);
          d.Set(key, std::to_string(flags));
          return true;
        });
  }
}

}  // namespace

void RegisterDigital(Device& device) {
  AddPort(device, "data", true);
  AddPort(device, "usb", true);
  AddPort(device, "pna", false);

  device.AddDefault(CommonKey("channel"), "1");
  device.AddDefault(CommonKey("priority"), "0");
  device.AddDefault(CommonKey("resource_bod"), "3");
  device.AddDefault(CommonKey("throughput_bod"), "0");
  device.AddDefault(CommonKey("bacp_bap"), "0");
  device.AddDefault(CommonKey("disc_time"), "3");
  device.AddDefault(CommonKey("piafs"), "1");
  AddThroughputHalf(device, "add", "80", "10", "12");
  AddThroughputHalf(device, "del", "30", "20", "12");
  AddBacpSide(device, "depart");
  AddBacpSide(device, "arrive");

  device.AddShow("show digital common", [](const Device& d) {
    return d.LabelLines({
        {"init channel number:", CommonKey("channel")},
        {"digital arrive priority:", CommonKey("priority")},
        {"resource bod:", CommonKey("resource_bod")},
        {"throughput bod:", CommonKey("throughput_bod")},
        {"  add evaluation direction:", "digital.throughput.add.direction"},
        {"  add standard rate:", "digital.throughput.add.rate"},
        {"  add evaluation time:", "digital.throughput.add.time"},
        {"  add minimum maintenance time:", "digital.throughput.add.minimum"},
        {"  del evaluation direction:", "digital.throughput.del.direction"},
        {"  del standard rate:", "digital.throughput.del.rate"},
        {"  del evaluation time:", "digital.throughput.del.time"},
        {"  del minimum maintenance time:", "digital.throughput.del.minimum"},
        {"bacp/bap:", CommonKey("bacp_bap")},
        {"  depart channel:", "digital.bacp.depart"},
        {"  arrive channel:", "digital.bacp.arrive"},
        {"disconnect time:", CommonKey("disc_time")},
        {"piafs:", CommonKey("piafs")},
    });
  });

  // "digital channel 2" starts with two channels (code 0), "1" with one.
  device.AddCodedChoice("digital channel %w", CommonKey("channel"), {{"2", "0"}, {"1", "1"}});
  device.AddChoice("digital arrive %w", CommonKey("priority"), {"data", "usb"});
  device.AddChoice("digital resource_bod %w", CommonKey("resource_bod"),
                   {"disable", "depart", "arrive", "both"});
  device.AddChoice("digital throughput_bod %w", CommonKey("throughput_bod"), kOnOff);
  device.AddChoice("digital bacp_bap %w", CommonKey("bacp_bap"), kOnOff);
  device.AddNumber("digital disc_time %d", CommonKey("disc_time"), 0, 255);
  // PIAFS: 32k, 64k version 2.0, 64k version 2.1.
  device.AddNumber("digital piafs %d", CommonKey("piafs"), 0, 2);
}

}  // namespace morivex9sim
