// Starting an item: lateness, where the file comes from, the cue markers and the ways a start
// fails.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

// On air from 09:59:59 with one TIME row for `file` at `time`; the pass that starts it runs at
// `startAt` seconds after 10:00:00.
struct StartRun {
  explicit StartRun(int32_t playerType = 0) : type(playerType) {}
  void Run(const std::string& time, int startAt) {
    h.clock.SetNow({2024, 5, 1, 9, 59, 59, 0});
    h.Make(type);
    h.player().playResult = playResult;
    h.player().reflectsPlay = reflectsPlay;
    h.Queue({{time, "0", "0", "1000", "", file}});
    h.Build().OnAir(1);
    h.clock.SetNow({2024, 5, 1, 10, 0, startAt, 0});
    h.engine().TimerClock_Timer();
  }
  int32_t type;
  bool playResult = true, reflectsPlay = true;
  std::string file = "a.wav";
  EngineHarness h;
};

TEST(ItemStartTest, LateTimeItemsPlayFromTheirPointOrAreSkipped) {
  struct Case {
    int late;
    int32_t overSec;
    int32_t fromMs;  // -1: skipped
  } cases[] = {{3, 0, 3000}, {3, 5, -1}, {8, 5, 8000}, {0, 5, 0}};
  for (const Case& c : cases) {
    StartRun r;
    r.h.settings.OverSec = c.overSec;
    r.h.WriteLocal("a.wav", WaveBytes(20000));
    r.Run("10:00:00", c.late);
    if (c.fromMs < 0) {
      EXPECT_TRUE(r.h.player().plays.empty());
      EXPECT_EQ(r.h.queue().ItemCount(), 0);
      EXPECT_NE(r.h.PlayLog().find("\"SKIP\""), std::string::npos);
      continue;
    }
    ASSERT_EQ(r.h.player().plays.size(), 1u) << c.late;
    EXPECT_EQ(r.h.player().FromMS(), c.fromMs);
    EXPECT_EQ(r.h.log.Has("Start From(ms)=" + std::to_string(c.fromMs) + "@"), c.late > 0);
  }
}

TEST(ItemStartTest, LocalThenServerFile) {
  struct Case {
    bool local, server;
    int32_t alive;
    const char* played;  // folder the file plays from; "" none
  } cases[] = {{true, true, 1, "local"},
               {false, true, 1, "server"},
               {false, true, 0, ""},
               {false, false, 1, ""}};
  for (const Case& c : cases) {
    StartRun r;
    r.file = "jingle\\a.wav";
    if (c.local) r.h.WriteLocal("jingle/a.wav", WaveBytes(20000));
    if (c.server) r.h.dir.WriteFile("server/jingle/a.wav", WaveBytes(20000));
    r.h.server.alive = c.alive;
    r.Run("10:00:00", 0);
    if (*c.played == '\0') {
      EXPECT_TRUE(r.h.player().plays.empty());
      EXPECT_EQ(r.h.log.Count("ファイルが存在しない "), 1);
      EXPECT_EQ(r.h.queue().ItemCount(), 0);
      EXPECT_EQ(r.h.PlayLog(), "");  // a missing file writes no play-log line
      continue;
    }
    ASSERT_EQ(r.h.player().plays.size(), 1u);
    EXPECT_EQ(r.h.player().plays[0], r.h.dir.Sub(c.played) + "/jingle/a.wav");
    EXPECT_EQ(r.h.server.checks, c.local ? 0 : 1);
  }
}

TEST(ItemStartTest, CueMarkersSetThePlayWindow) {
  struct Case {
    std::vector<std::pair<uint32_t, std::string>> cues;
    std::array<int32_t, 3> active;
    int32_t playerType;
    int32_t fromSample, toSample;  // waveOut player; -1 not set
    int32_t fromMs, toMs;          // what the player holds
  } cases[] = {
      // Standby 1 s in, 2 s late: three seconds' worth of samples.
      {{{8000, "BC$STANDBY"}}, {1, 1, 1}, 0, 24000, -1, 3000, 20000},
      {{{8000, "bc$standby"}}, {1, 1, 1}, 1, -1, -1, 3000, 20000},
      {{{16000, "BC$STOP"}, {40000, "BC$END"}}, {1, 1, 1}, 0, -1, 40000, 2000, 5000},
      {{{40000, "BC$END"}, {16000, "BC$STOP"}}, {1, 1, 1}, 1, -1, -1, 2000, 5000},
      {{{16000, "BC$STOP"}}, {1, 1, 0}, 0, -1, -1, 2000, 20000},
      {{{8000, "BC$STANDBY"}, {40000, "BC$END"}}, {0, 0, 0}, 0, -1, -1, 2000, 20000},
      {{{0, "BC$STANDBY"}, {0, "BC$END"}}, {1, 1, 1}, 0, -1, -1, 2000, 20000},
  };
  for (const Case& c : cases) {
    StartRun r(c.playerType);
    r.h.settings.CueActive = c.active;
    r.h.WriteLocal("a.wav", WaveBytes(20000, c.cues));
    r.Run("10:00:00", 2);
    FakePlayer& p = r.h.player();
    ASSERT_EQ(p.plays.size(), 1u);
    EXPECT_EQ(p.fromSample, c.fromSample);
    EXPECT_EQ(p.toSample, c.toSample);
    EXPECT_EQ(p.FromMS(), c.fromMs);
    EXPECT_EQ(p.ToMS(), c.toMs);
  }
}

TEST(ItemStartTest, StartsThatDoNotPlay) {
  struct Case {
    std::string bytes;
    bool playResult, reflects;
    const char* line;
    platform::LogSeverity severity;
    bool skipLine;
  } cases[] = {
      {WaveBytes(400), true, true, "WOUTPlay再生長さ500ms未満 ", platform::LogSeverity::kInfo,
       true},
      {WaveBytes(20000), false, true, "WOUTPlay再生失敗 ", platform::LogSeverity::kError, false},
      {WaveBytes(20000), true, false, "WOUTPlay再生モード反映されず ",
       platform::LogSeverity::kError, false},
  };
  for (const Case& c : cases) {
    StartRun r;
    r.h.WriteLocal("a.wav", c.bytes);
    r.playResult = c.playResult;
    r.reflectsPlay = c.reflects;
    r.Run("10:00:00", 0);
    ASSERT_EQ(r.h.log.Count(c.line), 1) << c.line << "\n" << r.h.log.All();
    for (const RecordingLog::Line& l : r.h.log.lines)
      if (l.text.find(c.line) == 0) {
        EXPECT_EQ(l.severity, c.severity) << c.line;
      }
    EXPECT_EQ(r.h.PlayLog().find("\"SKIP\"") != std::string::npos, c.skipLine) << c.line;
    EXPECT_EQ(r.h.onAir().ItemCount(), 1);  // the item stays on air unplayed
    // Caption clicks are blocked from the call to Play on, and a failed play leaves them so.
    EXPECT_EQ(r.h.view.captionBlocked, c.skipLine ? 0 : 1);
  }
}

TEST(ItemStartTest, ZeroSampleRateIsSkipped) {
  StartRun r;
  std::string bytes = WaveBytes(20000);
  bytes.replace(24, 4, std::string(4, '\0'));  // the format chunk's sample rate
  r.h.WriteLocal("a.wav", bytes);
  r.Run("10:00:00", 0);
  EXPECT_TRUE(r.h.player().plays.empty());
  EXPECT_TRUE(r.h.log.Has("サンプリング周波数が0 "));
  EXPECT_NE(r.h.PlayLog().find("\"SKIP\""), std::string::npos);
}

TEST(ItemStartTest, CommandRowFoundByNameAtItsStart) {
  for (bool present : {true, false}) {
    StartRun r;
    r.file = "Sw.scm";
    // The index the schedule recorded is stale: the list changed after intake.
    r.h.commands.list = {{"Sw"}};
    r.h.commands.onReload = {{"Other"}};
    r.h.clock.SetNow({2024, 5, 1, 10, 0, 0, 0});
    r.h.Make();
    r.h.Queue({{"10:00:00", "0", "0", "0", "", r.file}});
    r.h.commands.list = present ? std::vector<foundation::ScheduleEntry>{{"A"}, {"B"}, {"Sw"}}
                                : std::vector<foundation::ScheduleEntry>{{"A"}};
    r.h.Build().OnAir(1);
    r.h.Pass();
    r.h.clock.SetNow({2024, 5, 1, 10, 0, 1, 0});
    r.h.engine().TimerClock_Timer();
    EXPECT_TRUE(r.h.player().plays.empty());
    EXPECT_EQ(r.h.log.Has("OutCommand Started pIndex=2"), present);
    EXPECT_EQ(r.h.log.Has("コマンドが見つからない Sw@"), !present);
  }
}

}  // namespace
}  // namespace playouttest
