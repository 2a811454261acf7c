#include "router/dialup_settings.h"

#include "settings/context.h"

namespace setutily {

namespace {

using D = DialupProfile;

bool DnsGivenByHand(const D& profile) { return profile.dns_select == 0; }

// The settings the easy setup shares with the profile's own form.
const WriteField<D> kProviderName =
    SendText(&D::provider_name, "dialup provider_name {} %s\r").MaxBytes(64);
// All three numbers in one command, empty ones included ("a,b,").
const WriteField<D> kDialNumbers =
    SendTogether("dialup dial_number {} %s,%s,%s\r", &D::dial_number1, &D::dial_number2,
                 &D::dial_number3)
        .Accepts(PhoneText);
const WriteField<D> kUserId = SendText(&D::user_id, "dialup user_id {} %s\r").MaxBytes(64);
const WriteField<D> kPassword = SendText(&D::password, "dialup password {} %s\r").MaxBytes(64);
const WriteField<D> kDnsSelect =
    SendChoice(&D::dns_select, {"dialup dns_select {} manual\r", "dialup dns_select {} auto\r"});
const WriteField<D> kDnsAddresses =
    SendTogether("dialup dns_address {} %s,%s\r", &D::dns_primary, &D::dns_secondary)
        .EmptyAs("0.0.0.0")
        .Accepts(AddressText);

const WriteTable<D> kProfileCommands = {
    kProviderName,
    kDialNumbers,
    kUserId,
    kPassword,
    SendChoice(&D::protocol, {"dialup protocol {} auto\r", "dialup protocol {} pap\r",
                              "dialup protocol {} chap\r", "dialup protocol {} disable\r"}),
    SendChoice(&D::mode, {"dialup mode {} 64k\r", "dialup mode {} mp1\r", "dialup mode {} mp2\r",
                          "dialup mode {} mp3\r"}),
    SendTwoChoice(&D::auto_disc, "dialup auto_disc {} disable\r", "dialup auto_disc {} enable\r"),
    SendNumber(&D::disc_time, "dialup disc_time {} %d\r").Range(1, 32400),
    SendText(&D::address, "dialup address {} %s\r").Accepts(AddressText),
    kDnsSelect,
    kDnsAddresses,
};

// The easy setup leaves the addresses alone while the servers are obtained
// automatically.
const WriteTable<D> kEasySetupCommands = {
    kProviderName, kDialNumbers, kUserId, kPassword, kDnsSelect,
    WriteField<D>(kDnsAddresses).OnlyIf(DnsGivenByHand),
};

// What the easy setup shows, from "show dialup num1".
const ReadTable<D> kEasySetupLabels = {
    Text("provider name:", &D::provider_name).Cut(64),
    {"dial number 1:", &D::dial_number1},
    {"dial number 2:", &D::dial_number2},
    {"dial number 3:", &D::dial_number3},
    Text("user id:", &D::user_id).Cut(64),  // as much as its edit takes
    {"password:", &D::password},
    Number("dns server select:", &D::dns_select).Range(0, 255),
    {"dns praimary address:", &D::dns_primary},
    {"dns secondary address:", &D::dns_secondary},
};

constexpr std::string_view kScopes[kDialupProfiles] = {"num1", "num2", "num3", "num4"};

}  // namespace

const WriteTable<DialupProfile>& DialupProfileCommands() { return kProfileCommands; }

std::string_view DialupScope(int profile) { return kScopes[static_cast<std::size_t>(profile)]; }

int ReadEasySetup(DeviceContext& context) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  if (ReadShow(context, "show dialup num1\r", kEasySetupLabels, router.baseline.dialup[0]) == 0) {
    return 0;
  }
  router.AdoptBaseline();
  return 1;
}

int WriteEasySetup(DeviceContext& context, WriteFailure* failure) {
  RouterCategory& router = context.records.Of<RouterSettings>();
  return WriteChanges(context, kEasySetupCommands, router.working.dialup[0],
                      router.baseline.dialup[0], kScopes[0], failure);
}

}  // namespace setutily
