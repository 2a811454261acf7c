// Every form of the program, walked for the settings in which the run's
// working copies differ from their baselines (the compare view's rows).
#pragma once

#include "forms/setting_differences.h"

namespace setutily {

struct Session;

// In the order of the configuration file's categories (router, analog,
// digital, incoming-call control, speed dial), forms in their menus' order.
DifferenceList FormDifferences(Session& session);

}  // namespace setutily
