// Test labels: threads (the engine's two FileHand workers)
// The companion's timers, the schedule intake from the server and the schedule message, the
// watch on the playout window and the close, over a simulated clock and real temporary folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "companion/schedule_files.h"
#include "tests/companion/companion_fixture.h"

namespace companiontest {
namespace {

using testsupport::ReadWholeFile;

std::string Entry(const std::string& fields, const std::string& cue, const std::string& prog) {
  return fields + ",\"" + cue + "\",\"" + prog + "\"";
}

TEST(CompanionEngineTest, SchedulesOfTheComingDaysBecomeTheMessage) {
  Harness h;
  const std::string today = "20240501050000_01.cue";
  const std::string tomorrow = "20240502050000_01.cue";
  const std::string tmc = "20240501060000_01.tmc";
  h.WriteSchedule(today, "朝の番組",
                  {R"("05:00:00","0","1","1500","jingle\news","ア.wav")",
                   R"("05:01:00","1","2","1000","","b.wav","extra","more")",  // 8 fields: 6 kept
                   R"("05:02:00","1","2","1000","")"});                       // 5 fields: left out
  h.WriteSchedule(tomorrow, "明日", {R"("05:00:00","0","1","1000","","c.wav")"});
  h.WriteSchedule(tmc, "昼", {R"("06:00:00","0","1","1000","","t.wav")"});
  for (const char* ignored :
       {"20240501050000_02.cue", "20240501050000_011.cue", "20240503050000_01.cue"})
    h.WriteSchedule(ignored, "x", {R"("05:00:00","0","1","1000","","x.wav")"});
  h.WriteLocal("sched/20240420050000_01.cue", "old");  // another day: purged at start
  h.WriteLocal("sched/" + tomorrow, "kept until taken in again");

  CompanionEngine& e = h.Make();
  e.Form_Load();
  ASSERT_TRUE(e.WorkStarted());
  EXPECT_EQ(e.LVcue().ItemCount(), 3);
  ASSERT_EQ(e.LVS(companion::kScheduleList).ItemCount(), 4);
  EXPECT_EQ(companion::ConstScheduleRow(e.LVS(companion::kScheduleList), 1).Sound(), "b.wav");
  EXPECT_EQ(companion::ConstScheduleRow(e.LVS(companion::kScheduleList), 1).Id(), today + "_002");
  EXPECT_EQ(companion::ConstScheduleRow(e.LVS(companion::kScheduleList), 0).Sound(),
            "jingle\\news\\ア.wav");
  EXPECT_FALSE(Exists(h.Local("sched/20240420050000_01.cue")));
  EXPECT_EQ(ReadWholeFile(h.Local("sched/" + today)), ReadWholeFile(h.Server("sched/" + today)));
  EXPECT_FALSE(Exists(h.Local("sched/" + tmc)));
  ASSERT_EQ(h.windows.sent.size(), 1u);
  // Rows by ID: today's two, the ".tmc" row (not sent), tomorrow's last with no separator.
  EXPECT_EQ(h.LastMessage(),
            Entry(R"("05:00:00","0","1","1500","jingle\news","ア.wav")", today, "朝の番組") +
                "\\n" + Entry(R"("05:01:00","1","2","1000","","b.wav")", today, "朝の番組") +
                "\\n" + Entry(R"("05:00:00","0","1","1000","","c.wav")", tomorrow, "明日"));
  EXPECT_EQ(h.windows.sent[0].substr(h.windows.sent[0].size() - 2), std::string(2, '\0'));

  // Nothing changed: no message. A ".tmc" changed: the list is rebuilt and sent again.
  h.Run(10000);
  EXPECT_EQ(h.windows.sent.size(), 1u);
  h.Age(h.Server("sched/" + tmc), 3600);
  EXPECT_EQ(e.InputSched(), 2);
  EXPECT_EQ(h.windows.sent.size(), 2u);
  // A schedule gone from the server: its local copy goes and the message follows.
  ::unlink(h.Server("sched/" + tomorrow).c_str());
  EXPECT_EQ(e.InputSched(), 1);
  EXPECT_FALSE(Exists(h.Local("sched/" + tomorrow)));
  EXPECT_EQ(e.LVS(companion::kScheduleList).ItemCount(), 3);
  EXPECT_EQ(h.LastMessage().find("明日"), std::string::npos);
  // All gone: the list keeps its rows and nothing is sent.
  ::unlink(h.Server("sched/" + today).c_str());
  ::unlink(h.Server("sched/" + tmc).c_str());
  EXPECT_EQ(e.InputSched(), 1);
  EXPECT_EQ(e.LVS(companion::kScheduleList).ItemCount(), 3);
  EXPECT_EQ(h.windows.sent.size(), 3u);
  // A double click sends what the list holds.
  e.LVS_DblClicked(0);
  EXPECT_EQ(h.windows.sent.size(), 4u);
}

TEST(CompanionEngineTest, TheClockActsWhenTenSecondBoundariesPass) {
  Harness h;
  CompanionEngine& e = h.Make();
  e.Form_Load();  // 10:00:00.000: acts at once
  EXPECT_EQ(h.server.checks, 1);
  struct Step {
    platform::WallTime at;
    int checks;
  } steps[] = {
      {{2024, 5, 1, 10, 0, 9, 900}, 1},
      {{2024, 5, 1, 10, 0, 11, 200}, 2},  // a late pass still acts for 10:00:10
      {{2024, 5, 1, 10, 0, 12, 0}, 2},
      {{2024, 5, 1, 10, 0, 19, 999}, 2},
      {{2024, 5, 1, 10, 0, 20, 0}, 3},
      {{2024, 5, 1, 10, 0, 45, 0}, 4},  // two boundaries passed: one act
      {{2024, 5, 1, 9, 59, 0, 0}, 5},   // the clock was set back
      {{2024, 5, 1, 9, 59, 5, 0}, 5},
  };
  for (const Step& s : steps) {
    h.clock.SetNow(s.at);
    e.TimerClock_Timer();
    EXPECT_EQ(h.server.checks, s.checks) << s.at.second;
  }
  // An unreachable server: the status list says so, newest first, at most 11 rows.
  h.server.alive = 0;
  for (int i = 0; i < 8; ++i) {
    h.clock.SetNow({2024, 5, 1, 11, i, 0, 0});
    e.TimerClock_Timer();
  }
  EXPECT_EQ(e.LVmes().ItemCount(), 11);
  EXPECT_EQ(companion::ConstStatusRow(e.LVmes(), 0).Message(), "サーバー迷子");
  EXPECT_EQ(companion::ConstStatusRow(e.LVmes(), 0).Time(), "11:07:00");
}

TEST(CompanionEngineTest, AMissingServerRootIsLookedForAgain) {
  Harness h;
  h.WriteSchedule("20240501050000_01.cue", "朝", {R"("05:00:00","0","1","1000","","a.wav")"});
  const std::string root = h.dir.Sub("server");
  ASSERT_EQ(::rename(root.c_str(), (root + ".away").c_str()), 0);
  CompanionEngine& e = h.Make();
  e.Form_Load();
  h.Run(25000);
  EXPECT_FALSE(e.WorkStarted());
  EXPECT_TRUE(h.windows.sent.empty());
  ASSERT_EQ(::rename((root + ".away").c_str(), root.c_str()), 0);
  h.Run(10000);
  EXPECT_TRUE(e.WorkStarted());
  EXPECT_EQ(h.windows.sent.size(), 1u);
}

TEST(CompanionEngineTest, TheCopyQueueWaitsWhileTheServerIsUnreachable) {
  Harness h;
  h.WriteSchedule("20240501050000_01.cue", "朝", {R"("05:00:00","0","1","1000","","a.wav")"});
  h.Age(h.WriteServer("a.wav", "aaaa"), 600);
  CompanionEngine& e = h.Make();
  e.Form_Load();
  ASSERT_EQ(e.LVCopy().ItemCount(), 1);
  // The next clock pass finds the server gone before the queue is served.
  h.server.alive = 0;
  h.clock.SetNow({2024, 5, 1, 10, 0, 10, 0});
  e.TimerClock_Timer();
  h.Run(5000);
  EXPECT_FALSE(Exists(h.Local("a.wav")));
  EXPECT_FALSE(h.log.Has("TranspFile Failed"));
  h.server.alive = 1;
  h.Run(10000);
  EXPECT_EQ(ReadWholeFile(h.Local("a.wav")), "aaaa");
}

TEST(CompanionEngineTest, TheWatchFollowsThePlayoutWindow) {
  Harness h;
  h.WriteSchedule("20240501050000_01.cue", "朝", {R"("05:00:00","0","1","1000","","a.wav")"});
  CompanionEngine& e = h.Make();
  e.Form_Load();
  ASSERT_EQ(h.windows.sent.size(), 1u);
  h.Run(2000);
  EXPECT_EQ(h.view.closeRequests, 0);
  // A playout started again behind the same caption gets the message again, once.
  h.windows.handle = 9;
  h.Run(4000);
  EXPECT_EQ(h.windows.sent.size(), 2u);
  EXPECT_EQ(h.windows.sent[1], h.windows.sent[0]);
  // Only the whole caption counts for the watch.
  h.windows.caption = "Ondrake - Tarnwick (2)";
  h.Run(2000);
  EXPECT_GE(h.view.closeRequests, 1);
  EXPECT_TRUE(e.Form_Unload());
  EXPECT_TRUE(h.log.Has("****正常終了****"));
}

TEST(CompanionEngineTest, NoCloseWhileWorkIsUnderWay) {
  Harness h;
  h.WriteSchedule("20240501050000_01.cue", "朝", {R"("05:00:00","0","1","1000","","a.wav")"});
  h.WriteServer("a.wav", "sound");
  CompanionEngine& e = h.Make();
  // The comparisons' pauses run the window's pending work: a close asked for then is refused.
  int refused = 0;
  h.pauses.pending = [&] { refused += e.Form_Unload() ? 0 : 1; };
  e.Form_Load();
  EXPECT_GT(refused, 0);
  h.pauses.pending = nullptr;
  EXPECT_TRUE(e.Form_Unload());
  h.Run(5000);  // nothing runs after the unload
  EXPECT_EQ(h.windows.sent.size(), 1u);
}

}  // namespace
}  // namespace companiontest
