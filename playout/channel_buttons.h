#pragma once

#include <cstdint>

namespace playout {

// Fader change per pass of `tickMS` for a fade of `fadeMs` over `faderLevel`: at least 1, and
// the whole level (at once) for a fade time of 0 or less.
int32_t FaderStep(int32_t faderLevel, int32_t fadeMs, int32_t tickMS);

}  // namespace playout
