#include "analog/analog_forms.h"
#include "digital/digital_forms.h"
#include "root/categories.h"
#include "forms/session.h"
#include "incoming/incoming_forms.h"
#include "router/dialup_forms.h"
#include "router/home_pna_menu.h"
#include "speeddial/speed_dial_form.h"

namespace setutily {

std::vector<CategoryLaunch> BuildCategories(Session& session) {
  std::vector<CategoryLaunch> categories;
  categories.push_back(AnalogLaunch(session));
  categories.push_back(DigitalLaunch(session));
  categories.push_back(IncomingControlLaunch(session));
  categories.push_back(SpeedDialLaunch(session));
  categories.push_back(HomePnaLaunch(session));
  categories.push_back(EasySetupLaunch(session));
  return categories;
}

}  // namespace setutily
