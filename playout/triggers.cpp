// Which queue row starts in this pass: TIME rows at their second, the SEQ row 0 after the
// running item, contact rows on their input.
#include <cstdlib>

#include "foundation/date_stamp.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

int32_t PlayoutEngine::CommandOutTime(const ConstPlayRow& row) const {
  const foundation::ScheduleEntry* entry = CommandEntryOf(row);
  return entry != nullptr ? entry->OutTime : 0;
}

int32_t PlayoutEngine::CancelCntWindow() const {
  if (settings_.CancelCNT == 0) return 0;
  const foundation::ConfTables& conf = *ports_.conf;
  const std::string& clock = state_.LastClockText;
  const lists::ListModel& onAir = lists_[kListOnAir];
  // Contacts are refused around timed events: strictly inside the window of the item on air,
  // up to its edge for queued ones.
  if (onAir.ItemCount() > 0) {
    const ConstPlayRow item(onAir, 0);
    if (item.Kind(conf) == TriggerKind::kTime &&
        std::abs(static_cast<int64_t>(foundation::DiffDateStamps(item.Stamp(), clock))) <
            settings_.CancelCNT) {
      return 1;
    }
  }
  const lists::ListModel& queue = lists_[kListQueue];
  for (int32_t i = 0; i < queue.ItemCount(); ++i) {
    const ConstPlayRow row(queue, i);
    if (row.Kind(conf) != TriggerKind::kTime) continue;
    if (std::abs(static_cast<int64_t>(foundation::DiffDateStamps(row.Stamp(), clock))) <=
        settings_.CancelCNT)
      return 1;
  }
  return 0;
}

void PlayoutEngine::ScanTriggers(Pass& p) {
  const foundation::ConfTables& conf = *ports_.conf;
  const lists::ListModel& queue = lists_[kListQueue];
  const std::string& clock = state_.LastClockText;
  const bool contact = p.tRetCom > 0 || state_.SimCNT > 0;
  const bool anyContact = p.tRetCom != 0 || state_.SimCNT != 0;
  // Without a new second and without a contact only row 0 can be due (a SEQ row).
  const int32_t rows = (p.newSecond != 0 || anyContact) ? queue.ItemCount() : 1;
  const int32_t tCancelCNT = anyContact ? CancelCntWindow() : 0;
  int32_t skipMark = 0;

  for (int32_t i = 0; i < rows; ++i) {
    const ConstPlayRow row(queue, i);
    const TriggerKind kind = row.Kind(conf);
    const bool command = row.IsCommand();
    if (kind == TriggerKind::kTime) {
      if (p.newSecond != 0) {
        bool due = false;
        const std::string stamp = row.Stamp();
        if (!command) {
          due = stamp <= clock;
        } else if (!state_.TimerCom.armed && !row.BroadcastDate().empty() &&
                   !row.StartTime().empty()) {
          // A negative OutTime makes the command due that many seconds before its time.
          const std::string start =
              foundation::AddSecondsToStamp(stamp, CommandOutTime(row), ports_.conf->HourAdjust);
          due = !start.empty() && start <= clock;
        }
        if (due) {
          // The scan goes on: of several due TIME rows the last one wins.
          p.PlayReq = 1;
          p.StartBy = StartCause::kTime;
          p.PlayItem = i;
        }
      }
      if (settings_.NoTimeSkip == 1 && contact) skipMark = 1;
      continue;
    }
    if (kind == TriggerKind::kSeq) {
      if (i > 0) continue;
      // Ended or stopped: nothing plays and nothing is paused.
      const bool idle = p.mode <= audio::Player::kModeStopped;
      bool due = false;
      if (!command) {
        due = !state_.TimerStop.armed && idle;
      } else if (!state_.TimerCom.armed) {
        due = idle || p.remainSec < -CommandOutTime(row);
      }
      if (due) {
        p.PlayReq = 1;
        p.PlayItem = 0;
        p.StartBy = StartCause::kSeq;
      }
      continue;
    }
    // A contact trigger, or a trigger name the table does not know (no input matches it).
    if (!anyContact) continue;
    if (!((!command || !state_.TimerCom.armed) && tCancelCNT == 0)) {
      Log("Trigger not applied2 tCancelCNT=" + std::to_string(tCancelCNT) +
          " tRetCom=" + std::to_string(p.tRetCom) +
          " TimerCom=" + FormatFixed(state_.TimerCom.timer, 2) + p.TickTag);
      continue;
    }
    if (kind == ContactTrigger(p.tRetCom) || state_.SimCNT > 0) {
      if (state_.SimCNT > 0) state_.SimCNT = 0;
      if (skipMark == 0) {
        p.PlayReq = 1;
        p.PlayItem = i;
        p.StartBy = StartCause::kCnt;
        Log("Trigger applied tTrigger=" + std::to_string(CodeOf(kind)) + " tRetCom=" +
            std::to_string(p.tRetCom) + " tPlayItem=" + std::to_string(p.PlayItem) + p.TickTag);
      }
      return;
    }
    Log("Trigger not applied1 tTrigger=" + std::to_string(CodeOf(kind)) +
        " tRetCom=" + std::to_string(p.tRetCom) + p.TickTag);
    if (settings_.NoCNTSkip == 1) {
      // A contact may not pass over a contact row waiting for another input.
      Log("NoCNTSkip=1" + p.TickTag);
      return;
    }
  }
}

}  // namespace playout
