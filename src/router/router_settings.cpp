#include "router/router_settings.h"

#include "digital/digital_settings.h"
#include "router/dialup_settings.h"
#include "settings/context.h"

namespace setutily {

namespace {

using R = RouterSettings;

// Field widths on the device; values beyond them saturate.
template <class Rec>
ReadField<Rec> Byte(std::string_view label, int Rec::*field) {
  return Number(label, field).Range(0, 255);
}
template <class Rec>
ReadField<Rec> Word(std::string_view label, int Rec::*field) {
  return Number(label, field).Range(0, 65535);
}

// The connection target is printed counting from 1; a printed 0 is no
// target the forms know (-1, nothing selected).
int CountFromZero(int printed) { return printed - 1; }

// ------------------------------------------------------------------ read

const ReadTable<R> kRouterLabels = {
    {"hardware address:", &R::hardware_address},
    Joined("ip address:", "/", "submask:", &R::router_address).Cut(52),
    {"default address:", &R::default_address},
    {"router name:", &R::router_name},
    {"login password:", &R::login_password},
    {"admin password:", &R::admin_password},
    Byte("auto connect:", &R::auto_connect),
    Number("connect select:", &R::connect_sel).Range(0, 256).Adjust(CountFromZero),
    Byte("ip masquerade:", &R::ip_masquerade),
    {"masquerade address:", &R::masq_address},
    Byte("sw action:", &R::sw_action),
    Byte("beep:", &R::beep),
    Byte("ip filter:", &R::ip_filter),
    Byte("line mode:", &R::line_mode),
    Byte("redial:", &R::redial),
};

// Limits are printed "limit/period", the daily clear time "hour:minute".
const ReadTable<R> kConnectLabels = {
    Split("charge:", '/', &R::charge_limit, &R::charge_period).Range2(0, 255),
    Split("time:", '/', &R::time_limit, &R::time_period).Range(0, 65535).Range2(0, 255),
    Split("number:", '/', &R::count_limit, &R::count_minutes).Range(0, 65535).Range2(0, 65535),
    Split("day:", ':', &R::clear_hour, &R::clear_minute).Range(0, 255).Range2(0, 255),
    Byte("week:", &R::clear_weekday),
    Byte("mon:", &R::clear_monthday),
};

const ReadTable<DhcpSettings> kDhcpLabels = {
    {"start address:", &DhcpSettings::start_address},
    Byte("end address:", &DhcpSettings::address_count),  // the count, not an address
    {"lease time:", &DhcpSettings::lease_time},
    {"default address:", &DhcpSettings::default_address},
    {"dns praimary address:", &DhcpSettings::dns_address},
    {"dns domain name:", &DhcpSettings::domain_name},
    Byte("dhcp active:", &DhcpSettings::active),
};

const ReadTable<DnsSettings> kDnsLabels = {
    {"primary address:", &DnsSettings::primary_address},
    {"secondary address:", &DnsSettings::secondary_address},
    Byte("forwarding:", &DnsSettings::forwarding),
};

const ReadTable<SyslogSettings> kSyslogLabels = {
    {"address:", &SyslogSettings::address},
    {"facility:", &SyslogSettings::facility},
    Byte("debug:", &SyslogSettings::debug),
    Byte("info:", &SyslogSettings::info),
    Byte("notice:", &SyslogSettings::notice),
    Byte("syslog active:", &SyslogSettings::active),
};

const ReadTable<RasSettings> kRasLabels = {
    Byte("ras active:", &RasSettings::active),
    {"wan address:", &RasSettings::wan_address},
    {"partner address:", &RasSettings::partner_address},
    Text("user id:", &RasSettings::user_id).Cut(64),
    Text("password:", &RasSettings::password).Cut(64),  // as long as the form's edit takes
    Byte("protocol:", &RasSettings::protocol),
    Byte("mode:", &RasSettings::mode),
    Byte("auto disconnect:", &RasSettings::auto_disc),
    Word("disconnect time:", &RasSettings::disc_time),
};

// "address:" is the first line that holds that text: the device prints the
// profile's own address before the DNS addresses.
const ReadTable<DialupProfile> kDialupLabels = {
    Text("provider name:", &DialupProfile::provider_name).Cut(64),
    {"dial number 1:", &DialupProfile::dial_number1},
    {"dial number 2:", &DialupProfile::dial_number2},
    {"dial number 3:", &DialupProfile::dial_number3},
    Text("user id:", &DialupProfile::user_id).Cut(64),
    {"password:", &DialupProfile::password},
    Byte("protocol:", &DialupProfile::protocol),
    Byte("mode:", &DialupProfile::mode),
    Byte("auto disconnect:", &DialupProfile::auto_disc),
    Word("disconnect time:", &DialupProfile::disc_time),
    Byte("dns server select:", &DialupProfile::dns_select),
    {"dns praimary address:", &DialupProfile::dns_primary},
    {"dns secondary address:", &DialupProfile::dns_secondary},
    {"address:", &DialupProfile::address},
};

const ReadTable<LeasedLineSettings> kNetworkLabels = {
    Joined("address:", "/", "submask:", &LeasedLineSettings::address).Cut(52),
    Text("remote:", &LeasedLineSettings::remote_addr).Cut(52),
    Text("user id:", &LeasedLineSettings::user_id).Cut(64),
    {"password:", &LeasedLineSettings::password},
    {"dns praimary address:", &LeasedLineSettings::dns_primary},
    {"dns secondary address:", &LeasedLineSettings::dns_secondary},
};

// The throughput labels begin with two blanks.
const ReadTable<R> kBodLabels = {
    Byte("init channel number:", &R::init_channel),
    Byte("resource bod:", &R::resource_bod),
    Byte("  add evaluation direction:", &R::add_evaluation_direction),
    Byte("  add standard rate:", &R::add_standard_rate),
    Byte("  add evaluation time:", &R::add_evaluation_time),
    Word("  add minimum maintenance time:", &R::add_minimum_time),
    Byte("  del evaluation direction:", &R::del_evaluation_direction),
    Byte("  del standard rate:", &R::del_standard_rate),
    Byte("  del evaluation time:", &R::del_evaluation_time),
    Word("  del minimum maintenance time:", &R::del_minimum_time),
};

const ReadTable<R> kBacpLabels = {
    Byte("depart channel:", &R::depart_flags),
    Byte("arrive channel:", &R::arrive_flags),
};

const PairList<NatEntry> kNatList = {&NatEntry::used, &NatEntry::private_address, 32,
                                     &NatEntry::global_address, 32};
const PairList<HostEntry> kHostList = {&HostEntry::used, &HostEntry::address, 32,
                                       &HostEntry::name, 64};

constexpr std::string_view kShowDialup[kDialupProfiles] = {
    "show dialup num1\r", "show dialup num2\r", "show dialup num3\r", "show dialup num4\r"};

// ----------------------------------------------------------------- write
// One table per group, in sending order. "{}" is the scope the group is
// written for (the profile "num1".."num4", the port "pna"); list groups
// walk their entries with the entry number as scope.

// The device restarts with its new address: it has stored everything, and
// there is no command line left to leave.
void DeviceRestarts(RunState& state) {
  state.rebootOnClose = true;
  state.pendingChangeCount = 0;
}

// Group 0 without the router address.
const WriteTable<R> kRouterSettingsCommands = {
    SendTwoChoice(&R::auto_connect, "router auto_connect manual\r", "router auto_connect auto\r"),
    SendChoice(&R::connect_sel,
               {"router connect_sel num1\r", "router connect_sel num2\r",
                "router connect_sel num3\r", "router connect_sel num4\r",
                "router connect_sel netwk\r"}),
    SendTwoChoice(&R::ip_masquerade, "router ip_masquerade disable\r",
                  "router ip_masquerade enable\r"),
    SendText(&R::masq_address, "router masq_address %s\r").Accepts(AddressText),
    SendTwoChoice(&R::sw_action, "router sw_action bod\r", "router sw_action line\r"),
    SendTwoChoice(&R::beep, "router beep disable\r", "router beep enable\r"),
    SendTwoChoice(&R::ip_filter, "router ip_filter disable\r", "router ip_filter enable\r"),
    SendChoice(&R::line_mode, {"router line_mode 0\r", "router line_mode 1\r",
                               "router line_mode 2\r", "router line_mode 3\r",
                               "router line_mode 4\r"}),
    SendTwoChoice(&R::redial, "router redial disable\r", "router redial enable\r"),
};

// The router address: its answer ends the run, so it goes last.
const WriteTable<R> kRouterAddressCommands = {
    SendText(&R::router_address, "router address %s\r")
        .Accepts(PrefixedAddressText)
        .AfterSent(DeviceRestarts),
};

// Group 0: the router's settings, then its address.
const WriteTable<R> kRouterCommands = [] {
  WriteTable<R> table = kRouterSettingsCommands;
  table.insert(table.end(), kRouterAddressCommands.begin(), kRouterAddressCommands.end());
  return table;
}();

// Group 10.
const WriteTable<LeasedLineSettings> kLeasedLineCommands = {
    SendText(&LeasedLineSettings::address, "network address %s\r").Accepts(PrefixedAddressText),
    SendText(&LeasedLineSettings::remote_addr, "network remote_addr %s\r").Accepts(AddressText),
    SendText(&LeasedLineSettings::user_id, "network user_id %s\r").MaxBytes(64),
    SendText(&LeasedLineSettings::password, "network password %s\r").MaxBytes(64),
    SendTogether("network dns_address %s,%s\r", &LeasedLineSettings::dns_primary,
                 &LeasedLineSettings::dns_secondary)
        .EmptyAs("0.0.0.0"),
};

// Group 11.
const WriteTable<R> kBodCommands = {
    SendChoice(&R::init_channel, {"bod channel 2\r", "bod channel 1\r"}),
    SendChoice(&R::resource_bod, {"bod resource_bod disable\r", "bod resource_bod depart\r",
                                  "bod resource_bod arrive\r", "bod resource_bod both\r"}),
    SendChoice(&R::add_evaluation_direction,
               {"bod throughput_bod add_evaluation_direction both\r",
                "bod throughput_bod add_evaluation_direction send\r",
                "bod throughput_bod add_evaluation_direction recv\r",
                "bod throughput_bod add_evaluation_direction disable\r"}),
    SendNumber(&R::add_standard_rate, "bod throughput_bod add_standard_rate %d\r").Range(0, 100),
    SendNumber(&R::add_evaluation_time, "bod throughput_bod add_evaluation_time %d\r")
        .Range(1, 255),
    SendNumber(&R::add_minimum_time, "bod throughput_bod add_minimum_time %d\r")
        .Range(5, 1275),
    SendChoice(&R::del_evaluation_direction,
               {"bod throughput_bod del_evaluation_direction both\r",
                "bod throughput_bod del_evaluation_direction send\r",
                "bod throughput_bod del_evaluation_direction recv\r",
                "bod throughput_bod del_evaluation_direction disable\r"}),
    SendNumber(&R::del_standard_rate, "bod throughput_bod del_standard_rate %d\r").Range(0, 100),
    SendNumber(&R::del_evaluation_time, "bod throughput_bod del_evaluation_time %d\r")
        .Range(1, 255),
    SendNumber(&R::del_minimum_time, "bod throughput_bod del_minimum_time %d\r")
        .Range(5, 1275),
};

// Group 12: each side's three answers together, whenever one of them changed.
const WriteTable<R> kBacpCommands = {
    SendBits(&R::depart_flags, {{"bacpbap depart_add auto\r", "bacpbap depart_add reject\r"},
                                {"bacpbap depart_request auto\r", "bacpbap depart_request reject\r"},
                                {"bacpbap depart_del auto\r", "bacpbap depart_del reject\r"}}),
    SendBits(&R::arrive_flags, {{"bacpbap arrive_add auto\r", "bacpbap arrive_add reject\r"},
                                {"bacpbap arrive_request auto\r", "bacpbap arrive_request reject\r"},
                                {"bacpbap arrive_del auto\r", "bacpbap arrive_del reject\r"}}),
};

bool CountersClearRequested(const RunState& state) { return state.countersClearRequested; }

// Group 13: the counters first when "クリア" asked for it, then the limits.
// The file's checks take the widest connection-time bound (a month).
const WriteTable<R> kConnectCommands = {
    SendWhen<R>(CountersClearRequested,
                {"connect charge\r", "connect time\r", "connect number\r"}),
    SendTogether("connect charge %d/%d\r", &R::charge_limit, &R::charge_period)
        .Ranges({{0, 999999}, {0, 2}}),
    SendTogether("connect time %d/%d\r", &R::time_limit, &R::time_period)
        .Ranges({{0, 743}, {0, 2}}),
    SendTogether("connect number %d/%d\r", &R::count_limit, &R::count_minutes)
        .Ranges({{0, 9999}, {1, 1440}}),
    SendTogether("connect clr_day %d:%d\r", &R::clear_hour, &R::clear_minute)
        .Ranges({{0, 23}, {0, 59}}),
    SendNumber(&R::clear_weekday, "connect clr_week %d\r").Range(0, 6),
    SendNumber(&R::clear_monthday, "connect clr_mon %d\r").Range(1, 31),
};

// Group 1, entry by entry with the entry number as scope. An entry in use
// in both copies whose addresses changed is added again (replaced).
const WriteTable<NatEntry> kNatCommands = {
    SendPresence(&NatEntry::used, "nat add {} %s,%s\r", "nat del {}\r",
                 &NatEntry::private_address, &NatEntry::global_address)
        .AcceptsEach({ListAddressText, NatGlobalText})
        .MaxBytes(52),
};

// Group 2.
const WriteTable<DhcpSettings> kDhcpCommands = {
    SendTogether("dhcp range_address %s/%d\r", &DhcpSettings::start_address,
                 &DhcpSettings::address_count)
        .Accepts(DhcpStartText)
        .Range(0, 255),
    SendNumber(&DhcpSettings::lease_time, "dhcp lease_time %d\r").Range(1, 999999),
    SendText(&DhcpSettings::default_address, "dhcp default_address %s\r").Accepts(AddressText),
    SendText(&DhcpSettings::dns_address, "dhcp dns_address %s\r").Accepts(AddressText),
    SendText(&DhcpSettings::domain_name, "dhcp domain_name %s\r").MaxBytes(64),
    SendTwoChoice(&DhcpSettings::active, "dhcp active disable\r", "dhcp active enable\r"),
};

// Group 3: an empty server goes out as "0.0.0.0".
const WriteTable<DnsSettings> kDnsCommands = {
    SendTogether("dns address %s,%s\r", &DnsSettings::primary_address,
                 &DnsSettings::secondary_address)
        .EmptyAs("0.0.0.0")
        .Accepts(AddressText),
    SendTwoChoice(&DnsSettings::forwarding, "dns forwarding disable\r",
                  "dns forwarding enable\r"),
};

// Group 4, as group 1.
const WriteTable<HostEntry> kHostCommands = {
    SendPresence(&HostEntry::used, "host add {} %s,%s\r", "host del {}\r", &HostEntry::address,
                 &HostEntry::name)
        .AcceptsEach({ListAddressText, HostNameText})
        .MaxBytes(64),
};

// Group 5. The device takes a tab between "active" and "enable".
const WriteTable<SyslogSettings> kSyslogCommands = {
    SendText(&SyslogSettings::address, "syslog address %s\r").Accepts(AddressText),
    SendNumber(&SyslogSettings::facility, "syslog facility %d\r").Range(0, 23),
    SendTwoChoice(&SyslogSettings::debug, "syslog debug disable\r", "syslog debug enable\r"),
    SendTwoChoice(&SyslogSettings::info, "syslog info disable\r", "syslog info enable\r"),
    SendTwoChoice(&SyslogSettings::notice, "syslog notice disable\r", "syslog notice enable\r"),
    SendTwoChoice(&SyslogSettings::active, "syslog active disable\r", "syslog active\tenable\r"),
};

// Group 14 is the digital category's port table, written for "pna".

// Group 15.
const WriteTable<RasSettings> kRasCommands = {
    SendChoice(&RasSettings::active, {"ras server disable\r", "ras server enable\r"}),
    SendTogether("ras address %s,%s\r", &RasSettings::wan_address, &RasSettings::partner_address)
        .EmptyAs("0.0.0.0")
        .Accepts(AddressText),
    SendText(&RasSettings::user_id, "ras user_id %s\r").MaxBytes(64),
    SendText(&RasSettings::password, "ras password %s\r").MaxBytes(64),
    SendChoice(&RasSettings::protocol, {"ras protocol auto\r", "ras protocol pap\r",
                                        "ras protocol chap\r", "ras protocol disable\r"}),
    SendChoice(&RasSettings::mode,
               {"ras mode 64k\r", "ras mode mp1\r", "ras mode mp2\r", "ras mode mp3\r"}),
    SendTwoChoice(&RasSettings::auto_disc, "ras auto_disc disable\r", "ras auto_disc enable\r"),
    SendNumber(&RasSettings::disc_time, "ras disc_time %d\r").Range(1, 32400),
};

RouterSettings& Whole(RouterSettings& settings) { return settings; }
LeasedLineSettings& Network(RouterSettings& settings) { return settings.network; }
RasSettings& Ras(RouterSettings& settings) { return settings.ras; }
template <int P>
DialupProfile& Dialup(RouterSettings& settings) { return settings.dialup[P]; }
DigitalPortSettings& Pna(DigitalSettings& settings) { return settings.pna; }
std::array<NatEntry, kListEntries>& Nat(RouterSettings& settings) { return settings.nat; }
DhcpSettings& Dhcp(RouterSettings& settings) { return settings.dhcp; }
DnsSettings& Dns(RouterSettings& settings) { return settings.dns; }
std::array<HostEntry, kListEntries>& Hosts(RouterSettings& settings) { return settings.hosts; }
SyslogSettings& Syslog(RouterSettings& settings) { return settings.syslog; }

}  // namespace

bool DhcpStartText(std::string_view text) {
  return AddressText(text) && text.find('/') == std::string_view::npos;
}
bool ListAddressText(std::string_view text) { return !text.empty() && AddressText(text); }
bool NatGlobalText(std::string_view text) {
  if (!text.empty() && text.front() == '*') return text.find(',') == std::string_view::npos;
  return ListAddressText(text);
}
bool HostNameText(std::string_view text) {
  return !text.empty() && text.find(',') == std::string_view::npos;
}

ConfigCategory RouterConfig() {
  ConfigCategory category{"詳細設定", ReadRouterSettings, {}};
  category.groups.push_back(TableGroup<RouterSettings>("ルータ", kRouterSettingsCommands, Whole));
  category.groups.push_back(
      TableGroup<DigitalSettings>("ＰＮＡポート", DigitalPortCommands(), Pna, "pna"));
  category.groups.push_back(TableGroup<RouterSettings>("着信", kRasCommands, Ras));
  category.groups.push_back(ListGroup<RouterSettings>("ＮＡＴ", kNatCommands, Nat));
  category.groups.push_back(TableGroup<RouterSettings>("ＤＨＣＰ", kDhcpCommands, Dhcp));
  category.groups.push_back(TableGroup<RouterSettings>("ＤＮＳ", kDnsCommands, Dns));
  category.groups.push_back(ListGroup<RouterSettings>("ＤＮＳ名前解決", kHostCommands, Hosts));
  category.groups.push_back(TableGroup<RouterSettings>("ＳＹＳＬＯＧ", kSyslogCommands, Syslog));
  category.groups.push_back(TableGroup<RouterSettings>("専用線", kLeasedLineCommands, Network));
  category.groups.push_back(TableGroup<RouterSettings>("ダイヤルアップ１", DialupProfileCommands(),
                                                       Dialup<0>, std::string(DialupScope(0))));
  category.groups.push_back(TableGroup<RouterSettings>("ダイヤルアップ２", DialupProfileCommands(),
                                                       Dialup<1>, std::string(DialupScope(1))));
  category.groups.push_back(TableGroup<RouterSettings>("ダイヤルアップ３", DialupProfileCommands(),
                                                       Dialup<2>, std::string(DialupScope(2))));
  category.groups.push_back(TableGroup<RouterSettings>("ダイヤルアップ４", DialupProfileCommands(),
                                                       Dialup<3>, std::string(DialupScope(3))));
  // Each later group adds its line here, in the menu's group order.
  category.groups.push_back(TableGroup<RouterSettings>("接続制限", kConnectCommands, Whole));
  category.groups.push_back(TableGroup<RouterSettings>("ＢＯＤ", kBodCommands, Whole));
  category.groups.push_back(TableGroup<RouterSettings>("ＢＡＣＰ/ＢＡＰ", kBacpCommands, Whole));
  ConfigGroup address =
      TableGroup<RouterSettings>("ルータのＬＡＮ側ＩＰアドレス", kRouterAddressCommands, Whole);
  address.last = true;  // the device restarts once it has its new address
  category.groups.push_back(std::move(address));
  return category;
}

int ReadRouterSettings(DeviceContext& context) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  SettingsCopies<DigitalSettings>& digital = context.records.Of<DigitalSettings>();
  RouterSettings& base = router.baseline;
  if (ReadShow(context, "show router\r", kRouterLabels, base) == 0) return 0;
  if (FetchReply(context, "show nat\r") == 0) return 0;
  ReadPairList(context.replyText, kNatList, base.nat);
  if (ReadShow(context, "show dhcp\r", kDhcpLabels, base.dhcp) == 0) return 0;
  if (ReadShow(context, "show dns\r", kDnsLabels, base.dns) == 0) return 0;
  if (FetchReply(context, "show host\r") == 0) return 0;
  ReadPairList(context.replyText, kHostList, base.hosts);
  if (ReadShow(context, "show syslog\r", kSyslogLabels, base.syslog) == 0) return 0;
  if (ReadShow(context, "show digital pna\r", PnaPortLabels(), digital.baseline.pna) == 0) {
    return 0;
  }
  if (ReadShow(context, "show ras\r", kRasLabels, base.ras) == 0) return 0;
  for (int p = 0; p < kDialupProfiles; ++p) {
    if (ReadShow(context, kShowDialup[p], kDialupLabels,
                 base.dialup[static_cast<std::size_t>(p)]) == 0) {
      return 0;
    }
  }
  if (ReadShow(context, "show connect\r", kConnectLabels, base) == 0) return 0;
  if (ReadShow(context, "show network\r", kNetworkLabels, base.network) == 0) return 0;
  if (ReadShow(context, "show bod\r", kBodLabels, base) == 0) return 0;
  if (ReadShow(context, "show bacpbap\r", kBacpLabels, base) == 0) return 0;
  router.AdoptBaseline();
  digital.working.pna = digital.baseline.pna;  // the rest of the digital record is not read here
  return 1;
}

int WriteRouterSettings(DeviceContext& context, RouterWriteGroup group, WriteFailure* failure) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  RouterSettings& working = router.working;
  const RouterSettings& baseline = router.baseline;
  switch (group) {
    case RouterWriteGroup::kRouter:
      return WriteChanges(context, kRouterCommands, working, baseline, {}, failure);
    case RouterWriteGroup::kLeasedLine:
      return WriteChanges(context, kLeasedLineCommands, working.network, baseline.network, {},
                          failure);
    case RouterWriteGroup::kDialup1:
    case RouterWriteGroup::kDialup2:
    case RouterWriteGroup::kDialup3:
    case RouterWriteGroup::kDialup4: {
      const int p = static_cast<int>(group) - static_cast<int>(RouterWriteGroup::kDialup1);
      const auto at = static_cast<std::size_t>(p);
      return WriteChanges(context, DialupProfileCommands(), working.dialup[at],
                          baseline.dialup[at], DialupScope(p), failure);
    }
    case RouterWriteGroup::kPnaPort: {
      SettingsCopies<DigitalSettings>& digital = context.records.Of<DigitalSettings>();
      return WriteChanges(context, DigitalPortCommands(), digital.working.pna,
                          digital.baseline.pna, "pna", failure);
    }
    case RouterWriteGroup::kBod:
      return WriteChanges(context, kBodCommands, working, baseline, {}, failure);
    case RouterWriteGroup::kBacpBap:
      return WriteChanges(context, kBacpCommands, working, baseline, {}, failure);
    case RouterWriteGroup::kConnectionLimits: {
      const int written = WriteChanges(context, kConnectCommands, working, baseline, {}, failure);
      // A clear request is answered by one write, sent or not: a later write
      // (or a file applied) must not clear the counters again unasked.
      context.state.countersClearRequested = false;
      return written;
    }
    case RouterWriteGroup::kRemoteAccess:
      return WriteChanges(context, kRasCommands, working.ras, baseline.ras, {}, failure);
    case RouterWriteGroup::kStaticNat:
      return WriteListChanges(context, kNatCommands, working.nat, baseline.nat, 1, failure);
    case RouterWriteGroup::kDhcp:
      return WriteChanges(context, kDhcpCommands, working.dhcp, baseline.dhcp, {}, failure);
    case RouterWriteGroup::kDns:
      return WriteChanges(context, kDnsCommands, working.dns, baseline.dns, {}, failure);
    case RouterWriteGroup::kHostTable:
      return WriteListChanges(context, kHostCommands, working.hosts, baseline.hosts, 1, failure);
    case RouterWriteGroup::kSyslog:
      return WriteChanges(context, kSyslogCommands, working.syslog, baseline.syslog, {}, failure);
  }
  return 1;
}

}  // namespace setutily
