// Every category's settings as configuration-file commands: the part of
// the program's list of categories that needs no window, so that tools
// working on records alone (the command line, fuzzing) link no form.
#pragma once

#include <vector>

#include "settings/config.h"
#include "settings/config_file.h"

namespace setutily {

struct DeviceIdentity;

// In the order of the main window's buttons.
std::vector<ConfigCategory> BuildConfigCategories();

// The device a backup is of, once its categories were read: the model, the
// firmware and the MAC address the identification reported; where it
// reported no MAC address (over the network), the router's hardware
// address. The device's command line reports no firmware version: over the
// network it stays unknown.
ConfigHeader DeviceHeader(DeviceContext& context, const DeviceIdentity& identity);

}  // namespace setutily
