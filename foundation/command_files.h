#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

// The command files (*.scm in a command folder): each names a switcher command with its fade
// and switch timing. A play-list row that starts a command refers to it by its index here.

struct ScheduleEntry {
  std::string Name;  // the file's name without its extension
  int32_t OutFade = 0;
  int32_t OutTime = 0;  // seconds, at most 0 (0 or before the row's time)
  int32_t InFade = 0;
  int32_t InTime = 0;  // at least OutTime
  int32_t InCh = 0;    // at most 8
  int32_t FOMS = 0;
  int32_t FIMS = 0;
};

// The list in use; its size is the command count. Process-wide, UI thread only.
std::vector<ScheduleEntry>& ScheduleList();

// Rebuilds ScheduleList from the *.scm files of the local command folder (useLocal non-zero) or
// the current server's. Files are taken in name order (ignoring ASCII case), folders and
// vanished files skipped. Each file is read as INI (section "conf"); missing keys are written
// into it as 0 unless the file is read-only. Then InCh over 8 becomes 1, OutTime over 0 becomes
// 0 and InTime below OutTime becomes OutTime. A missing or unnamed folder gives an empty list; a
// folder that cannot be listed gives one too, with an error-log line; a failure part-way keeps
// the records read so far and is logged. Never runs pending work.
void LoadScheduleList(int32_t useLocal);

// The index of the command file `name` (with or without ".scm", ASCII case ignored) in
// ScheduleList; -1 when absent.
int32_t FindScheduleIndex(const std::string& name);
// The same in a given list.
int32_t FindScheduleIndex(const std::vector<ScheduleEntry>& list, const std::string& name);

}  // namespace foundation
