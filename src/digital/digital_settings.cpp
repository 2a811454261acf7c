#include "digital/digital_settings.h"

#include "settings/context.h"

namespace setutily {

namespace {

using P = DigitalPortSettings;
using D = DigitalSettings;

constexpr std::string_view kShowData = "show digital data\r";
constexpr std::string_view kShowUsb = "show digital usb\r";
constexpr std::string_view kShowCommon = "show digital common\r";

// Values as the device prints them: a choice code no form shows stays
// unselected and unchanged, a number out of its range fails the form's check
// until it is corrected.
const ReadTable<DigitalSettings> kCommonLabels = {
    {"init channel number:", &D::init_channel},
    {"digital arrive priority:", &D::arrive_priority},
    {"resource bod:", &D::resource_bod},
    {"throughput bod:", &D::throughput_bod},
    {"  add evaluation direction:", &D::add_evaluation_direction},
    {"  add standard rate:", &D::add_standard_rate},
    {"  add evaluation time:", &D::add_evaluation_time},
    {"  add minimum maintenance time:", &D::add_minimum_time},
    {"  del evaluation direction:", &D::del_evaluation_direction},
    {"  del standard rate:", &D::del_standard_rate},
    {"  del evaluation time:", &D::del_evaluation_time},
    {"  del minimum maintenance time:", &D::del_minimum_time},
    {"bacp/bap:", &D::bacp_bap},
    {"  depart channel:", &D::depart_flags},
    {"  arrive channel:", &D::arrive_flags},
    {"disconnect time:", &D::disc_time},
    {"piafs:", &D::piafs},
};

// "{}" is the scope: the common settings have none.
const WriteTable<DigitalSettings> kCommonCommands = {
    SendChoice(&D::init_channel, {"digital channel 2\r", "digital channel 1\r"}),
    SendChoice(&D::arrive_priority, {"digital arrive data\r", "digital arrive usb\r"}),
    SendChoice(&D::resource_bod, {"digital resource_bod disable\r", "digital resource_bod depart\r",
                                  "digital resource_bod arrive\r", "digital resource_bod both\r"}),
    SendChoice(&D::throughput_bod,
               {"digital throughput_bod disable\r", "digital throughput_bod enable\r"}),
    SendChoice(&D::bacp_bap, {"digital bacp_bap disable\r", "digital bacp_bap enable\r"}),
    SendNumber(&D::disc_time, "digital disc_time %d\r").Range(0, 255),
    // The list's index; a code the list does not know sends nothing.
    SendChoice(&D::piafs, {"digital piafs 0\r", "digital piafs 1\r", "digital piafs 2\r"}),
};

const WriteTable<DigitalSettings> kThroughputCommands = {
    SendChoice(&D::add_evaluation_direction,
               {"digital throughput_bod add_evaluation_direction both\r",
                "digital throughput_bod add_evaluation_direction send\r",
                "digital throughput_bod add_evaluation_direction recv\r",
                "digital throughput_bod add_evaluation_direction disable\r"}),
    SendNumber(&D::add_standard_rate, "digital throughput_bod add_standard_rate %d\r")
        .Range(0, 100),
    SendNumber(&D::add_evaluation_time, "digital throughput_bod add_evaluation_time %d\r")
        .Range(1, 255),
    SendNumber(&D::add_minimum_time, "digital throughput_bod add_minimum_time %d\r")
        .Range(1, 255),
    SendChoice(&D::del_evaluation_direction,
               {"digital throughput_bod del_evaluation_direction both\r",
                "digital throughput_bod del_evaluation_direction send\r",
                "digital throughput_bod del_evaluation_direction recv\r",
                "digital throughput_bod del_evaluation_direction disable\r"}),
    SendNumber(&D::del_standard_rate, "digital throughput_bod del_standard_rate %d\r")
        .Range(0, 100),
    SendNumber(&D::del_evaluation_time, "digital throughput_bod del_evaluation_time %d\r")
        .Range(1, 255),
    SendNumber(&D::del_minimum_time, "digital throughput_bod del_minimum_time %d\r")
        .Range(1, 255),
};

// A changed side sends all three of its answers. A failure inside them
// takes the whole side back to the device's value.
const WriteTable<DigitalSettings> kBacpCommands = {
    SendBits(&D::depart_flags,
             {{"digital bacp_bap depart_add auto\r", "digital bacp_bap depart_add reject\r"},
              {"digital bacp_bap depart_request auto\r", "digital bacp_bap depart_request reject\r"},
              {"digital bacp_bap depart_del auto\r", "digital bacp_bap depart_del reject\r"}}),
    SendBits(&D::arrive_flags,
             {{"digital bacp_bap arrive_add auto\r", "digital bacp_bap arrive_add reject\r"},
              {"digital bacp_bap arrive_request auto\r", "digital bacp_bap arrive_request reject\r"},
              {"digital bacp_bap arrive_del auto\r", "digital bacp_bap arrive_del reject\r"}}),
};

}  // namespace

const ReadTable<DigitalPortSettings>& DigitalPortLabels() {
  static const ReadTable<DigitalPortSettings> table = {
      {"self address:", &P::self_address},
      {"arrive transfer:", &P::arrive_transfer},
      {"  address:", &P::transfer_address},  // two blanks: not the one in "self address:"
      {"  talky:", &P::talky},
      {"global arrive:", &P::global_arrive},
      {"subaddress less arrive:", &P::no_subaddress},
      {"notice number:", &P::notice_number},
      {"i number:", &P::i_number},
  };
  return table;
}

const ReadTable<DigitalPortSettings>& PnaPortLabels() {
  static const ReadTable<DigitalPortSettings> table = [] {
    ReadTable<DigitalPortSettings> labels;
    for (const auto& entry : DigitalPortLabels()) {
      if (entry.label != "  talky:") labels.push_back(entry);
    }
    return labels;
  }();
  return table;
}

const WriteTable<DigitalPortSettings>& DigitalPortCommands() {
  // "{}" is the port. The PNA port never changes talky (no reply line, no
  // form), so its talky command never goes out.
  static const WriteTable<DigitalPortSettings> table = {
      SendText(&P::self_address, "digital address {} %s\r").Accepts(PhoneText),
      SendText(&P::transfer_address, "digital arrive_transfer address {} %s\r")
          .Accepts(PhoneText),
      SendChoice(&P::arrive_transfer, {"digital arrive_transfer {} disable\r",
                                       "digital arrive_transfer {} enable\r"}),
      SendChoice(&P::talky, {"digital arrive_transfer talky {} 0\r",
                             "digital arrive_transfer talky {} 1\r",
                             "digital arrive_transfer talky {} 2\r",
                             "digital arrive_transfer talky {} 3\r"}),
      SendChoice(&P::global_arrive, {"digital global_arrive {} disable\r",
                                     "digital global_arrive {} enable\r"}),
      SendChoice(&P::no_subaddress, {"digital no_subaddress {} disable\r",
                                     "digital no_subaddress {} enable\r"}),
      SendChoice(&P::notice_number, {"digital notice_number {} disable\r",
                                     "digital notice_number {} contract\r",
                                     "digital notice_number {} address\r",
                                     "digital notice_number {} net\r"}),
      SendChoice(&P::i_number, {"digital i_number {} both\r", "digital i_number {} contract\r",
                                "digital i_number {} add1\r", "digital i_number {} add2\r"}),
  };
  return table;
}

namespace {

DigitalPortSettings& Data(DigitalSettings& settings) { return settings.data; }
DigitalPortSettings& Usb(DigitalSettings& settings) { return settings.usb; }
DigitalSettings& Whole(DigitalSettings& settings) { return settings; }

}  // namespace

ConfigCategory DigitalConfig() {
  return {"デジタル設定",
          [](DeviceContext& context) {
            return ReadDigitalSettings(context, context.records.Of<DigitalSettings>());
          },
          {TableGroup<DigitalSettings>("ＤＡＴＡ", DigitalPortCommands(), Data, "data"),
           TableGroup<DigitalSettings>("ＵＳＢ", DigitalPortCommands(), Usb, "usb"),
           TableGroup<DigitalSettings>("共通", kCommonCommands, Whole),
           TableGroup<DigitalSettings>("スループットＢＯＤ", kThroughputCommands, Whole),
           TableGroup<DigitalSettings>("ＢＡＣＰ／ＢＡＰ", kBacpCommands, Whole)}};
}

int ReadDigitalSettings(DeviceContext& context, DigitalCategory& digital) {
  if (ReadShow(context, kShowData, DigitalPortLabels(), digital.baseline.data) == 0) return 0;
  if (ReadShow(context, kShowUsb, DigitalPortLabels(), digital.baseline.usb) == 0) return 0;
  if (ReadShow(context, kShowCommon, kCommonLabels, digital.baseline) == 0) return 0;
  digital.AdoptBaseline();
  return 1;
}

int WriteDigitalSettings(DeviceContext& context, DigitalCategory& digital, DigitalGroup group,
                         WriteFailure* failure) {
  switch (group) {
    case DigitalGroup::kData:
      return WriteChanges(context, DigitalPortCommands(), digital.working.data,
                          digital.baseline.data, "data", failure);
    case DigitalGroup::kUsb:
      return WriteChanges(context, DigitalPortCommands(), digital.working.usb,
                          digital.baseline.usb, "usb", failure);
    case DigitalGroup::kCommon:
      return WriteChanges(context, kCommonCommands, digital.working, digital.baseline, {},
                          failure);
    case DigitalGroup::kThroughput:
      return WriteChanges(context, kThroughputCommands, digital.working, digital.baseline, {},
                          failure);
    case DigitalGroup::kBacp:
      return WriteChanges(context, kBacpCommands, digital.working, digital.baseline, {}, failure);
  }
  return 1;
}

}  // namespace setutily
