// The incoming-call control forms and menu, as descriptions for the form
// kit: the standard form, the per-number form (one description for entries
// 1-10, instance 0, and 11-20, instance 1), the menu, and the main window's
// "着信制御設定" launch.
#pragma once

#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"
#include "forms/grid_form.h"
#include "incoming/incoming_settings.h"

namespace setutily {

const FormDescription<IncomingControlSettings, IncomingControlSettings>& IncomingStandardForm();
const GridDescription<IncomingControlSettings, IncomingEntry>& IncomingByNumberForm();
MenuDescription IncomingControlMenu(Session& session);

// Read, then the menu; the menu writes each form's section.
CategoryLaunch IncomingControlLaunch(Session& session);

}  // namespace setutily
