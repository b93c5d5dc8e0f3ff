#include "companion/companion_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "companion/companion_engine.h"

namespace companion {
namespace {

// Each named field lands in the column the window captions with its name, and reads back
// through the view.
TEST(CompanionRowsTest, NamedFieldsShowUnderTheirCaptions) {
  struct Case {
    CompanionList list;
    std::function<void(lists::ListModel&)> write;  // row 0, through its view
    std::function<std::vector<std::string>(const lists::ListModel&)> read;  // in caption order
    std::vector<std::pair<std::string, std::string>> shown;                 // caption, text
  };
  const Case cases[] = {
      {CompanionList::kSchedule,
       [](lists::ListModel& l) {
         const ScheduleRow row(l, 0);
         row.SetCue("a.cue");
         row.SetProg("朝");
         row.SetTmc(true);
         row.SetChecked(CheckMark::kUnchanged);
         row.SetSound("m\\a.wav");
         row.SetId("a.cue_001");
       },
       [](const lists::ListModel& l) {
         const ConstScheduleRow row(l, 0);
         return std::vector<std::string>{row.Cue(),
                                         row.Prog(),
                                         row.IsTmc() ? "1" : "0",
                                         std::to_string(static_cast<int32_t>(row.Checked())),
                                         row.Sound(),
                                         row.Id()};
       },
       {{"cue", "a.cue"},
        {"prog", "朝"},
        {"tmc", "1"},
        {"checked", "0"},
        {"sound", "m\\a.wav"},
        {"ID", "a.cue_001"}}},
      // The on-air monitor's rows have the same columns.
      {CompanionList::kOnAir,
       [](lists::ListModel& l) {
         const ScheduleRow row(l, 0);
         row.SetCue("out");
         row.SetTmc(false);
         row.SetChecked(CheckMark::kNew);
       },
       [](const lists::ListModel& l) {
         const ConstScheduleRow row(l, 0);
         return std::vector<std::string>{row.Cue(), row.IsTmc() ? "1" : "0",
                                         std::to_string(static_cast<int32_t>(row.Checked()))};
       },
       {{"cue", "out"}, {"tmc", "0"}, {"checked", "1"}}},
      {CompanionList::kServerFiles,
       [](lists::ListModel& l) {
         const ServerFileRow row(l, 0);
         row.SetName("x_01.cue");
         row.SetTime("2024/05/01 05:00:00");
         row.SetProg("P");
         row.SetChecked(CheckMark::kNotSeen);
       },
       [](const lists::ListModel& l) {
         const ConstServerFileRow row(l, 0);
         return std::vector<std::string>{row.Name(), row.Time(), "P",
                                         std::to_string(static_cast<int32_t>(row.Checked()))};
       },
       {{"cue", "x_01.cue"}, {"time", "2024/05/01 05:00:00"}, {"prog", "P"}, {"checked", "-1"}}},
      {CompanionList::kCopy,
       [](lists::ListModel& l) {
         const CopyRow row(l, 0);
         row.SetLv(kOnAirList);
         row.SetSource("/srv/a.wav");
         row.SetTarget("/local/a.wav");
         row.SetTaken(true);
       },
       [](const lists::ListModel& l) {
         const ConstCopyRow row(l, 0);
         return std::vector<std::string>{std::to_string(row.Lv()), row.Source(), row.Target(),
                                         row.IsTaken() && !row.IsWaiting() ? "1" : "0"};
       },
       {{"lv", "1"}, {"source", "/srv/a.wav"}, {"target", "/local/a.wav"}, {"done", "1"}}},
      {CompanionList::kMessages,
       [](lists::ListModel& l) {
         const StatusRow row(l, 0);
         row.SetTime("11:07:00");
         row.SetMessage("サーバー迷子");
       },
       [](const lists::ListModel& l) {
         const ConstStatusRow row(l, 0);
         return std::vector<std::string>{row.Time(), row.Message()};
       },
       {{"Time", "11:07:00"}, {"Message", "サーバー迷子"}}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string>& captions = CompanionColumnNames(c.list);
    lists::ListModel list;
    list.SetNumData(static_cast<int32_t>(captions.size()));
    list.SetNumAux(1);
    list.Init();
    list.AddItem(1);
    c.write(list);
    std::vector<std::string> texts;
    for (const auto& [caption, text] : c.shown) {
      const auto at = std::find(captions.begin(), captions.end(), caption);
      ASSERT_NE(at, captions.end()) << caption;
      EXPECT_EQ(list.Value(0, static_cast<int32_t>(at - captions.begin())).Text(), text) << caption;
      texts.push_back(text);
    }
    EXPECT_EQ(c.read(list), texts) << captions.front();
  }
}

}  // namespace
}  // namespace companion
