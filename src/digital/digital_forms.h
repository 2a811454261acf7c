// The digital category's forms and menu, as descriptions for the form kit:
// the port form (one description for DATA and USB, instances 0 and 1), the
// digital common, throughput BOD and BACP/BAP forms, the digital menu, and
// the main window's "デジタル設定" launch.
#pragma once

#include "digital/digital_settings.h"
#include "forms/category.h"
#include "forms/category_menu.h"
#include "forms/field_form.h"

namespace setutily {

const FormDescription<DigitalSettings, DigitalPortSettings>& DigitalPortForm();
const FormDescription<DigitalSettings, DigitalSettings>& DigitalCommonForm();
const FormDescription<DigitalSettings, DigitalSettings>& ThroughputBodForm();
const FormDescription<DigitalSettings, DigitalSettings>& DigitalBacpForm();
MenuDescription DigitalMenu(Session& session);

// Read, then the menu; the menu writes each form's group.
CategoryLaunch DigitalLaunch(Session& session);

}  // namespace setutily
