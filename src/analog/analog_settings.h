// The analog telephone ports TEL1, TEL2 and TEL3 and the settings they
// share: the record, its read from the device and the write of one group.
#pragma once

#include <array>
#include <string>

#include "settings/config.h"

namespace setutily {

struct DeviceContext;

// Settings common to all three ports.
struct AnalogCommon {
  int use_i_number = 0;     // 0 not used, 1 used
  int delay_number = 0;     // 0-9
  int ring_sound_freq = 0;  // Hz, 16-30
  bool operator==(const AnalogCommon&) const = default;
};

// One port. Choice fields hold the code the device prints.
struct AnalogPort {
  std::string self_address;      // own number; a subaddress follows "*"
  int arrive_transfer = 0;       // 0 off, 1 on
  std::string transfer_address;  // forwarding destination
  int talky = 0;                 // announcements: 2 forwarding, 1 forwarder, 3 both
  int i_number = 0;              // 0 both, 1 contract, 2 additional 1, 3 additional 2
  int number_display = 0;        // 0 none, 1 number display, 2 call-waiting display
  int global_arrive = 0;         // 0 no, 1 yes
  int no_subaddress = 0;         // accept calls without subaddress: 0 no, 1 yes
  int notice_number = 0;         // 0 none, 1 contract, 2 own number, 3 as contracted
  int callwaiting = 0;           // 0 off, 1 network, 2 pseudo
  int dial_time = 0;             // seconds, 3-15
  int port_mode = 0;             // 0 voice, 1 3.1 kHz audio
  int ring_sound = 0;            // 0-2
  int disc_signal = 0;           // 0 no, 1 yes
  bool operator==(const AnalogPort&) const = default;
};

inline constexpr int kAnalogPortCount = 3;

struct AnalogSettings {
  AnalogCommon common;
  std::array<AnalogPort, kAnalogPortCount> ports;  // TEL1, TEL2, TEL3
  bool operator==(const AnalogSettings&) const = default;
};

// The baseline and the working copy of the category, for one run.
using AnalogCategory = SettingsCopies<AnalogSettings>;

// Write groups: the three ports, then the common settings.
enum class AnalogGroup { kTel1, kTel2, kTel3, kCommon };

// The port group (instances TEL1, TEL2, TEL3) and the common group.
const GroupOf<AnalogSettings, AnalogPort>& AnalogPortGroup();
const GroupOf<AnalogSettings, AnalogCommon>& AnalogCommonGroup();

// Reads all four groups into the baseline and, when every reply arrived,
// copies it into the working copy. 1 on success, 0 when a read failed
// (context.readFailure says why; the working copy is then left as it was).
// The category's groups as configuration-file commands.
ConfigCategory AnalogConfig();

int ReadAnalogSettings(DeviceContext& context, AnalogCategory& analog);

// Sends the changed settings of one group. 1 when all were sent (or none
// differed); 0 when an exchange failed: the group's
// fields from the failed one on are then back at their baseline values in
// the working copy, and failure (when given) tells where it stopped.
int WriteAnalogSettings(DeviceContext& context, AnalogCategory& analog, AnalogGroup group,
                        WriteFailure* failure = nullptr);

}  // namespace setutily
