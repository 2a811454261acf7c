// One registration function per category; each adds the category's factory
// settings, show replies and setting commands to a Device.
#pragma once

namespace morivex9sim {

class Device;

void RegisterAnalog(Device& device);
void RegisterIncoming(Device& device);
void RegisterDigital(Device& device);
void RegisterSpeedDial(Device& device);

}  // namespace morivex9sim
