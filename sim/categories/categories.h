// One registration function per category; each adds the category's factory
// settings, show replies and setting commands to a Device.
#pragma once

namespace morivex9sim {

class Device;

void RegisterAnalog(Device& device);
void RegisterIncoming(Device& device);
void RegisterDigital(Device& device);
void RegisterSpeedDial(Device& device);
// The router category: router, connection limits, BOD, BACP/BAP (router.cpp);
// NAT, DHCP, DNS, host table, SYSLOG (lan.cpp); dial-up profiles, leased
// line, remote access (wan.cpp).
void RegisterRouter(Device& device);
void RegisterLan(Device& device);
void RegisterWan(Device& device);

}  // namespace morivex9sim
