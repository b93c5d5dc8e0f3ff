// The external equipment plugged into the engine: contacts that start items, channel switches
// that the pass completes, HID pulses the pass ends.
#include <gtest/gtest.h>

#include "playout/channel_buttons.h"
#include "tests/playout/device_rig.h"

namespace playouttest {
namespace {

// An engine whose contact sources and device link are the equipment of `rig`.
class DeviceEngine {
 public:
  // Opens the equipment and builds the engine on it.
  void Start(const playout::DeviceSettings& settings) {
    rig.Open(settings);
    h.settings.CNTPulseMS = settings.CNTPulseMS;
    const playout::PlayoutPorts ports{
        &h.clock,    &h.log,     &h.conf,  &h.station,        &h.commands,
        &h.players,  &h.server,  &h.inbox, rig.devices.get(), rig.devices.get(),
        &h.timeSync, &h.notices, &h.view};
    engine = std::make_unique<playout::PlayoutEngine>(ports, h.settings);
    rig.devices->Attach(&engine->State().Switcher);
    engine->State().NoRemoteDevice = rig.devices->NoRemoteDevice();
  }
  ~DeviceEngine() { engine.reset(); }

  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) {
      h.clock.Advance(50);
      engine->TimerClock_Timer();
    }
  }
  playout::PlayoutState& state() { return engine->State(); }

  EngineHarness h;
  DeviceRig rig{&h.clock};
  std::unique_ptr<playout::PlayoutEngine> engine;
};

playout::DeviceSettings Links() {
  playout::DeviceSettings s;
  s.SWType = {0, 0, 1};  // link 1 Remote1, link 2 ACS8.2
  return s;
}

// Contact 1 on the Remote1 line starts the queued item waiting for it.
TEST(DeviceContactsTest, ContactOnTheLineStartsTheQueuedItem) {
  DeviceEngine e;
  e.Start(Links());
  e.h.WriteLocal("a.wav", WaveBytes(3000));
  e.h.WriteLocal("b.wav", WaveBytes(3000));
  e.h.inbox.messages.push_back(
      Message({{"", "2", "0", "3000", "", "a.wav"}, {"", "3", "0", "3000", "", "b.wav"}}));
  e.engine->ReceiveSchedule();
  e.engine->LoadFromRow(0, "");
  e.state().OnAir = 1;
  e.Pass(3);
  EXPECT_EQ(e.h.player().plays.size(), 0u);  // nothing starts without its contact

  e.rig.link1.Send(std::string("\x01", 1));
  ASSERT_TRUE(e.rig.link1.WaitDelivered(1));
  e.Pass();
  ASSERT_EQ(e.h.player().plays.size(), 1u);
  EXPECT_NE(e.h.player().plays[0].find("a.wav"), std::string::npos);
  EXPECT_TRUE(e.h.log.Has("tRetCom=1 l=1@"));
  EXPECT_TRUE(e.h.log.Has("Trigger applied tTrigger=2 tRetCom=1 tPlayItem=0@"));
}

// A plain click on channel 4 while 2 is live: 2 goes off at once, 4 comes on at the next pass.
TEST(DeviceContactsTest, PlainClickCompletesAtTheNextPass) {
  DeviceEngine e;
  e.Start(Links());
  e.state().Switcher.CurSWCh = 2;
  playout::SWButtons_ButtonClicked(e.state(), *e.rig.devices, e.h.clock, 3);
  EXPECT_EQ(e.rig.link1.Drain(), "\x66");
  EXPECT_EQ(e.rig.link2.Drain(), "*0025");
  e.Pass();
  EXPECT_EQ(e.rig.link1.Drain(), "\x04");
  EXPECT_EQ(e.rig.link2.Drain(), "*0OR2F*0OR4L*0043");
  EXPECT_EQ(e.state().Switcher.CurSWCh, 4);
  EXPECT_EQ(e.rig.devices->SelectedButton(), 3);
}

// "FO/FI" on channel 1 while 2 is live: 2 fades down at once, 1 fades up after the fade time.
TEST(DeviceContactsTest, FadeOutFadeInWaitsForTheFade) {
  DeviceEngine e;
  e.Start(Links());
  e.state().Switcher.CurSWCh = 2;
  playout::SWButtons_RightClicked(e.state(), 0);
  playout::MenuRCSW_Click(e.state(), *e.rig.devices, e.h.clock, 3);
  EXPECT_EQ(e.rig.link2.Drain(), "*0FD02");
  e.Pass(119);  // 5.95 s
  EXPECT_EQ(e.rig.link2.Drain(), "");
  e.Pass(2);
  EXPECT_EQ(e.rig.link2.Drain(), "*0OR2F*0OR1L*0FU01");
  EXPECT_EQ(e.state().Switcher.CurSWCh, 1);
}

// With CNTPulseMS the unit's output for a channel is a pulse that the passes end.
TEST(DeviceContactsTest, HidOutputPulse) {
  DeviceEngine e;
  devices::FakeHidDevice& unit = e.rig.hidraw.Add(devices::C_HID::kDefaultUnitVendorID, 1,
                                                  {0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0x91, 0x02});
  playout::DeviceSettings s;
  s.SWType = {0, 7, 7};
  s.USBHIDID = 1;
  s.CNTPulseMS = 200;
  e.Start(s);
  // The outputs the unit was sent (the passes' inquiries {0, 0, 0} left out).
  const auto outputs = [&unit] {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& report : unit.written)
      if (report[1] != 0) out.push_back(report);
    return out;
  };
  e.rig.devices->SwitchChannel(0, 0, 3, e.state().Switcher);
  const std::vector<uint8_t> on = {0, 3, 0}, pulseEnd = {0, 103, 0};
  e.Pass(3);
  EXPECT_EQ(outputs(), std::vector<std::vector<uint8_t>>{on});
  e.Pass();
  EXPECT_EQ(outputs(), (std::vector<std::vector<uint8_t>>{on, pulseEnd}));
  EXPECT_EQ(e.state().Switcher.HidPulse[2], 0);
}

}  // namespace
}  // namespace playouttest
