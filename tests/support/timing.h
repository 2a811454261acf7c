// Short waits for tests: the simulator answers at once, and the waits of a
// device that does not answer should not slow the suite down.
#pragma once

#include "link/timing.h"

namespace setutily::testing {

inline LinkTiming FastTiming() {
  LinkTiming timing;
  timing.settleMs = 0;
  timing.identifyMs = 500;
  timing.promptSettleMs = 50;
  timing.exitMs = 500;
  timing.storeMs = 500;
  timing.commandMs = 500;
  timing.connectMs = 1000;
  timing.passwordPromptMs = 1000;
  timing.loginStepMs = 500;
  return timing;
}

}  // namespace setutily::testing
