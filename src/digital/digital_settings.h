// The digital data ports DATA, USB and PNA (the HomePNA port) and the
// settings they share: the record, its read from the device and the write
// of one group. The PNA block lives here too; the router category reads and
// writes it with the tables exported below, so both launches reach the one
// record of the run's store.
#pragma once

#include <string>
#include <string_view>

#include "settings/config.h"

namespace setutily {

struct DeviceContext;

// One digital port. Choice fields hold the code the device prints.
struct DigitalPortSettings {
  std::string self_address;      // own number; a subaddress follows "*"
  int arrive_transfer = 0;       // 0 off, 1 on
  std::string transfer_address;  // forwarding destination
  int talky = 0;                 // transfer talky 0-3; carried, edited by no form
  int global_arrive = 0;         // 0 no, 1 yes
  int no_subaddress = 0;         // accept calls without subaddress: 0 no, 1 yes
  int notice_number = 0;         // 0 none, 1 contract, 2 own address, 3 as contracted
  int i_number = 0;              // 0 both, 1 contract, 2 additional 1, 3 additional 2
  bool operator==(const DigitalPortSettings&) const = default;
};

struct DigitalSettings {
  int init_channel = 0;     // 0 two channels, 1 one channel
  int resource_bod = 0;     // 0 none, 1 outgoing only, 2 incoming only, 3 both
  int arrive_priority = 0;  // 0 DATA port, 1 USB port
  int throughput_bod = 0;   // 0 not used, 1 used
  int bacp_bap = 0;         // 0 not used, 1 used
  int disc_time = 0;        // minutes, 0-255
  int piafs = 0;            // 0 "32k", 1 "64k Version 2.0", 2 "64k Version 2.1"
  // Throughput BOD, channel addition and deletion. Directions: 0 sent and
  // received data, 1 sent only, 2 received only, 3 no addition/deletion.
  int add_evaluation_direction = 0;
  int add_standard_rate = 0;    // percent, 0-100
  int add_evaluation_time = 0;  // seconds, 1-255
  int add_minimum_time = 0;     // units of 5 seconds, 1-255
  int del_evaluation_direction = 0;
  int del_standard_rate = 0;
  int del_evaluation_time = 0;
  int del_minimum_time = 0;
  // BACP/BAP answers: bit 0 channel addition, bit 1 call-back request,
  // bit 2 channel deletion; a set bit answers automatically, a clear one rejects.
  int depart_flags = 0;  // calling side
  int arrive_flags = 0;  // called side
  DigitalPortSettings usb;
  DigitalPortSettings data;
  DigitalPortSettings pna;  // read and written by the router category
  bool operator==(const DigitalSettings&) const = default;
};

// The baseline and the working copy of the category, for one run.
using DigitalCategory = SettingsCopies<DigitalSettings>;

// Write groups of the digital menu.
enum class DigitalGroup { kData, kUsb, kCommon, kThroughput, kBacp };

// The port group (instances DATA and USB), the PNA port's group (read and
// written by the router category), and the common, throughput BOD and
// BACP/BAP groups.
const GroupOf<DigitalSettings, DigitalPortSettings>& DigitalPortGroup();
const GroupOf<DigitalSettings, DigitalPortSettings>& PnaPortGroup();
const GroupOf<DigitalSettings, DigitalSettings>& DigitalCommonGroup();
const GroupOf<DigitalSettings, DigitalSettings>& ThroughputGroup();
const GroupOf<DigitalSettings, DigitalSettings>& DigitalBacpGroup();

// Reads "show digital data", "usb" and "common" into the baseline and, when
// every reply arrived, copies it into the working copy. 1 on success, 0
// when a read failed (context.readFailure says why; the working copy is
// then left as it was). The
// PNA block is left as it is.
// The category's groups as configuration-file commands (the PNA port
// belongs to the router category, which reads it).
ConfigCategory DigitalConfig();

int ReadDigitalSettings(DeviceContext& context, DigitalCategory& digital);

// Sends the changed settings of one group. 1 when all were sent (or none
// differed); 0 when an exchange failed: the group's fields from the failed
// one on are then back at their baseline values in the working copy, and
// failure (when given) tells where it stopped.
int WriteDigitalSettings(DeviceContext& context, DigitalCategory& digital, DigitalGroup group,
                         WriteFailure* failure = nullptr);

}  // namespace setutily
