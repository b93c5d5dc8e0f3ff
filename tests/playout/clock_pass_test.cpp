// The pass's own duties: its length, the midnight skip, the contacts, the clock and the
// per-second requests.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

TEST(ClockPassTest, TickLengthIsSixtyExceptOnTheWrappingPass) {
  struct Case {
    int64_t stepMs;
    int32_t mean;
  } cases[] = {{50, 50}, {2000, 1050}};
  for (const Case& c : cases) {
    EngineHarness h;
    h.Make();
    for (int i = 1; i <= 42; ++i) {
      h.Pass(1, c.stepMs);
      EXPECT_EQ(h.state().TickMS, i % 21 == 0 ? c.mean : 60) << "pass " << i;
    }
  }
}

TEST(ClockPassTest, MidnightPassesDoNothing) {
  for (const platform::WallTime& t : {platform::WallTime{2024, 5, 1, 23, 59, 59, 995},
                                      platform::WallTime{2024, 5, 2, 0, 0, 0, 5}}) {
    EngineHarness h;
    h.Make();
    h.clock.SetNow(t);
    h.engine().TimerClock_Timer();
    EXPECT_EQ(h.state().TickIdx, 0);
    EXPECT_EQ(h.state().LastClockText, "2024/05/01 09:00:00");
  }
}

TEST(ClockPassTest, ContactsByTheirFunction) {
  struct Case {
    int32_t group;
    int32_t contact;
    int32_t function;
    const char* line;  // the log line the contact gives
    int32_t adjusts;
  } cases[] = {
      {1, 3, 0, "tRetCom=3 l=1@", 0},
      {3, 8, 1, "tRetCom=8 l=3@", 0},
      {0, 2, 4, "AdjustClock By Remote@", 1},
      {2, 9, 0, "Contact ignored n=9 l=2@", 0},
      {3, -1, 0, "Contact ignored n=-1 l=3@", 0},
      {1, 16, 0, "Contact ignored n=16 l=1@", 0},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.CNTFunction[static_cast<size_t>(
        c.group + 4 * ((c.contact >= 1 && c.contact <= 8 ? c.contact : 1) - 1))] = c.function;
    h.Make();
    h.Contact(c.group, c.contact);
    h.Pass();
    EXPECT_EQ(h.log.Count(c.line), 1) << c.line << "\n" << h.log.All();
    EXPECT_EQ(h.devices.clockAdjusts, c.adjusts) << c.line;
    // An ignored contact does not end the pass: the clock is still kept.
    EXPECT_EQ(h.state().LastClockText, "2024/05/01 09:00:00");
  }
}

TEST(ClockPassTest, RemoteStopAndFadeCallTheirOwnFunction) {
  for (int32_t function : {2, 3}) {
    EngineHarness h;
    h.settings.UseFade = 1;
    h.settings.CNTFunction[0] = function;  // MIDI input 1
    h.Make();                              // no serial or HID unit: NoRemoteDevice stays 1
    h.WriteLocal("a.wav", WaveBytes(20000));
    h.Queue({{"09:00:01"}});
    h.Build().OnAir(1);
    h.Pass(20);
    ASSERT_EQ(h.player().plays.size(), 1u);
    h.Contact(0, 1);
    h.Pass();
    EXPECT_EQ(h.log.Count("OP StopReq"), function == 2 ? 1 : 0);
    EXPECT_EQ(h.log.Count("OP FadeOnReq"), function == 3 ? 1 : 0);
    EXPECT_TRUE(h.log.Has("OPButtons_ButtonClicked" + std::to_string(function) + " By Remote"));
  }
}

TEST(ClockPassTest, SecondContactWithinNoPlayMsIsDropped) {
  EngineHarness h;
  h.settings.NoPlayMS = 500;
  h.Make();
  h.Contact(1, 1);
  h.Pass();
  const double first = h.state().LastPlay.timer;
  h.Pass(5);  // 250 ms later
  h.Contact(1, 1);
  h.Pass();  // 300 ms after the first
  EXPECT_TRUE(h.log.Has("tRetCom Canceled NoPlayMS=500 tRetCom=1 LastPlayTimer=32400.050@"))
      << h.log.All();
  EXPECT_EQ(h.state().LastPlay.timer, first);
  h.Pass(4);
  h.Contact(1, 1);
  h.Pass();  // 550 ms after the first
  EXPECT_EQ(h.log.Count("tRetCom Canceled"), 1);
  EXPECT_GT(h.state().LastPlay.timer, first);
}

TEST(ClockPassTest, OperatorRequestLapsesAtTheTenthSecond) {
  EngineHarness h;
  h.Make();
  h.Queue({{"12:00:00"}});
  h.Build().OnAir(1);
  h.clock.Advance(400);
  h.engine().OperatorFunction(playout::OpFunction::kCnt);
  ASSERT_EQ(h.state().SimCNT, 1);
  int boundaries = 0;
  while (h.state().SimCNT != 0 && boundaries < 20) {
    const std::string before = h.state().LastClockText;
    h.Pass();
    if (h.state().LastClockText != before) ++boundaries;
  }
  EXPECT_EQ(boundaries, 10);
}

TEST(ClockPassTest, HourlySyncAndTenMinuteLine) {
  EngineHarness h;
  h.settings.AMinute = 59;
  h.settings.ASecond = 30;
  h.Make();
  h.engine().SetUseTimeSync(1);
  h.clock.SetNow({2024, 5, 1, 9, 59, 0, 0});
  h.PassUntil(10, 0, 1);
  EXPECT_EQ(h.timeSync.starts, 1);
  EXPECT_EQ(h.log.Count("動作OK@36000.0"), 1);
  h.clock.SetNow({2024, 5, 1, 10, 59, 29, 0});
  h.PassUntil(10, 59, 31);
  EXPECT_EQ(h.timeSync.starts, 2);
}

}  // namespace
}  // namespace playouttest
