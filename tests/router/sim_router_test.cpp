// The simulated device's router category: show pages, setting commands,
// refusals, the list size bound and the restart after a new router address.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <string>
#include <vector>

#include "device.h"
#include "support/sim_harness.h"
#include "support/telnet_rig.h"

namespace morivex9sim {
namespace {

class SimRouter : public ::testing::Test {
 protected:
  void SetUp() override { device.SetCommandLine(true); }
  bool Accepts(const std::string& line) {
    const std::string reply = device.ReceiveText(line + "\r");
    EXPECT_EQ(reply.substr(reply.size() - 4), "\r\n# ") << line;
    EXPECT_EQ(reply.find("% Error") == std::string::npos, device.Log().back().accepted) << reply;
    return device.Log().back().accepted;
  }
  std::string Show(const std::string& command) { return device.ReceiveText(command + "\r"); }
  Device device;
};

TEST_F(SimRouter, FactoryPagesInTheDeviceLayout) {
  const std::string dialup =
      "provider name: \r\ndial number 1: \r\ndial number 2: \r\ndial number 3: \r\n"
      "user id: \r\npassword: \r\naddress: 0.0.0.0\r\ndns server select: 1\r\n"
      "dns praimary address: 0.0.0.0\r\ndns secondary address: 0.0.0.0\r\nprotocol: 0\r\n"
      "mode: 0\r\nauto disconnect: 1\r\ndisconnect time: 60\r\n";
  const std::pair<std::string, std::string> pages[] = {
      {"show router",
       "hardware address: 00:80:6D:12:34:56\r\nip address: 192.168.0.1\r\nsubmask: 24\r\n"
       "default address: 0.0.0.0\r\nrouter name: MORIVEX-9\r\nlogin password: \r\n"
       "admin password: \r\nauto connect: 1\r\nconnect select: 1\r\nip masquerade: 1\r\n"
       "masquerade address: 0.0.0.0\r\nsw action: 1\r\nbeep: 1\r\nip filter: 0\r\n"
       "line mode: 0\r\nredial: 1\r\n"},
      {"show nat", ""},
      {"show dhcp",
       "start address: 192.168.0.2\r\nend address: 32\r\nlease time: 72\r\n"
       "default address: 0.0.0.0\r\ndns praimary address: 0.0.0.0\r\ndns domain name: \r\n"
       "dhcp active: 1\r\n"},
      {"show dns", "primary address: 0.0.0.0\r\nsecondary address: 0.0.0.0\r\nforwarding: 1\r\n"},
      {"show host", ""},
      {"show syslog",
       "address: 0.0.0.0\r\nfacility: 1\r\ndebug: 0\r\ninfo: 1\r\nnotice: 1\r\n"
       "syslog active: 0\r\n"},
      {"show ras",
       "wan address: 0.0.0.0\r\npartner address: 0.0.0.0\r\nras active: 0\r\nuser id: \r\n"
       "password: \r\nmode: 0\r\nprotocol: 0\r\nauto disconnect: 1\r\ndisconnect time: 60\r\n"},
      {"show dialup num1", dialup},
      {"show dialup num2", dialup},
      {"show dialup num3", dialup},
      {"show dialup num4", dialup},
      {"show connect",
       "charge: 0/2\r\ntime: 0/2\r\nnumber: 0/60\r\nday: 00:00\r\nweek: 0\r\nmon: 1\r\n"},
      {"show network",
       "address: 0.0.0.0\r\nsubmask: 0\r\nremote: 0.0.0.0\r\nuser id: \r\npassword: \r\n"
       "dns praimary address: 0.0.0.0\r\ndns secondary address: 0.0.0.0\r\n"},
      {"show bod",
       "init channel number: 0\r\nresource bod: 0\r\n  add evaluation direction: 0\r\n"
       "  add standard rate: 80\r\n  add evaluation time: 10\r\n"
       "  add minimum maintenance time: 60\r\n  del evaluation direction: 0\r\n"
       "  del standard rate: 30\r\n  del evaluation time: 10\r\n"
       "  del minimum maintenance time: 60\r\n"},
      {"show bacpbap", "depart channel: 7\r\narrive channel: 7\r\n"},
  };
  for (const auto& [command, body] : pages) {
    EXPECT_EQ(Show(command), command + "\r\n" + body + "# ") << command;
  }
}

TEST_F(SimRouter, EveryCommandShowsInItsPage) {
  struct Case {
    const char* command;
    const char* show;
    const char* line;  // expected in the show page, with its line end
  };
  const Case cases[] = {
      {"router auto_connect manual", "show router", "auto connect: 0\r\n"},
      {"router connect_sel netwk", "show router", "connect select: 5\r\n"},
      {"router connect_sel num3", "show router", "connect select: 3\r\n"},
      {"router ip_masquerade disable", "show router", "ip masquerade: 0\r\n"},
      {"router masq_address 203.0.113.9", "show router", "masquerade address: 203.0.113.9\r\n"},
      {"router sw_action bod", "show router", "sw action: 0\r\n"},
      {"router beep disable", "show router", "beep: 0\r\n"},
      {"router ip_filter enable", "show router", "ip filter: 1\r\n"},
      {"router line_mode 4", "show router", "line mode: 4\r\n"},
      {"router redial disable", "show router", "redial: 0\r\n"},
      {"nat add 3 192.168.0.10,*", "show nat", " 3: 192.168.0.10, *\r\n"},
      {"nat add 11 192.168.0.11,203.0.113.11", "show nat", " 11: 192.168.0.11, 203.0.113.11\r\n"},
      {"dhcp range_address 192.168.0.100/50", "show dhcp",
       "start address: 192.168.0.100\r\nend address: 50\r\n"},
      {"dhcp lease_time 999999", "show dhcp", "lease time: 999999\r\n"},
      {"dhcp default_address ", "show dhcp", "default address: \r\n"},
      {"dhcp dns_address 192.168.0.1", "show dhcp", "dns praimary address: 192.168.0.1\r\n"},
      {"dhcp domain_name home.example", "show dhcp", "dns domain name: home.example\r\n"},
      {"dhcp active disable", "show dhcp", "dhcp active: 0\r\n"},
      {"dns address 192.0.2.1,0.0.0.0", "show dns",
       "primary address: 192.0.2.1\r\nsecondary address: 0.0.0.0\r\n"},
      {"dns forwarding disable", "show dns", "forwarding: 0\r\n"},
      {"host add 2 192.168.0.2,pc-1.home", "show host", " 2: 192.168.0.2, pc-1.home\r\n"},
      {"syslog address 192.168.0.5", "show syslog", "address: 192.168.0.5\r\n"},
      {"syslog facility 23", "show syslog", "facility: 23\r\n"},
      {"syslog debug enable", "show syslog", "debug: 1\r\n"},
      {"syslog info disable", "show syslog", "info: 0\r\n"},
      {"syslog notice disable", "show syslog", "notice: 0\r\n"},
      {"syslog active\tenable", "show syslog", "syslog active: 1\r\n"},
      {"dialup provider_name num2 My ISP", "show dialup num2", "provider name: My ISP\r\n"},
      {"dialup dial_number num3 0312345678,(03)1234-5678*12,", "show dialup num3",
       "dial number 1: 0312345678\r\ndial number 2: (03)1234-5678*12\r\ndial number 3: \r\n"},
      {"dialup user_id num4 user@isp.example", "show dialup num4", "user id: user@isp.example\r\n"},
      {"dialup password num1 s3cr#t", "show dialup num1", "password: s3cr#t\r\n"},
      {"dialup protocol num1 chap", "show dialup num1", "protocol: 2\r\n"},
      {"dialup mode num1 mp3", "show dialup num1", "mode: 3\r\n"},
      {"dialup auto_disc num1 disable", "show dialup num1", "auto disconnect: 0\r\n"},
      {"dialup disc_time num1 32400", "show dialup num1", "disconnect time: 32400\r\n"},
      {"dialup address num1 198.51.100.7", "show dialup num1", "address: 198.51.100.7\r\n"},
      {"dialup dns_select num1 manual", "show dialup num1", "dns server select: 0\r\n"},
      {"dialup dns_address num1 192.0.2.53,0.0.0.0", "show dialup num1",
       "dns praimary address: 192.0.2.53\r\ndns secondary address: 0.0.0.0\r\n"},
      {"network address 198.51.100.1/29", "show network",
       "address: 198.51.100.1\r\nsubmask: 29\r\n"},
      {"network remote_addr 198.51.100.2", "show network", "remote: 198.51.100.2\r\n"},
      {"network user_id line-user", "show network", "user id: line-user\r\n"},
      {"network password pw", "show network", "password: pw\r\n"},
      {"network dns_address 0.0.0.0,192.0.2.2", "show network",
       "dns praimary address: 0.0.0.0\r\ndns secondary address: 192.0.2.2\r\n"},
      {"bod channel 1", "show bod", "init channel number: 1\r\n"},
      {"bod resource_bod arrive", "show bod", "resource bod: 2\r\n"},
      {"bod throughput_bod add_evaluation_direction recv", "show bod",
       "  add evaluation direction: 2\r\n"},
      {"bod throughput_bod add_standard_rate 100", "show bod", "  add standard rate: 100\r\n"},
      {"bod throughput_bod add_evaluation_time 255", "show bod", "  add evaluation time: 255\r\n"},
      {"bod throughput_bod add_minimum_time 7", "show bod",
       "  add minimum maintenance time: 7\r\n"},
      {"bod throughput_bod del_evaluation_direction disable", "show bod",
       "  del evaluation direction: 3\r\n"},
      {"bod throughput_bod del_standard_rate 0", "show bod", "  del standard rate: 0\r\n"},
      {"bod throughput_bod del_evaluation_time 1", "show bod", "  del evaluation time: 1\r\n"},
      {"bod throughput_bod del_minimum_time 1275", "show bod",
       "  del minimum maintenance time: 1275\r\n"},
      {"bacpbap depart_request reject", "show bacpbap", "depart channel: 5\r\n"},
      {"bacpbap arrive_add reject", "show bacpbap", "arrive channel: 6\r\n"},
      {"bacpbap arrive_del reject", "show bacpbap", "arrive channel: 2\r\n"},
      {"bacpbap arrive_add auto", "show bacpbap", "arrive channel: 3\r\n"},
      {"connect charge 3000/1", "show connect", "charge: 3000/1\r\n"},
      {"connect time 167/1", "show connect", "time: 167/1\r\n"},
      {"connect number 9999/1440", "show connect", "number: 9999/1440\r\n"},
      {"connect clr_day 23:59", "show connect", "day: 23:59\r\n"},
      {"connect clr_day 7:5", "show connect", "day: 07:05\r\n"},
      {"connect clr_week 6", "show connect", "week: 6\r\n"},
      {"connect clr_mon 31", "show connect", "mon: 31\r\n"},
      {"ras server enable", "show ras", "ras active: 1\r\n"},
      {"ras address 10.0.0.1,10.0.0.2", "show ras",
       "wan address: 10.0.0.1\r\npartner address: 10.0.0.2\r\n"},
      {"ras user_id caller", "show ras", "user id: caller\r\n"},
      {"ras password 0123456789012345678901234567890123456789012345678901234567890123", "show ras",
       "password: 0123456789012345678901234567890123456789012345678901234567890123\r\n"},
      {"ras protocol disable", "show ras", "protocol: 3\r\n"},
      {"ras mode mp2", "show ras", "mode: 2\r\n"},
      {"ras auto_disc disable", "show ras", "auto disconnect: 0\r\n"},
      {"ras disc_time 1", "show ras", "disconnect time: 1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(Accepts(c.command)) << c.command;
    EXPECT_NE(Show(c.show).find(c.line), std::string::npos) << c.command;
  }
  EXPECT_TRUE(Accepts("nat del 3"));
  EXPECT_TRUE(Accepts("host del 2"));
  EXPECT_EQ(Show("show nat"), "show nat\r\n 11: 192.168.0.11, 203.0.113.11\r\n# ");
  EXPECT_EQ(Show("show host"), "show host\r\n# ");
  EXPECT_NE(Show("show dialup num1").find("provider name: \r\n"), std::string::npos);
}

TEST_F(SimRouter, CounterClearCommandsClearOnlyTheCounters) {
  for (const char* counter : {"connect.charge_used", "connect.time_used", "connect.count_used"}) {
    device.Set(counter, "42");
  }
  for (const char* line : {"connect charge", "connect time", "connect number"}) {
    EXPECT_TRUE(Accepts(line)) << line;
  }
  for (const char* counter : {"connect.charge_used", "connect.time_used", "connect.count_used"}) {
    EXPECT_EQ(device.Get(counter), "0") << counter;
  }
  EXPECT_EQ(device.Get("connect.count_minutes"), "60");
}

TEST_F(SimRouter, MalformedAndOutOfRangeCommandsAreRefused) {
  const auto before = device.Settings();
  const std::string long65(65, 'a');
  for (const std::string& line : std::vector<std::string>{
           "router auto_connect on", "router connect_sel num5", "router line_mode 5",
           "router masq_address 192.168.0", "router masq_address 192.168.0.256",
           "router masq_address 192.168.0.1.5", "router masq_address ", "router sw_action both",
           "router address 192.168.1.1", "router address 192.168.1.1/33",
           "router address 192.168.1.1/", "router address /24", "router beep",
           "nat add 0 192.168.0.2,*", "nat add 33 192.168.0.2,*", "nat add 1 192.168.0.2",
           "nat add 1 ,203.0.113.1", "nat add 1 192.168.0.2,", "nat add 1 192.168.0.2,*x",
           "nat add 1 192.168.0.2, 203.0.113.1", "nat del 33", "host add 1 192.168.0.2,",
           "host add 1 192.168.0.2,pc 1", "host add 1 192.168.0.2,pc,1",
           "host add 1 192.168.0.2," + long65, "dhcp range_address 192.168.0.2/256",
           "dhcp range_address 192.168.0.2", "dhcp range_address /5", "dhcp lease_time 0",
           "dhcp lease_time 1000000", "dhcp default_address 1.2.3", "dhcp domain_name a b",
           "dhcp domain_name " + long65, "dns address 192.0.2.1", "dns address ,192.0.2.1",
           "dns address 192.0.2.1,192.0.2.2,192.0.2.3", "syslog facility 24",
           "syslog facility -1", "syslog active on", "dialup mode num5 64k",
           "dialup mode num1 128k", "dialup protocol num1 none", "dialup disc_time num1 0",
           "dialup disc_time num1 32401", "dialup dial_number num1 0312345678",
           "dialup dial_number num1 1,2", "dialup dial_number num1 1,2,3,4",
           "dialup dial_number num1 03 1234,,",
           "dialup dial_number num1 ," + std::string(33, '1') + ",",
           "dialup user_id num1 " + long65, "dialup user_id num1 a b",
           "dialup password num1 tab\there", "dialup provider_name num1 " + long65,
           "dialup address num1 ", "dialup dns_select num1 both",
           "network address 198.51.100.1", "network remote_addr 1.2.3.4/5",
           "network dns_address 1.2.3.4", "bod channel 3", "bod resource_bod send",
           "bod throughput_bod add_standard_rate 101", "bod throughput_bod add_evaluation_time 0",
           "bod throughput_bod del_minimum_time 4", "bod throughput_bod del_minimum_time 1276",
           "bod throughput_bod add_evaluation_direction receive", "bacpbap depart_add yes",
           "bacpbap both_add auto", "connect charge 1000000/0", "connect charge 100/3",
           "connect charge 100", "connect time 24/0", "connect time 168/1", "connect time 744/2",
           "connect number 10/0", "connect number 10000/60", "connect clr_day 24:00",
           "connect clr_day 12:60", "connect clr_day 12", "connect clr_week 7",
           "connect clr_mon 0", "connect clr_mon 32", "connect charge ", "ras server on",
           "ras mode 128k", "ras disc_time 32401", "ras address 10.0.0.1",
           "ras user_id " + long65, "show dialup num5"}) {
    EXPECT_FALSE(Accepts(line)) << line;
  }
  EXPECT_EQ(device.Settings(), before);
  EXPECT_EQ(device.FlashWrites(), 0);
}

TEST_F(SimRouter, ListPagesStayUnderTheReplyBufferSize) {
  const std::string address = "255.255.255.255";
  for (int n = 1; n <= 32; ++n) {
    EXPECT_TRUE(Accepts("nat add " + std::to_string(n) + " " + address + "," + address)) << n;
  }
  const std::string nat = Show("show nat");
  EXPECT_LT(nat.size(), 2048u);
  EXPECT_NE(nat.find(" 32: 255.255.255.255, 255.255.255.255\r\n# "), std::string::npos);

  // 32 longest host names cannot fit: the entry that would overflow the page is refused.
  int stored = 0;
  for (int n = 1; n <= 32; ++n) {
    if (!Accepts("host add " + std::to_string(n) + " " + address + "," + std::string(64, 'h'))) {
      break;
    }
    ++stored;
  }
  EXPECT_GE(stored, 20);
  EXPECT_LT(stored, 32);
  EXPECT_EQ(device.Get("host." + std::to_string(stored + 1)), "");
  const std::string hosts = Show("show host");
  EXPECT_LT(hosts.size(), 2048u);
  EXPECT_GE(hosts.size() + 88, 2048u);  // the refused line really would not have fit
  // Shorter names make room again.
  EXPECT_TRUE(Accepts("host add 1 " + address + ",a"));
  EXPECT_TRUE(Accepts("host add " + std::to_string(stored + 1) + " " + address + ",b"));
}

TEST_F(SimRouter, NewRouterAddressStoresRestartsAndDropsTheLine) {
  const auto outputs = device.Receive("router address 192.168.10.1/16\r");
  ASSERT_EQ(outputs.size(), 1u);
  EXPECT_TRUE(outputs[0].hangUp);
  EXPECT_EQ(outputs[0].bytes.rfind("router address 192.168.10.1/16\r\n", 0), 0u);
  EXPECT_EQ(outputs[0].bytes.substr(outputs[0].bytes.size() - 4), "\r\n# ");
  EXPECT_FALSE(device.InCommandLine());
  EXPECT_EQ(device.FlashWrites(), 1);
  device.SetCommandLine(true);
  EXPECT_NE(Show("show router").find("ip address: 192.168.10.1\r\nsubmask: 16\r\n"),
            std::string::npos);
  EXPECT_FALSE(device.Receive("router address 1.2.3.4\r")[0].hangUp);  // refused: no restart
  EXPECT_TRUE(device.InCommandLine());
}

// Over every link the answer arrives in full before the line drops.
template <class Rig>
struct SimRouterLink : ::testing::Test {
  Rig rig;
};
using Rigs = ::testing::Types<setutily::testing::SerialRig, setutily::testing::TelnetRig>;
TYPED_TEST_SUITE(SimRouterLink, Rigs);

TYPED_TEST(SimRouterLink, RouterAddressIsAnsweredThenTheLineDrops) {
  auto& rig = this->rig;
  ASSERT_TRUE(rig.opened);
  QSignalSpy lost(&rig.link, &setutily::ByteTransport::LinkLost);
  std::string reply;
  ASSERT_EQ(rig.exchange.SendAndWait("router address 10.1.1.1/8\r", &reply, 5000,
                                     setutily::kTerminatorPrompt),
            1);
  EXPECT_NE(reply.find("\r\n# "), std::string::npos);
  EXPECT_TRUE(lost.count() > 0 || lost.wait(5000));
  rig.sim.With([](Device& d) { EXPECT_EQ(d.Get("router.ip_address"), "10.1.1.1"); });
}

TEST(SimRouterInProcess, RouterAddressIsAnsweredThenTheLinkIsLost) {
  setutily::testing::InProcessRig rig;
  QSignalSpy lost(&rig.transport, &setutily::ByteTransport::LinkLost);
  std::string reply;
  ASSERT_EQ(rig.exchange.SendAndWait("router address 10.1.1.1/8\r", &reply, 5000,
                                     setutily::kTerminatorPrompt),
            1);
  EXPECT_TRUE(lost.count() > 0 || lost.wait(5000));
  EXPECT_FALSE(rig.transport.IsOpen());
}

}  // namespace
}  // namespace morivex9sim
