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

template <class Model>
std::string PlayRowOf<Model>::CommandName() const {
  return foundation::SplitPath(Path(), false, false, true, false, false);
}

template std::string PlayRow::CommandName() const;
template std::string ConstPlayRow::CommandName() const;

template <class Values>
void HeldItemOf<Values>::Take(const ConstPlayRow& row) const {
  for (int32_t i = 0; i < kRowCells; ++i) (*cells_)[static_cast<size_t>(i)] = row.Cell(i);
  for (int32_t j = 0; j < kRowCells && j < row.List().NumAux(); ++j)
    (*aux_)[static_cast<size_t>(j)] = row.Aux(j);
}

template <class Values>
void HeldItemOf<Values>::Clear(const lists::ListModel& list) const {
  SetNone();
  for (lists::ListValue& cell : *cells_) cell = "";
  for (int32_t j = 0; j < kRowCells && j < list.NumAux(); ++j) (*aux_)[static_cast<size_t>(j)] = "";
}

template <class Values>
bool HeldItemOf<Values>::IsHeldBy(const ConstPlayRow& row) const {
  for (const int32_t k : {ConstPlayRow::kSeq, ConstPlayRow::kCue, ConstPlayRow::kProgram}) {
    if (row.Aux(k) != (*aux_)[static_cast<size_t>(k)]) return false;
  }
  for (int32_t k = 0; k < kRowCells; ++k) {
    if (row.Cell(k) != (*cells_)[static_cast<size_t>(k)]) return false;
  }
  return true;
}

template void HeldItem::Take(const ConstPlayRow& row) const;
template void HeldItem::Clear(const lists::ListModel& list) const;
template bool HeldItem::IsHeldBy(const ConstPlayRow& row) const;

int32_t QueueRowColor(const foundation::ConfTables& conf, int32_t colorMode,
                      const ConstPlayRow& row) {
  if (row.IsCommand()) return colorMode != 0 ? conf.CommandColor : conf.CommandColorAlt;
  const int32_t type = foundation::TypeIndexFromName(conf, row.Type());
  return colorMode != 0 ? conf.TypeColor[type] : conf.TypeColorAlt[type];
}

void MarkScheduleFiles(lists::ListModel& queue, int32_t lineColor) {
  const int32_t count = queue.ItemCount();
  if (count >= 2) {
    // The first row of the schedule file met last.
    int32_t first = 0;
    for (int32_t i = 1; i < count; ++i) {
      if (!ConstPlayRow(queue, i).SameScheduleFile(ConstPlayRow(queue, first))) {
        queue.SetHLine(i, lineColor);
        first = i;
      } else {
        queue.SetHLine(i, 0);
      }
    }
  } else if (count == 1) {
    queue.SetHLine(0, 0);
  }
}

}  // namespace playout
