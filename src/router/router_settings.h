// The router category: everything the HomePNA detail menu edits (the router
// itself, connection limits, DNS, DHCP, SYSLOG, remote access, the four
// dial-up profiles, BOD, BACP/BAP, the leased line, the host table and
// static NAT), its read from sixteen show replies, and the write of one
// form's group. The read also fills the PNA block of the digital record,
// whose form lives in this category.
//
// Numbers are held as ints, narrowed on reading to the width the device
// gives them (8-bit 0-255, 16-bit 0-65535, 32-bit signed), saturating.
// Choice fields hold the code the device prints; -1 means none.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/config.h"

namespace setutily {

struct DeviceContext;

// "show dns".
struct DnsSettings {
  std::string primary_address;
  std::string secondary_address;
  int forwarding = 0;  // 0 off, 1 on
  bool operator==(const DnsSettings&) const = default;
};

// "show dhcp".
struct DhcpSettings {
  std::string start_address;    // first address handed out
  int address_count = 0;        // addresses handed out (printed as "end address:")
  int lease_time = 0;           // hours
  std::string default_address;  // gateway handed out
  std::string dns_address;      // DNS server handed out
  std::string domain_name;
  int active = 0;  // 0 off, 1 on
  bool operator==(const DhcpSettings&) const = default;
};

// "show syslog".
struct SyslogSettings {
  std::string address;  // host to log to
  int facility = 0;
  int debug = 0;   // 0 off, 1 on
  int info = 0;    // 0 off, 1 on
  int notice = 0;  // 0 off, 1 on
  int active = 0;  // 0 off, 1 on
  bool operator==(const SyslogSettings&) const = default;
};

// Remote-access dial-in ("show ras").
struct RasSettings {
  std::string wan_address;      // own address on the incoming link
  std::string partner_address;  // address given to the caller
  int active = 0;               // 0 off, 1 on
  std::string user_id;          // up to 64 bytes
  std::string password;
  int mode = 0;       // 0 64k, 1 mp1, 2 mp2, 3 mp3
  int protocol = 0;   // authentication: 0 auto, 1 PAP, 2 CHAP, 3 none
  int auto_disc = 0;  // automatic disconnect 0 off, 1 on
  int disc_time = 0;  // seconds
  bool operator==(const RasSettings&) const = default;
};

// One dial-up profile ("show dialup numP").
struct DialupProfile {
  std::string provider_name;  // up to 64 bytes
  // The numbers dialled in turn.
  std::string dial_number1;
  std::string dial_number2;
  std::string dial_number3;
  std::string user_id;  // up to 64 bytes
  std::string password;
  int dns_select = 0;  // 0 DNS servers given by hand, 1 obtained automatically
  std::string dns_primary;
  std::string dns_secondary;
  std::string address;  // own address on this connection
  int protocol = 0;     // 0 auto, 1 PAP, 2 CHAP, 3 none
  int mode = 0;         // 0 64k, 1 mp1, 2 mp2, 3 mp3
  int auto_disc = 0;    // 0 off, 1 on
  int disc_time = 0;    // seconds
  bool operator==(const DialupProfile&) const = default;
};

// The leased line ("show network").
struct LeasedLineSettings {
  std::string address;      // "address/prefix", up to 52 bytes
  std::string remote_addr;  // up to 52 bytes
  std::string user_id;      // up to 64 bytes
  std::string password;
  std::string dns_primary;
  std::string dns_secondary;
  bool operator==(const LeasedLineSettings&) const = default;
};

// An entry of the host table ("show host").
struct HostEntry {
  std::string address;  // up to 32 bytes
  std::string name;     // up to 64 bytes
  int used = 0;         // 1 when the entry exists on the device
  bool operator==(const HostEntry&) const = default;
};

// An entry of the static NAT table ("show nat").
struct NatEntry {
  int used = 0;                 // 1 when the entry exists on the device
  std::string private_address;  // LAN side, up to 32 bytes
  std::string global_address;   // WAN side, up to 32 bytes
  bool operator==(const NatEntry&) const = default;
};

inline constexpr int kDialupProfiles = 4;
inline constexpr int kListEntries = 32;  // host table and static NAT, numbered 1-32

struct RouterSettings {
  // ---- the router ("show router")
  std::string hardware_address;  // carried, shown by no form
  std::string router_address;    // LAN-side "address/prefix", up to 52 bytes
  std::string default_address;   // carried
  std::string router_name;       // carried
  std::string login_password;    // carried
  std::string admin_password;    // carried
  int auto_connect = 0;          // 0 manual, 1 automatic
  int connect_sel = 0;           // 0-3 dial-up profile 1-4, 4 leased line (printed + 1)
  int ip_masquerade = 0;         // 0 off, 1 on
  std::string masq_address;
  int sw_action = 0;  // the device's switch: 0 BOD, 1 connect/disconnect
  int beep = 0;       // buzzer 0 off, 1 on
  int ip_filter = 0;  // 0 off, 1 on
  int line_mode = 0;  // HomePNA: 0 automatic, 1-4 LowPower/LowSpeed .. HighPower/HighSpeed
  int redial = 0;     // redialling after a failed connection: 0 free, 1 restricted

  // ---- connection limits ("show connect")
  int charge_limit = 0;   // yen, 0 no limit (32-bit signed)
  int charge_period = 0;  // 0 a day, 1 a week, 2 a month
  int time_limit = 0;     // hours, 0 no limit
  int time_period = 0;    // as charge_period
  int count_limit = 0;    // connections, 0 no limit
  int count_minutes = 0;  // the window count_limit applies to
  int clear_hour = 0;     // daily counter clear
  int clear_minute = 0;
  int clear_weekday = 0;   // weekly clear: 0 Sunday .. 6 Saturday
  int clear_monthday = 0;  // monthly clear: day of the month

  DnsSettings dns;
  DhcpSettings dhcp;
  SyslogSettings syslog;
  RasSettings ras;
  std::array<DialupProfile, kDialupProfiles> dialup;  // profiles 1-4

  // ---- BOD ("show bod"); directions 0 both, 1 sent, 2 received, 3 none
  int init_channel = 0;  // 0 two channels, 1 one channel
  int resource_bod = 0;  // 0 none, 1 outgoing, 2 incoming, 3 both
  int add_evaluation_direction = 0;
  int add_standard_rate = 0;
  int add_evaluation_time = 0;
  int add_minimum_time = 0;
  int del_evaluation_direction = 0;
  int del_standard_rate = 0;
  int del_evaluation_time = 0;
  int del_minimum_time = 0;

  // ---- BACP/BAP ("show bacpbap"): bit 0 channel addition, bit 1 call-back
  // request, bit 2 channel deletion; set answers automatically, clear rejects.
  int depart_flags = 0;
  int arrive_flags = 0;

  LeasedLineSettings network;
  std::array<HostEntry, kListEntries> hosts;  // entries 1-32
  std::array<NatEntry, kListEntries> nat;     // entries 1-32

  bool operator==(const RouterSettings&) const = default;
};

using RouterCategory = SettingsCopies<RouterSettings>;


// The longest connection time (hours) the limit of period (0 a day, 1 a
// week, 2 a month) takes; -1 for another period.
int MostConnectionHours(int period);

// Texts of the LAN-service forms, checked alike by the forms and by the
// configuration file. None may carry its command's separator.
bool DhcpStartText(std::string_view text);  // an address (may be empty) without "/"
bool ListAddressText(std::string_view text);  // a NAT LAN side or host address: not empty
// A NAT WAN side: an address, or "*" alone or followed by text without ",".
bool NatGlobalText(std::string_view text);
bool HostNameText(std::string_view text);  // not empty, without ","

// The write groups of the HomePNA detail menu's forms. The router group
// sends the router address last of all (the device restarts once it has
// it); in a configuration file that address is a group of its own, after
// every other.
const GroupOf<RouterSettings, RouterSettings>& RouterGroup();
const ListOf<RouterSettings, NatEntry, kListEntries>& NatList();
const GroupOf<RouterSettings, DhcpSettings>& DhcpGroup();
const GroupOf<RouterSettings, DnsSettings>& DnsGroup();
const ListOf<RouterSettings, HostEntry, kListEntries>& HostList();
const GroupOf<RouterSettings, SyslogSettings>& SyslogGroup();
const GroupOf<RouterSettings, LeasedLineSettings>& LeasedLineGroup();
const GroupOf<RouterSettings, RouterSettings>& BodGroup();
const GroupOf<RouterSettings, RouterSettings>& RouterBacpGroup();
// The counters are cleared first when "クリア" asked for it; the request is
// answered by one write, sent or not.
const GroupOf<RouterSettings, RouterSettings>& ConnectionLimitGroup();
const GroupOf<RouterSettings, RasSettings>& RemoteAccessGroup();
// The dial-up profiles (instances num1..num4) are declared in
// router/dialup_settings.h; the PNA port's group in digital/digital_settings.h.

// Reads the sixteen show replies into the baselines of the router record
// and of the digital record's PNA block; when every reply arrived, the
// router's working copy takes its whole baseline and the digital working
// copy its PNA block. 1 on success; 0 when a read failed
// (context.readFailure says why; the working copies are then as they were;
// what was read stays in the baselines).
int ReadRouterSettings(DeviceContext& context);

// The category's groups as configuration-file commands; the router
// address last of all, since the device restarts once it has it.
ConfigCategory RouterConfig();

}  // namespace setutily
