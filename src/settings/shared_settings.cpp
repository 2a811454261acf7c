#include "settings/shared_settings.h"

namespace setutily {

// The device prints data-port ranks on the telephone scale: normal is 1,
// anything else counts as rejected.
int FoldDataRank(int printed) { return printed == 1 ? 0 : 1; }

}  // namespace setutily
