// Incoming-call control of the simulated device: the standard rule, the rule
// for calls without caller number, and twenty registered caller numbers with
// a rule each. Factory settings, the three "show arrive" replies and the
// "arrive ..." setting commands.
//
// Every port rank is kept on one scale (0 precede, 1 normal, 2 delay,
// 3 reject); the data ports (DATA, USB, PNA) know only normal and reject.
#include <string>
#include <utility>
#include <vector>

#include "categories/categories.h"
#include "device.h"

namespace morivex9sim {

namespace {

constexpr int kEntries = 20;
constexpr int kPageSize = 10;
// Longest caller number the device keeps for an entry.
constexpr std::size_t kMaxNumberText = 53;

const Device::Codes kTelRanks = {
    {"precede", "0"}, {"normal", "1"}, {"delay", "2"}, {"reject", "3"}};
const Device::Codes kDataRanks = {{"normal", "1"}, {"reject", "3"}};
const Device::Codes kRings = {{"ring1", "0"}, {"ring2", "1"}, {"ring3", "2"}};

struct Port {
  const char* name;
  const Device::Codes* ranks;
};
const std::vector<Port> kPorts = {{"tel1", &kTelRanks}, {"tel2", &kTelRanks},
                                  {"tel3", &kTelRanks}, {"data", &kDataRanks},
                                  {"usb", &kDataRanks}, {"pna", &kDataRanks}};

// Keys of a rule: "default", "noid" or an entry number.
std::string Key(const std::string& rule, const std::string& setting) {
  return "arrive." + rule + "." + setting;
}

// The entry number in text, when it is one of the table's; else error is set.
bool EntryNumber(const std::string& text, std::string& entry, std::string& error) {
  const long long n = text.size() > 9 ? 0 : std::stoll(text);
  if (n < 1 || n > kEntries) {
    error = "entry number out of range (1-20)";
    return false;
  }
  entry = std::to_string(n);
  return true;
}

// "arrive ranking default tel1 precede" and the like for a named rule.
void AddRuleCommands(Device& device, const std::string& rule) {
  for (const auto& port : kPorts) {
    device.AddCodedChoice("arrive ranking " + rule + " " + port.name + " %w", Key(rule, port.name),
                          *port.ranks);
  }
  device.AddCodedChoice("arrive ring_select " + rule + " %w", Key(rule, "ring"), kRings);
}

// The same for the table: "arrive ranking 12 tel2 delay".
void AddEntryCommands(Device& device) {
  for (const auto& port : kPorts) {
    const std::string setting = port.name;
    device.AddCommand(
        "arrive ranking %d " + setting + " %w",
        [setting, ranks = port.ranks](Device& d, const std::vector<std::string>& c, std::string&,
                                      std::string& error) {
          std::string entry, code;
          if (!EntryNumber(c[0], entry, error) || !Device::FindCode(*ranks, c[1], code, error)) {
            return false;
          }
          d.Set(Key(entry, setting), code);
          return true;
        });
  }
  device.AddCommand("arrive ring_select %d %w", [](Device& d, const std::vector<std::string>& c,
                                                   std::string&, std::string& error) {
    std::string entry, code;
    if (!EntryNumber(c[0], entry, error) || !Device::FindCode(kRings, c[1], code, error)) {
      return false;
    }
    d.Set(Key(entry, "ring"), code);
    return true;
  });
  device.AddCommand("arrive address %d %s", [](Device& d, const std::vector<std::string>& c,
                                               std::string&, std::string& error) {
    std::string entry;
    if (!EntryNumber(c[0], entry, error)) return false;
    if (!IsPhoneText(c[1])) {
      error = "invalid character in telephone number";
      return false;
    }
    if (c[1].size() > kMaxNumberText) {
      error = "telephone number too long";
      return false;
    }
    d.Set(Key(entry, "number"), c[1]);
    return true;
  });
}

void AddRuleDefaults(Device& device, const std::string& rule) {
  for (const auto& port : kPorts) device.AddDefault(Key(rule, port.name), "1");
  device.AddDefault(Key(rule, "ring"), "0");
}

// The rank and ring lines of a rule, each label prefixed with prefix.
std::vector<std::pair<std::string, std::string>> RuleLines(const std::string& prefix,
                                                           const std::string& rule) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (const auto& port : kPorts) {
    lines.emplace_back(prefix + port.name + " rank:", Key(rule, port.name));
  }
  lines.emplace_back(prefix + "ring:", Key(rule, "ring"));
  return lines;
}

// One page of the table: per entry its "N: number" line, then one line per
// rank and the ring pattern. Ten entries of the longest numbers stay well
// under the 2048 bytes that a reply may take.
ShowHandler PageReply(int first) {
  return [first](const Device& d) {
    std::string body;
    for (int n = first; n < first + kPageSize; ++n) {
      const std::string entry = std::to_string(n);
      body += entry + ": " + d.Get(Key(entry, "number")) + "\r\n";
      body += d.LabelLines(RuleLines("", entry));
    }
    return body;
  };
}

}  // namespace

void RegisterIncoming(Device& device) {
  device.AddDefault("arrive.ring_select", "0");
  device.AddDefault("arrive.trouble_tel", "0");
  device.AddDefault("arrive.ntt_ring", "0");
  AddRuleDefaults(device, "default");
  AddRuleDefaults(device, "noid");
  for (int n = 1; n <= kEntries; ++n) {
    device.AddDefault(Key(std::to_string(n), "number"), "");
    AddRuleDefaults(device, std::to_string(n));
  }

  device.AddShow("show arrive basic", [](const Device& d) {
    std::vector<std::pair<std::string, std::string>> lines = {
        {"ring select service:", "arrive.ring_select"},
        {"trouble tel service:", "arrive.trouble_tel"},
        {"ntt ring:", "arrive.ntt_ring"},
    };
    for (const char* rule : {"default", "noid"}) {
      const auto more = RuleLines(std::string(rule) + " ", rule);
      lines.insert(lines.end(), more.begin(), more.end());
    }
    return d.LabelLines(lines);
  });
  device.AddShow("show arrive num1", PageReply(1));
  device.AddShow("show arrive num2", PageReply(1 + kPageSize));

  // The service choices first: "arrive ring_select %w" then takes only the
  // ring patterns of the network's ring distinction.
  for (const auto& [keyword, code] : Device::Codes{{"ntt", "0"}, {"pseudo", "1"}}) {
    device.AddCommand("arrive ring_select " + keyword,
                      [code = code](Device& d, const auto&, std::string&, std::string&) {
                        d.Set("arrive.ring_select", code);
                        return true;
                      });
  }
  device.AddCodedChoice("arrive ring_select %w", "arrive.ntt_ring", kRings);
  device.AddChoice("arrive trouble_tel %w", "arrive.trouble_tel", {"ntt", "pseudo"});
  AddRuleCommands(device, "default");
  AddRuleCommands(device, "noid");
  AddEntryCommands(device);
}

}  // namespace morivex9sim
