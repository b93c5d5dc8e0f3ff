#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "playout/engine_ports.h"
#include "playout/playout_state.h"

namespace playout {

// The operator's switcher channel buttons (button k is channel k + 1) and their menu. The
// channel going live does so from the next pass on, after the fade time when the old one fades
// out.

// The menu's items: cut or fade out the live channel, cut or fade in the chosen one.
enum SwitchMenuItem : int32_t {
  kMenuCutOutCutIn = 0,    // "CO/CI"
  kMenuFadeOutCutIn = 1,   // "FO/CI"
  kMenuCutOutFadeIn = 2,   // "CO/FI"
  kMenuFadeOutFadeIn = 3,  // "FO/FI"
};

// A plain click: cut out and cut in.
void SWButtons_ButtonClicked(PlayoutState& state, DeviceLink& devices, platform::Clock& clock,
                             int32_t clickedIndex);
// A right click chooses the channel; the window then pops up the menu.
void SWButtons_RightClicked(PlayoutState& state, int32_t clickedIndex);
// A SwitchMenuItem for the chosen channel; nothing while a channel switch or a timed stop is
// pending.
void MenuRCSW_Click(PlayoutState& state, DeviceLink& devices, platform::Clock& clock,
                    int32_t index);

// Fader change per pass of `tickMS` for a fade of `fadeMs` over `faderLevel`: at least 1, and
// the whole level (at once) for a fade time of 0 or less.
int32_t FaderStep(int32_t faderLevel, int32_t fadeMs, int32_t tickMS);

}  // namespace playout
