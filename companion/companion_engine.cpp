#include "companion/companion_engine.h"

#include <optional>

#include "companion/schedule_files.h"
#include "foundation/date_stamp.h"
#include "foundation/error_traps.h"
#include "foundation/server_root.h"

namespace companion {

namespace {

void SetUpList(lists::ListModel& list, CompanionList which, int32_t numAux) {
  const std::vector<std::string>& names = CompanionColumnNames(which);
  list.SetNumData(static_cast<int32_t>(names.size()));
  list.SetNumAux(numAux);
  list.Init();
  for (size_t j = 0; j < names.size(); ++j)
    list.Columns().SetTabName(static_cast<int32_t>(j), names[j]);
}

}  // namespace

const std::vector<std::string>& CompanionColumnNames(CompanionList list) {
  static const std::vector<std::string> six = {"cue", "prog", "tmc", "checked", "sound", "ID"};
  static const std::vector<std::string> messages = {"Time", "Message"};
  static const std::vector<std::string> copy = {"lv", "source", "target", "done"};
  static const std::vector<std::string> files = {"cue", "time", "prog", "checked"};
  switch (list) {
    case CompanionList::kMessages:
      return messages;
    case CompanionList::kCopy:
      return copy;
    case CompanionList::kServerFiles:
      return files;
    default:
      return six;
  }
}

lists::ListModel& CompanionEngine::List(CompanionList list) {
  switch (list) {
    case CompanionList::kOnAir:
      return lvs_[kOnAirList];
    case CompanionList::kMessages:
      return lvMes_;
    case CompanionList::kCopy:
      return lvCopy_;
    case CompanionList::kServerFiles:
      return lvCue_;
    default:
      return lvs_[kScheduleList];
  }
}

CompanionEngine::CompanionEngine(const CompanionPorts& ports, const CompanionSettings& settings)
    : ports_(ports), settings_(settings) {
  SetUpList(lvs_[kScheduleList], CompanionList::kSchedule, ScheduleRow::kFields);
  SetUpList(lvs_[kOnAirList], CompanionList::kOnAir, 1);
  SetUpList(lvMes_, CompanionList::kMessages, 1);
  SetUpList(lvCopy_, CompanionList::kCopy, 1);
  SetUpList(lvCue_, CompanionList::kServerFiles, 1);
  timers_[kParent].intervalMs = kParentMs;
  timers_[kClock].intervalMs = kClockMs;
  timers_[kCopy].intervalMs = kCopyMs;
  timers_[kLog].intervalMs = kLogMs;
  Arm(kParent, true);
}

void CompanionEngine::Guarded(const char* where, const std::function<void()>& work) {
  if (const std::optional<std::string> failure = foundation::CatchFailure(work))
    Log(std::string(where) + " " + *failure, platform::LogSeverity::kError);
}

void CompanionEngine::Arm(TimerId id, bool enabled) {
  Timer& t = timers_[id];
  t.enabled = enabled;
  t.dueMs = ports_.clock->MonotonicMs() + t.intervalMs;
}

void CompanionEngine::RunTimer(TimerId id, const char* where, const std::function<void()>& pass) {
  Timer& t = timers_[id];
  if (!t.enabled || t.running || unloaded_) return;
  if (ports_.clock->MonotonicMs() < t.dueMs) return;
  // The timer is off while its handler runs, so pending work run inside cannot start it again.
  t.running = true;
  ++passDepth_;
  Guarded(where, pass);
  --passDepth_;
  t.running = false;
  t.dueMs = ports_.clock->MonotonicMs() + t.intervalMs;
}

void CompanionEngine::RunDueTimers() {
  RunTimer(kParent, "TimerParent_Timer", [this] { TimerParent_Timer(); });
  RunTimer(kClock, "TimerClock_Timer", [this] { TimerClock_Timer(); });
  RunTimer(kCopy, "TimerCopy_Timer", [this] { TimerCopy_Timer(); });
  RunTimer(kLog, "TimerLog_Timer", [this] { TimerLog_Timer(); });
}

void CompanionEngine::Form_Load() {
  // Start-up counts as a pass: the window may not close in the middle of it.
  ++passDepth_;
  Guarded("Form_Load", [this] {
    PurgeDebugLogs();
    TidyLocalStore();
    PurgeLocalSched();
    // The logs reach the server before anything local is purged.
    SyncLogs();
    Log("ローカルログ削除");
    PurgeLocalLogs();
    Log("****起動****");
    // A missing root is logged ("サーバーフォルダなし"); the clock pass looks for it every 10
    // seconds.
    if (ServerRootThere()) {
      StartWork();
      timers_[kClock].running = true;
      Guarded("TimerClock_Timer", [this] { TimerClock_Timer(); });
      timers_[kClock].running = false;
    } else {
      Arm(kClock, true);
    }
  });
  --passDepth_;
}

void CompanionEngine::StartWork() {
  workStarted_ = true;
  ports_.fh1->MirrorFolder(settings_.ServerCommandFolder, settings_.LocalCommandFolder, 0);
  Arm(kLog, true);
  Arm(kClock, true);
  Arm(kCopy, true);
}

void CompanionEngine::TimerClock_Timer() {
  const int64_t nowSec = platform::WallTimeToLocalMs(ports_.clock->Now()) / 1000;
  // Acts at the first pass, whenever a 10-second boundary lies between the last pass that
  // acted and now (a late pass never skips one), and after the clock was set back.
  if (lastActSec_ && nowSec >= *lastActSec_ && nowSec / 10 == *lastActSec_ / 10) return;
  const int64_t previousSec = lastActSec_ && nowSec >= *lastActSec_ ? *lastActSec_ : nowSec - 1;
  lastActSec_ = nowSec;
  if (!workStarted_) {
    if (!ServerRootThere()) return;  // found again: "サーバーフォルダ発見"
    StartWork();
  }
  ClockPass(previousSec, nowSec);
}

bool CompanionEngine::ServerRootThere() {
  return foundation::CheckServerRoot(settings_.ServerRoot,
                                     [this](const std::string& line) { Log(line); }) != 0;
}

void CompanionEngine::TimerCopy_Timer() {
  // The queue waits while the last clock pass found the server unreachable.
  if (serverAlive_ == 0) return;
  int32_t found = -1;
  // The on-air monitor's rows first, then the schedule's.
  for (const SoundList lv : {kOnAirList, kScheduleList}) {
    for (int32_t r = 0; r < lvCopy_.ItemCount() && found < 0; ++r) {
      const ConstCopyRow row(lvCopy_, r);
      if (row.IsWaiting() && row.Lv() == lv) found = r;
    }
    if (found >= 0) break;
  }
  if (found >= 0) CopyQueuedFile(found);
}

void CompanionEngine::TimerLog_Timer() { CheckLog(); }

void CompanionEngine::TimerParent_Timer() {
  const int64_t handle = ports_.windows->FindExact(settings_.names.PlayoutCaption);
  if (handle < 1) {
    // A copy in progress ends at its next chunk, so the close is not held up for long.
    ports_.fh0->ProcCancel();
    ports_.fh1->ProcCancel();
    ports_.view->RequestClose();
    return;
  }
  const bool restarted = watchedHandle_ != 0 && handle != watchedHandle_;
  watchedHandle_ = handle;
  if (restarted && messageSent_) {
    Log("再送 " + settings_.names.PlayoutCaption);
    SendOAText();
  }
}

bool CompanionEngine::Form_Unload() {
  if (unloaded_) return true;
  if (busyFlag_ != 0 || passDepth_ > 0) return false;
  unloaded_ = true;
  for (Timer& t : timers_) t.enabled = false;
  Log("****正常終了****");
  return true;
}

void CompanionEngine::LVS_DblClicked(int32_t) {
  Guarded("LVS_DblClicked", [this] { SendOAText(); });
}

void CompanionEngine::ShowStatus(const std::string& text) {
  if (lvMes_.ItemCount() > 10) lvMes_.DeleteItem(lvMes_.ItemCount() - 1);
  lvMes_.InsertItem(0, 1);
  const StatusRow row(lvMes_, 0);
  row.SetTime(foundation::FormatDateStampAt(ports_.clock->Now(), settings_.HourAdjust, 0, 0, 2));
  row.SetMessage(text);
  Changed(CompanionList::kMessages);
}

}  // namespace companion
