// The router category's LAN-service forms, as descriptions for the form
// kit: DHCP, DNS relay and SYSLOG, and the two numbered lists (the static
// NAT table and the host table), each edited one entry at a time.
#pragma once

#include "forms/field_form.h"
#include "forms/list_form.h"
#include "router/router_settings.h"

namespace setutily {

const FormSpec<RouterSettings, DhcpSettings>& DhcpForm();
const FormSpec<RouterSettings, DnsSettings>& DnsForm();
const FormSpec<RouterSettings, SyslogSettings>& SyslogForm();
const ListFormSpec<RouterSettings, NatEntry>& NatForm();
const ListFormSpec<RouterSettings, HostEntry>& HostTableForm();

}  // namespace setutily
