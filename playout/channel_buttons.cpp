// The operator's switcher channel buttons and their menu.
#include "playout/channel_buttons.h"

#include <algorithm>
#include <cmath>

#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

void PlayoutEngine::SWButtons_ButtonClicked(int32_t clickedIndex) {
  state_.Switcher.SWClicked = clickedIndex;
  MenuRCSW_Click(kMenuCutOutCutIn);
}

void PlayoutEngine::SWButtons_RightClicked(int32_t clickedIndex) {
  state_.Switcher.SWClicked = clickedIndex;
}

int32_t FaderStep(int32_t faderLevel, int32_t fadeMs, int32_t tickMS) {
  if (fadeMs <= 0) return faderLevel;
  const double passes = static_cast<double>(fadeMs) / std::max(tickMS, 1);
  return std::max(CLng(std::fabs(faderLevel / passes)), 1);
}

void PlayoutEngine::MenuRCSW_Click(int32_t index) {
  if (state_.TimerCom.armed || state_.TimerStop.armed) return;
  DeviceLink& devices = *ports_.devices;
  SwitcherState& sw = state_.Switcher;
  sw.NextSWCh = sw.SWClicked + 1;
  const bool desk = devices.MidiPortsOpen();
  // On the mixer's desk, choosing the live channel switches it off.
  if (desk && devices.MidiMode() == 1 && sw.NextSWCh == sw.CurSWCh) sw.NextSWCh = 0;
  if (desk) {
    const int32_t step = FaderStep(devices.FaderLevel(), settings_.FadeTime, state_.TickMS);
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
  const platform::Clock& clock = *ports_.clock;
  state_.TimerCom.Arm(clock.MonotonicMs(), clock.Now().SecondsSinceMidnight());
  state_.TimerComSec = fadeOut != 0 ? settings_.FadeTime / 1000.0 : 0;
}

}  // namespace playout
