// The external equipment plugged into the engine: contacts that start items, channel switches
// that the pass completes, HID pulses the pass ends.
#include <gtest/gtest.h>

#include "tests/playout/device_rig.h"

namespace playouttest {
namespace {

// An engine whose contact sources and device link are the equipment of `rig`.
struct DeviceEngine {
  // Opens the equipment and builds the engine on it.
  void Start(const playout::DeviceSettings& settings) {
    rig.Open(settings);
    h.settings.CNTPulseMS = settings.CNTPulseMS;
    h.ports.contacts = rig.devices.get();
    h.ports.devices = rig.devices.get();
    h.Make();
    h.engine().SetNoRemoteDevice(rig.devices->NoRemoteDevice());
  }
  ~DeviceEngine() { h.Drop(); }
  const playout::PlayoutState& state() const { return h.state(); }

  EngineHarness h;
  DeviceRig rig{&h.clock};
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
  e.h.Queue({{"", "2", "0", "3000", "", "a.wav"}, {"", "3", "0", "3000", "", "b.wav"}});
  e.h.Build().OnAir(1);
  e.h.Pass(3);
  EXPECT_EQ(e.h.player().plays.size(), 0u);  // nothing starts without its contact

  e.rig.link1.Send(std::string("\x01", 1));
  ASSERT_TRUE(e.rig.link1.WaitDelivered(1));
  e.h.Pass();
  ASSERT_EQ(e.h.player().plays.size(), 1u);
  EXPECT_NE(e.h.player().plays[0].find("a.wav"), std::string::npos);
  EXPECT_TRUE(e.h.log.Has("tRetCom=1 l=1@"));
  EXPECT_TRUE(e.h.log.Has("Trigger applied tTrigger=2 tRetCom=1 tPlayItem=0@"));
}

// Channel 2 is live. A plain click on channel 4: 2 goes off at once, 4 comes on at the next pass.
// "FO/FI" on channel 1: 2 fades down at once, 1 fades up once the fade time (6 s) has passed.
TEST(DeviceContactsTest, SwitchesCompleteInThePasses) {
  const struct {
    const char* what;
    int32_t menu;  // the switch menu's entry, -1: a plain click
    int32_t button, waitPasses;
    std::string atOnce1, atOnce2, done1, done2;
    int32_t live;
  } cases[] = {
      {"plain click", -1, 3, 0, "\x66", "*0025", "\x04", "*0OR2F*0OR4L*0043", 4},
      {"FO/FI", 3, 0, 119, "\x66", "*0FD02", "\x01", "*0OR2F*0OR1L*0FU01", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceEngine e;
    e.Start(Links());
    e.h.Build().Switcher().CurSWCh = 2;
    if (c.menu < 0) {
      e.h.engine().SWButtons_ButtonClicked(c.button);
    } else {
      e.h.engine().SWButtons_RightClicked(c.button);
      e.h.engine().MenuRCSW_Click(c.menu);
    }
    EXPECT_EQ(e.rig.link1.Drain(), c.atOnce1);
    EXPECT_EQ(e.rig.link2.Drain(), c.atOnce2);
    e.h.Pass(c.waitPasses);  // 5.95 s for the fade
    EXPECT_EQ(e.rig.link2.Drain(), "");
    e.h.Pass(c.waitPasses > 0 ? 2 : 1);
    EXPECT_EQ(e.rig.link1.Drain(), c.done1);
    EXPECT_EQ(e.rig.link2.Drain(), c.done2);
    EXPECT_EQ(e.state().Switcher.CurSWCh, c.live);
    EXPECT_EQ(e.rig.devices->SelectedButton(), c.live - 1);
  }
}

// With CNTPulseMS the unit's output for a channel is a pulse that the passes end.
TEST(DeviceContactsTest, HidOutputPulse) {
  DeviceEngine e;
  devices::FakeHidDevice& unit =
      e.rig.hidraw.Add(devices::C_HID::kDefaultUnitVendorID, 1, kUnitDescriptor);
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
  e.rig.devices->SwitchChannel(0, 0, 3, e.h.Build().Switcher());
  const std::vector<uint8_t> on = {0, 3, 0}, pulseEnd = {0, 103, 0};
  e.h.Pass(3);
  EXPECT_EQ(outputs(), std::vector<std::vector<uint8_t>>{on});
  e.h.Pass();
  EXPECT_EQ(outputs(), (std::vector<std::vector<uint8_t>>{on, pulseEnd}));
  EXPECT_EQ(e.state().Switcher.HidPulse[2], 0);
}

}  // namespace
}  // namespace playouttest
