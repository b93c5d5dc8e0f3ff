#include "playout/schedule_intake.h"

#include "foundation/command_files.h"
#include "foundation/date_text.h"
#include "foundation/ms_time.h"
#include "foundation/paths.h"
#include "foundation/setting_value.h"
#include "foundation/text_fields.h"
#include "playout/log_text.h"
#include "playout/play_list_rows.h"

namespace playout {

namespace {

constexpr int32_t kEntryFields = 8;
constexpr int32_t kMinEntryFields = 4;

// A whole number when the text reads as a number.
std::optional<int32_t> WholeNumber(const std::string& text) {
  const std::optional<double> value = foundation::ParseSettingNumber(text);
  if (!value) return std::nullopt;
  return foundation::NearestInt32(*value);
}

// The command's index in the command list, looked for again once after a reload.
int32_t CommandIndex(CommandSchedules& commands, const std::string& name) {
  int32_t index = foundation::FindScheduleIndex(commands.List(), name);
  if (index < 0) {
    commands.ReloadLocal();
    index = foundation::FindScheduleIndex(commands.List(), name);
  }
  return index;
}

}  // namespace

std::vector<std::string> SplitScheduleEntries(const std::string& text) {
  const size_t size = text.size();
  auto separatorAt = [&](size_t i) {
    return i + 1 < size && text[i] == '\\' && text[i + 1] == 'n';
  };
  std::vector<std::string> entries;
  size_t start = 0;
  // Quote state as the field split of each entry will see it: a quote opens a field only before
  // any of its text, and closes it only before a comma or at the entry's end, so that a quote
  // ahead of a separator always ends the field and one stray piece cannot swallow the next.
  bool inQuotes = false;
  bool fieldEmpty = true;
  for (size_t i = 0; i < size; ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"') {
        if (i + 1 == size || text[i + 1] == ',' || separatorAt(i + 1)) inQuotes = false;
      } else if (c != ',') {
        fieldEmpty = false;
      }
    } else if (separatorAt(i)) {
      entries.push_back(text.substr(start, i - start));
      start = i + 2;
      ++i;
      fieldEmpty = true;
    } else if (c == '"') {
      inQuotes = fieldEmpty;
    } else {
      fieldEmpty = c == ',';
    }
  }
  // A separator after the last entry leaves nothing to read.
  if (start < size || entries.empty()) entries.push_back(text.substr(start));
  return entries;
}

void ReadScheduleRows(const std::string& text, lists::ListModel& load, const IntakeContext& ctx) {
  const foundation::ConfTables& conf = *ctx.conf;
  int32_t seq = 0;
  int32_t dayWrap = 0;
  std::string prevTime;
  std::string lastCue;
  std::vector<std::string> f;
  for (const std::string& entry : SplitScheduleEntries(text)) {
    if (foundation::SplitCsvLine(f, entry, ",", 1) < kMinEntryFields) continue;
    f.resize(kEntryFields);
    load.AddItem(1);
    const int32_t row = load.ItemCount() - 1;
    const PlayRow item(load, row);
    const std::string path = f[4].empty() ? f[5] : f[4] + "\\" + f[5];
    const std::string name = foundation::SplitPath(path, false, false, true, false, false);

    // A new schedule file starts its own count and its own day before its first time is
    // compared, so its second row is dated like any later one.
    const bool newFile = f[6] != lastCue;
    if (newFile) {
      seq = 0;
      dayWrap = 0;
      prevTime.clear();
      lastCue = f[6];
    }
    item.SetStartTime(f[0]);
    if (!f[0].empty()) {
      if (!prevTime.empty() && prevTime > f[0]) ++dayWrap;
      prevTime = f[0];
    }
    item.SetTrigger(foundation::TriggerNameFromIndex(conf, f[1]));
    if (IsCommandPath(path)) {
      item.SetType(conf.CommandName);
      load.SetDispColor(row, ctx.ColorMode != 0 ? conf.CommandColor : conf.CommandColorAlt);
      item.SetCommandIndex(CommandIndex(*ctx.commands, name));
    } else {
      item.SetType(foundation::TypeNameFromIndex(conf, f[2]));
      const std::optional<int32_t> type = WholeNumber(f[2]);
      if (type && *type >= 0 && *type < foundation::kTypeCount) {
        const size_t t = static_cast<size_t>(*type);
        load.SetDispColor(row, ctx.ColorModeR != 0 ? conf.TypeColor[t] : conf.TypeColorAlt[t]);
      }
      item.SetCommandIndex(-1);
    }
    const std::optional<int32_t> lengthMs = WholeNumber(f[3]);
    item.SetLength(lengthMs ? foundation::FormatMsTime(*lengthMs, 4) : "");
    item.SetFolder(f[4]);
    item.SetTitle(name);
    item.SetPath(path);
    item.SetScheduleFile(f[6]);
    load.SetHLine(row, newFile ? ctx.LoadListLineColor : 0);
    std::string date = foundation::FormatDateJapanese(f[6].substr(0, 8), 0, 3);
    if (dayWrap > 0) date = foundation::ParseDateText(date, 0, dayWrap);
    item.SetBroadcastDate(date);
    item.SetProgramme(f[7]);
    item.SetSeq(seq);
    ++seq;
  }
}

}  // namespace playout
