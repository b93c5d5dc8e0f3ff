#pragma once

#include <cstdint>

namespace playout {

// The menu of the operator's switcher channel buttons: cut or fade out the live channel, cut or
// fade in the chosen one.
enum SwitchMenuItem : int32_t {
  kMenuCutOutCutIn = 0,    // "CO/CI"
  kMenuFadeOutCutIn = 1,   // "FO/CI"
  kMenuCutOutFadeIn = 2,   // "CO/FI"
  kMenuFadeOutFadeIn = 3,  // "FO/FI"
};

// Fader change per pass of `tickMS` for a fade of `fadeMs` over `faderLevel`: at least 1, and
// the whole level (at once) for a fade time of 0 or less.
int32_t FaderStep(int32_t faderLevel, int32_t fadeMs, int32_t tickMS);

}  // namespace playout
