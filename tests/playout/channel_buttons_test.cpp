// The operator's channel buttons and switch menu, against a device link that records.
#include "playout/channel_buttons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/playout/engine_fixture.h"

namespace playout {
namespace {

using playouttest::EngineHarness;

struct MenuDevices final : DeviceLink {
  bool TimeCodeOpen() const override { return false; }
  bool HidOK() const override { return false; }
  bool MidiPortsOpen() const override { return desk; }
  int32_t MidiMode() const override { return mode; }
  int32_t FaderLevel() const override { return 13184; }
  void ParseSerialTime() override {}
  void AdjustClockFromSerial() override {}
  void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                     SwitcherState& state) override {
    switches.push_back(std::string(pIsOff != 0 ? "off" : "on") + std::to_string(pFadeOn) + " " +
                       std::to_string(pNextCh));
    if (pIsOff == 0) state.CurSWCh = pNextCh;
  }
  void SendMidiFader(int32_t, int32_t) override {}
  void EndHidPulse(int32_t) override {}
  bool desk = false;
  int32_t mode = 0;
  std::vector<std::string> switches;
};

TEST(ChannelButtonsTest, FaderStep) {
  const struct {
    int32_t level, fadeMs, tickMs, step;
  } cases[] = {
      {13184, 6000, 60, 132}, {13184, 6000, 50, 110}, {13184, 0, 60, 13184},
      {13184, -5, 60, 13184}, {100, 1000000, 50, 1},  {13184, 6000, 0, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FaderStep(c.level, c.fadeMs, c.tickMs), c.step) << c.fadeMs << " " << c.tickMs;
}

TEST(ChannelButtonsTest, Menu) {
  const struct {
    const char* what;
    int32_t index, live, chosen;
    bool desk;
    int32_t mode;
    std::vector<std::string> switches;  // at once
    int32_t next, nextFade;
    double delaySec;  // -1: no delayed switch armed
  } cases[] = {
      {"plain click: cut out now, cut in at the next pass", 0, 2, 3, false, 0, {"off0 0"}, 4, 0, 0},
      {"FO/FI: fade out now, fade in after the fade time", 3, 2, 0, false, 0, {"off1 0"}, 1, 1, 6},
      {"FO/CI", 1, 2, 4, false, 0, {"off1 0"}, 5, 0, 6},
      {"CO/FI", 2, 2, 4, false, 0, {"off0 0"}, 5, 1, 0},
      {"fading out nothing is a cut", 3, 0, 4, false, 0, {"off0 0"}, 5, 1, 0},
      // The mixer's desk: choosing the live channel switches it off.
      {"mixer's desk, live chosen", 0, 3, 2, true, 1, {"off0 0", "on0 0"}, 0, 0, -1},
      {"the standard desk switches it again", 0, 3, 2, true, 0, {"off0 0"}, 3, 0, 0},
  };
  for (const auto& c : cases) {
    EngineHarness h;
    h.clock.SetNow({2024, 5, 1, 10, 0, 0, 0});
    MenuDevices devices;
    devices.desk = c.desk;
    devices.mode = c.mode;
    h.ports.devices = &devices;
    PlayoutEngine& e = h.Make();
    h.Build().Switcher().CurSWCh = c.live;
    e.SWButtons_RightClicked(c.chosen);
    e.MenuRCSW_Click(c.index);
    const PlayoutState& state = e.State();
    EXPECT_EQ(devices.switches, c.switches) << c.what;
    EXPECT_EQ(state.Switcher.NextSWCh, c.next) << c.what;
    EXPECT_EQ(state.TimerCom.armed, c.delaySec >= 0) << c.what;
    if (c.delaySec < 0) continue;
    EXPECT_EQ(state.Switcher.NextSWFade, c.nextFade) << c.what;
    EXPECT_EQ(state.TimerComSec, c.delaySec) << c.what;
    EXPECT_EQ(state.TimerCom.timer, 36000.0) << c.what;
  }
}

TEST(ChannelButtonsTest, DeskFadeSteps) {
  EngineHarness h;
  MenuDevices devices;
  devices.desk = true;
  h.ports.devices = &devices;
  h.settings.FadeTime = 0;
  PlayoutEngine& e = h.Make();
  h.Build().Switcher().CurSWCh = 2;
  e.SWButtons_RightClicked(0);
  e.MenuRCSW_Click(3);
  EXPECT_EQ(e.State().Switcher.MidiFader[1].OutStep, 13184);  // no fade time: all at once
  EXPECT_EQ(e.State().Switcher.MidiFader[0].InStep, 13184);
}

TEST(ChannelButtonsTest, NothingWhileASwitchOrStopIsPending) {
  for (const bool stop : {false, true}) {
    EngineHarness h;
    MenuDevices devices;
    h.ports.devices = &devices;
    PlayoutEngine& e = h.Make();
    if (stop) {
      h.Build().StopTimer(0, 1, 0);
    } else {
      h.Build().ChannelTimer(0, 1, 0);
    }
    e.SWButtons_ButtonClicked(4);
    EXPECT_TRUE(devices.switches.empty());
    EXPECT_EQ(e.State().Switcher.SWClicked, 4);
    EXPECT_EQ(e.State().Switcher.NextSWCh, 0);
  }
}

}  // namespace
}  // namespace playout
