#include "root/setting_forms.h"

#include "analog/analog_forms.h"
#include "digital/digital_forms.h"
#include "forms/session.h"
#include "incoming/incoming_forms.h"
#include "router/bod_limits_forms.h"
#include "router/dialup_forms.h"
#include "router/lan_forms.h"
#include "router/router_forms.h"
#include "speeddial/speed_dial_form.h"

namespace setutily {

DifferenceList FormDifferences(Session& session) {
  DifferenceList out;
  auto& router = session.records.Of<RouterSettings>();
  auto& analog = session.records.Of<AnalogSettings>();
  auto& digital = session.records.Of<DigitalSettings>();
  auto& incoming = session.records.Of<IncomingControlSettings>();
  AddDifferences(out, router, RouterForm());
  AddDifferences(out, digital, PnaPortForm());
  AddDifferences(out, router, RemoteAccessForm());
  AddDifferences(out, router, NatForm());
  AddDifferences(out, router, DhcpForm());
  AddDifferences(out, router, DnsForm());
  AddDifferences(out, router, HostTableForm());
  AddDifferences(out, router, SyslogForm());
  AddDifferences(out, router, LeasedLineForm());
  AddDifferences(out, router, DialupProfileForm(), 4);
  AddDifferences(out, router, ConnectionLimitForm());
  AddDifferences(out, router, BodForm());
  AddDifferences(out, router, RouterBacpForm());
  AddDifferences(out, router, EasySetupForm());  // what the detail forms do not show
  AddDifferences(out, analog, TelPortForm(), kAnalogPortCount);
  AddDifferences(out, analog, AnalogCommonForm());
  AddDifferences(out, digital, DigitalPortForm(), 2);
  AddDifferences(out, digital, DigitalCommonForm());
  AddDifferences(out, digital, ThroughputBodForm());
  AddDifferences(out, digital, DigitalBacpForm());
  AddDifferences(out, incoming, IncomingStandardForm());
  AddDifferences(out, incoming, IncomingByNumberForm(), 2);
  AddDifferences(out, session.records.Of<SpeedDialList>(), SpeedDialForm());
  return out;
}

}  // namespace setutily
