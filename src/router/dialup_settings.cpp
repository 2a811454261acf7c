#include "router/dialup_settings.h"

#include "settings/context.h"

namespace setutily {

namespace {

using D = DialupProfile;

bool DnsGivenByHand(const D& profile) { return profile.dns_select == 0; }

// The settings the easy setup shares with the profile's own form; "{}" is
// the profile ("num1".."num4").
const Setting<D> kProviderName = Text(&D::provider_name, "provider name:").Bytes(64)
                                     .Message(u"プロバイダ名の入力に間違いがあります。")
                                     .Sends("dialup provider_name {} %s\r");
// All three numbers in one command, empty ones included ("a,b,").
const Setting<D> kDialNumbers = Together(
    "dialup dial_number {} %s,%s,%s\r",
    Text(&D::dial_number1, "dial number 1:").Phone().Bytes(53)
        .Message(u"電話番号1の入力に間違いがあります。"),
    Text(&D::dial_number2, "dial number 2:").Phone().Bytes(53)
        .Message(u"電話番号2の入力に間違いがあります。"),
    Text(&D::dial_number3, "dial number 3:").Phone().Bytes(53)
        .Message(u"電話番号3の入力に間違いがあります。"));
const Setting<D> kUserId = Text(&D::user_id, "user id:").Bytes(64)
                               .Message(u"ユーザー名の入力に間違いがあります。")
                               .Sends("dialup user_id {} %s\r");
const Setting<D> kPassword = Text(&D::password, "password:").Bytes(32)
                                 .Message(u"パスワードの入力に間違いがあります。")
                                 .Sends("dialup password {} %s\r");
const Setting<D> kDnsSelect =
    Choice(&D::dns_select, "dns server select:",
           {"dialup dns_select {} manual\r", "dialup dns_select {} auto\r"})
        .Reads(0, 255);
// An empty server goes out as "0.0.0.0".
const Setting<D> kDnsAddresses = Together(
    "dialup dns_address {} %s,%s\r",
    Text(&D::dns_primary, "dns praimary address:").Address().Bytes(15).SentEmptyAs("0.0.0.0")
        .Message(u"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"),
    Text(&D::dns_secondary, "dns secondary address:").Address().Bytes(15).SentEmptyAs("0.0.0.0")
        .Message(u"セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"));

// "address:" is the first line that holds that text: the device prints the
// profile's own address before the DNS addresses.
const Settings<D> kProfileSettings = {
    kProviderName,
    kDialNumbers,
    kUserId,
    kPassword,
    Choice(&D::protocol, "protocol:",
           {"dialup protocol {} auto\r", "dialup protocol {} pap\r", "dialup protocol {} chap\r",
            "dialup protocol {} disable\r"})
        .Reads(0, 255),
    Choice(&D::mode, "mode:",
           {"dialup mode {} 64k\r", "dialup mode {} mp1\r", "dialup mode {} mp2\r",
            "dialup mode {} mp3\r"})
        .Reads(0, 255),
    TwoChoice(&D::auto_disc, "auto disconnect:", "dialup auto_disc {} disable\r",
              "dialup auto_disc {} enable\r")
        .Reads(0, 255),
    Number(&D::disc_time, "disconnect time:").Reads(0, 65535).Range(1, 32400)
        .Message(u"切断時間の入力に間違いがあります。")
        .Sends("dialup disc_time {} %d\r"),
    Text(&D::address, "address:").Address().Bytes(15).StoredEmptyAs("0.0.0.0")
        .Message(u"ＷＡＮ側ＩＰアドレスの入力に間違いがあります。")
        .Sends("dialup address {} %s\r"),
    kDnsSelect,
    kDnsAddresses,
};

// The easy setup leaves the addresses alone while the servers are obtained
// automatically.
const Settings<D> kEasySetupSettings = {
    kProviderName, kDialNumbers, kUserId, kPassword, kDnsSelect,
    Setting<D>(kDnsAddresses).OnlyIf(DnsGivenByHand),
};

// Only the one-channel connection authenticates with CHAP.
bool ChapOnlyAt64k(const D& profile) { return profile.mode == 0 || profile.protocol != 2; }
const Rule<D> kChapOnlyAt64k = {ChapOnlyAt64k, u"64k 以外は、CHAPに設定できません。",
                                {&D::protocol, &D::mode}};

// Servers given by hand need one; "0.0.0.0" names none.
bool NamesServer(const std::string& address) { return !address.empty() && address != "0.0.0.0"; }
bool HasDnsServer(const D& profile) {
  return !DnsGivenByHand(profile) || NamesServer(profile.dns_primary) ||
         NamesServer(profile.dns_secondary);
}
const Rule<D> kDnsServerGiven = {HasDnsServer, u"サーバーアドレスの入力に間違いがあります。",
                                 {&D::dns_primary, &D::dns_secondary, &D::dns_select}};

DialupProfile& Profile(RouterSettings& settings, int profile) {
  return settings.dialup[static_cast<std::size_t>(profile)];
}

}  // namespace

const GroupOf<RouterSettings, DialupProfile>& DialupProfileGroup() {
  static const GroupOf<RouterSettings, DialupProfile> group{
      .title = {"ダイヤルアップ１", "ダイヤルアップ２", "ダイヤルアップ３", "ダイヤルアップ４"},
      .settings = &kProfileSettings,
      .rules = {&kChapOnlyAt64k, &kDnsServerGiven},
      .project = Profile,
      .scope = {"num1", "num2", "num3", "num4"},
      .instances = kDialupProfiles,
      .show = {"show dialup num1\r", "show dialup num2\r", "show dialup num3\r",
               "show dialup num4\r"},
  };
  return group;
}

const GroupOf<RouterSettings, DialupProfile>& EasySetupGroup() {
  static const GroupOf<RouterSettings, DialupProfile> group{
      .title = "ダイヤルアップ１",
      .settings = &kEasySetupSettings,
      .rules = {&kDnsServerGiven},
      .project = Profile,
      .scope = "num1",
      .show = "show dialup num1\r",
  };
  return group;
}

int ReadEasySetup(DeviceContext& context) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  if (ReadGroup(context, EasySetupGroup(), 0, router.baseline) == 0) return 0;
  router.AdoptBaseline();
  return 1;
}

int WriteEasySetup(DeviceContext& context, WriteFailure* failure) {
  return WriteGroup(context, EasySetupGroup(), 0, failure);
}

}  // namespace setutily
