#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "companion/companion_ports.h"
#include "companion/companion_settings.h"
#include "controls/lists/list_model.h"

namespace companion {

// The column captions of each list, in column order.
const std::vector<std::string>& CompanionColumnNames(CompanionList list);

// The two lists of sound paths, by the numbers of the window's LVS and of the copy queue's "lv"
// column: the schedule contents and the on-air monitor. kBothLists asks IsFileScheduled about
// either.
enum SoundList : int32_t { kScheduleList = 0, kOnAirList = 1, kBothLists = 2 };
// The rows MakeCopyList looks at: all, or only those of files the last scan found changed.
enum CopyListMode : int32_t { kAllRows = 0, kChangedRows = 1 };
// What InputSched found.
enum SchedChange : int32_t { kNoChange = 0, kCueChanged = 1, kOnlyTmcChanged = 2 };

// The companion's main window without its display: its five lists, its four timers and the
// work they drive. The schedules of the coming broadcast days are taken from the server and
// sent to the playout window, the sound files they name are copied into the local store, which
// is purged when space runs short, the playout's on-air snapshot is shown and its play logs are
// carried to the server, and the playout window is watched so the companion ends with it.
//
// The window owns one engine and calls RunDueTimers often (every 100 ms or so); each timer runs
// on the injected clock's monotonic time. A pass may let the window's pending work run (copies,
// pauses), so passes of other timers can run inside it; a timer never runs inside itself.
// Nothing here throws to the caller: every entry point writes what went wrong to the error log.
class CompanionEngine {
 public:
  // Timer intervals, milliseconds.
  static constexpr int32_t kClockMs = 1000;
  static constexpr int32_t kCopyMs = 1000;
  static constexpr int32_t kLogMs = 20000;
  static constexpr int32_t kParentMs = 2000;

  // Sets the lists up; only the watch on the playout window runs until Form_Load.
  CompanionEngine(const CompanionPorts& ports, const CompanionSettings& settings);
  CompanionEngine(const CompanionEngine&) = delete;
  CompanionEngine& operator=(const CompanionEngine&) = delete;

  // Start-up: the local store's clean-up, the schedules of other days, the logs carried to the
  // server, then the work timers. Without the server root the work waits, and the root is looked
  // for again at every 10-second clock pass.
  void Form_Load();
  // Runs every timer that is due, in the order watch, clock, copy, log.
  void RunDueTimers();
  // False (and nothing done) while a list is rebuilt, the message is built or any pass runs;
  // otherwise the timers stop and the last log line is written.
  bool Form_Unload();
  // A double click on either schedule list sends the schedule message again.
  void LVS_DblClicked(int32_t index);

  // ---- the timer passes ----------------------------------------------------------------------
  // Acts once at start and then whenever the wall clock has crossed a 10-second boundary.
  void TimerClock_Timer();
  void TimerCopy_Timer();
  void TimerLog_Timer();
  // Ends the companion when no window bears the playout's caption; a playout window that came
  // back behind the same caption gets the schedule message again.
  void TimerParent_Timer();

  // ---- schedules and the message -----------------------------------------------------------
  // A SchedChange: whether a ".cue" file was added, changed or removed, or only ".tmc" files.
  int32_t InputSched();
  void PurgeLocalSched();
  void SendOAText();
  void ShowStatus(const std::string& text);
  // ---- on-air monitor and logs -------------------------------------------------------------
  int32_t InputSchedMon();
  void CheckLog();
  int32_t SyncLogs();
  // ---- copy queue and local store ----------------------------------------------------------
  void MakeCopyList(SoundList list, CopyListMode mode);
  void AddCopyItem(SoundList list, const std::string& relPath);
  void CopyQueuedFile(int32_t row);
  // False when the upkeep has to wait (the on-air snapshot not yet read).
  bool PurgeLocalFolder();
  void KillLocalFile(const std::string& relPath);
  int32_t IsFileScheduled(const std::string& path, SoundList which) const;
  void WriteUsedList();

  // ---- what the window and the tests read --------------------------------------------------
  // A SoundList's list; any other number the schedule contents.
  const lists::ListModel& LVS(int32_t index) const {
    return lvs_[index == kOnAirList ? kOnAirList : kScheduleList];
  }
  const lists::ListModel& LVmes() const { return lvMes_; }
  const lists::ListModel& LVCopy() const { return lvCopy_; }
  const lists::ListModel& LVcue() const { return lvCue_; }
  // The lists are the views' store: the window's list views show, scroll and select in them.
  lists::ListModel& List(CompanionList list);
  const CompanionSettings& Settings() const { return settings_; }
  bool WorkStarted() const { return workStarted_; }
  int32_t BusyFlag() const { return busyFlag_ > 0 ? 1 : 0; }
  int64_t CopiedBytes() const { return copiedBytes_; }

 private:
  struct Timer {
    bool enabled = false;
    int32_t intervalMs = 1000;
    int64_t dueMs = 0;
    bool running = false;
  };
  enum TimerId { kParent, kClock, kCopy, kLog, kTimerCount };
  // Raises a counter for the life of a scope (BusyFlag, ListRebuilding), also when the scope
  // is left by an exception.
  class Raised {
   public:
    explicit Raised(int32_t& counter) : counter_(counter) { ++counter_; }
    ~Raised() { --counter_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

   private:
    int32_t& counter_;
  };

  // companion_engine.cpp
  void Arm(TimerId id, bool enabled);
  void RunTimer(TimerId id, const char* where, const std::function<void()>& pass);
  void Guarded(const char* where, const std::function<void()>& work);
  void StartWork();
  // Whether server 1's root is there (logged when it goes missing and when it is back).
  bool ServerRootThere();
  void Log(const std::string& text, platform::LogSeverity severity = platform::LogSeverity::kInfo) {
    ports_.log->Write(text, severity);
  }
  void Changed(CompanionList list) { ports_.view->ListChanged(list); }
  // schedule_intake.cpp
  void ClockPass(int64_t previousSec, int64_t nowSec);
  void TakeScheduleFile(const std::string& name, bool& cueChanged, bool& tmcChanged);
  void RebuildScheduleContents();
  std::vector<std::string> Dates() const;
  // local_upkeep.cpp
  void PurgeDebugLogs();
  void PurgeLocalLogs();
  void TidyLocalStore();

  CompanionPorts ports_;
  CompanionSettings settings_;
  std::array<lists::ListModel, 2> lvs_;
  lists::ListModel lvMes_;
  lists::ListModel lvCopy_;
  lists::ListModel lvCue_;
  std::array<Timer, kTimerCount> timers_{};
  int32_t passDepth_ = 0;
  bool workStarted_ = false;
  bool unloaded_ = false;
  // Seconds of the wall clock (local calendar) at the last clock pass that acted.
  std::optional<int64_t> lastActSec_;
  // Depth of the routines that hold the close off (they may call each other).
  int32_t busyFlag_ = 0;
  std::array<int32_t, 2> listRebuilding_{};
  int32_t noChangePasses_ = 0;
  int32_t serverAlive_ = 0;
  // The playout window the watch saw last, and whether a message was built for it.
  int64_t watchedHandle_ = 0;
  bool messageSent_ = false;
  // On-air monitor and logs.
  std::string lastSnapshotStamp_;
  bool snapshotSettled_ = false;
  std::string lastLogStamp_;
  std::string lastLogName_;
  // Copy queue.
  std::string copyTarget_;
  int64_t copiedBytes_ = 0;
  std::vector<std::string> usedPaths_;
  bool usedWritten_ = false;
};

}  // namespace companion
