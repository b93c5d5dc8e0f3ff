#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "controls/lists/list_model.h"
#include "controls/lists/list_row_view.h"

namespace companion {

// The rows of the companion's lists, one view per kind of list. The lists are what the window
// shows; these views are the only code that knows which cell holds what.

// The "checked" mark of a server file and of the rows made of it.
enum class CheckMark : int32_t {
  kNotSeen = -1,   // not (yet) met by the scan or rebuild that runs
  kUnchanged = 0,  // met again as it was
  kNew = 1,        // new, or changed, in this scan or rebuild
};

// A row of the schedule contents LVS(0), one per schedule line, or of the on-air monitor LVS(1),
// one per sound of the playout's snapshot. The monitor's rows keep no schedule fields.
template <class Model>
class ScheduleRowOf : public lists::RowView<Model> {
  enum Column : int32_t { kCue, kProg, kTmc, kChecked, kSound, kId };

 public:
  using lists::RowView<Model>::RowView;
  // The schedule line's fields 0 to 5, kept as auxiliary values and sent on in the message.
  static constexpr int32_t kFields = 6;

  std::string Cue() const { return this->CellText(kCue); }    // the schedule file's name, or "out"
  std::string Prog() const { return this->CellText(kProg); }  // the programme title, or "air"
  // A row of a ".tmc" file: listed, but never sent nor copied.
  bool IsTmc() const { return this->CellWhole(kTmc) != 0; }
  CheckMark Checked() const { return static_cast<CheckMark>(this->CellWhole(kChecked)); }
  // The sound's path relative to the server root and LocalPath: field 4 \ field 5.
  std::string Sound() const { return this->CellText(kSound); }
  std::string Id() const { return this->CellText(kId); }  // <file>_<nnn>, or mon_<nnn>
  std::string Field(int32_t field) const { return this->AuxText(field); }

  void SetCue(const std::string& v) const { this->SetCell(kCue, v); }
  void SetProg(const std::string& v) const { this->SetCell(kProg, v); }
  void SetTmc(bool tmc) const { this->SetCell(kTmc, tmc ? 1 : 0); }
  void SetChecked(CheckMark v) const { this->SetCell(kChecked, static_cast<int32_t>(v)); }
  void SetSound(const std::string& v) const { this->SetCell(kSound, v); }
  void SetId(const std::string& v) const { this->SetCell(kId, v); }
  void SetFields(const std::array<std::string, kFields>& fields) const {
    for (int32_t f = 0; f < kFields; ++f) this->SetAux(f, fields[static_cast<size_t>(f)]);
  }
};
using ScheduleRow = ScheduleRowOf<lists::ListModel>;
using ConstScheduleRow = ScheduleRowOf<const lists::ListModel>;

// A row of the server file list LVcue: one qualifying schedule file of the server.
template <class Model>
class ServerFileRowOf : public lists::RowView<Model> {
  enum Column : int32_t { kName, kTime, kProg, kChecked };

 public:
  using lists::RowView<Model>::RowView;
  static constexpr int32_t kNameColumn = kName;  // the list is sorted by it

  std::string Name() const { return this->CellText(kName); }
  std::string Time() const { return this->CellText(kTime); }  // the file's last-write stamp
  CheckMark Checked() const { return static_cast<CheckMark>(this->CellWhole(kChecked)); }

  void SetName(const std::string& v) const { this->SetCell(kName, v); }
  void SetTime(const std::string& v) const { this->SetCell(kTime, v); }
  void SetProg(const std::string& v) const { this->SetCell(kProg, v); }
  void SetChecked(CheckMark v) const { this->SetCell(kChecked, static_cast<int32_t>(v)); }
};
using ServerFileRow = ServerFileRowOf<lists::ListModel>;
using ConstServerFileRow = ServerFileRowOf<const lists::ListModel>;

// A row of the copy queue LVCopy: one file to copy from server 1 into the local store.
template <class Model>
class CopyRowOf : public lists::RowView<Model> {
  enum Column : int32_t { kLv, kSource, kTarget, kDone };
  enum AuxIndex : int32_t { kRelPath };

 public:
  using lists::RowView<Model>::RowView;

  // The number of the list that asked for the copy; rows of the on-air monitor go first.
  int64_t Lv() const { return this->CellWhole(kLv); }
  std::string Source() const { return this->CellText(kSource); }
  std::string Target() const { return this->CellText(kTarget); }
  // "done" 0: waiting; 1: taken (set as its copy starts).
  bool IsWaiting() const { return this->CellWhole(kDone) == 0; }
  bool IsTaken() const { return this->CellWhole(kDone) == 1; }
  // The path relative to both roots, as the schedule names it (".tip" added for a companion).
  std::string RelPath() const { return this->AuxText(kRelPath); }

  void SetLv(int32_t v) const { this->SetCell(kLv, v); }
  void SetSource(const std::string& v) const { this->SetCell(kSource, v); }
  void SetTarget(const std::string& v) const { this->SetCell(kTarget, v); }
  void SetTaken(bool taken) const { this->SetCell(kDone, taken ? 1 : 0); }
  void SetRelPath(const std::string& v) const { this->SetAux(kRelPath, v); }
};
using CopyRow = CopyRowOf<lists::ListModel>;
using ConstCopyRow = CopyRowOf<const lists::ListModel>;

// A row of the status list LVmes, newest first.
template <class Model>
class StatusRowOf : public lists::RowView<Model> {
  enum Column : int32_t { kTime, kMessage };

 public:
  using lists::RowView<Model>::RowView;

  std::string Time() const { return this->CellText(kTime); }  // hh:nn:ss of the broadcast day
  std::string Message() const { return this->CellText(kMessage); }
  void SetTime(const std::string& v) const { this->SetCell(kTime, v); }
  void SetMessage(const std::string& v) const { this->SetCell(kMessage, v); }
};
using StatusRow = StatusRowOf<lists::ListModel>;
using ConstStatusRow = StatusRowOf<const lists::ListModel>;

}  // namespace companion
