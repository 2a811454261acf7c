// Every category's settings as configuration-file commands: the part of
// the program's list of categories that needs no window, so that tools
// working on records alone (the command line, fuzzing) link no form.
#pragma once

#include <vector>

#include "settings/config.h"

namespace setutily {

// In the order of the main window's buttons.
std::vector<ConfigCategory> BuildConfigCategories();

}  // namespace setutily
