// The router's WAN line forms, as descriptions for the form kit: bandwidth
// on demand, the router's answers to BACP/BAP requests, the connection
// limits (with "クリア", which asks the next write to clear the device's
// counters) and remote-access dial-in.
#pragma once

#include "forms/field_form.h"
#include "router/router_settings.h"

namespace setutily {

const FormDescription<RouterSettings, RouterSettings>& BodForm();
const FormDescription<RouterSettings, RouterSettings>& RouterBacpForm();
const FormDescription<RouterSettings, RouterSettings>& ConnectionLimitForm();
const FormDescription<RouterSettings, RasSettings>& RemoteAccessForm();

}  // namespace setutily
