// Command items: their timers and what they switch.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

TEST(CommandItemsTest, TimerLengths) {
  struct Case {
    int32_t outTime, inTime, margin, stopAdj;
    const char* comLine;
    const char* stopLine;
  } cases[] = {
      {-5, 2, 500, 0,
       "Set TimerComSec=7.500 TimerCom=32400.000 pIndex=0 ComName =Sw InTime=2 "
       "OutTime=-5 CommandMargin=500",
       "Set TimerStopSec=5.000 TimerStop=32400.000 StopAdjMS=0 pIndex=0 ComName =Sw InTime=2 "
       "OutTime=-5"},
      {-5, 0, 0, 1000, "Set TimerComSec=5.000", "Set TimerStopSec=6.000"},
      {3, 0, 0, 1000, "Set TimerComSec=0.000", "Set TimerStopSec=0.000"},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.CommandMargin = c.margin;
    h.settings.StopAdjMS = c.stopAdj;
    h.commands.list = {{"Sw", 0, c.outTime, 0, c.inTime, 2}};
    h.Make().OutCommand(0);
    EXPECT_TRUE(h.log.Has(c.comLine)) << c.comLine << "\n" << h.log.All();
    EXPECT_TRUE(h.log.Has(c.stopLine)) << c.stopLine;
    // Nothing plays: the stop timer fires without a stop request.
    h.Pass(130);
    EXPECT_FALSE(h.state().TimerStop.armed);
    EXPECT_EQ(h.state().StopReq, 0);
  }
  EngineHarness h;
  h.commands.list = {{"Sw"}};
  h.Make();
  h.engine().OutCommand(-1);
  h.engine().OutCommand(1);
  EXPECT_FALSE(h.log.Has("OutCommand Started"));
}

TEST(CommandItemsTest, TimelineSwitchesOutThenStopsAndSwitchesIn) {
  EngineHarness h;
  h.commands.list = {{"Sw", 0, -5, 1, 0, 3}};
  h.clock.SetNow({2024, 5, 1, 9, 59, 50, 0});
  h.Make();
  h.WriteLocal("a.wav", WaveBytes(60000));
  h.Queue({{"09:59:51"}, {"10:00:00", "0", "0", "0", "", "Sw.scm"}});
  h.Build().OnAir(1);
  h.PassUntil(9, 59, 54);
  EXPECT_TRUE(h.devices.switches.empty());
  h.PassUntil(9, 59, 55);  // five seconds before the row's time
  EXPECT_EQ(h.devices.switches, std::vector<std::string>{"off fade=0 ch=0"});
  EXPECT_EQ(h.state().TimerStopFade, 1);
  h.PassUntil(10, 0, 0);
  EXPECT_EQ(h.devices.switches, (std::vector<std::string>{"off fade=0 ch=0", "on fade=1 ch=3"}));
  EXPECT_EQ(h.state().Switcher.CurSWCh, 3);
  EXPECT_TRUE(h.log.Has("StopReq On By TimerStop "));
  EXPECT_TRUE(h.log.Has("Stop By StopReq "));
  EXPECT_NE(h.player().mode(), 3);
  EXPECT_NE(h.PlayLog().find("\"Sw\"\r\n"), std::string::npos);
}

TEST(CommandItemsTest, ArmedSwitchBlocksTriggersButNotTheOperator) {
  EngineHarness h;
  h.commands.list = {{"Sw", 0, 0, 0, 30, 1}};
  h.clock.SetNow({2024, 5, 1, 9, 59, 59, 0});
  h.Make();
  h.Queue({{"10:00:00", "0", "0", "0", "", "Sw.scm"}, {"10:00:01", "0", "0", "0", "", "Sw.scm"}});
  h.Build().OnAir(1);
  h.PassUntil(10, 0, 2);
  EXPECT_EQ(h.log.Count("OutCommand Started"), 1);  // the second waits for the switch-in
  const double armedAt = h.state().TimerCom.timer;
  h.engine().OperatorFunction(playout::OpFunction::kStart);
  h.Pass();
  EXPECT_EQ(h.log.Count("OutCommand Started"), 2);
  EXPECT_EQ(h.log.Count("Set TimerComSec="), 1);  // not armed again
  EXPECT_EQ(h.state().TimerCom.timer, armedAt);
}

TEST(CommandItemsTest, MidiFaderStepsOfACommand) {
  EngineHarness h;
  h.devices.midi = true;
  h.commands.list = {{"Sw", 1, 0, 1, 0, 2, 3000, 1500}};
  h.Make();
  playout::SwitcherState& sw = h.Build().Switcher();
  sw.CurSWCh = 1;
  sw.MidiFader[0] = {13376, 0, 1, 0, 0};
  h.engine().OutCommand(0);
  EXPECT_EQ(h.state().Switcher.MidiFader[0].OutStep, 268);  // 13376 / (3000 / 60)
  EXPECT_EQ(h.state().Switcher.MidiFader[1].InStep, 535);
  // The pass lowers the marked fader step by step and stops at 0.
  h.Pass(60);
  EXPECT_EQ(h.state().Switcher.MidiFader[0].Level, 0);
  EXPECT_EQ(h.state().Switcher.MidiFader[0].FadeOut, 0);
  EXPECT_EQ(h.devices.faders.front(), (std::pair<int32_t, int32_t>{0, 13376 - 268}));
}

}  // namespace
}  // namespace playouttest
