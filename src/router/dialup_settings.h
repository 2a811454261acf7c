// The dial-up profiles of the router record: the write of one profile
// (groups 6 to 9 of the router write, "num1".."num4" as scope), and the
// easy setup, which reads, edits and writes the accounts of profile 1 by
// itself from the main window.
#pragma once

#include <string_view>

#include "router/router_settings.h"

namespace setutily {

// The four dial-up profiles (instances num1..num4, groups 6 to 9 of the
// menu), and the part of profile 1 the easy setup edits: the accounts, the
// DNS selection and, only while the servers are given by hand, their
// addresses.
const GroupOf<RouterSettings, DialupProfile>& DialupProfileGroup();
const GroupOf<RouterSettings, DialupProfile>& EasySetupGroup();

// Reads "show dialup num1" into profile 1 of the router baseline (the
// accounts and DNS settings the easy setup shows); once it arrived, the
// working copy takes the whole baseline. 1 or 0.
int ReadEasySetup(DeviceContext& context);

// Sends what the easy setup changed in profile 1: the accounts, the DNS
// selection and, only while the servers are given by hand, their
// addresses. 1, or 0 when an exchange failed (the unsent settings are then
// back at their baseline values).
int WriteEasySetup(DeviceContext& context, WriteFailure* failure = nullptr);

}  // namespace setutily
