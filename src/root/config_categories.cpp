#include "root/config_categories.h"

#include "analog/analog_settings.h"
#include "digital/digital_settings.h"
#include "incoming/incoming_settings.h"
#include "router/router_settings.h"
#include "speeddial/speed_dial_settings.h"

namespace setutily {

std::vector<ConfigCategory> BuildConfigCategories() {
  return {RouterConfig(), AnalogConfig(), DigitalConfig(), IncomingControlConfig(),
          SpeedDialConfig()};
}

}  // namespace setutily
