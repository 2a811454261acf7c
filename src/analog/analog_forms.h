// The analog category's forms and menu, as descriptions for the form kit:
// the TEL port form (one description for TEL1, TEL2 and TEL3, instances
// 0-2), the analog common form and the analog menu, and the main window's
// "アナログ設定" launch.
#pragma once

#include "analog/analog_settings.h"
#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"

namespace setutily {

const FormDescription<AnalogSettings, AnalogPort>& TelPortForm();
const FormDescription<AnalogSettings, AnalogCommon>& AnalogCommonForm();
MenuDescription AnalogMenu(Session& session);

// Read, then the menu; the menu writes each form's group.
CategoryLaunch AnalogLaunch(Session& session);

}  // namespace setutily
