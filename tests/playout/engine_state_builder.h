#pragma once

#include <cstdint>
#include <string>

#include "playout/playout_engine.h"

namespace playout {

// Puts an engine into a state that its commands reach only through many steps or the wall
// clock: ON AIR without its notices, a pending stop, a live channel, an armed timer, a long
// trace. The one way tests reach the engine's state.
class EngineStateBuilder {
 public:
  explicit EngineStateBuilder(PlayoutEngine& engine) : state_(engine.state_) {}

  EngineStateBuilder& OnAir(int32_t onAir) {
    state_.OnAir = onAir;
    return *this;
  }
  EngineStateBuilder& StopRequest() {
    state_.StopReq = 1;
    return *this;
  }
  EngineStateBuilder& Trace(const std::string& text) {
    state_.TraceText = text;
    return *this;
  }
  // The stop timer or the channel-switch timer of a command item, armed at `atMs` (Timer
  // `timer`) to run out after `seconds`.
  EngineStateBuilder& StopTimer(int64_t atMs, double timer, double seconds) {
    state_.TimerStop.Arm(atMs, timer);
    state_.TimerStopSec = seconds;
    return *this;
  }
  EngineStateBuilder& ChannelTimer(int64_t atMs, double timer, double seconds) {
    state_.TimerCom.Arm(atMs, timer);
    state_.TimerComSec = seconds;
    return *this;
  }
  // The switch state, as the equipment would have left it.
  SwitcherState& Switcher() { return state_.Switcher; }

 private:
  PlayoutState& state_;
};

}  // namespace playout
