// Ending items: stop requests, the fade of the player's attenuation, the end of a play, the
// output feed, the count-down and the automatic fade before a timed item.
#include <algorithm>

#include "foundation/date_stamp.h"
#include "foundation/date_text.h"
#include "foundation/ms_time.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

namespace {

// A play that ends sooner than this after its start is reported as an error.
constexpr double kShortPlaySec = 2.0;
// The count-down looks at dated queue rows up to this far ahead.
constexpr int32_t kCountDownHorizonSec = 3600;
// The count-down's value while nothing plays and no dated row is near.
constexpr int32_t kNoCountDown = 99999;

}  // namespace

void PlayoutEngine::HandleStopRequest(Pass& p) {
  if (state_.StopReq != 1) return;
  state_.StopReq = 0;
  // A stop while nothing plays is dropped without a word.
  if (p.mode <= audio::Player::kModeStopped) return;
  audio::Player& player = Player();
  Log("Stop By StopReq " + player.FileName() + " Remain=" + std::to_string(RemainingMs()) +
      p.TickTag);
  player.StopIO();
  ClearFadeState();
  p.mode = player.mode();
}

void PlayoutEngine::StepFade(Pass& p) {
  if (p.mode != audio::Player::kModePlaying || state_.FadeOn != 1) return;
  const int32_t floor = state_.AttFloor;
  if (state_.FadeMS <= 0) {
    // No fade length: straight to the floor.
    state_.FadeAtt = floor;
  } else {
    // The fade covers the floor in FadeMS / TickMS steps, one per pass.
    const double steps = static_cast<double>(state_.FadeMS) / std::max(state_.TickMS, 1);
    state_.FadeAtt = std::min(CLng(state_.FadeAtt + floor / steps), floor);
  }
  audio::Player& player = Player();
  player.SetAttenuation(-state_.FadeAtt);
  if (state_.FadeNoStop == 0 && state_.FadeAtt >= floor) {
    ClearFadeState();
    player.StopIO();
    p.mode = player.mode();
    Log("Stop By FadeByOP " + player.FileName() + p.TickTag);
  }
}

void PlayoutEngine::NotePlayModeChange(const Pass& p) {
  const bool white = settings_.ColorMode != 0;
  if (p.mode == audio::Player::kModePlaying) {
    ports_.view->OnAirStyle(white ? 0x000000 : 0xFFFFFF, white ? 0x5040F0 : 0x502030);
    return;
  }
  if (state_.LastPlayMode != audio::Player::kModePlaying) return;
  const double played = state_.PlayStart.ElapsedSec(p.monoMs);
  if (played < kShortPlaySec) {
    Log("再生時間が" + FormatFixed(played, 1) + "秒です " + Player().FileName() + p.TickTag,
        platform::LogSeverity::kError);
  }
  // A sound item leaves the on-air list when it ends; a command's row stays until the next
  // start replaces it.
  lists::ListModel& onAir = lists_[kListOnAir];
  if (onAir.ItemCount() > 0 && !ConstPlayRow(onAir, 0).IsCommand()) onAir.DeleteAll();
  ports_.view->OnAirStyle(white ? 0x000000 : 0xFFFFFF, white ? 0xFFFFFF : 0x000000);
  RefreshList();
  SaveCueSnapshot();
  ports_.view->BlockCaptionClick(0);
}

void PlayoutEngine::ReadRemaining(Pass& p) {
  p.remainSec = kNoCountDown;
  p.remainMS = 0;
  if (p.mode != audio::Player::kModePlaying) return;
  // The waveOut player plays only while it is fed once per pass.
  if (IsWaveOut()) player_.waveOut->ProgressionPlay();
  p.remainMS = RemainingMs();
  p.remainSec = p.remainMS / 1000;
}

int32_t PlayoutEngine::NearestDatedRowSec() {
  const lists::ListModel& queue = lists_[kListQueue];
  // Each dated row's distance is kept from the clock text of the last queue change, so a new
  // second costs one difference per row and no text work.
  if (datedRevision_ != queueRevision_ || datedCount_ != queue.ItemCount()) {
    datedRevision_ = queueRevision_;
    datedCount_ = queue.ItemCount();
    datedClock_ = state_.LastClockText;
    datedOffsets_.clear();
    for (int32_t i = 0; i < queue.ItemCount(); ++i) {
      const ConstPlayRow row(queue, i);
      const std::string date = row.BroadcastDate();
      const std::string time = row.StartTime();
      if (foundation::IsDateText(date) == 0 ||
          foundation::IsClockInBroadcastDay(time, 0, false) == 0)
        continue;
      const std::string stamp = date + " " + time;
      if (foundation::AddSecondsToStamp(stamp, 0, 0).empty()) continue;  // no stamp to count by
      datedOffsets_.push_back(foundation::DiffDateStamps(datedClock_, stamp));
    }
  }
  const int64_t moved = foundation::DiffDateStamps(datedClock_, state_.LastClockText);
  int64_t best = kNoCountDown;
  for (int32_t offset : datedOffsets_) {
    const int64_t d = offset - moved - 1;
    if (d >= 0 && d < kCountDownHorizonSec && d < best) best = d;
  }
  return static_cast<int32_t>(best);
}

void PlayoutEngine::ShowCountDown(Pass& p) {
  int32_t cd = p.remainSec;
  if (state_.TimerStop.armed) {
    cd = 0;
  } else if (state_.OnAir == 1 && lists_[kListQueue].ItemCount() > 0) {
    cd = std::min(cd, NearestDatedRowSec());
  }
  const int32_t colorType =
      cd <= settings_.CountDown
          ? kCountDownWarning
          : (p.mode == audio::Player::kModePlaying ? kCountDownPlaying : kCountDownIdle);
  if (cd == kNoCountDown) {
    ports_.view->CountDown(colorType, 10, "");
  } else {
    ports_.view->CountDown(colorType, cd, foundation::FormatMsTime(cd * 1000LL, 4));
  }
  // From here on the pass reads the count-down as the remaining time.
  p.remainSec = cd;
}

void PlayoutEngine::AutoFadeBeforeTimedItem(const Pass& p) {
  if (settings_.UseFade != 1 || state_.FadeOn != 0 || p.PlayReq != 0 ||
      p.mode != audio::Player::kModePlaying || p.newSecond == 0 ||
      static_cast<int64_t>(p.remainMS) <=
          static_cast<int64_t>(settings_.FadeTime) + settings_.FadeMargin) {
    return;
  }
  const std::string ahead = foundation::FormatDateStampAt(p.now, ports_.conf->HourAdjust, 0, 0, 0,
                                                          0, 0, settings_.FadeTime / 1000.0 + 1);
  const lists::ListModel& queue = lists_[kListQueue];
  bool due = false;
  for (int32_t i = 0; i < queue.ItemCount() && !due; ++i) {
    const ConstPlayRow row(queue, i);
    if (row.Kind(*ports_.conf) != TriggerKind::kTime) continue;
    const bool near = row.Stamp() <= ahead;
    if (!row.IsCommand()) {
      due = near;
    } else {
      const foundation::ScheduleEntry* entry = CommandEntryOf(row);
      due = entry != nullptr && entry->OutTime == 0 && !state_.TimerCom.armed &&
            !row.BroadcastDate().empty() && !row.StartTime().empty() && near;
    }
  }
  if (!due) return;
  // The running item goes silent as the timed item falls due and runs on until it is replaced.
  ClearFadeState();
  state_.FadeNoStop = 1;
  state_.FadeMS = settings_.FadeTime;
  state_.FadeOn = 1;
  Log("FadeOn" + p.TickTag);
}

}  // namespace playout
