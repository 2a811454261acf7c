// The router's LAN-side services on the simulated device: static NAT and the
// host table (numbered lists), DHCP, DNS relay and SYSLOG.
#include <string>
#include <vector>

#include "categories/categories.h"
#include "categories/values.h"
#include "device.h"

namespace morivex9sim {

namespace {

const std::vector<std::string> kOnOff = {"disable", "enable"};

constexpr int kListEntries = 32;
// Every reply must stay shorter than the utility's 2048-byte receive buffer.
constexpr std::size_t kMaxReply = 2047;
constexpr std::size_t kMaxHostName = 64;
constexpr std::size_t kMaxDomainName = 64;

// A numbered list ("nat", "host"): entry N is kept under "<list>.N" as
// "first,second", or empty when not in use.
struct List {
  std::string name;        // command word and key prefix
  std::string addCheckError;
  bool (*second)(std::string_view);  // check of the second item
};

std::string EntryKey(const std::string& list, int number) {
  return list + "." + std::to_string(number);
}

// One line per entry in use, " N: first, second": the blank before the
// number keeps " 1: " apart from the end of " 11: ".
std::string ListBody(const Device& device, const std::string& list) {
  std::string body;
  for (int n = 1; n <= kListEntries; ++n) {
    const std::string entry = device.Get(EntryKey(list, n));
    const std::size_t comma = entry.find(',');
    if (comma == std::string::npos) continue;
    body += " " + std::to_string(n) + ": " + entry.substr(0, comma) + ", " +
            entry.substr(comma + 1) + "\r\n";
  }
  return body;
}

bool IsNatGlobal(std::string_view text) { return text == "*" || IsAddress(text); }
bool IsHostName(std::string_view text) { return !text.empty() && IsName(text, kMaxHostName); }

void AddList(Device& device, const List& list) {
  for (int n = 1; n <= kListEntries; ++n) device.AddDefault(EntryKey(list.name, n), "");
  const std::string show = "show " + list.name;
  device.AddShow(show, [name = list.name](const Device& d) { return ListBody(d, name); });
  device.AddCommand(list.name + " add %d %s", [list, show](Device& d,
                                                           const std::vector<std::string>& c,
                                                           std::string&, std::string& error) {
    const auto number = NumberIn(c[0], 1, kListEntries);
    const auto items = SplitCommas(c[1]);
    if (!number) {
      error = "entry number out of range (1-32)";
      return false;
    }
    if (items.size() != 2 || !IsAddress(items[0]) || !list.second(items[1])) {
      error = list.addCheckError;
      return false;
    }
    const std::string key = EntryKey(list.name, *number);
    const std::string old = d.Get(key);
    d.Set(key, items[0] + "," + items[1]);
    if (show.size() + 2 + ListBody(d, list.name).size() + 2 > kMaxReply) {
      d.Set(key, old);
      error = "table full: no room for this entry";
      return false;
    }
    return true;
  });
  device.AddCommand(list.name + " del %d", [name = list.name](Device& d,
                                                               const std::vector<std::string>& c,
                                                               std::string&, std::string& error) {
    const auto number = NumberIn(c[0], 1, kListEntries);
    if (!number) {
      error = "entry number out of range (1-32)";
      return false;
    }
    d.Set(EntryKey(name, *number), "");
    return true;
  });
}

void RegisterDhcp(Device& device) {
  device.AddDefault("dhcp.start_address", "192.168.0.2");
  device.AddDefault("dhcp.address_count", "32");
  device.AddDefault("dhcp.lease_time", "72");
  device.AddDefault("dhcp.default_address", "0.0.0.0");
  device.AddDefault("dhcp.dns_address", "0.0.0.0");
  device.AddDefault("dhcp.domain_name", "");
  device.AddDefault("dhcp.active", "1");
  device.AddShow("show dhcp", [](const Device& d) {
    return d.LabelLines({
        {"start address:", "dhcp.start_address"},
        {"end address:", "dhcp.address_count"},  // the number of addresses handed out
        {"lease time:", "dhcp.lease_time"},
        {"default address:", "dhcp.default_address"},
        {"dns praimary address:", "dhcp.dns_address"},
        {"dns domain name:", "dhcp.domain_name"},
        {"dhcp active:", "dhcp.active"},
    });
  });
  device.AddCommand("dhcp range_address %s", [](Device& d, const std::vector<std::string>& c,
                                                 std::string&, std::string& error) {
    const std::size_t slash = c[0].find('/');
    const std::string start = c[0].substr(0, slash);
    const auto count = slash == std::string::npos
                           ? std::nullopt
                           : NumberIn(std::string_view(c[0]).substr(slash + 1), 0, 255);
    if (!IsAddress(start) || !count) {
      error = "start address and count expected (a.b.c.d/0-255)";
      return false;
    }
    d.Set("dhcp.start_address", start);
    d.Set("dhcp.address_count", std::to_string(*count));
    return true;
  });
  device.AddNumber("dhcp lease_time %d", "dhcp.lease_time", 1, 999999);
  // An empty gateway or DNS server: the router hands out its own address.
  AddCheckedText(device, "dhcp default_address %s", "dhcp.default_address", IsAddressOrEmpty,
                 "invalid address");
  AddCheckedText(device, "dhcp dns_address %s", "dhcp.dns_address", IsAddressOrEmpty,
                 "invalid address");
  AddCheckedText(
      device, "dhcp domain_name %s", "dhcp.domain_name",
      [](std::string_view text) { return IsName(text, kMaxDomainName); }, "invalid domain name");
  device.AddChoice("dhcp active %w", "dhcp.active", kOnOff);
}

void RegisterDns(Device& device) {
  device.AddDefault("dns.primary_address", "0.0.0.0");
  device.AddDefault("dns.secondary_address", "0.0.0.0");
  device.AddDefault("dns.forwarding", "1");
  device.AddShow("show dns", [](const Device& d) {
    return d.LabelLines({{"primary address:", "dns.primary_address"},
                         {"secondary address:", "dns.secondary_address"},
                         {"forwarding:", "dns.forwarding"}});
  });
  AddAddressPair(device, "dns address %s", "dns.primary_address", "dns.secondary_address");
  device.AddChoice("dns forwarding %w", "dns.forwarding", kOnOff);
}

void RegisterSyslog(Device& device) {
  device.AddDefault("syslog.address", "0.0.0.0");
  device.AddDefault("syslog.facility", "1");
  device.AddDefault("syslog.debug", "0");
  device.AddDefault("syslog.info", "1");
  device.AddDefault("syslog.notice", "1");
  device.AddDefault("syslog.active", "0");
  device.AddShow("show syslog", [](const Device& d) {
    return d.LabelLines({{"address:", "syslog.address"},
                         {"facility:", "syslog.facility"},
                         {"debug:", "syslog.debug"},
                         {"info:", "syslog.info"},
                         {"notice:", "syslog.notice"},
                         {"syslog active:", "syslog.active"}});
  });
  AddCheckedText(device, "syslog address %s", "syslog.address", IsAddressOrEmpty,
                 "invalid address");
  device.AddNumber("syslog facility %d", "syslog.facility", 0, 23);
  device.AddChoice("syslog debug %w", "syslog.debug", kOnOff);
  device.AddChoice("syslog info %w", "syslog.info", kOnOff);
  device.AddChoice("syslog notice %w", "syslog.notice", kOnOff);
  // The utility puts a tab between "active" and "enable"; the command line
  // reads a tab there as it reads a blank.
  device.AddChoice("syslog active %w", "syslog.active", kOnOff);
  device.AddChoice("syslog active\t%w", "syslog.active", kOnOff);
}

}  // namespace

void RegisterLan(Device& device) {
  AddList(device, {"nat", "LAN and WAN address expected (a.b.c.d,a.b.c.d or *)", IsNatGlobal});
  AddList(device, {"host", "address and host name expected (a.b.c.d,name)", IsHostName});
  RegisterDhcp(device);
  RegisterDns(device);
  RegisterSyslog(device);
}

}  // namespace morivex9sim
