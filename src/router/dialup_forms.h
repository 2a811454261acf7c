// The dial-up profile forms (one description for the four profiles, opened
// from the HomePNA detail menu) and the main window's easy setup
// ("簡単設定"), which edits the accounts of profile 1 in one form of its own
// and writes them itself. Both work on the router record that "詳細設定"
// reads.
#pragma once

#include "forms/category.h"
#include "forms/field_form.h"
#include "router/router_settings.h"

namespace setutily {

// Instances 0-3 are profiles 1-4.
const FormDescription<RouterSettings, DialupProfile>& DialupProfileForm();
const FormDescription<RouterSettings, DialupProfile>& EasySetupForm();

// "簡単設定": reads profile 1, shows the easy setup and writes what it changed.
CategoryLaunch EasySetupLaunch(Session& session);

}  // namespace setutily
