// The one list of the program's categories: the only place that knows them
// all.
#pragma once

#include <vector>

#include "forms/category.h"

namespace setutily {

struct Session;

// Every category that is built, in the main window's order. Categories not
// listed here leave their buttons disabled.
std::vector<CategoryLaunch> BuildCategories(Session& session);

}  // namespace setutily
