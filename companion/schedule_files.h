#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "companion/companion_rows.h"
#include "controls/lists/list_model.h"
#include "platform/clock.h"

namespace companion {

// The schedule files an outside system leaves in the server's sched folder, named
// <yyyymmdd of the broadcast day><6 more characters>_<NN>.cue or .tmc (21 characters), and the
// rows the companion makes of them.

// The broadcast dates yyyymmdd of today and the next prepDay - 1 days on the day-start clock.
std::vector<std::string> PrepDayDates(const platform::WallTime& now, int32_t hourAdjust,
                                      int32_t prepDay);

// A server file of this air number for one of the dates: 21 characters, "_" + NN somewhere in
// it (ignoring ASCII case), ending in ".cue" or ".tmc" (exact case), beginning with a date.
bool IsScheduleFileName(const std::string& name, const std::string& airNumber,
                        const std::vector<std::string>& dates);

// A ".cue" name of 21 characters that begins with one of the dates.
bool IsCueInPrepDays(const std::string& name, const std::vector<std::string>& dates);

// The programme title and the accepted lines (fields 0 to 5) of a schedule file.
struct ScheduleFile {
  std::string title;
  std::vector<std::array<std::string, ScheduleRow::kFields>> lines;
};

// Reads a CP932 schedule file: the first field of the first line is the title and whatever
// follows it on that line is read as the first data line; a line with fewer than 6 fields is
// left out. False when the file cannot be read.
bool ReadScheduleFile(const std::string& path, ScheduleFile& file);

// Appends the schedule-contents rows of one schedule file `name` (`checked` its mark in the
// server file list): its six fields as aux values, the name, title, whether it is a ".tmc", the
// sound path and the ID <name>_<nnn> numbering the file's lines from 001.
void AddScheduleFileRows(lists::ListModel& list, const std::string& name, const ScheduleFile& file,
                         CheckMark checked);

// Gives every schedule-contents or on-air monitor row the mark.
void MarkAllRows(lists::ListModel& list, CheckMark mark);

// Merges the lines of the playout's on-air snapshot into the on-air monitor list. Every row is
// first marked gone (-1); a line of 6 fields or more whose sound path a row holds marks that row
// kept (0); a new path becomes a row marked new (1), ID mon_<nnn> counted from 001 in this merge;
// rows still marked gone are removed.
void MergeSnapshotRows(const std::vector<std::string>& lines, lists::ListModel& list);

// Field 4 (a folder) and field 5 (a file) joined by '\', or the file alone.
std::string SoundPath(const std::string& folder, const std::string& file);

// Whether a relative sound path stays below the folder it is joined to: not empty, not absolute
// ('/' or '\' first, or a drive), no ".." component and no NUL.
bool IsContainedRelativePath(const std::string& path);

// Sorts schedule-contents rows by their ID (file name, then the line number as a number).
void SortRowsById(lists::ListModel& list);

}  // namespace companion
