#pragma once

#include <cstdint>
#include <string>

#include "controls/lists/list_model.h"
#include "foundation/server_config.h"

namespace playout {

// The three play lists share one row layout: six cells and six auxiliary values.
inline constexpr int32_t kListOnAir = 0;  // the item playing or last started (one row)
inline constexpr int32_t kListQueue = 1;  // rows still to come, row 0 first
inline constexpr int32_t kListLoad = 2;   // the schedule received last
inline constexpr int32_t kListCount = 3;

inline constexpr int32_t kRowCells = 6;
// Cells.
inline constexpr int32_t kColTime = 0;     // hh:nn:ss on the broadcast-day clock
inline constexpr int32_t kColTrigger = 1;  // trigger name
inline constexpr int32_t kColType = 2;     // type name, or the command name
inline constexpr int32_t kColLength = 3;   // mm:ss
inline constexpr int32_t kColFolder = 4;
inline constexpr int32_t kColTitle = 5;  // file name without folder and extension
// Auxiliary values.
inline constexpr int32_t kAuxSeq = 0;      // position within its schedule file
inline constexpr int32_t kAuxDate = 1;     // broadcast date yyyy/mm/dd
inline constexpr int32_t kAuxPath = 2;     // sound file relative to LocalPath / SrvPath
inline constexpr int32_t kAuxCue = 3;      // schedule file name (yyyymmddhhnnss...)
inline constexpr int32_t kAuxProgram = 4;  // programme name
inline constexpr int32_t kAuxCommand = 5;  // command index, -1 for a sound item

// Trigger kinds by their place in the trigger table.
inline constexpr int32_t kTriggerTime = 0;
inline constexpr int32_t kTriggerSeq = 1;

// Makes a list of the play-list layout with no rows; new rows get `foreColor`.
void SetupPlayList(lists::ListModel& list, int32_t foreColor);

// A command item is a row whose file has the extension ".scm" (any case).
bool IsCommandPath(const std::string& path);
bool IsCommandRow(const lists::ListModel& list, int32_t row);

// The row's command file name: its file name without folder and extension.
std::string CommandNameOf(const lists::ListModel& list, int32_t row);

// aux 1, a blank and cell 0: the row's yyyy/mm/dd hh:nn:ss.
std::string RowStamp(const lists::ListModel& list, int32_t row);

// The text colour of a queue row: the command colour for a command row, else the colour of the
// type named in cell 2. `colorMode` 0 takes the dark-scheme variants.
int32_t QueueRowColor(const foundation::ConfTables& conf, int32_t colorMode,
                      const lists::ListModel& list, int32_t row);

// Copies the six cells and the six auxiliary values of one row into another.
void CopyRowValues(const lists::ListModel& from, int32_t fromRow, lists::ListModel& to,
                   int32_t toRow);

// Marks the first row of every further schedule file in the queue with `lineColor` (row 0 is
// left as it is; a single row loses its line).
void MarkScheduleFiles(lists::ListModel& queue, int32_t lineColor);

}  // namespace playout
