#include "router/router_settings.h"

#include "digital/digital_settings.h"
#include "router/dialup_settings.h"
#include "settings/context.h"
#include "settings/shared_settings.h"

namespace setutily {

namespace {

using R = RouterSettings;
using Dh = DhcpSettings;
using Dn = DnsSettings;
using Sy = SyslogSettings;
using Ra = RasSettings;
using L = LeasedLineSettings;

// The connection target is printed counting from 1; a printed 0 is no
// target the forms know (-1, nothing selected).
int CountFromZero(int printed) { return printed - 1; }

// The device restarts with its new address: it has stored everything, and
// there is no command line left to leave.
void DeviceRestarts(RunState& state) {
  state.rebootOnClose = true;
  state.pendingChangeCount = 0;
}

bool CountersClearRequested(const RunState& state) { return state.countersClearRequested; }

// A clear request is answered by one write, sent or not: a later write (or
// a file applied) must not clear the counters again unasked.
void ClearRequestAnswered(RunState& state) { state.countersClearRequested = false; }

// Numbers are read in the width the device prints them in (8-bit 0-255,
// 16-bit 0-65535), saturating.
constexpr long long kByte = 255, kWord = 65535;

// ---- "show router": group 0, its address last of all (the device restarts
// once it has it). The other texts are carried, shown by no form.
const Settings<R> kRouterSettings = {
    Text(&R::hardware_address, "hardware address:"),
    Text(&R::default_address, "default address:"),
    Text(&R::router_name, "router name:"),
    Text(&R::login_password, "login password:"),
    Text(&R::admin_password, "admin password:"),
    TwoChoice(&R::auto_connect, "auto connect:", "router auto_connect manual\r",
              "router auto_connect auto\r")
        .Reads(0, kByte),
    Choice(&R::connect_sel, "connect select:",
           {"router connect_sel num1\r", "router connect_sel num2\r", "router connect_sel num3\r",
            "router connect_sel num4\r", "router connect_sel netwk\r"})
        .Reads(0, 256).Adjust(CountFromZero),
    TwoChoice(&R::ip_masquerade, "ip masquerade:", "router ip_masquerade disable\r",
              "router ip_masquerade enable\r")
        .Reads(0, kByte),
    Text(&R::masq_address, "masquerade address:").Address().Bytes(18).StoredEmptyAs("0.0.0.0")
        .Message(u"ＩＰマスカレード用ＩＰアドレスの入力に間違いがあります。")
        .Sends("router masq_address %s\r"),
    TwoChoice(&R::sw_action, "sw action:", "router sw_action bod\r", "router sw_action line\r")
        .Reads(0, kByte),
    TwoChoice(&R::beep, "beep:", "router beep disable\r", "router beep enable\r").Reads(0, kByte),
    TwoChoice(&R::ip_filter, "ip filter:", "router ip_filter disable\r",
              "router ip_filter enable\r")
        .Reads(0, kByte),
    Choice(&R::line_mode, "line mode:",
           {"router line_mode 0\r", "router line_mode 1\r", "router line_mode 2\r",
            "router line_mode 3\r", "router line_mode 4\r"})
        .Reads(0, kByte),
    TwoChoice(&R::redial, "redial:", "router redial disable\r", "router redial enable\r")
        .Reads(0, kByte),
    Text(&R::router_address, "ip address:").JoinedWith("/", "submask:").Cut(52)
        .PrefixedAddress().Bytes(18).StoredEmptyAs("0.0.0.0/32")
        .Message(u"ルータのＬＡＮ側ＩＰアドレスの入力に間違いがあります。")
        .Sends("router address %s\r").AfterSent(DeviceRestarts).Last(),
};

// ---- "show connect": group 13, the counters first when "クリア" asked for it.
// Limits are printed "limit/period", the daily clear time "hour:minute".
const Settings<R> kConnectSettings = {
    When<R>(CountersClearRequested, {"connect charge\r", "connect time\r", "connect number\r"}),
    Together("connect charge %d/%d\r",
             Number(&R::charge_limit, "charge:").Range(0, 999999)
                 .Message(u"回線使用料の入力に間違いがあります。"),
             Number(&R::charge_period).Reads(0, kByte).Range(0, 2))
        .Split('/'),
    Together("connect time %d/%d\r",
             Number(&R::time_limit, "time:").Reads(0, kWord).Range(0, 743)
                 .Message(u"接続時間の入力に間違いがあります。"),
             Number(&R::time_period).Reads(0, kByte).Range(0, 2))
        .Split('/'),
    Together("connect number %d/%d\r",
             Number(&R::count_limit, "number:").Reads(0, kWord).Range(0, 9999)
                 .Message(u"接続回数の入力に間違いがあります。"),
             Number(&R::count_minutes).Reads(0, kWord).Range(1, 1440)
                 .Message(u"接続回数の入力に間違いがあります。"))
        .Split('/'),
    Together("connect clr_day %d:%d\r",
             Number(&R::clear_hour, "day:").Reads(0, kByte).Range(0, 23)
                 .Message(u"クリア機能の入力に間違いがあります。"),
             Number(&R::clear_minute).Reads(0, kByte).Range(0, 59)
                 .Message(u"クリア機能の入力に間違いがあります。"))
        .Split(':'),
    Number(&R::clear_weekday, "week:").Reads(0, kByte).Range(0, 6).Sends("connect clr_week %d\r"),
    Number(&R::clear_monthday, "mon:").Reads(0, kByte).Range(1, 31)
        .Message(u"クリア機能の入力に間違いがあります。")
        .Sends("connect clr_mon %d\r"),
};

// With a period no form shows, the time is not judged.
bool TimeWithinPeriod(const R& values) {
  const int most = MostConnectionHours(values.time_period);
  return most < 0 || values.time_limit <= most;
}
const Rule<R> kTimeWithinPeriod = {TimeWithinPeriod, u"接続時間の入力に間違いがあります。",
                                   {&R::time_limit, &R::time_period}};

// ---- "show bod": group 11; the router keeps minimum holding times in
// seconds.
const Settings<R> kBodSettings = Concat(
    Settings<R>{
        Choice(&R::init_channel, "init channel number:", {"bod channel 2\r", "bod channel 1\r"})
            .Reads(0, kByte),
        Choice(&R::resource_bod, "resource bod:",
               {"bod resource_bod disable\r", "bod resource_bod depart\r",
                "bod resource_bod arrive\r", "bod resource_bod both\r"})
            .Reads(0, kByte),
    },
    ThroughputHalves<R>("bod throughput_bod", 5, 1275, 1, true));

// ---- "show bacpbap": group 12, each side's three answers together,
// whenever one of them changed.
const Settings<R> kBacpSettings = {
    BacpSide(&R::depart_flags, "depart channel:", "bacpbap depart").Reads(0, kByte),
    BacpSide(&R::arrive_flags, "arrive channel:", "bacpbap arrive").Reads(0, kByte),
};

// ---- "show nat": group 1, entry by entry with the entry number as scope.
// An entry in use in both copies whose addresses changed is added again.
const Settings<NatEntry> kNatSettings = {
    Presence(&NatEntry::used, "nat add {} %s,%s\r", "nat del {}\r",
             Text(&NatEntry::private_address).Address().Required().Bytes(52)
                 .Message(u"プライベートＩＰアドレスの入力に間違いがあります。"),
             Text(&NatEntry::global_address).Numeric().Accepts(NatGlobalText).Bytes(52)
                 .Message(u"グローバルＩＰアドレスの入力に間違いがあります。")),
};

// ---- "show dhcp": group 2. "end address:" prints the count, not an address.
const Settings<Dh> kDhcpSettings = {
    Together("dhcp range_address %s/%d\r",
             Text(&Dh::start_address, "start address:").Address().Accepts(DhcpStartText)
                 .Bytes(15).Message(u"開始ＩＰアドレスの入力に間違いがあります。"),
             Number(&Dh::address_count, "end address:").Reads(0, kByte).Range(0, 255)
                 .Message(u"個数の入力に間違いがあります。")),
    Number(&Dh::lease_time, "lease time:").Range(1, 999999)
        .Message(u"リース時間の入力に間違いがあります。")
        .Sends("dhcp lease_time %d\r"),
    Text(&Dh::default_address, "default address:").Address().Bytes(15).ShownEmpty("0.0.0.0")
        .Message(u"デフォルトゲートウェイの入力に間違いがあります。")
        .Sends("dhcp default_address %s\r"),
    Text(&Dh::dns_address, "dns praimary address:").Address().Bytes(15).ShownEmpty("0.0.0.0")
        .Message(u"ＤＮＳサーバーＩＰアドレスの入力に間違いがあります。")
        .Sends("dhcp dns_address %s\r"),
    Text(&Dh::domain_name, "dns domain name:").Bytes(64)
        .Message(u"ドメイン名の入力に間違いがあります。")
        .Sends("dhcp domain_name %s\r"),
    TwoChoice(&Dh::active, "dhcp active:", "dhcp active disable\r", "dhcp active enable\r")
        .Reads(0, kByte),
};

// ---- "show dns": group 3; an empty server goes out as "0.0.0.0".
const Settings<Dn> kDnsSettings = {
    Together("dns address %s,%s\r",
             Text(&Dn::primary_address, "primary address:").Address().Bytes(15)
                 .SentEmptyAs("0.0.0.0")
                 .Message(u"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"),
             Text(&Dn::secondary_address, "secondary address:").Address().Bytes(15)
                 .SentEmptyAs("0.0.0.0")
                 .Message(u"セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。")),
    TwoChoice(&Dn::forwarding, "forwarding:", "dns forwarding disable\r",
              "dns forwarding enable\r")
        .Reads(0, kByte),
};

// ---- "show host": group 4, as group 1.
const Settings<HostEntry> kHostSettings = {
    Presence(&HostEntry::used, "host add {} %s,%s\r", "host del {}\r",
             Text(&HostEntry::address).Address().Required().Bytes(52)
                 .Message(u"ＩＰアドレスの入力に間違いがあります。"),
             Text(&HostEntry::name).Accepts(HostNameText).Bytes(64)
                 .Message(u"ホスト名の入力に間違いがあります。")),
};

// ---- "show syslog": group 5. The device takes a tab between "active" and
// "enable".
const Settings<Sy> kSyslogSettings = {
    Text(&Sy::address, "address:").Address().Bytes(15).ShownEmpty("0.0.0.0")
        .Message(u"ホストアドレスの入力に間違いがあります。")
        .Sends("syslog address %s\r"),
    Number(&Sy::facility, "facility:").Range(0, 23)
        .Message(u"ファシリティの入力に間違いがあります。")
        .Sends("syslog facility %d\r"),
    TwoChoice(&Sy::debug, "debug:", "syslog debug disable\r", "syslog debug enable\r")
        .Reads(0, kByte),
    TwoChoice(&Sy::info, "info:", "syslog info disable\r", "syslog info enable\r").Reads(0, kByte),
    TwoChoice(&Sy::notice, "notice:", "syslog notice disable\r", "syslog notice enable\r")
        .Reads(0, kByte),
    TwoChoice(&Sy::active, "syslog active:", "syslog active disable\r", "syslog active\tenable\r")
        .Reads(0, kByte),
};

// ---- "show ras": group 15.
const Settings<Ra> kRasSettings = {
    Choice(&Ra::active, "ras active:", {"ras server disable\r", "ras server enable\r"})
        .Reads(0, kByte),
    Together("ras address %s,%s\r",
             Text(&Ra::wan_address, "wan address:").Address().Bytes(15)
                 .StoredEmptyAs("0.0.0.0").SentEmptyAs("0.0.0.0")
                 .Message(u"ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。"),
             Text(&Ra::partner_address, "partner address:").Address().Bytes(15)
                 .StoredEmptyAs("0.0.0.0").SentEmptyAs("0.0.0.0")
                 .Message(u"相手側ＩＰアドレスの入力に間違いがあります。")),
    Text(&Ra::user_id, "user id:").Bytes(32).Cut(64)
        .Message(u"受信ユーザーＩＤの入力に間違いがあります。")
        .Sends("ras user_id %s\r"),
    Text(&Ra::password, "password:").Bytes(64)
        .Message(u"受信パスワードの入力に間違いがあります。")
        .Sends("ras password %s\r"),
    Choice(&Ra::protocol, "protocol:",
           {"ras protocol auto\r", "ras protocol pap\r", "ras protocol chap\r",
            "ras protocol disable\r"})
        .Reads(0, kByte),
    Choice(&Ra::mode, "mode:", {"ras mode 64k\r", "ras mode mp1\r", "ras mode mp2\r", "ras mode mp3\r"})
        .Reads(0, kByte),
    TwoChoice(&Ra::auto_disc, "auto disconnect:", "ras auto_disc disable\r",
              "ras auto_disc enable\r")
        .Reads(0, kByte),
    Number(&Ra::disc_time, "disconnect time:").Reads(0, kWord).Range(1, 32400)
        .Message(u"切断時間の入力に間違いがあります。")
        .Sends("ras disc_time %d\r"),
};

// Only the single-channel connection may authenticate with CHAP.
bool RasChapOnlyAt64k(const Ra& values) { return values.mode == 0 || values.protocol != 2; }
const Rule<Ra> kRasChapOnlyAt64k = {RasChapOnlyAt64k, u"64k 以外は、CHAPに設定できません。",
                                    {&Ra::protocol, &Ra::mode}};

// ---- "show network": group 10, the leased line.
const Settings<L> kLeasedLineSettings = {
    Text(&L::address, "address:").JoinedWith("/", "submask:").Cut(52).PrefixedAddress()
        .Bytes(18).StoredEmptyAs("0.0.0.0/0")
        .Message(u"グローバルＩＰアドレスの入力に間違いがあります。")
        .Sends("network address %s\r"),
    Text(&L::remote_addr, "remote:").Cut(52).Address().Bytes(15).StoredEmptyAs("0.0.0.0")
        .Message(u"リモートＩＰアドレスの入力に間違いがあります。")
        .Sends("network remote_addr %s\r"),
    Text(&L::user_id, "user id:").Bytes(32).Cut(64)
        .Message(u"ユーザー名の入力に間違いがあります。")
        .Sends("network user_id %s\r"),
    Text(&L::password, "password:").Bytes(32)
        .Message(u"パスワードの入力に間違いがあります。")
        .Sends("network password %s\r"),
    Together("network dns_address %s,%s\r",
             Text(&L::dns_primary, "dns praimary address:").Address().Bytes(15)
                 .SentEmptyAs("0.0.0.0")
                 .Message(u"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"),
             Text(&L::dns_secondary, "dns secondary address:").Address().Bytes(15)
                 .SentEmptyAs("0.0.0.0")
                 .Message(u"セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。")),
};

R& Whole(R& settings, int) { return settings; }
L& Network(R& settings, int) { return settings.network; }
Ra& Ras(R& settings, int) { return settings.ras; }
Dh& Dhcp(R& settings, int) { return settings.dhcp; }
Dn& Dns(R& settings, int) { return settings.dns; }
Sy& Syslog(R& settings, int) { return settings.syslog; }
std::array<NatEntry, kListEntries>& Nat(R& settings) { return settings.nat; }
std::array<HostEntry, kListEntries>& Hosts(R& settings) { return settings.hosts; }

}  // namespace

int MostConnectionHours(int period) {
  // A day, a week, a month.
  constexpr int kPeriodHours[] = {23, 167, 743};
  return period >= 0 && period <= 2 ? kPeriodHours[static_cast<std::size_t>(period)] : -1;
}

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

const GroupOf<R, R>& RouterGroup() {
  static const GroupOf<R, R> group{.title = "ルータ",
                                   .settings = &kRouterSettings,
                                   .project = Whole,
                                   .lastTitle = "ルータのＬＡＮ側ＩＰアドレス",
                                   .show = "show router\r"};
  return group;
}
const ListOf<R, NatEntry, kListEntries>& NatList() {
  static const ListOf<R, NatEntry, kListEntries> list{
      .title = "ＮＡＴ", .settings = &kNatSettings, .entries = Nat,
      .numberMessage = u"番号の入力に間違いがあります。",
      .shows = {"show nat\r"}, .readPage = ReadPairPage};
  return list;
}
const GroupOf<R, Dh>& DhcpGroup() {
  static const GroupOf<R, Dh> group{
      .title = "ＤＨＣＰ", .settings = &kDhcpSettings, .project = Dhcp, .show = "show dhcp\r"};
  return group;
}
const GroupOf<R, Dn>& DnsGroup() {
  static const GroupOf<R, Dn> group{
      .title = "ＤＮＳ", .settings = &kDnsSettings, .project = Dns, .show = "show dns\r"};
  return group;
}
const ListOf<R, HostEntry, kListEntries>& HostList() {
  static const ListOf<R, HostEntry, kListEntries> list{
      .title = "ＤＮＳ名前解決", .settings = &kHostSettings, .entries = Hosts,
      .numberMessage = u"番号の入力に間違いがあります。",
      .shows = {"show host\r"}, .readPage = ReadPairPage};
  return list;
}
const GroupOf<R, Sy>& SyslogGroup() {
  static const GroupOf<R, Sy> group{
      .title = "ＳＹＳＬＯＧ",
      .settings = &kSyslogSettings,
      .project = Syslog,
      .show = "show syslog\r"};
  return group;
}
const GroupOf<R, L>& LeasedLineGroup() {
  static const GroupOf<R, L> group{
      .title = "専用線",
      .settings = &kLeasedLineSettings,
      .project = Network,
      .show = "show network\r"};
  return group;
}
const GroupOf<R, R>& BodGroup() {
  static const GroupOf<R, R> group{
      .title = "ＢＯＤ", .settings = &kBodSettings, .project = Whole, .show = "show bod\r"};
  return group;
}
const GroupOf<R, R>& RouterBacpGroup() {
  static const GroupOf<R, R> group{
      .title = "ＢＡＣＰ/ＢＡＰ",
      .settings = &kBacpSettings,
      .project = Whole,
      .show = "show bacpbap\r"};
  return group;
}
const GroupOf<R, R>& ConnectionLimitGroup() {
  static const GroupOf<R, R> group{.title = "接続制限",
                                   .settings = &kConnectSettings,
                                   .rules = {&kTimeWithinPeriod},
                                   .project = Whole,
                                   .afterWrite = ClearRequestAnswered,
                                   .show = "show connect\r"};
  return group;
}
const GroupOf<R, Ra>& RemoteAccessGroup() {
  static const GroupOf<R, Ra> group{.title = "着信",
                                    .settings = &kRasSettings,
                                    .rules = {&kRasChapOnlyAt64k},
                                    .project = Ras,
                                    .show = "show ras\r"};
  return group;
}

ConfigCategory RouterConfig() {
  // In the menu's group order; the router address last of all.
  return ConfigCategory{"詳細設定", ReadRouterSettings, {}}
      .Add(ConfigGroupsOf(RouterGroup()))
      .Add(ConfigGroupsOf(PnaPortGroup()))
      .Add(ConfigGroupsOf(RemoteAccessGroup()))
      .Add(ConfigGroupOf(NatList()))
      .Add(ConfigGroupsOf(DhcpGroup()))
      .Add(ConfigGroupsOf(DnsGroup()))
      .Add(ConfigGroupOf(HostList()))
      .Add(ConfigGroupsOf(SyslogGroup()))
      .Add(ConfigGroupsOf(LeasedLineGroup()))
      .Add(ConfigGroupsOf(DialupProfileGroup()))
      .Add(ConfigGroupsOf(ConnectionLimitGroup()))
      .Add(ConfigGroupsOf(BodGroup()))
      .Add(ConfigGroupsOf(RouterBacpGroup()));
}

int ReadRouterSettings(DeviceContext& context) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  SettingsCopies<DigitalSettings>& digital = context.records.Of<DigitalSettings>();
  RouterSettings& base = router.baseline;
  // In the device's order.
  const bool read = ReadGroup(context, RouterGroup(), 0, base) == 1 &&
                    ReadList(context, NatList(), base) == 1 &&
                    ReadGroup(context, DhcpGroup(), 0, base) == 1 &&
                    ReadGroup(context, DnsGroup(), 0, base) == 1 &&
                    ReadList(context, HostList(), base) == 1 &&
                    ReadGroup(context, SyslogGroup(), 0, base) == 1 &&
                    ReadGroup(context, PnaPortGroup(), 0, digital.baseline) == 1 &&
                    ReadGroup(context, RemoteAccessGroup(), 0, base) == 1 &&
                    ReadGroup(context, DialupProfileGroup(), 0, base) == 1 &&
                    ReadGroup(context, DialupProfileGroup(), 1, base) == 1 &&
                    ReadGroup(context, DialupProfileGroup(), 2, base) == 1 &&
                    ReadGroup(context, DialupProfileGroup(), 3, base) == 1 &&
                    ReadGroup(context, ConnectionLimitGroup(), 0, base) == 1 &&
                    ReadGroup(context, LeasedLineGroup(), 0, base) == 1 &&
                    ReadGroup(context, BodGroup(), 0, base) == 1 &&
                    ReadGroup(context, RouterBacpGroup(), 0, base) == 1;
  if (!read) return 0;
  router.AdoptBaseline();
  digital.working.pna = digital.baseline.pna;  // the rest of the digital record is not read here
  return 1;
}

}  // namespace setutily
