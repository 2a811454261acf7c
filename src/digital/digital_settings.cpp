#include "digital/digital_settings.h"

#include "settings/context.h"
#include "settings/shared_settings.h"

namespace setutily {

namespace {

using P = DigitalPortSettings;
using D = DigitalSettings;

// The common page holds the common, throughput-BOD and BACP/BAP settings.
constexpr std::string_view kShowCommon = "show digital common\r";

// "{}" is the port: data, usb or pna. The PNA port has no talky setting.
const Settings<DigitalPortSettings> kPortSettings = {
    SelfAddress<P>("digital", 53),
    TransferAddress<P>("digital", 53),
    ArriveTransfer<P>("digital"),
    Talky<P>("digital").NotOn("pna"),
    GlobalArrive<P>("digital"),
    NoSubaddress<P>("digital"),
    NoticeNumber<P>("digital"),
    INumber<P>("digital"),
};

// Values as the device prints them: a choice code no form shows stays
// unselected and unchanged, a number out of its range fails the form's check
// until it is corrected.
const Settings<DigitalSettings> kCommonSettings = {
    Choice(&D::init_channel, "init channel number:",
           {"digital channel 2\r", "digital channel 1\r"}),
    Choice(&D::arrive_priority, "digital arrive priority:",
           {"digital arrive data\r", "digital arrive usb\r"}),
    Choice(&D::resource_bod, "resource bod:",
           {"digital resource_bod disable\r", "digital resource_bod depart\r",
            "digital resource_bod arrive\r", "digital resource_bod both\r"}),
    Choice(&D::throughput_bod, "throughput bod:",
           {"digital throughput_bod disable\r", "digital throughput_bod enable\r"}),
    Choice(&D::bacp_bap, "bacp/bap:", {"digital bacp_bap disable\r", "digital bacp_bap enable\r"}),
    Number(&D::disc_time, "disconnect time:").Range(0, 255)
        .Message(u"切断時間の入力に間違いがあります。")
        .Sends("digital disc_time %d\r"),
    // The list's index; a code the list does not know sends nothing.
    Choice(&D::piafs, "piafs:", {"digital piafs 0\r", "digital piafs 1\r", "digital piafs 2\r"}),
};

// The minimum holding times are kept in units of 5 seconds.
const Settings<DigitalSettings> kThroughputSettings =
    ThroughputHalves<D>("digital throughput_bod", 1, 255, 5, false);

// A changed side sends all three of its answers. A failure inside them
// takes the whole side back to the device's value.
const Settings<DigitalSettings> kBacpSettings = {
    BacpSide(&D::depart_flags, "  depart channel:", "digital bacp_bap depart"),
    BacpSide(&D::arrive_flags, "  arrive channel:", "digital bacp_bap arrive"),
};

DigitalPortSettings& Port(DigitalSettings& settings, int port) {
  return port == 0 ? settings.data : settings.usb;
}
DigitalPortSettings& Pna(DigitalSettings& settings, int) { return settings.pna; }
DigitalSettings& Whole(DigitalSettings& settings, int) { return settings; }

}  // namespace

const GroupOf<DigitalSettings, DigitalPortSettings>& DigitalPortGroup() {
  static const GroupOf<DigitalSettings, DigitalPortSettings> group{
      .title = {"ＤＡＴＡ", "ＵＳＢ"},
      .settings = &kPortSettings,
      .project = Port,
      .scope = {"data", "usb"},
      .instances = 2,
      .show = {"show digital data\r", "show digital usb\r"},
  };
  return group;
}

const GroupOf<DigitalSettings, DigitalPortSettings>& PnaPortGroup() {
  static const GroupOf<DigitalSettings, DigitalPortSettings> group{
      .title = "ＰＮＡポート",
      .settings = &kPortSettings,
      .project = Pna,
      .scope = "pna",
      .show = "show digital pna\r"};
  return group;
}

const GroupOf<DigitalSettings, DigitalSettings>& DigitalCommonGroup() {
  static const GroupOf<DigitalSettings, DigitalSettings> group{
      .title = "共通", .settings = &kCommonSettings, .project = Whole, .show = kShowCommon};
  return group;
}

const GroupOf<DigitalSettings, DigitalSettings>& ThroughputGroup() {
  static const GroupOf<DigitalSettings, DigitalSettings> group{
      .title = "スループットＢＯＤ",
      .settings = &kThroughputSettings,
      .project = Whole,
      .show = kShowCommon};
  return group;
}

const GroupOf<DigitalSettings, DigitalSettings>& DigitalBacpGroup() {
  static const GroupOf<DigitalSettings, DigitalSettings> group{
      .title = "ＢＡＣＰ／ＢＡＰ",
      .settings = &kBacpSettings,
      .project = Whole,
      .show = kShowCommon};
  return group;
}

ConfigCategory DigitalConfig() {
  return ConfigCategory{"デジタル設定",
                        [](DeviceContext& context) {
                          return ReadDigitalSettings(context,
                                                     context.records.Of<DigitalSettings>());
                        },
                        {}}
      .Add(ConfigGroupsOf(DigitalPortGroup()))
      .Add(ConfigGroupsOf(DigitalCommonGroup()))
      .Add(ConfigGroupsOf(ThroughputGroup()))
      .Add(ConfigGroupsOf(DigitalBacpGroup()));
}

int ReadDigitalSettings(DeviceContext& context, DigitalCategory& digital) {
  ShowReplies replies;
  for (int port = 0; port < 2; ++port) {
    if (ReadGroup(context, DigitalPortGroup(), port, digital.baseline) == 0) return 0;
  }
  for (const auto* group : {&DigitalCommonGroup(), &ThroughputGroup(), &DigitalBacpGroup()}) {
    if (ReadGroup(context, *group, 0, digital.baseline, &replies) == 0) return 0;
  }
  digital.AdoptBaseline();
  return 1;
}

int WriteDigitalSettings(DeviceContext& context, DigitalCategory& digital, DigitalGroup group,
                         WriteFailure* failure) {
  const GroupOf<DigitalSettings, DigitalSettings>* const shared[] = {
      &DigitalCommonGroup(), &ThroughputGroup(), &DigitalBacpGroup()};
  const int index = static_cast<int>(group);
  if (index >= 0 && index < 2) return WriteGroup(context, digital, DigitalPortGroup(), index, failure);
  if (index >= 2 && index < 5) return WriteGroup(context, digital, *shared[index - 2], 0, failure);
  return 1;
}

}  // namespace setutily
