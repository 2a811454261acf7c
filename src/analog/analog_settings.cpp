#include "analog/analog_settings.h"

#include "settings/context.h"
#include "settings/shared_settings.h"

namespace setutily {

namespace {

using P = AnalogPort;
using C = AnalogCommon;

// In sending order; "{}" is the port: tel1, tel2 or tel3.
const Settings<AnalogPort> kPortSettings = {
    SelfAddress<P>("analog", {53, 51, 51}),
    TransferAddress<P>("analog", {53, 51, 51}),
    ArriveTransfer<P>("analog"),
    Talky<P>("analog"),
    GlobalArrive<P>("analog"),
    NoSubaddress<P>("analog"),
    Choice(&P::port_mode, "analog port mode:",
           {"analog port_mode {} voice\r", "analog port_mode {} audio\r"}),
    Choice(&P::number_display, "number display:",
           {"analog number_display {} disable\r", "analog number_display {} nd\r",
            "analog number_display {} cd\r"}),
    INumber<P>("analog"),
    NoticeNumber<P>("analog"),
    Choice(&P::callwaiting, "call waiting:",
           {"analog callwaiting {} disable\r", "analog callwaiting {} ntt\r",
            "analog callwaiting {} pseudo\r"}),
    RingPattern(&P::ring_sound, "ring sound:", "analog ring_sound {}"),
    Number(&P::dial_time, "send dial time:").Range(3, 15)
        .Message(u"ダイヤル発信時間の入力に間違いがあります。")
        .Sends("analog dial_time {} %d\r"),
    Choice(&P::disc_signal, "disc signal:",
           {"analog disc_signal {} disable\r", "analog disc_signal {} enable\r"}),
};

const Settings<AnalogCommon> kCommonSettings = {
    Choice(&C::use_i_number, "i number:",
           {"analog use_i_number disable\r", "analog use_i_number enable\r"}),
    Number(&C::delay_number, "delay number:").Range(0, 9)
        .Message(u"遅延回数の入力に間違いがあります。")
        .Sends("analog delay_number %d\r"),
    Number(&C::ring_sound_freq, "ring sound frequency:").Range(16, 30)
        .Message(u"呼出音周波数の入力に間違いがあります。")
        .Sends("analog ring_sound_freq %d\r"),
};

AnalogPort& Port(AnalogSettings& settings, int port) {
  return settings.ports[static_cast<std::size_t>(port)];
}
AnalogCommon& Common(AnalogSettings& settings, int) { return settings.common; }

}  // namespace

const GroupOf<AnalogSettings, AnalogPort>& AnalogPortGroup() {
  static const GroupOf<AnalogSettings, AnalogPort> group{
      .title = {"TEL1", "TEL2", "TEL3"},
      .settings = &kPortSettings,
      .project = Port,
      .scope = {"tel1", "tel2", "tel3"},
      .instances = kAnalogPortCount,
      .show = {"show analog tel1\r", "show analog tel2\r", "show analog tel3\r"},
  };
  return group;
}

const GroupOf<AnalogSettings, AnalogCommon>& AnalogCommonGroup() {
  static const GroupOf<AnalogSettings, AnalogCommon> group{
      .title = "共通",
      .settings = &kCommonSettings,
      .project = Common,
      .show = "show analog common\r"};
  return group;
}

ConfigCategory AnalogConfig() {
  return ConfigCategory{"アナログ設定",
                        [](DeviceContext& context) {
                          return ReadAnalogSettings(context, context.records.Of<AnalogSettings>());
                        },
                        {}}
      .Add(ConfigGroupsOf(AnalogPortGroup()))
      .Add(ConfigGroupsOf(AnalogCommonGroup()));
}

int ReadAnalogSettings(DeviceContext& context, AnalogCategory& analog) {
  for (int port = 0; port < kAnalogPortCount; ++port) {
    if (ReadGroup(context, AnalogPortGroup(), port, analog.baseline) == 0) return 0;
  }
  if (ReadGroup(context, AnalogCommonGroup(), 0, analog.baseline) == 0) return 0;
  analog.AdoptBaseline();
  return 1;
}

int WriteAnalogSettings(DeviceContext& context, AnalogCategory& analog, AnalogGroup group,
                        WriteFailure* failure) {
  if (group == AnalogGroup::kCommon) return WriteGroup(context, analog, AnalogCommonGroup(), 0, failure);
  const int port = static_cast<int>(group);
  if (port < 0 || port >= kAnalogPortCount) return 1;
  return WriteGroup(context, analog, AnalogPortGroup(), port, failure);
}

}  // namespace setutily
