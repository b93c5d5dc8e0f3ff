#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/lists/list_model.h"
#include "controls/lists/list_row_view.h"
#include "foundation/server_config.h"

namespace playout {

// The three play lists, by the numbers the window's control array gives them.
enum PlayList : int32_t {
  kListOnAir = 0,  // the item playing or last started (one row)
  kListQueue = 1,  // rows still to come, row 0 first
  kListLoad = 2,   // the schedule received last
  kListCount = 3,
};

// The kind of a row's trigger: the place of its name in the trigger table. A name the table does
// not hold is a contact trigger that no input matches.
enum class TriggerKind : int32_t {
  kTime = 0,  // "TIME": at the row's time
  kSeq = 1,   // "SEQ": after the item before it
  kCnt1 = 2,  // "CNT1"; contact input n starts a row of kind kCnt1 + n - 1, up to "CNT8"
};

// The trigger kind that contact input `n` (1..8) starts.
constexpr TriggerKind ContactTrigger(int32_t n) {
  return static_cast<TriggerKind>(static_cast<int32_t>(TriggerKind::kCnt1) + n - 1);
}

// Every play row has six cells, the list's columns, and six auxiliary values.
inline constexpr int32_t kRowCells = 6;

// Makes a list of the play-list layout with no rows; new rows get `foreColor`.
void SetupPlayList(lists::ListModel& list, int32_t foreColor);

// A command item is a row whose file has the extension ".scm" (any case).
bool IsCommandPath(const std::string& path);

template <class Values>
class HeldItemOf;

// One row of a play list by its fields. Rows come from the schedule message (the load list) and
// are copied whole into the queue and from there to the on-air list.
template <class Model>
class PlayRowOf : public lists::RowView<Model> {
 public:
  using lists::RowView<Model>::RowView;

  // ---- cells, as the lists show them ----
  std::string StartTime() const { return this->CellText(kTime); }   // hh:nn:ss, broadcast day
  std::string Trigger() const { return this->CellText(kTrigger); }  // the trigger's name
  std::string Type() const { return this->CellText(kType); }  // the type's name, or the command's
  std::string Length() const { return this->CellText(kLength); }  // mm:ss
  std::string Folder() const { return this->CellText(kFolder); }  // of the sound file's path
  std::string Title() const { return this->CellText(kTitle); }    // file name without extension
  // ---- auxiliary values ----
  lists::ListValue Seq() const { return this->Aux(kSeq); }  // place in its schedule file, from 0
  std::string BroadcastDate() const { return this->AuxText(kDate); }  // yyyy/mm/dd
  std::string Path() const { return this->AuxText(kPath); }  // relative to LocalPath and SrvPath
  // The schedule file's name; its first 14 characters are its yyyymmddhhnnss.
  std::string ScheduleFile() const { return this->AuxText(kCue); }
  std::string Programme() const { return this->AuxText(kProgram); }
  // The command's index in the command list (-1 when not found); -1 for a sound item.
  lists::ListValue CommandIndex() const { return this->Aux(kCommand); }

  // ---- what follows from them ----
  // The broadcast date, a blank and the start time: the row's yyyy/mm/dd hh:nn:ss.
  std::string Stamp() const { return BroadcastDate() + " " + StartTime(); }
  bool IsCommand() const { return IsCommandPath(Path()); }
  // The command file's name: the path's file name without folder and extension.
  std::string CommandName() const;
  TriggerKind Kind(const foundation::ConfTables& conf) const {
    return static_cast<TriggerKind>(foundation::TriggerIndexFromName(conf, Trigger()));
  }
  // Whether both rows come from one schedule file (their names are equal values).
  template <class Other>
  bool SameScheduleFile(const PlayRowOf<Other>& other) const {
    return this->Aux(kCue) == other.Aux(kCue);
  }

  // ---- writes ----
  void SetStartTime(const std::string& v) const { this->SetCell(kTime, v); }
  void SetTrigger(const std::string& v) const { this->SetCell(kTrigger, v); }
  void SetType(const std::string& v) const { this->SetCell(kType, v); }
  void SetLength(const std::string& v) const { this->SetCell(kLength, v); }
  void SetFolder(const std::string& v) const { this->SetCell(kFolder, v); }
  void SetTitle(const std::string& v) const { this->SetCell(kTitle, v); }
  void SetSeq(int32_t v) const { this->SetAux(kSeq, v); }
  void SetBroadcastDate(const std::string& v) const { this->SetAux(kDate, v); }
  void SetPath(const std::string& v) const { this->SetAux(kPath, v); }
  void SetScheduleFile(const std::string& v) const { this->SetAux(kCue, v); }
  void SetProgramme(const std::string& v) const { this->SetAux(kProgram, v); }
  void SetCommandIndex(int32_t v) const { this->SetAux(kCommand, v); }
  // Takes every cell and auxiliary value of `from`, as they are.
  template <class Other>
  void CopyFrom(const PlayRowOf<Other>& from) const {
    for (int32_t k = 0; k < kRowCells; ++k) {
      this->SetCell(k, from.Cell(k));
      this->SetAux(k, from.Aux(k));
    }
  }

 private:
  template <class>
  friend class PlayRowOf;
  template <class>
  friend class HeldItemOf;

  enum CellIndex : int32_t { kTime, kTrigger, kType, kLength, kFolder, kTitle };
  enum AuxIndex : int32_t { kSeq, kDate, kPath, kCue, kProgram, kCommand };
};

using PlayRow = PlayRowOf<lists::ListModel>;
using ConstPlayRow = PlayRowOf<const lists::ListModel>;

// The six cells or the six auxiliary values of a play row held outside any list.
using RowValues = std::array<lists::ListValue, kRowCells>;

// The current item or the next one as the window remembers it: the cells and the auxiliary
// values of a play row, copied out of their list (the arrays belong to the state). A position of
// -1 means there is none. `Values` is RowValues, or const RowValues for a view that only reads.
template <class Values>
class HeldItemOf {
 public:
  HeldItemOf(Values& cells, Values& aux) : cells_(&cells), aux_(&aux) {}

  bool IsNone() const { return (*aux_)[ConstPlayRow::kSeq] == lists::ListValue(-1); }
  std::string Title() const { return (*cells_)[ConstPlayRow::kTitle].Text(); }
  std::string BroadcastDate() const { return (*aux_)[ConstPlayRow::kDate].Text(); }
  // Whether `row` holds this item: the same position, schedule file and programme, and the same
  // cells. Date, path and command index are not compared.
  bool IsHeldBy(const ConstPlayRow& row) const;

  void SetNone() const { (*aux_)[ConstPlayRow::kSeq] = -1; }
  // Takes the row's cells and as many of its auxiliary values as its list has.
  void Take(const ConstPlayRow& row) const;
  // None, and then every cell and each auxiliary value the list has (the position too) "".
  void Clear(const lists::ListModel& list) const;

 private:
  Values* cells_;
  Values* aux_;
};

using HeldItem = HeldItemOf<RowValues>;
using ConstHeldItem = HeldItemOf<const RowValues>;

// The text colour of a queue row: the command colour for a command row, else the colour of the
// row's type. `colorMode` 0 takes the dark-scheme variants.
int32_t QueueRowColor(const foundation::ConfTables& conf, int32_t colorMode,
                      const ConstPlayRow& row);

// Marks the first row of every further schedule file in the queue with `lineColor` (row 0 is
// left as it is; a single row loses its line).
void MarkScheduleFiles(lists::ListModel& queue, int32_t lineColor);

}  // namespace playout
