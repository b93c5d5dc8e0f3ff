#include "playout/play_list_rows.h"

#include "foundation/paths.h"
#include "platform/ascii_case.h"

namespace playout {

void SetupPlayList(lists::ListModel& list, int32_t foreColor) {
  list.SetNumData(kRowCells);
  list.SetNumAux(kRowCells);
  list.SetForeColor(foreColor);
  list.Init();
}

bool IsCommandPath(const std::string& path) {
  // The extension is what follows the file name's last dot, so a path ending in ".scm" is one.
  static constexpr std::string_view kExt = ".scm";
  return path.size() >= kExt.size() &&
         platform::EqualsIgnoringAsciiCase(std::string_view(path).substr(path.size() - kExt.size()),
                                           kExt);
}

bool IsCommandRow(const lists::ListModel& list, int32_t row) {
  return IsCommandPath(list.AuxID(row, kAuxPath).Text());
}

std::string CommandNameOf(const lists::ListModel& list, int32_t row) {
  return foundation::SplitPath(list.AuxID(row, kAuxPath).Text(), false, false, true, false, false);
}

std::string RowStamp(const lists::ListModel& list, int32_t row) {
  return list.AuxID(row, kAuxDate).Text() + " " + list.Value(row, kColTime).Text();
}

int32_t QueueRowColor(const foundation::ConfTables& conf, int32_t colorMode,
                      const lists::ListModel& list, int32_t row) {
  if (IsCommandRow(list, row)) return colorMode != 0 ? conf.CommandColor : conf.CommandColorAlt;
  const int32_t type = foundation::TypeIndexFromName(conf, list.Value(row, kColType).Text());
  return colorMode != 0 ? conf.TypeColor[type] : conf.TypeColorAlt[type];
}

void CopyRowValues(const lists::ListModel& from, int32_t fromRow, lists::ListModel& to,
                   int32_t toRow) {
  for (int32_t k = 0; k < kRowCells; ++k) {
    to.SetValue(toRow, k, from.Value(fromRow, k));
    to.SetAuxID(toRow, k, from.AuxID(fromRow, k));
  }
}

void MarkScheduleFiles(lists::ListModel& queue, int32_t lineColor) {
  const int32_t count = queue.ItemCount();
  if (count >= 2) {
    lists::ListValue prev = queue.AuxID(0, kAuxCue);
    for (int32_t i = 1; i < count; ++i) {
      const lists::ListValue cue = queue.AuxID(i, kAuxCue);
      if (cue != prev) {
        queue.SetHLine(i, lineColor);
        prev = cue;
      } else {
        queue.SetHLine(i, 0);
      }
    }
  } else if (count == 1) {
    queue.SetHLine(0, 0);
  }
}

}  // namespace playout
