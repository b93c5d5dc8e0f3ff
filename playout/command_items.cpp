// Command items: the switcher goes out now, the next channel comes in and the running item
// stops when the command's timers fire.
#include <cmath>

#include "playout/channel_buttons.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

void PlayoutEngine::OutCommand(int32_t pIndex) {
  Guarded("OutCommand", [&] {
    const std::vector<foundation::ScheduleEntry>& entries = ports_.commands->List();
    if (pIndex < 0 || static_cast<size_t>(pIndex) >= entries.size()) return;
    const foundation::ScheduleEntry e = entries[static_cast<size_t>(pIndex)];
    Log("OutCommand Started pIndex=" + std::to_string(pIndex));

    DeviceLink& devices = *ports_.devices;
    SwitcherState& sw = state_.Switcher;
    const int32_t tickMS = state_.TickMS > 0 ? state_.TickMS : 1;
    if (devices.MidiPortsOpen()) {
      if (sw.CurSWCh > 0 && sw.CurSWCh <= 8 && e.FOMS > 0) {
        // The live channel's fader falls to 0 in FOMS ms of passes.
        sw.MidiFader[static_cast<size_t>(sw.CurSWCh - 1)].OutStep =
            FaderStep(devices.FaderLevel(), e.FOMS, tickMS);
      }
      if (sw.CurSWCh <= 0 && devices.MidiMode() != 0 &&
          Player().mode() == audio::Player::kModePlaying) {
        // No live channel on the desk: the player itself fades out over FOMS and holds.
        ClearFadeState();
        state_.FadeNoStop = 1;
        state_.FadeMS = e.FOMS;
        state_.FadeOn = 1;
      }
    }
    devices.SwitchChannel(1, e.OutFade, 0, sw);
    sw.NextSWFade = e.InFade;
    sw.NextSWCh = e.InCh;
    if (devices.MidiPortsOpen() && e.InCh > 0 && e.InCh <= 8 && e.FIMS > 0) {
      sw.MidiFader[static_cast<size_t>(e.InCh - 1)].InStep =
          FaderStep(devices.FaderLevel(), e.FIMS, tickMS);
    }

    const int64_t monoMs = ports_.clock->MonotonicMs();
    const double timer = TimerNow();
    const std::string tail = " pIndex=" + std::to_string(pIndex) + " ComName =" + e.Name +
                             " InTime=" + std::to_string(e.InTime) +
                             " OutTime=" + std::to_string(e.OutTime);
    if (!state_.TimerCom.armed) {
      const double delay =
          settings_.CommandMargin / 1000.0 + (static_cast<double>(e.InTime) - e.OutTime);
      state_.TimerCom.Arm(monoMs, timer);
      state_.TimerComSec = delay > 0 ? delay : 0;
      Log("Set TimerComSec=" + FormatFixed(state_.TimerComSec, 3) +
          " TimerCom=" + FormatFixed(state_.TimerCom.timer, 3) + tail +
          " CommandMargin=" + std::to_string(settings_.CommandMargin));
    }
    if (!state_.TimerStop.armed) {
      const double delay = settings_.StopAdjMS / 1000.0 - e.OutTime;
      state_.TimerStopFade = Player().mode() == audio::Player::kModePlaying ? 1 : 0;
      state_.TimerStop.Arm(monoMs, timer);
      state_.TimerStopSec = delay > 0 ? delay : 0;
      Log("Set TimerStopSec=" + FormatFixed(state_.TimerStopSec, 3) +
          " TimerStop=" + FormatFixed(state_.TimerStop.timer, 3) +
          " StopAdjMS=" + std::to_string(settings_.StopAdjMS) + tail);
    }
  });
}

}  // namespace playout
