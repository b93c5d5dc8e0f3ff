// The clock pass: schedule intake from the server, the schedule message and the status list.

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "companion/schedule_files.h"
#include "companion/schedule_message.h"
#include "foundation/calendar.h"
#include "foundation/file_times.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace companion {

namespace {

constexpr int32_t kQuietPassesForFullCheck = 900;

// Whether a multiple of `period` seconds (shifted by `offset`) lies in (previous, now].
bool Crossed(int64_t previous, int64_t now, int64_t period, int64_t offset = 0) {
  return foundation::FloorDiv(now - offset, period) >
         foundation::FloorDiv(previous - offset, period);
}

bool EndsWith(const std::string& text, const char* tail) {
  const std::string t(tail);
  return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

// The names of the files (not folders) of a folder, in name order as the folder is listed;
// nothing when it cannot be read.
std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  const auto entries = platform::ListDirectory(platform::ToNativePath(folder));
  if (!entries) return names;
  for (const platform::DirEntry& e : *entries)
    if (!e.isDirectory && !e.name.empty()) names.push_back(e.name);
  return names;
}

}  // namespace

std::vector<std::string> CompanionEngine::Dates() const {
  return PrepDayDates(ports_.clock->Now(), settings_.HourAdjust, settings_.PrepDay);
}

void CompanionEngine::ClockPass(int64_t previousSec, int64_t nowSec) {
  ShowStatus("TimerClock_Timer");
  serverAlive_ = ports_.server->CheckServerAlive();
  if (serverAlive_ == 0) {
    ShowStatus("サーバー迷子");
    return;
  }
  const int32_t r = InputSched();
  ShowStatus("InputSched=" + std::to_string(r));
  bool quiet = false;
  std::optional<CopyListMode> mode;
  if (r == kCueChanged) {
    noChangePasses_ = 0;
    mode = kChangedRows;
  } else if (r == kNoChange) {
    if (++noChangePasses_ >= kQuietPassesForFullCheck) {
      noChangePasses_ = 0;
      mode = kAllRows;
    } else {
      quiet = true;
    }
  }
  if (mode) {
    if (foundation::FolderExists(settings_.LocalSchedFolder) != 0)
      MakeCopyList(kScheduleList, *mode);
    WriteUsedList();
  }
  // Ten seconds into each calendar day.
  if (!quiet && Crossed(previousSec, nowSec, 86400, 10)) PurgeDebugLogs();
  const int32_t r2 = InputSchedMon();
  ShowStatus("InputSchedMon=" + std::to_string(r2));
  if (Crossed(previousSec, nowSec, 600)) Log("動作OK");
}

int32_t CompanionEngine::InputSched() {
  Raised busy(busyFlag_);
  const std::vector<std::string> dates = Dates();
  for (int32_t r = 0; r < lvCue_.ItemCount(); ++r)
    ServerFileRow(lvCue_, r).SetChecked(CheckMark::kNotSeen);
  Changed(CompanionList::kServerFiles);
  bool cueChanged = false;
  bool tmcChanged = false;
  const std::string air = foundation::PadNumber(static_cast<int64_t>(settings_.SelectedAir) + 1, 2);
  for (const std::string& name : FileNames(settings_.ServerSchedFolder)) {
    if (IsScheduleFileName(name, air, dates)) TakeScheduleFile(name, cueChanged, tmcChanged);
  }
  for (int32_t r = lvCue_.ItemCount() - 1; r >= 0; --r) {
    const ConstServerFileRow row(lvCue_, r);
    if (row.Checked() != CheckMark::kNotSeen) continue;
    const std::string name = row.Name();
    if (EndsWith(name, ".cue")) {
      foundation::DeleteFileForce(settings_.LocalSchedFolder + name);
      cueChanged = true;
    } else {
      tmcChanged = true;
    }
    lvCue_.DeleteItem(r);
  }
  lvCue_.ReOrder(ServerFileRow::kNameColumn, 1);
  Changed(CompanionList::kServerFiles);
  if ((cueChanged || tmcChanged) && lvCue_.ItemCount() > 0) {
    RebuildScheduleContents();
    SendOAText();
  } else if (!cueChanged && !tmcChanged) {
    MarkAllRows(lvs_[kScheduleList], CheckMark::kUnchanged);
    Changed(CompanionList::kSchedule);
  }
  return cueChanged ? kCueChanged : (tmcChanged ? kOnlyTmcChanged : kNoChange);
}

void CompanionEngine::TakeScheduleFile(const std::string& name, bool& cueChanged,
                                       bool& tmcChanged) {
  const std::string server = settings_.ServerSchedFolder + name;
  const std::string stamp = foundation::GetFileTimeText(server, 2, 3, 1);
  // Rows are keyed by the whole name, so a ".cue" and a ".tmc" of one base stay apart.
  int32_t found = -1;
  for (int32_t r = 0; r < lvCue_.ItemCount(); ++r) {
    if (ConstServerFileRow(lvCue_, r).Name() == name) {
      found = r;
      break;
    }
  }
  if (found >= 0 && ConstServerFileRow(lvCue_, found).Time() == stamp) {
    ServerFileRow(lvCue_, found).SetChecked(CheckMark::kUnchanged);
    return;
  }
  if (found < 0) {
    lvCue_.AddItem(1);
    found = lvCue_.ItemCount() - 1;
  }
  const ServerFileRow row(lvCue_, found);
  row.SetName(name);
  row.SetTime(stamp);
  row.SetProg(ReadTextFile(server));
  row.SetChecked(CheckMark::kNew);
  if (EndsWith(name, ".cue")) {
    cueChanged = true;
    ports_.fh0->TranspFile(server, settings_.LocalSchedFolder + name, 1, 0);
  } else {
    tmcChanged = true;
  }
}

void CompanionEngine::RebuildScheduleContents() {
  Raised rebuilding(listRebuilding_[kScheduleList]);
  lists::ListModel& list = lvs_[kScheduleList];
  list.DeleteAll();
  for (int32_t r = 0; r < lvCue_.ItemCount(); ++r) {
    const ConstServerFileRow cue(lvCue_, r);
    const std::string name = cue.Name();
    const std::string path = settings_.ServerSchedFolder + name;
    if (name.empty() || foundation::FileExists(path) == 0) continue;
    ScheduleFile file;
    if (!ReadScheduleFile(path, file)) continue;
    AddScheduleFileRows(list, name, file, cue.Checked());
  }
  SortRowsById(list);
  Changed(CompanionList::kSchedule);
}

void CompanionEngine::PurgeLocalSched() {
  if (foundation::FolderExists(settings_.LocalSchedFolder) == 0) return;
  Raised busy(busyFlag_);
  const std::vector<std::string> dates = Dates();
  for (const std::string& name : FileNames(settings_.LocalSchedFolder)) {
    if (!IsCueInPrepDays(name, dates))
      foundation::DeleteFileForce(settings_.LocalSchedFolder + name);
    ports_.pauses->Pump();
  }
}

void CompanionEngine::SendOAText() {
  Raised busy(busyFlag_);
  const std::string text = ScheduleMessageText(lvs_[kScheduleList]);
  const int64_t handle =
      ports_.windows->SendCopyData(settings_.names.PlayoutCaption, ScheduleMessagePayload(text));
  messageSent_ = true;
  if (handle > 0) watchedHandle_ = handle;
  Log("SendOAText=" + std::string(handle > 0 ? "1" : "0") +
      " rows=" + std::to_string(lvs_[kScheduleList].ItemCount()));
}

}  // namespace companion
