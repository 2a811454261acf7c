// The router itself on the simulated device: "show router" with the router
// settings, "show connect" with the connection limits (and the counters they
// apply to), "show bod" and "show bacpbap", and their setting commands.
// A new router address makes the device store its settings and restart.
#include <cstdio>
#include <string>
#include <vector>

#include "categories/categories.h"
#include "categories/values.h"
#include "device.h"

namespace morivex9sim {

namespace {

const std::vector<std::string> kOnOff = {"disable", "enable"};

// "a<sep>b" with both parts numbers in their ranges.
bool NumberPair(std::string_view text, char separator, int min1, int max1, int min2, int max2,
                int& first, int& second) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return false;
  const auto a = NumberIn(text.substr(0, at), min1, max1);
  const auto b = NumberIn(text.substr(at + 1), min2, max2);
  if (!a || !b) return false;
  first = *a;
  second = *b;
  return true;
}

// "connect KIND a/b": a limit and its second number under two keys.
void AddLimit(Device& device, const std::string& kind, const std::string& firstKey,
              const std::string& secondKey, int max1, int min2, int max2, std::string error) {
  device.AddCommand("connect " + kind + " %s",
                    [=](Device& d, const std::vector<std::string>& c, std::string&,
                        std::string& reason) {
                      int limit = 0, second = 0;
                      if (!NumberPair(c[0], '/', 0, max1, min2, max2, limit, second)) {
                        reason = error;
                        return false;
                      }
                      d.Set(firstKey, std::to_string(limit));
                      d.Set(secondKey, std::to_string(second));
                      return true;
                    });
}

void RegisterRouterSettings(Device& device) {
  device.AddDefault("router.ip_address", "192.168.0.1");
  device.AddDefault("router.submask", "24");
  device.AddDefault("router.default_address", "0.0.0.0");
  device.AddDefault("router.name", "MORIVEX-9");
  device.AddDefault("router.login_password", "");
  device.AddDefault("router.admin_password", "");
  device.AddDefault("router.auto_connect", "1");
  device.AddDefault("router.connect_sel", "0");
  device.AddDefault("router.ip_masquerade", "1");
  device.AddDefault("router.masq_address", "0.0.0.0");
  device.AddDefault("router.sw_action", "1");
  device.AddDefault("router.beep", "1");
  device.AddDefault("router.ip_filter", "0");
  device.AddDefault("router.line_mode", "0");
  device.AddDefault("router.redial", "1");

  device.AddShow("show router", [](const Device& d) {
    return Line("hardware address:", d.Mac()) +
           d.LabelLines({{"ip address:", "router.ip_address"},
                         {"submask:", "router.submask"},
                         {"default address:", "router.default_address"},
                         {"router name:", "router.name"},
                         {"login password:", "router.login_password"},
                         {"admin password:", "router.admin_password"},
                         {"auto connect:", "router.auto_connect"}}) +
           // The connection target is printed counting from 1.
           Line("connect select:", std::to_string(d.GetNumber("router.connect_sel") + 1)) +
           d.LabelLines({{"ip masquerade:", "router.ip_masquerade"},
                         {"masquerade address:", "router.masq_address"},
                         {"sw action:", "router.sw_action"},
                         {"beep:", "router.beep"},
                         {"ip filter:", "router.ip_filter"},
                         {"line mode:", "router.line_mode"},
                         {"redial:", "router.redial"}});
  });

  device.AddChoice("router auto_connect %w", "router.auto_connect", {"manual", "auto"});
  device.AddChoice("router connect_sel %w", "router.connect_sel",
                   {"num1", "num2", "num3", "num4", "netwk"});
  device.AddChoice("router ip_masquerade %w", "router.ip_masquerade", kOnOff);
  AddCheckedText(device, "router masq_address %s", "router.masq_address", IsAddress,
                 "invalid address");
  device.AddChoice("router sw_action %w", "router.sw_action", {"bod", "line"});
  device.AddChoice("router beep %w", "router.beep", kOnOff);
  device.AddChoice("router ip_filter %w", "router.ip_filter", kOnOff);
  device.AddNumber("router line_mode %d", "router.line_mode", 0, 4);
  device.AddChoice("router redial %w", "router.redial", kOnOff);
  // The LAN-side address: the device stores its settings and restarts.
  device.AddCommand("router address %s", [](Device& d, const std::vector<std::string>& c,
                                             std::string& reply, std::string& error) {
    std::string address;
    int prefix = 0;
    if (!SplitAddressPrefix(c[0], address, prefix)) {
      error = "invalid address (a.b.c.d/n, n 0-32)";
      return false;
    }
    const std::string oldAddress = d.Get("router.ip_address");
    const std::string oldPrefix = d.Get("router.submask");
    d.Set("router.ip_address", address);
    d.Set("router.submask", std::to_string(prefix));
    if (!d.SaveFlash()) {
      d.Set("router.ip_address", oldAddress);
      d.Set("router.submask", oldPrefix);
      error = "flash write failed";
      return false;
    }
    d.RestartAfterReply();
    reply = "Router address changed. Restarting...\r\n";
    return true;
  });
}

void RegisterConnectionLimits(Device& device) {
  device.AddDefault("connect.charge_limit", "0");
  device.AddDefault("connect.charge_period", "2");
  device.AddDefault("connect.time_limit", "0");
  device.AddDefault("connect.time_period", "2");
  device.AddDefault("connect.count_limit", "0");
  device.AddDefault("connect.count_minutes", "60");
  device.AddDefault("connect.clear_hour", "0");
  device.AddDefault("connect.clear_minute", "0");
  device.AddDefault("connect.clear_weekday", "0");
  device.AddDefault("connect.clear_monthday", "1");
  // What the limits are compared with; "connect charge|time|number" clear them.
  device.AddDefault("connect.charge_used", "0");
  device.AddDefault("connect.time_used", "0");
  device.AddDefault("connect.count_used", "0");

  device.AddShow("show connect", [](const Device& d) {
    auto pair = [&d](const char* first, const char* second) {
      return d.Get(first) + "/" + d.Get(second);
    };
    char day[16];
    std::snprintf(day, sizeof day, "%02lld:%02lld", d.GetNumber("connect.clear_hour"),
                  d.GetNumber("connect.clear_minute"));
    return Line("charge:", pair("connect.charge_limit", "connect.charge_period")) +
           Line("time:", pair("connect.time_limit", "connect.time_period")) +
           Line("number:", pair("connect.count_limit", "connect.count_minutes")) +
           Line("day:", day) +
           d.LabelLines({{"week:", "connect.clear_weekday"}, {"mon:", "connect.clear_monthday"}});
  });

  for (const auto& [kind, counter] : {std::pair<std::string, std::string>{"charge", "charge_used"},
                                      {"time", "time_used"},
                                      {"number", "count_used"}}) {
    device.AddCommand("connect " + kind,
                      [key = "connect." + counter](Device& d, const auto&, std::string&,
                                                   std::string&) {
                        d.Set(key, "0");
                        return true;
                      });
  }
  AddLimit(device, "charge", "connect.charge_limit", "connect.charge_period", 999999, 0, 2,
           "charge limit 0-999999 yen / period 0-2 expected");
  AddLimit(device, "number", "connect.count_limit", "connect.count_minutes", 9999, 1, 1440,
           "count 0-9999 / minutes 1-1440 expected");
  // The time limit is bounded by its period: a day, a week or a month of hours.
  device.AddCommand("connect time %s", [](Device& d, const std::vector<std::string>& c,
                                           std::string&, std::string& error) {
    static constexpr int kHours[] = {23, 167, 743};
    int hours = 0, period = 0;
    if (!NumberPair(c[0], '/', 0, 743, 0, 2, hours, period) || hours > kHours[period]) {
      error = "hours / period expected (0-23/0, 0-167/1, 0-743/2)";
      return false;
    }
    d.Set("connect.time_limit", std::to_string(hours));
    d.Set("connect.time_period", std::to_string(period));
    return true;
  });
  device.AddCommand("connect clr_day %s", [](Device& d, const std::vector<std::string>& c,
                                              std::string&, std::string& error) {
    int hour = 0, minute = 0;
    if (!NumberPair(c[0], ':', 0, 23, 0, 59, hour, minute)) {
      error = "time of day expected (0-23:0-59)";
      return false;
    }
    d.Set("connect.clear_hour", std::to_string(hour));
    d.Set("connect.clear_minute", std::to_string(minute));
    return true;
  });
  device.AddNumber("connect clr_week %d", "connect.clear_weekday", 0, 6);
  device.AddNumber("connect clr_mon %d", "connect.clear_monthday", 1, 31);
}

void RegisterBod(Device& device) {
  device.AddDefault("bod.init_channel", "0");
  device.AddDefault("bod.resource_bod", "0");
  device.AddDefault("bod.add_evaluation_direction", "0");
  device.AddDefault("bod.add_standard_rate", "80");
  device.AddDefault("bod.add_evaluation_time", "10");
  device.AddDefault("bod.add_minimum_time", "60");
  device.AddDefault("bod.del_evaluation_direction", "0");
  device.AddDefault("bod.del_standard_rate", "30");
  device.AddDefault("bod.del_evaluation_time", "10");
  device.AddDefault("bod.del_minimum_time", "60");

  device.AddShow("show bod", [](const Device& d) {
    return d.LabelLines({
        {"init channel number:", "bod.init_channel"},
        {"resource bod:", "bod.resource_bod"},
        {"  add evaluation direction:", "bod.add_evaluation_direction"},
        {"  add standard rate:", "bod.add_standard_rate"},
        {"  add evaluation time:", "bod.add_evaluation_time"},
        {"  add minimum maintenance time:", "bod.add_minimum_time"},
        {"  del evaluation direction:", "bod.del_evaluation_direction"},
        {"  del standard rate:", "bod.del_standard_rate"},
        {"  del evaluation time:", "bod.del_evaluation_time"},
        {"  del minimum maintenance time:", "bod.del_minimum_time"},
    });
  });

  device.AddChoice("bod channel %w", "bod.init_channel", {"2", "1"});
  device.AddChoice("bod resource_bod %w", "bod.resource_bod",
                   {"disable", "depart", "arrive", "both"});
  for (const std::string half : {"add", "del"}) {
    const std::string command = "bod throughput_bod " + half + "_";
    const std::string key = "bod." + half + "_";
    device.AddChoice(command + "evaluation_direction %w", key + "evaluation_direction",
                     {"both", "send", "recv", "disable"});
    device.AddNumber(command + "standard_rate %d", key + "standard_rate", 0, 100);
    device.AddNumber(command + "evaluation_time %d", key + "evaluation_time", 1, 255);
    device.AddNumber(command + "minimum_time %d", key + "minimum_time", 5, 1275);
  }
}

void RegisterBacpBap(Device& device) {
  // Bit 0 channel addition, bit 1 call-back request, bit 2 channel deletion;
  // a set bit answers automatically, a clear bit rejects.
  device.AddDefault("bacpbap.depart", "7");
  device.AddDefault("bacpbap.arrive", "7");
  device.AddShow("show bacpbap", [](const Device& d) {
    return d.LabelLines(
        {{"depart channel:", "bacpbap.depart"}, {"arrive channel:", "bacpbap.arrive"}});
  });
  for (const std::string side : {"depart", "arrive"}) {
    int bit = 0;
    for (const std::string request : {"add", "request", "del"}) {
      device.AddCommand("bacpbap " + side + "_" + request + " %w",
                        [key = "bacpbap." + side, mask = 1 << bit++](
                            Device& d, const std::vector<std::string>& c, std::string&,
                            std::string& error) {
                          long long flags = d.GetNumber(key);
                          if (c[0] == "auto") {
                            flags |= mask;
                          } else if (c[0] == "reject") {
                            flags &= ~mask;
                          } else {
                            error = "auto or reject expected";
                            return false;
                          }
                          d.Set(key, std::to_string(flags));
                          return true;
                        });
    }
  }
}

}  // namespace

void RegisterRouter(Device& device) {
  RegisterRouterSettings(device);
  RegisterConnectionLimits(device);
  RegisterBod(device);
  RegisterBacpBap(device);
}

}  // namespace morivex9sim
