#pragma once

#include "foundation/app_globals.h"

namespace testsupport {

// Puts every process-wide value of the program back to its initial state.
inline void ResetAppGlobals() { foundation::Globals() = foundation::AppGlobals{}; }

}  // namespace testsupport
