// Saves a picture of every category's menu and forms, opened through the
// categories' own launches against the simulator in process.
#pragma once

#include <QString>

namespace setutily::testing {

// Writes "<window title>.png" files into directory; returns how many.
int SaveEveryForm(const QString& directory);

}  // namespace setutily::testing
