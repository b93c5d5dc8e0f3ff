#include "companion/schedule_files.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "companion/companion_files.h"
#include "foundation/calendar.h"
#include "foundation/date_stamp.h"
#include "foundation/paths.h"
#include "foundation/text_fields.h"
#include "platform/ascii_text.h"

namespace companion {

namespace {

constexpr size_t kNameLength = 21;

bool StartsWithDate(const std::string& name, const std::vector<std::string>& dates) {
  return std::any_of(dates.begin(), dates.end(), [&](const std::string& d) {
    return !d.empty() && name.compare(0, d.size(), d) == 0;
  });
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void AddLine(const std::string& line, ScheduleFile& file) {
  std::vector<std::string> fields;
  if (foundation::SplitCsvLine(fields, line, ",", 1) < ScheduleRow::kFields) return;
  std::array<std::string, ScheduleRow::kFields> kept;
  for (size_t k = 0; k < kept.size(); ++k) kept[k] = fields[k];
  file.lines.push_back(std::move(kept));
}

// The file name and line number of an ID "<file>_<nnn>".
std::pair<std::string, int64_t> IdKey(const std::string& id) {
  const size_t underscore = id.rfind('_');
  int64_t number = 0;
  if (underscore != std::string::npos) {
    const char* first = id.data() + underscore + 1;
    std::from_chars(first, id.data() + id.size(), number);
    return {platform::LowerAscii(id.substr(0, underscore)), number};
  }
  return {platform::LowerAscii(id), 0};
}

}  // namespace

std::vector<std::string> PrepDayDates(const platform::WallTime& now, int32_t hourAdjust,
                                      int32_t prepDay) {
  std::vector<std::string> dates;
  for (int32_t i = 0; i < prepDay; ++i)
    dates.push_back(foundation::FormatDateStampAt(now, hourAdjust, i, 1, 1));
  return dates;
}

bool IsScheduleFileName(const std::string& name, const std::string& airNumber,
                        const std::vector<std::string>& dates) {
  if (name.size() != kNameLength) return false;
  if (platform::LowerAscii(name).find("_" + platform::LowerAscii(airNumber)) == std::string::npos)
    return false;
  if (!EndsWith(name, ".tmc") && !EndsWith(name, ".cue")) return false;
  return StartsWithDate(name, dates);
}

bool IsCueInPrepDays(const std::string& name, const std::vector<std::string>& dates) {
  return name.size() == kNameLength && EndsWith(name, ".cue") && StartsWithDate(name, dates);
}

bool ReadScheduleFile(const std::string& path, ScheduleFile& file) {
  file = ScheduleFile{};
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      AddLine(lines[i], file);
      continue;
    }
    size_t rest = 0;
    file.title = FirstField(lines[0], &rest);
    if (rest < lines[0].size()) AddLine(lines[0].substr(rest), file);
  }
  return true;
}

void AddScheduleFileRows(lists::ListModel& list, const std::string& name, const ScheduleFile& file,
                         CheckMark checked) {
  const bool tmc = EndsWith(name, ".tmc");
  int32_t k = 0;
  for (const auto& fields : file.lines) {
    list.AddItem(1);
    const ScheduleRow row(list, -2);
    row.SetFields(fields);
    row.SetCue(name);
    row.SetProg(file.title);
    row.SetTmc(tmc);
    row.SetChecked(checked);
    row.SetSound(SoundPath(fields[4], fields[5]));
    row.SetId(name + "_" + foundation::PadNumber(++k, 3));
  }
}

void MarkAllRows(lists::ListModel& list, CheckMark mark) {
  for (int32_t r = 0; r < list.ItemCount(); ++r) ScheduleRow(list, r).SetChecked(mark);
}

void MergeSnapshotRows(const std::vector<std::string>& lines, lists::ListModel& list) {
  MarkAllRows(list, CheckMark::kNotSeen);
  int32_t added = 0;
  std::vector<std::string> fields;
  for (const std::string& line : lines) {
    if (foundation::SplitCsvLine(fields, line, ",", 1) < ScheduleRow::kFields) continue;
    const std::string path = SoundPath(fields[4], fields[5]);
    int32_t found = -1;
    for (int32_t r = 0; r < list.ItemCount() && found < 0; ++r)
      if (ConstScheduleRow(list, r).Sound() == path) found = r;
    if (found >= 0) {
      const ScheduleRow row(list, found);
      if (row.Checked() == CheckMark::kNotSeen) row.SetChecked(CheckMark::kUnchanged);
      continue;
    }
    list.AddItem(1);
    const ScheduleRow row(list, -2);
    row.SetCue("out");
    row.SetProg("air");
    row.SetTmc(false);
    row.SetChecked(CheckMark::kNew);
    row.SetSound(path);
    row.SetId("mon_" + foundation::PadNumber(++added, 3));
  }
  for (int32_t r = list.ItemCount() - 1; r >= 0; --r)
    if (ConstScheduleRow(list, r).Checked() == CheckMark::kNotSeen) list.DeleteItem(r);
}

std::string SoundPath(const std::string& folder, const std::string& file) {
  return folder.empty() ? file : folder + "\\" + file;
}

bool IsContainedRelativePath(const std::string& path) {
  if (path.empty() || path[0] == '/' || path[0] == '\\' || foundation::IsDrivePath(path))
    return false;
  // The file system reads a path only up to a NUL, so "..\0x" would name the folder above.
  if (path.find('\0') != std::string::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    if (std::string_view(path).substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

void SortRowsById(lists::ListModel& list) {
  std::vector<std::pair<std::pair<std::string, int64_t>, lists::ListRow>> rows;
  for (int32_t r = 0; r < list.ItemCount(); ++r)
    rows.emplace_back(IdKey(ConstScheduleRow(list, r).Id()), *list.Row(r));
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  list.DeleteAll();
  for (const auto& [key, row] : rows) {
    list.AddItem(1);
    for (int32_t k = 0; k < static_cast<int32_t>(row.Data.size()); ++k)
      list.SetValue(-2, k, row.Data[static_cast<size_t>(k)]);
    for (int32_t k = 0; k < static_cast<int32_t>(row.AuxID.size()); ++k)
      list.SetAuxID(-2, k, row.AuxID[static_cast<size_t>(k)]);
    list.SetDispColor(-2, row.DispColor);
    list.SetHLine(-2, row.HLine);
    list.SetIconType(-2, row.IconType);
  }
}

}  // namespace companion
