// The router category's own forms, as descriptions for the form kit: the
// router form, the PNA port form (which edits the PNA block of the digital
// record) and the leased-line form.
#pragma once

#include "digital/digital_settings.h"
#include "forms/field_form.h"
#include "router/router_settings.h"

namespace setutily {

const FormDescription<RouterSettings, RouterSettings>& RouterForm();
const FormDescription<DigitalSettings, DigitalPortSettings>& PnaPortForm();
const FormDescription<RouterSettings, LeasedLineSettings>& LeasedLineForm();

}  // namespace setutily
