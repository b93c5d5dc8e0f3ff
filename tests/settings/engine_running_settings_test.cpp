#include <gtest/gtest.h>

#include "playout/settings_link.h"
#include "tests/playout/device_rig.h"
#include "tests/playout/engine_fixture.h"

namespace playout {
namespace {

// The link the playout hands the settings dialog: what it reads and sets, with the external
// devices open and without them.
TEST(EngineRunningSettingsTest, ReadsAndSetsTheEngineAndTheDevices) {
  playouttest::DeviceRig rig;
  playouttest::EngineHarness harness;
  harness.settings.AMinute = 5;
  harness.settings.OverSec = 2;
  PlayoutEngine& engine = harness.Make();
  DeviceSettings loaded;
  loaded.SWType = {0, 1, 0};
  loaded.UseMIDIF = 1;
  loaded.UseMidiIn = 1;
  loaded.MidiOutDeviceName = "Desk";
  loaded.MidiInDeviceName = "Desk";
  loaded.TimeAdjust.AMinute = 5;
  loaded.TimeAdjust.AdjustMode = 2;
  ExternalDevices& devices = rig.Open(loaded);

  EngineRunningSettings link(engine, &devices, loaded);
  settings::RunningValues v = link.Read();
  EXPECT_EQ(v.SWType, (std::array<int32_t, 3>{0, 1, 0}));
  EXPECT_EQ(v.MidiOutDeviceID, 0);
  EXPECT_EQ(v.MidiInDeviceID, 0);
  EXPECT_EQ(v.AMinute, 5);
  EXPECT_EQ(v.OverSec, 2);
  v.SWType[1] = 0;
  v.MidiOutDeviceID = -1;
  v.AMinute = 45;
  v.ASecond = 10;
  v.OverSec = 9;
  v.AirID = "Z";
  v.CNTFunction[5] = 4;
  link.Apply(v);
  EXPECT_EQ(devices.Serial().SWType(1), 0);
  EXPECT_EQ(devices.Midi().Ports().OutDeviceID(0), -1);
  EXPECT_EQ(devices.Midi().Ports().InDeviceID(0), 0);
  const devices::TimeAdjustSettings& adjust = devices.ClockAdjust().Settings();
  EXPECT_EQ(adjust.AMinute, 45);
  EXPECT_EQ(adjust.ASecond, 10);
  EXPECT_EQ(adjust.AdjustMode, 2);
  EXPECT_EQ(engine.Settings().OverSec, 9);
  EXPECT_EQ(engine.Settings().AMinute, 45);
  EXPECT_EQ(engine.Settings().AirID, "Z");
  EXPECT_EQ(engine.Settings().CNTFunction[5], 4);

  // Without devices the link keeps the protocols start-up read and the MIDI devices itself.
  EngineRunningSettings bare(engine, nullptr, loaded);
  settings::RunningValues b = bare.Read();
  EXPECT_EQ(b.SWType, (std::array<int32_t, 3>{0, 1, 0}));
  EXPECT_EQ(b.MidiOutDeviceID, -1);
  b.SWType = {1, 1, 1};
  b.MidiInDeviceID = 3;
  bare.Apply(b);
  EXPECT_EQ(bare.Read().SWType, (std::array<int32_t, 3>{1, 1, 1}));
  EXPECT_EQ(bare.Read().MidiInDeviceID, 3);
}

}  // namespace
}  // namespace playout
