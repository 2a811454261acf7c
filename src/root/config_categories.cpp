#include "root/config_categories.h"

#include "analog/analog_settings.h"
#include "app/identify.h"
#include "digital/digital_settings.h"
#include "incoming/incoming_settings.h"
#include "router/router_settings.h"
#include "speeddial/speed_dial_settings.h"
#include "text/encoding.h"

namespace setutily {

std::vector<ConfigCategory> BuildConfigCategories() {
  return {RouterConfig(), AnalogConfig(), DigitalConfig(), IncomingControlConfig(),
          SpeedDialConfig()};
}

ConfigHeader DeviceHeader(DeviceContext& context, const DeviceIdentity& identity) {
  const std::string& hardware = context.records.Of<RouterSettings>().baseline.hardware_address;
  return {"MORIVEX-9", DeviceToUtf8(identity.firmwareVersion),
          DeviceToUtf8(identity.macAddress.empty() ? hardware : identity.macAddress)};
}

}  // namespace setutily
