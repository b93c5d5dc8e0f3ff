// The 50 ms pass: every step in its order.
#include <algorithm>
#include <cmath>

#include "foundation/calendar.h"
#include "foundation/date_stamp.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"
#include "settings/cnt_functions.h"

namespace playout {

namespace {

// The pass length averaged over 21 passes is kept no higher than this.
constexpr int32_t kMaxTickMS = 1050;
// The pass length taken on every pass that does not complete the average.
constexpr int32_t kDefaultTickMS = 60;
// A request not taken by any pass lapses after this many second boundaries.
constexpr int32_t kRequestLapse = 10;

}  // namespace

void PlayoutEngine::RunPass() {
  Pass p;
  p.now = ports_.clock->Now();
  const double t = p.now.SecondsSinceMidnight();
  // The first and the last hundredth of a second of the day: the date and the time of day may
  // disagree there, so the pass does nothing.
  if (t >= 86399.99 || t <= 0.01) return;
  p.tTimer = t;
  p.monoMs = ports_.clock->MonotonicMs();
  p.TickTag = "@" + FormatFixed(t, 1);

  MeasureTick(p);
  if (ports_.devices->TimeCodeOpen()) ports_.devices->ParseSerialTime();
  PollContacts(p);
  if (p.tRetCom != 0 && settings_.NoPlayMS > 0) {
    if (state_.LastPlay.armed &&
        state_.LastPlay.ElapsedSec(p.monoMs) < settings_.NoPlayMS / 1000.0) {
      Log("tRetCom Canceled NoPlayMS=" + std::to_string(settings_.NoPlayMS) +
          " tRetCom=" + std::to_string(p.tRetCom) +
          " LastPlayTimer=" + FormatFixed(state_.LastPlay.timer, 3) + p.TickTag);
      p.tRetCom = 0;
    } else {
      state_.LastPlay.Arm(p.monoMs, t);
    }
  }
  if (ports_.devices->MidiPortsOpen()) StepMidiFaders();
  if (ports_.devices->HidOK() && settings_.CNTPulseMS > 0) StepHidPulses();
  RunCommandTimer(p);
  KeepClock(p);
  if (p.newSecond != 0) {
    for (int32_t* request : {&state_.FSReq, &state_.SimCNT}) {
      if (*request > 0 && ++*request > kRequestLapse) *request = 0;
    }
  }
  if (state_.TimerStop.armed && state_.TimerStop.ElapsedSec(p.monoMs) >= state_.TimerStopSec) {
    if (state_.TimerStopFade == 1) {
      Log("StopReq On By TimerStop " + Player().FileName() + p.TickTag);
      state_.StopReq = 1;
    }
    state_.TimerStop.Disarm();
    state_.TimerStopSec = 0;
  }

  p.mode = Player().mode();
  HandleStopRequest(p);
  StepFade(p);
  if (p.mode != state_.LastPlayMode) NotePlayModeChange(p);
  state_.LastPlayMode = p.mode;
  ReadRemaining(p);
  if (ReceiveSchedule() == 1) AutoLoad(p);
  ShowCountDown(p);

  if (lists_[kListQueue].ItemCount() == 0 || state_.OnAir == 0) return;
  ScanTriggers(p);
  AutoFadeBeforeTimedItem(p);
  if (state_.FSReq != 0) {
    // The operator's START always starts queue row 0, whatever a trigger chose.
    p.PlayItem = 0;
    p.PlayReq = 1;
    p.StartBy = StartCause::kOperator;
    state_.FSReq = 0;
    Log("FSReq Clear" + p.TickTag);
  }
  if (p.PlayReq > 0) {
    if (StartItem(p) == StartOutcome::kEndPass) return;
    FinishStart(p);
  }
}

void PlayoutEngine::MeasureTick(Pass& p) {
  const int64_t elapsed = std::clamp<int64_t>(p.monoMs - state_.LastTickMs, 0, INT32_MAX);
  state_.TickHist[static_cast<size_t>(state_.TickIdx)] = static_cast<int32_t>(elapsed);
  ++state_.TickIdx;
  state_.LastTickMs = p.monoMs;
  if (state_.TickIdx >= kTickHistory) {
    state_.TickIdx = 0;
    double sum = 0;
    for (int32_t ms : state_.TickHist) sum += ms;
    state_.TickMS = std::min(CLng(sum / kTickHistory), kMaxTickMS);
  } else {
    state_.TickMS = kDefaultTickMS;
  }
}

void PlayoutEngine::PollContacts(Pass& p) {
  for (int32_t g = 0; g < kContactGroups; ++g) {
    if (!ports_.contacts->IsOpen(g)) continue;
    const int32_t n = ports_.contacts->Poll(g, state_.Switcher);
    if (n == 0) continue;
    // Only inputs 1..8 have a function; anything else a device reports is no contact.
    if (n < 1 || n > 8) {
      Log("Contact ignored n=" + std::to_string(n) + " l=" + std::to_string(g) + p.TickTag);
      continue;
    }
    using settings::CntFunction;
    const settings::ContactInput input{g, n};
    switch (static_cast<CntFunction>(
        settings_.CNTFunction[static_cast<size_t>(input.FunctionIndex())])) {
      case CntFunction::kStop:
        OperatorFunction(OpFunction::kStop);
        Log("OPButtons_ButtonClicked2 By Remote" + p.TickTag);
        break;
      case CntFunction::kFadeOut:
        OperatorFunction(OpFunction::kFadeOut);
        Log("OPButtons_ButtonClicked3 By Remote" + p.TickTag);
        break;
      case CntFunction::kClockAdjust:
        ports_.devices->AdjustClockFromSerial();
        Log("AdjustClock By Remote" + p.TickTag);
        break;
      case CntFunction::kCommand:
      case CntFunction::kStart:
        p.tRetCom = n;
        Log("tRetCom=" + std::to_string(n) + " l=" + std::to_string(g) + p.TickTag);
        break;
      default:
        break;
    }
    return;
  }
}

void PlayoutEngine::StepMidiFaders() {
  const int32_t top = ports_.devices->FaderLevel();
  for (int32_t c = 0; c < 8; ++c) {
    MidiFaderState& r = state_.Switcher.MidiFader[static_cast<size_t>(c)];
    const bool fadingOut = r.FadeOut != 0;
    if (!fadingOut && r.FadeIn == 0) continue;
    r.Level = std::clamp(fadingOut ? r.Level - r.OutStep : r.Level + r.InStep, 0, std::max(top, 0));
    ports_.devices->SendMidiFader(c, r.Level);
    if (fadingOut && r.Level <= 0) r.FadeOut = 0;
    if (!fadingOut && r.Level >= top) r.FadeIn = 0;
  }
}

void PlayoutEngine::StepHidPulses() {
  for (int32_t port = 0; port < 8; ++port) {
    int32_t& left = state_.Switcher.HidPulse[static_cast<size_t>(port)];
    if (left <= 0) continue;
    left -= 50;
    if (left <= 0) {
      left = 0;
      ports_.devices->EndHidPulse(port);
    }
  }
}

void PlayoutEngine::RunCommandTimer(const Pass& p) {
  if (!state_.TimerCom.armed || state_.TimerCom.ElapsedSec(p.monoMs) < state_.TimerComSec) return;
  SwitcherState& sw = state_.Switcher;
  Log("SwitchChannel By TimerCom NextSWCh=" + std::to_string(sw.NextSWCh) +
      " TimerComSec=" + FormatFixed(state_.TimerComSec, 3) +
      " TimerCom=" + FormatFixed(state_.TimerCom.timer, 3) + p.TickTag);
  state_.TimerCom.Disarm();
  state_.TimerComSec = 0;
  ports_.devices->SwitchChannel(0, sw.NextSWFade, sw.NextSWCh, sw);
}

void PlayoutEngine::KeepClock(Pass& p) {
  const std::string s = foundation::FormatDateStampAt(p.now, ports_.conf->HourAdjust);
  if (s == state_.LastClockText || s.size() < 8) return;
  state_.LastClockText = s;
  ports_.view->ClockCell(kClockTime, s.substr(s.size() - 8));
  p.newSecond = 1;
  const std::string syncAt = foundation::PadNumber(settings_.AMinute, 2) + ":" +
                             foundation::PadNumber(settings_.ASecond, 2);
  if (state_.UseTimeSync != 0 && s.substr(s.size() - 5) == syncAt) ports_.timeSync->Start();
  if (CLng(p.tTimer) % 600 == 0) Log("動作OK" + p.TickTag);
}

void PlayoutEngine::AutoLoad(const Pass& p) {
  int32_t row = -1;
  bool failed = false;
  if (CurrentItem().IsNone() && NextItem().IsNone()) {
    LoadFromRow(0, "");
    Log("LoadZero" + p.TickTag);
  } else if ((row = PickLoadRow(LoadPick::kCurrentItem)) != -1) {
    LoadFromRow(row + 1, "");
    Log("LoadCurrent" + p.TickTag);
  } else if ((row = PickLoadRow(LoadPick::kNextItem)) != -1) {
    LoadFromRow(0, NextItem().BroadcastDate());
    Log("LoadNext" + p.TickTag);
  } else if (settings_.ForceLoad != 0) {
    if ((row = PickLoadRow(LoadPick::kByClock)) != -1) {
      LoadFromRow(row, "");
      Log("LoadByTime" + p.TickTag);
    } else {
      LoadFromRow(0, "");
      Log("LoadForced" + p.TickTag);
      failed = true;
    }
  } else {
    Log("LoadFailed" + p.TickTag);
    failed = true;
  }
  if (!failed) {
    ShowItemInfo();
    return;
  }
  ports_.view->ClockCell(kClockDate, "エラー");
  ports_.view->ClockCell(kClockProgramme, "手動読み込みを行ってください");
  // The operator is told without a modal box: automation runs on while the notice is shown.
  ports_.notices->Post("エラー", "手動読み込みを行ってください");
}

void PlayoutEngine::FinishStart(const Pass& p) {
  Log("pt6 " + p.TickTag);
  ShowItemInfo();
  Log("pt7 " + p.TickTag);
  SetCurrentAndNextItem(kListOnAir, kListQueue, 0, 0);
  Log("pt8 " + p.TickTag);
  SaveCueSnapshot();
  Log("pt9 " + p.TickTag);
}

}  // namespace playout
