// The automatic load of a newly received schedule, branch by branch.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

const Entry kA{"08:00:00", "0", "0", "1000", "", "a.wav"};
// B opens a second schedule file, so a later message without A's file still starts with B.
const Entry kB{"09:30:00", "0", "0", "1000", "", "b.wav", "20240501093000_01.cue"};
const Entry kC{"10:00:00", "0", "0", "1000", "", "c.wav", "20240501093000_01.cue"};
const Entry kX{"08:30:00", "0", "0", "1000", "", "x.wav", "20240501083000_01.cue"};
const Entry kY{"09:45:00", "0", "0", "1000", "", "y.wav", "20240501083000_01.cue"};

TEST(AutoLoadTest, EachBranch) {
  struct Case {
    bool held;   // A is the current item and B the next
    bool force;  // ForceLoad
    std::vector<Entry> second;
    const char* line;
    std::vector<std::string> queue;  // titles
    bool error;
  } cases[] = {
      {false, false, {kA, kB, kC}, "LoadZero@", {"a", "b", "c"}, false},
      {true, false, {kA, kB, kC}, "LoadCurrent@", {"b", "c"}, false},
      {true, false, {kB, kC}, "LoadNext@", {"b", "c"}, false},
      {true, true, {kX, kY}, "LoadByTime@", {"y"}, false},
      {true, true, {kX}, "LoadForced@", {"x"}, true},
      {true, false, {kX, kY}, "LoadFailed@", {"a", "b", "c"}, true},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.ForceLoad = c.force ? 1 : 0;
    PlayoutEngine& e = h.Make();
    if (c.held) {
      h.inbox.messages.push_back(Message({kA, kB, kC}));
      e.ReceiveSchedule();
      e.LoadFromRow(0, "");
      e.SetCurrentAndNextItem(playout::kListLoad, playout::kListLoad, 0, 1);
    }
    h.Receive(Message(c.second));
    EXPECT_TRUE(h.log.Has(c.line)) << c.line << "\n" << h.log.All();
    EXPECT_EQ(Titles(h.queue()), c.queue) << c.line;
    EXPECT_EQ(h.view.cells[2] == "エラー", c.error) << c.line;
    EXPECT_EQ(h.notices.posts.size(), c.error ? 1u : 0u) << c.line;
    if (c.error) {
      EXPECT_EQ(h.view.cells[3], "手動読み込みを行ってください");
    }
  }
}

}  // namespace
}  // namespace playouttest
