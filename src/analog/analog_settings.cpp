#include "analog/analog_settings.h"

#include "settings/context.h"

namespace setutily {

namespace {

constexpr std::string_view kPortNames[kAnalogPortCount] = {"tel1", "tel2", "tel3"};
constexpr std::string_view kShowPort[kAnalogPortCount] = {
    "show analog tel1\r", "show analog tel2\r", "show analog tel3\r"};
constexpr std::string_view kShowCommon = "show analog common\r";

using P = AnalogPort;
using C = AnalogCommon;

const ReadTable<AnalogPort> kPortLabels = {
    {"self address:", &P::self_address},
    {"arrive transfer:", &P::arrive_transfer},
    {"  address:", &P::transfer_address},  // two blanks: not the one in "self address:"
    {"  talky:", &P::talky},
    {"global arrive:", &P::global_arrive},
    {"subaddress less arrive:", &P::no_subaddress},
    {"analog port mode:", &P::port_mode},
    {"number display:", &P::number_display},
    {"i number:", &P::i_number},
    {"notice number:", &P::notice_number},
    {"call waiting:", &P::callwaiting},
    {"ring sound:", &P::ring_sound},
    {"send dial time:", &P::dial_time},
    {"disc signal:", &P::disc_signal},
};

const ReadTable<AnalogCommon> kCommonLabels = {
    {"i number:", &C::use_i_number},
    {"delay number:", &C::delay_number},
    {"ring sound frequency:", &C::ring_sound_freq},
};

// "{}" is the port: tel1, tel2 or tel3.
const WriteTable<AnalogPort> kPortCommands = {
    SendText(&P::self_address, "analog address {} %s\r").Accepts(PhoneText),
    SendText(&P::transfer_address, "analog arrive_transfer address {} %s\r").Accepts(PhoneText),
    SendChoice(&P::arrive_transfer, {"analog arrive_transfer {} disable\r",
                                     "analog arrive_transfer {} enable\r"}),
    SendChoice(&P::talky, {"analog arrive_transfer talky {} 0\r",
                           "analog arrive_transfer talky {} 1\r",
                           "analog arrive_transfer talky {} 2\r",
                           "analog arrive_transfer talky {} 3\r"}),
    SendChoice(&P::global_arrive, {"analog global_arrive {} disable\r",
                                   "analog global_arrive {} enable\r"}),
    SendChoice(&P::no_subaddress, {"analog no_subaddress {} disable\r",
                                   "analog no_subaddress {} enable\r"}),
    SendChoice(&P::port_mode, {"analog port_mode {} voice\r", "analog port_mode {} audio\r"}),
    SendChoice(&P::number_display, {"analog number_display {} disable\r",
                                    "analog number_display {} nd\r",
                                    "analog number_display {} cd\r"}),
    SendChoice(&P::i_number, {"analog i_number {} both\r", "analog i_number {} contract\r",
                              "analog i_number {} add1\r", "analog i_number {} add2\r"}),
    SendChoice(&P::notice_number, {"analog notice_number {} disable\r",
                                   "analog notice_number {} contract\r",
                                   "analog notice_number {} address\r",
                                   "analog notice_number {} net\r"}),
    SendChoice(&P::callwaiting, {"analog callwaiting {} disable\r", "analog callwaiting {} ntt\r",
                                 "analog callwaiting {} pseudo\r"}),
    SendChoice(&P::ring_sound, {"analog ring_sound {} ring1\r", "analog ring_sound {} ring2\r",
                                "analog ring_sound {} ring3\r"}),
    SendNumber(&P::dial_time, "analog dial_time {} %d\r").Range(3, 15),
    SendChoice(&P::disc_signal, {"analog disc_signal {} disable\r",
                                 "analog disc_signal {} enable\r"}),
};

const WriteTable<AnalogCommon> kCommonCommands = {
    SendChoice(&C::use_i_number, {"analog use_i_number disable\r", "analog use_i_number enable\r"}),
    SendNumber(&C::delay_number, "analog delay_number %d\r").Range(0, 9),
    SendNumber(&C::ring_sound_freq, "analog ring_sound_freq %d\r").Range(16, 30),
};

template <int kPort>
AnalogPort& Port(AnalogSettings& settings) {
  return settings.ports[kPort];
}
AnalogCommon& Common(AnalogSettings& settings) { return settings.common; }

}  // namespace

ConfigCategory AnalogConfig() {
  return {"アナログ設定",
          [](DeviceContext& context) {
            return ReadAnalogSettings(context, context.records.Of<AnalogSettings>());
          },
          {TableGroup<AnalogSettings>("TEL1", kPortCommands, Port<0>, "tel1"),
           TableGroup<AnalogSettings>("TEL2", kPortCommands, Port<1>, "tel2"),
           TableGroup<AnalogSettings>("TEL3", kPortCommands, Port<2>, "tel3"),
           TableGroup<AnalogSettings>("共通", kCommonCommands, Common)}};
}

int ReadAnalogSettings(DeviceContext& context, AnalogCategory& analog) {
  for (int port = 0; port < kAnalogPortCount; ++port) {
    if (ReadShow(context, kShowPort[port], kPortLabels, analog.baseline.ports[port]) == 0) {
      return 0;
    }
  }
  if (ReadShow(context, kShowCommon, kCommonLabels, analog.baseline.common) == 0) return 0;
  analog.AdoptBaseline();
  return 1;
}

int WriteAnalogSettings(DeviceContext& context, AnalogCategory& analog, AnalogGroup group,
                        WriteFailure* failure) {
  if (group == AnalogGroup::kCommon) {
    return WriteChanges(context, kCommonCommands, analog.working.common, analog.baseline.common,
                        {}, failure);
  }
  const auto port = static_cast<std::size_t>(group);
  return WriteChanges(context, kPortCommands, analog.working.ports[port],
                      analog.baseline.ports[port], kPortNames[port], failure);
}

}  // namespace setutily
