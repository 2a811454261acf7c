// The router's WAN connections on the simulated device: the four dial-up
// profiles ("show dialup num1" .. "num4"), the leased line ("show network")
// and remote-access dial-in ("show ras").
#include <string>
#include <vector>

#include "categories/categories.h"
#include "categories/values.h"
#include "device.h"

namespace morivex9sim {

namespace {

const std::vector<std::string> kOnOff = {"disable", "enable"};
const std::vector<std::string> kProtocols = {"auto", "pap", "chap", "disable"};
const std::vector<std::string> kModes = {"64k", "mp1", "mp2", "mp3"};

// Longest account texts the device keeps (user ids, passwords, provider names).
constexpr std::size_t kMaxAccountText = 64;
constexpr int kMaxDisconnectSeconds = 32400;

bool IsAccountText(std::string_view text) { return IsPrintable(text, kMaxAccountText, false); }
bool IsProviderName(std::string_view text) { return IsPrintable(text, kMaxAccountText, true); }

void AddProfile(Device& device, const std::string& profile) {
  const std::string key = "dialup." + profile + ".";
  device.AddDefault(key + "provider_name", "");
  for (const char* n : {"1", "2", "3"}) device.AddDefault(key + "dial_number" + n, "");
  device.AddDefault(key + "user_id", "");
  device.AddDefault(key + "password", "");
  device.AddDefault(key + "address", "0.0.0.0");
  device.AddDefault(key + "dns_select", "1");
  device.AddDefault(key + "dns_primary", "0.0.0.0");
  device.AddDefault(key + "dns_secondary", "0.0.0.0");
  device.AddDefault(key + "protocol", "0");
  device.AddDefault(key + "mode", "0");
  device.AddDefault(key + "auto_disc", "1");
  device.AddDefault(key + "disc_time", "60");

  // "address:" comes before the DNS lines, whose labels end in the same text.
  device.AddShow("show dialup " + profile, [key](const Device& d) {
    return d.LabelLines({
        {"provider name:", key + "provider_name"},
        {"dial number 1:", key + "dial_number1"},
        {"dial number 2:", key + "dial_number2"},
        {"dial number 3:", key + "dial_number3"},
        {"user id:", key + "user_id"},
        {"password:", key + "password"},
        {"address:", key + "address"},
        {"dns server select:", key + "dns_select"},
        {"dns praimary address:", key + "dns_primary"},
        {"dns secondary address:", key + "dns_secondary"},
        {"protocol:", key + "protocol"},
        {"mode:", key + "mode"},
        {"auto disconnect:", key + "auto_disc"},
        {"disconnect time:", key + "disc_time"},
    });
  });

  auto pattern = [&profile](const char* keyword) {
    return std::string("dialup ") + keyword + " " + profile + " ";
  };
  AddCheckedText(device, pattern("provider_name") + "%s", key + "provider_name", IsProviderName,
                 "invalid provider name");
  // All three numbers in one command; an empty one is kept empty.
  device.AddCommand(pattern("dial_number") + "%s", [key](Device& d,
                                                         const std::vector<std::string>& c,
                                                         std::string&, std::string& error) {
    const auto numbers = SplitCommas(c[0]);
    if (numbers.size() != 3) {
      error = "three numbers expected (a,b,c; each may be empty)";
      return false;
    }
    for (const auto& number : numbers) {
      if (!IsDialNumber(number)) {
        error = "invalid telephone number \"" + number + "\"";
        return false;
      }
    }
    for (int i = 0; i < 3; ++i) d.Set(key + "dial_number" + std::to_string(i + 1), numbers[i]);
    return true;
  });
  AddCheckedText(device, pattern("user_id") + "%s", key + "user_id", IsAccountText,
                 "invalid user id");
  AddCheckedText(device, pattern("password") + "%s", key + "password", IsAccountText,
                 "invalid password");
  device.AddChoice(pattern("protocol") + "%w", key + "protocol", kProtocols);
  device.AddChoice(pattern("mode") + "%w", key + "mode", kModes);
  device.AddChoice(pattern("auto_disc") + "%w", key + "auto_disc", kOnOff);
  device.AddNumber(pattern("disc_time") + "%d", key + "disc_time", 1, kMaxDisconnectSeconds);
  AddCheckedText(device, pattern("address") + "%s", key + "address", IsAddress,
                 "invalid address");
  device.AddChoice(pattern("dns_select") + "%w", key + "dns_select", {"manual", "auto"});
  AddAddressPair(device, pattern("dns_address") + "%s", key + "dns_primary",
                 key + "dns_secondary");
}

void RegisterLeasedLine(Device& device) {
  device.AddDefault("network.address", "0.0.0.0");
  device.AddDefault("network.submask", "0");
  device.AddDefault("network.remote_addr", "0.0.0.0");
  device.AddDefault("network.user_id", "");
  device.AddDefault("network.password", "");
  device.AddDefault("network.dns_primary", "0.0.0.0");
  device.AddDefault("network.dns_secondary", "0.0.0.0");
  device.AddShow("show network", [](const Device& d) {
    return d.LabelLines({
        {"address:", "network.address"},
        {"submask:", "network.submask"},
        {"remote:", "network.remote_addr"},
        {"user id:", "network.user_id"},
        {"password:", "network.password"},
        {"dns praimary address:", "network.dns_primary"},
        {"dns secondary address:", "network.dns_secondary"},
    });
  });
  device.AddCommand("network address %s", [](Device& d, const std::vector<std::string>& c,
                                              std::string&, std::string& error) {
    std::string address;
    int prefix = 0;
    if (!SplitAddressPrefix(c[0], address, prefix)) {
      error = "invalid address (a.b.c.d/n, n 0-32)";
      return false;
    }
    d.Set("network.address", address);
    d.Set("network.submask", std::to_string(prefix));
    return true;
  });
  AddCheckedText(device, "network remote_addr %s", "network.remote_addr", IsAddress,
                 "invalid address");
  AddCheckedText(device, "network user_id %s", "network.user_id", IsAccountText,
                 "invalid user id");
  AddCheckedText(device, "network password %s", "network.password", IsAccountText,
                 "invalid password");
  AddAddressPair(device, "network dns_address %s", "network.dns_primary",
                 "network.dns_secondary");
}

void RegisterRemoteAccess(Device& device) {
  device.AddDefault("ras.wan_address", "0.0.0.0");
  device.AddDefault("ras.partner_address", "0.0.0.0");
  device.AddDefault("ras.active", "0");
  device.AddDefault("ras.user_id", "");
  device.AddDefault("ras.password", "");
  device.AddDefault("ras.mode", "0");
  device.AddDefault("ras.protocol", "0");
  device.AddDefault("ras.auto_disc", "1");
  device.AddDefault("ras.disc_time", "60");
  device.AddShow("show ras", [](const Device& d) {
    return d.LabelLines({
        {"wan address:", "ras.wan_address"},
        {"partner address:", "ras.partner_address"},
        {"ras active:", "ras.active"},
        {"user id:", "ras.user_id"},
        {"password:", "ras.password"},
        {"mode:", "ras.mode"},
        {"protocol:", "ras.protocol"},
        {"auto disconnect:", "ras.auto_disc"},
        {"disconnect time:", "ras.disc_time"},
    });
  });
  device.AddChoice("ras server %w", "ras.active", kOnOff);
  AddAddressPair(device, "ras address %s", "ras.wan_address", "ras.partner_address");
  AddCheckedText(device, "ras user_id %s", "ras.user_id", IsAccountText, "invalid user id");
  AddCheckedText(device, "ras password %s", "ras.password", IsAccountText, "invalid password");
  device.AddChoice("ras protocol %w", "ras.protocol", kProtocols);
  device.AddChoice("ras mode %w", "ras.mode", kModes);
  device.AddChoice("ras auto_disc %w", "ras.auto_disc", kOnOff);
  device.AddNumber("ras disc_time %d", "ras.disc_time", 1, kMaxDisconnectSeconds);
}

}  // namespace

void RegisterWan(Device& device) {
  for (const char* profile : {"num1", "num2", "num3", "num4"}) AddProfile(device, profile);
  RegisterLeasedLine(device);
  RegisterRemoteAccess(device);
}

}  // namespace morivex9sim
