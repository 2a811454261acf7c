// The router category's LAN-service forms, as descriptions for the form
// kit: DHCP, DNS relay and SYSLOG, and the two numbered lists (the static
// NAT table and the host table), each edited one entry at a time.
#pragma once

#include "forms/field_form.h"
#include "forms/list_form.h"
#include "router/router_settings.h"

namespace setutily {

const FormDescription<RouterSettings, DhcpSettings>& DhcpForm();
const FormDescription<RouterSettings, DnsSettings>& DnsForm();
const FormDescription<RouterSettings, SyslogSettings>& SyslogForm();
const ListFormDescription<RouterSettings, NatEntry>& NatForm();
const ListFormDescription<RouterSettings, HostEntry>& HostTableForm();

}  // namespace setutily
