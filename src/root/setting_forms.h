// Every form of the program: walked for the settings in which the run's
// working copies differ from their baselines (the compare view's rows), and
// by anything else that must see every form (the tests of every setting).
#pragma once

#include "analog/analog_forms.h"
#include "digital/digital_forms.h"
#include "forms/session.h"
#include "forms/setting_differences.h"
#include "incoming/incoming_forms.h"
#include "router/bod_limits_forms.h"
#include "router/dialup_forms.h"
#include "router/lan_forms.h"
#include "router/router_forms.h"
#include "speeddial/speed_dial_form.h"

namespace setutily {

// Calls visit(copies, description, instances) for every form description
// (field, grid and list forms) with the run's copies of its record, in the
// order of the configuration file's categories (router, analog, digital,
// incoming-call control, speed dial), forms in their menus' order.
template <class Visit>
void ForEachForm(Session& session, Visit&& visit) {
  auto& router = session.records.Of<RouterSettings>();
  auto& analog = session.records.Of<AnalogSettings>();
  auto& digital = session.records.Of<DigitalSettings>();
  auto& incoming = session.records.Of<IncomingControlSettings>();
  visit(router, RouterForm(), 1);
  visit(digital, PnaPortForm(), 1);
  visit(router, RemoteAccessForm(), 1);
  visit(router, NatForm(), 1);
  visit(router, DhcpForm(), 1);
  visit(router, DnsForm(), 1);
  visit(router, HostTableForm(), 1);
  visit(router, SyslogForm(), 1);
  visit(router, LeasedLineForm(), 1);
  visit(router, DialupProfileForm(), kDialupProfiles);
  visit(router, ConnectionLimitForm(), 1);
  visit(router, BodForm(), 1);
  visit(router, RouterBacpForm(), 1);
  visit(router, EasySetupForm(), 1);  // what the detail forms do not show
  visit(analog, TelPortForm(), kAnalogPortCount);
  visit(analog, AnalogCommonForm(), 1);
  visit(digital, DigitalPortForm(), 2);
  visit(digital, DigitalCommonForm(), 1);
  visit(digital, ThroughputBodForm(), 1);
  visit(digital, DigitalBacpForm(), 1);
  visit(incoming, IncomingStandardForm(), 1);
  visit(incoming, IncomingByNumberForm(), 2);
  visit(session.records.Of<SpeedDialList>(), SpeedDialForm(), 1);
}

DifferenceList FormDifferences(Session& session);

}  // namespace setutily
