#include "playout/channel_buttons.h"

#include <algorithm>
#include <cmath>

#include "playout/log_text.h"

namespace playout {

void SWButtons_ButtonClicked(PlayoutState& state, DeviceLink& devices, platform::Clock& clock,
                             int32_t clickedIndex) {
  state.Switcher.SWClicked = clickedIndex;
  MenuRCSW_Click(state, devices, clock, kMenuCutOutCutIn);
}

void SWButtons_RightClicked(PlayoutState& state, int32_t clickedIndex) {
  state.Switcher.SWClicked = clickedIndex;
}

int32_t FaderStep(int32_t faderLevel, int32_t fadeMs, int32_t tickMS) {
  if (fadeMs <= 0) return faderLevel;
  const double passes = static_cast<double>(fadeMs) / std::max(tickMS, 1);
  return std::max(CLng(std::fabs(faderLevel / passes)), 1);
}

void MenuRCSW_Click(PlayoutState& state, DeviceLink& devices, platform::Clock& clock,
                    int32_t index) {
  if (state.TimerCom.armed || state.TimerStop.armed) return;
  SwitcherState& sw = state.Switcher;
  sw.NextSWCh = sw.SWClicked + 1;
  const bool desk = devices.MidiPortsOpen();
  // On the mixer's desk, choosing the live channel switches it off.
  if (desk && devices.MidiMode() == 1 && sw.NextSWCh == sw.CurSWCh) sw.NextSWCh = 0;
  if (desk) {
    const int32_t step = FaderStep(devices.FaderLevel(), state.FadeTime, state.TickMS);
    if (sw.CurSWCh >= 1 && sw.CurSWCh <= 8)
      sw.MidiFader[static_cast<size_t>(sw.CurSWCh - 1)].OutStep = step;
    if (sw.NextSWCh >= 1 && sw.NextSWCh <= 8)
      sw.MidiFader[static_cast<size_t>(sw.NextSWCh - 1)].InStep = step;
  }
  const bool fadesOut = index == kMenuFadeOutCutIn || index == kMenuFadeOutFadeIn;
  const int32_t fadeOut = fadesOut && sw.CurSWCh != 0 ? 1 : 0;
  devices.SwitchChannel(1, fadeOut, 0, sw);
  if (sw.NextSWCh < 1) {
    devices.SwitchChannel(0, 0, sw.NextSWCh, sw);
    return;
  }
  sw.NextSWFade = index == kMenuCutOutFadeIn || index == kMenuFadeOutFadeIn ? 1 : 0;
  state.TimerCom.Arm(clock.MonotonicMs(), clock.Now().SecondsSinceMidnight());
  state.TimerComSec = fadeOut != 0 ? state.FadeTime / 1000.0 : 0;
}

}  // namespace playout
