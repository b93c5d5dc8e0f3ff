#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/lists/list_value.h"
#include "playout/engine_ports.h"

namespace playout {

// A moment the window remembers: taken on the monotonic clock, so that setting the PC clock
// never fires or stalls a timer. `timer` is the wall clock's seconds since midnight at that
// moment, kept only for the log texts (-1 while nothing is held).
struct TimerArm {
  bool armed = false;
  int64_t atMs = 0;
  double timer = -1;

  void Arm(int64_t monoMs, double timerValue) {
    armed = true;
    atMs = monoMs;
    timer = timerValue;
  }
  void Disarm() {
    armed = false;
    timer = -1;
  }
  // Seconds since the moment (never negative).
  double ElapsedSec(int64_t nowMonoMs) const {
    return nowMonoMs > atMs ? static_cast<double>(nowMonoMs - atMs) / 1000.0 : 0.0;
  }
};

// The number of passes over which the pass length is averaged.
inline constexpr int32_t kTickHistory = 21;

// What the main window's passes, operator commands and list keeping share: everything it keeps
// between two passes, apart from the settings it runs with. Plain values, UI thread only; the
// engine alone changes them.
struct PlayoutState {
  int32_t NoRemoteDevice = 1;  // 1 until a serial link or the HID unit is open
  int32_t AttFloor = 4000;     // attenuation at which a fade ends
  int32_t LastPlayMode = 0;
  TimerArm PlayStart;   // when the current item started
  int32_t StopReq = 0;  // 1 = stop the playing item on the next pass
  int32_t SimCNT = 0;   // operator CNT: above 0 pending, counted up each second
  int32_t FSReq = 0;    // operator START, likewise
  int32_t OnAir = 0;    // triggers act only while 1
  TimerArm TimerStop;   // stop timer of a command item
  double TimerStopSec = 0;
  int32_t TimerStopFade = 0;
  TimerArm TimerCom;  // channel-switch timer of a command item
  double TimerComSec = 0;
  SwitcherState Switcher;
  int32_t FadeOn = 0;
  int32_t FadeMS = 0;
  int32_t FadeAtt = 0;  // positive: how far the fade has gone
  int32_t FadeNoStop = 0;
  TimerArm LastPlay;  // last accepted contact start (NoPlayMS guard)
  int32_t TickMS = 60;
  int64_t LastTickMs = 0;  // monotonic ms of the previous pass
  int32_t TickIdx = 0;
  std::array<int32_t, kTickHistory> TickHist{};
  std::string LastClockText;  // yyyy/mm/dd hh:nn:ss on the broadcast-day clock
  int32_t UseTimeSync = 0;
  // The current item (the on-air row) and the next one: six cells and six auxiliary values
  // each; aux 0 of -1 means none.
  std::array<lists::ListValue, 6> CurValue{};
  std::array<lists::ListValue, 6> CurAux{};
  std::array<lists::ListValue, 6> NextValue{};
  std::array<lists::ListValue, 6> NextAux{};
  std::string TraceText;  // the serial and HID trace, newest line first
};

}  // namespace playout
