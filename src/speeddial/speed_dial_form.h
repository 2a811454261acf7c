// The speed-dial form, a description for the form kit: the twenty numbers
// in two columns, rows "００" to "１９" (device numbers 1 to 20), and the
// main window's "短縮番号設定" launch that reads the list, shows the form
// and writes what it changed.
#pragma once

#include "forms/category.h"
#include "forms/grid_form.h"
#include "speeddial/speed_dial_settings.h"

namespace setutily {

const GridDescription<SpeedDialList, SpeedDialEntry>& SpeedDialForm();

CategoryLaunch SpeedDialLaunch(Session& session);

}  // namespace setutily
