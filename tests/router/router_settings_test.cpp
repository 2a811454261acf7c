// The router record against the simulator: the read of all seventeen show
// replies (with the PNA block of the digital record).
#include <gtest/gtest.h>

#include "digital/digital_settings.h"
#include "router/router_settings.h"
#include "support/session_rig.h"

namespace setutily {
namespace {

using testing::Lines;
using testing::SessionRig;

const Lines kShows = {"show router",      "show nat",         "show dhcp",
                      "show dns",         "show host",        "show syslog",
                      "show digital pna", "show ras",         "show dialup num1",
                      "show dialup num2", "show dialup num3", "show dialup num4",
                      "show connect",     "show network",     "show bod",
                      "show bacpbap"};

class RouterRead : public ::testing::Test {
 protected:
  void Set(const std::string& key, const std::string& value) { rig.Device().Set(key, value); }

  SessionRig rig;
  RouterCategory& router = rig.Records<RouterSettings>();
  SettingsCopies<DigitalSettings>& digital = rig.Records<DigitalSettings>();
};

TEST_F(RouterRead, EveryReplyInOrderWithItsSpecialRules) {
  const std::string long70(70, 'u');
  const std::pair<std::string, std::string> device[] = {
      {"router.ip_address", "192.168.1.1"}, {"router.connect_sel", "4"},  // printed as 5
      {"router.line_mode", "300"},  // beyond the field's width
      {"connect.charge_limit", "3000"}, {"connect.charge_period", "1"},
      {"connect.clear_hour", "23"}, {"connect.clear_minute", "59"},
      {"connect.count_minutes", "1440"}, {"dhcp.address_count", "50"},
      {"dialup.num2.provider_name", long70}, {"dialup.num3.user_id", long70},
      {"dialup.num3.address", "198.51.100.7"}, {"dialup.num4.dial_number2", "0311"},
      {"ras.user_id", long70}, {"ras.password", long70}, {"network.user_id", long70},
      {"network.address", "198.51.100.1"}, {"network.submask", "29"},
      {"nat.1", "192.168.0.10,203.0.113.10"}, {"nat.3", "192.168.0.30,*"},
      {"host.11", "192.168.0.11,printer"}, {"bod.add_minimum_time", "1275"},
      {"bacpbap.arrive", "5"}, {"digital.pna.address", "0399*12"}, {"digital.pna.inumber", "2"}};
  for (const auto& [key, value] : device) Set(key, value);
  digital.working.usb.self_address = "not read here";

  ASSERT_EQ(ReadRouterSettings(rig.session), 1);
  EXPECT_EQ(rig.Received(), kShows);
  const RouterSettings& r = router.working;
  EXPECT_EQ(r, router.baseline);
  EXPECT_EQ(r.hardware_address, "00:80:6D:12:34:56");
  EXPECT_EQ(r.router_address, "192.168.1.1/24");
  EXPECT_EQ(r.connect_sel, 4);
  EXPECT_EQ(r.line_mode, 255);
  EXPECT_EQ((std::array{r.charge_limit, r.charge_period, r.clear_hour, r.clear_minute}),
            (std::array{3000, 1, 23, 59}));
  EXPECT_EQ(r.count_minutes, 1440);
  EXPECT_EQ(r.dhcp.address_count, 50);
  EXPECT_EQ(r.dialup[1].provider_name, long70.substr(0, 64));
  EXPECT_EQ(r.dialup[2].user_id, long70.substr(0, 64));
  EXPECT_EQ(r.dialup[2].address, "198.51.100.7");  // not a DNS address
  EXPECT_EQ(r.dialup[3].dial_number2, "0311");
  EXPECT_EQ(r.ras.user_id, long70.substr(0, 64));
  EXPECT_EQ(r.ras.password, long70.substr(0, 64));  // as long as its edit takes
  EXPECT_EQ(r.network.user_id, long70.substr(0, 64));
  EXPECT_EQ(r.network.address, "198.51.100.1/29");
  EXPECT_EQ(r.add_minimum_time, 1275);
  EXPECT_EQ(r.arrive_flags, 5);
  EXPECT_EQ(r.nat[0], (NatEntry{1, "192.168.0.10", "203.0.113.10"}));
  EXPECT_EQ(r.nat[2], (NatEntry{1, "192.168.0.30", "*"}));
  EXPECT_EQ(r.hosts[10], (HostEntry{"192.168.0.11", "printer", 1}));
  int used = 0;  // entry 1 of the hosts is only inside " 11: "
  for (const auto& e : r.nat) used += e.used;
  for (const auto& e : r.hosts) used += e.used;
  EXPECT_EQ(used, 3);

  // The PNA block reached both digital copies; nothing else of them did.
  EXPECT_EQ(digital.working.pna, digital.baseline.pna);
  EXPECT_EQ(digital.working.pna.self_address, "0399*12");
  EXPECT_EQ(digital.working.pna.i_number, 2);
  EXPECT_EQ(digital.working.usb.self_address, "not read here");
}

// Thirty-two hosts with long names fill the reply up to the receive
// buffer's size; every one of them is read.
TEST_F(RouterRead, AFullHostTableJustUnderTheReplyLimit) {
  // " N: 10.0.0.N, name\r\n" lines between "show host\r\n" and "# ", the
  // names sharing what the rest of the lines leave of 2047 bytes.
  auto address = [](int n) { return "10.0.0." + std::to_string(n); };
  std::size_t names = 2047 - std::string("show host\r\n# ").size();
  for (int n = 1; n <= kListEntries; ++n) {
    names -= (" " + std::to_string(n) + ": " + address(n) + ", \r\n").size();
  }
  for (int n = 1; n <= kListEntries; ++n) {
    const std::size_t length = names / kListEntries + (n <= int(names % kListEntries) ? 1 : 0);
    Set("host." + std::to_string(n), address(n) + "," + std::string(length, 'a' + n % 26));
  }
  ASSERT_EQ(FetchReply(rig.session, "show host\r"), 1);
  EXPECT_EQ(rig.session.replyText.size(), 2047u);
  ASSERT_EQ(ReadRouterSettings(rig.session), 1);
  for (int n = 1; n <= kListEntries; ++n) {
    const HostEntry& host = router.working.hosts[static_cast<std::size_t>(n - 1)];
    EXPECT_EQ(host.address + "," + host.name, rig.Device().Get("host." + std::to_string(n)));
    EXPECT_EQ(host.used, 1) << n;
  }
}

}  // namespace
}  // namespace setutily
