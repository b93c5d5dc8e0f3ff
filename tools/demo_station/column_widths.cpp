#include "tools/demo_station/column_widths.h"

#include <set>

#include "companion/companion_engine.h"
#include "foundation/calendar.h"
#include "foundation/font_table.h"
#include "foundation/server_config.h"

namespace demo_station {

namespace {

// The playout's on-air list and queue at its default LVFontSize (not scaled by SizeRate), and
// its load list at 9 points times the largest SizeRate the demo is meant for, all in the face
// its default AltFont picks.
const ListFont kPlayoutFont{foundation::kLargeCellFace, 20, true};
const ListFont kLoadListFont{foundation::kLargeCellFace, 9 * 1.5F, false};
// Every list of the companion.
const ListFont kCompanionFont{foundation::kDefaultUiFace, 9, false};

std::string Stem(const std::string& file) { return file.substr(0, file.rfind('.')); }

// The schedule's way of naming a sound: folder, a backslash, the file.
std::string SoundOf(const DemoItem& item) { return item.folder + "\\" + item.file; }

std::vector<ColumnTexts> Captioned(const std::vector<std::string>& captions) {
  std::vector<ColumnTexts> columns;
  for (const std::string& caption : captions) columns.push_back({caption, {}});
  return columns;
}

void Add(std::vector<ColumnTexts>& columns, const std::vector<std::string>& row) {
  for (size_t c = 0; c < columns.size() && c < row.size(); ++c) columns[c].cells.push_back(row[c]);
}

void AddKeys(std::vector<std::string>& keys, const std::string& infix, const ListFont& font,
             const std::vector<ColumnTexts>& columns, const ColumnMeasure& measure) {
  for (size_t c = 0; c < columns.size(); ++c) {
    keys.push_back("TabWidth_" + infix + std::to_string(c + 1) + "=" +
                   std::to_string(measure(font, columns[c])));
  }
}

std::vector<std::string> PlayoutCaptions() {
  foundation::SetColumnCaptions();
  const auto& captions = foundation::Conf().DisplayColumnCaption;
  return {captions.begin(), captions.end()};
}

}  // namespace

std::vector<std::string> PlayoutWidthKeys(const DemoTexts& texts, const ColumnMeasure& measure) {
  std::vector<ColumnTexts> columns = Captioned(PlayoutCaptions());
  for (const DemoSchedule& schedule : texts.schedules) {
    for (const DemoItem& item : schedule.items) {
      Add(columns, {item.time, item.trigger, item.type, item.length, item.folder, Stem(item.file)});
    }
  }
  std::vector<std::string> keys;
  AddKeys(keys, "LVS_1_", kPlayoutFont, columns, measure);
  AddKeys(keys, "LVS_2_", kPlayoutFont, columns, measure);
  AddKeys(keys, "LVS_3_", kLoadListFont, columns, measure);
  return keys;
}

std::vector<std::string> CompanionWidthKeys(const DemoTexts& texts, const ColumnMeasure& measure) {
  using companion::CompanionColumnNames;
  using companion::CompanionList;
  // Both schedule lists take the widths of the first: the schedule's rows and the on-air
  // monitor's rows share them.
  std::vector<ColumnTexts> schedule = Captioned(CompanionColumnNames(CompanionList::kSchedule));
  std::vector<ColumnTexts> files = Captioned(CompanionColumnNames(CompanionList::kServerFiles));
  std::vector<ColumnTexts> copies = Captioned(CompanionColumnNames(CompanionList::kCopy));
  std::vector<ColumnTexts> messages = Captioned(CompanionColumnNames(CompanionList::kMessages));
  // Marks and flags the lists show while they are rebuilt or worked on.
  for (const char* flag : {"-1", "0", "1"}) {
    Add(schedule, {"", "", flag, flag});
    Add(files, {"", "", "", flag});
    Add(copies, {flag, "", "", flag});
  }
  for (const char* status :
       {"TimerClock_Timer", "InputSched=1", "InputSchedMon=1", "CheckLog", "サーバー迷子"}) {
    Add(messages, {"", status});
  }
  std::set<std::string> sounds;
  int32_t monitored = 0;
  for (const DemoSchedule& s : texts.schedules) {
    Add(files, {s.fileName, texts.fileTime, s.title});
    int32_t k = 0;
    for (const DemoItem& item : s.items) {
      Add(schedule, {s.fileName, s.title, "", "", SoundOf(item),
                     s.fileName + "_" + foundation::PadNumber(++k, 3)});
      Add(schedule, {"out", "air", "", "", item.folder + "\\" + Stem(item.file),
                     "mon_" + foundation::PadNumber(++monitored, 3)});
      Add(messages, {item.time});
      if (!sounds.insert(SoundOf(item)).second) continue;
      const std::string target = texts.localRoot + SoundOf(item);
      Add(copies, {"", texts.serverRoot + SoundOf(item), target});
      for (const std::string& status :
           {"Copy " + target, "CheckSndFile " + target, "CheckTipFile " + target + ".tip"}) {
        Add(messages, {"", status});
      }
    }
  }
  std::vector<std::string> keys;
  AddKeys(keys, "LVS_1_", kCompanionFont, schedule, measure);
  AddKeys(keys, "LVmes_", kCompanionFont, messages, measure);
  AddKeys(keys, "LVCopy_", kCompanionFont, copies, measure);
  AddKeys(keys, "LVcue_", kCompanionFont, files, measure);
  return keys;
}

}  // namespace demo_station
