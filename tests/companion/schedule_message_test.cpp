#include "companion/schedule_message.h"

#include <gtest/gtest.h>

#include "companion/schedule_files.h"
#include "platform/cp932.h"

namespace companion {
namespace {

struct Row {
  const char* cue;
  int tmc;
  const char* f5;
};

lists::ListModel Schedule(const std::vector<Row>& rows) {
  lists::ListModel list;
  list.SetNumData(6);
  list.SetNumAux(6);
  list.Init();
  for (const Row& r : rows) {
    list.AddItem(1);
    const ScheduleRow row(list, -2);
    row.SetFields({"05:00:00", "0", "1", "1500", "jingle\\news", r.f5});
    row.SetCue(r.cue);
    row.SetProg("朝の\"番組\"");
    row.SetTmc(r.tmc != 0);
  }
  return list;
}

TEST(ScheduleMessageTest, TextAndBytes) {
  const std::string e1 = R"("05:00:00","0","1","1500","jingle\news","ア.wav","a.cue","朝の"番組"")";
  const std::string e2 =
      R"("05:00:00","0","1","1500","jingle\news","b,c.wav","a.cue","朝の"番組"")";
  struct Case {
    std::vector<Row> rows;
    std::string text;
  } cases[] = {
      {{}, "NONE"},
      // Only rows of ".tmc" files: the empty text, still sent.
      {{{"t.tmc", 1, "x.wav"}}, ""},
      {{{"a.cue", 0, "ア.wav"}, {"a.cue", 0, "b,c.wav"}}, e1 + "\\n" + e2},
      // A ".tmc" row last: the entry before it keeps its separator.
      {{{"a.cue", 0, "ア.wav"}, {"a.cue", 0, "b,c.wav"}, {"t.tmc", 1, "x.wav"}},
       e1 + "\\n" + e2 + "\\n"},
  };
  for (const Case& c : cases) {
    const std::string text = ScheduleMessageText(Schedule(c.rows));
    EXPECT_EQ(text, c.text);
    const std::string payload = ScheduleMessagePayload(text);
    EXPECT_EQ(payload, platform::Utf8ToCp932(c.text) + std::string(2, '\0'));
  }
}

}  // namespace
}  // namespace companion
