// The switcher protocols, contacts, HID unit and MIDI desk behind the engine's device link and
// contact sources, against the far ends of real serial lines and scripted HID and MIDI devices.
#include "playout/external_devices.h"

#include <gtest/gtest.h>

#include <utility>

#include "devices/midi_system.h"
#include "foundation/app_globals.h"
#include "foundation/user_dialogs.h"
#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/playout/device_rig.h"

namespace playouttest {
namespace {

using playout::DeviceSettings;

DeviceSettings Links(int32_t type1, int32_t type2) {
  DeviceSettings s;
  s.SWType = {0, type1, type2};
  return s;
}

// Opening: Remote1 is sent every channel off, a byte at a time at least 50 ms apart; ACS8.2
// is sent "*0SL".
TEST(ExternalDevicesTest, LinksOpenInAKnownState) {
  DeviceRig rig;
  std::vector<std::pair<int64_t, uint8_t>> remote1;  // when each byte arrived, and the byte
  foundation::SetPendingWorkHook([&] {
    for (const char b : rig.link1.Drain()) remote1.emplace_back(rig.clock.MonotonicMs(), b);
  });
  rig.devices = std::make_unique<playout::ExternalDevices>(
      playout::DeviceSystems{&rig.clock, &rig.setter, &rig.hidraw, &rig.midi, &rig.log});
  rig.devices->Open(Links(0, 1));

  ASSERT_EQ(remote1.size(), 8u);
  for (size_t i = 0; i < remote1.size(); ++i) {
    EXPECT_EQ(remote1[i].second, 0x65 + i);
    if (i > 0) {
      EXPECT_GE(remote1[i].first - remote1[i - 1].first, 50);
    }
  }
  EXPECT_EQ(rig.link2.Drain(), "*0SL");
  EXPECT_TRUE(rig.devices->TimeCodeOpen());
  EXPECT_EQ(rig.devices->NoRemoteDevice(), 0);
  EXPECT_TRUE(rig.devices->IsOpen(playout::kContactSerial1));
  EXPECT_FALSE(rig.devices->IsOpen(playout::kContactHid));

  DeviceRig none;
  foundation::SaveSettingValue("ComNo_2", 0);
  none.Open(Links(0, 7));  // link 1 not used, link 2 of no known type
  EXPECT_EQ(none.devices->NoRemoteDevice(), 1);
  EXPECT_FALSE(none.devices->IsOpen(playout::kContactSerial2));
}

// Each switch as the Remote1 box (link 1) and the ACS8.2 box (link 2) receive it.
TEST(ExternalDevicesTest, SwitchingSpeaksBothProtocols) {
  DeviceRig rig;
  playout::ExternalDevices& d = rig.Open(Links(0, 1));
  const struct {
    int32_t isOff, fade, next;
    std::string remote1, acs;
    int32_t cur, button;
  } steps[] = {
      {0, 0, 3, "\x03", "*0OR3L*0033", 3, 2},
      {1, 0, 0, "\x67", "*0035", 3, 2},
      {0, 1, 5, "\x05", "*0OR3F*0OR5L*0FU05", 5, 4},
      {1, 1, 0, "\x69", "*0FD05", 5, 4},
      {1, 2, 0, "\x69", "", 5, 4},  // no such fade: the empty command is only logged
      {0, 0, 0, "", "", 0, -1},
      {1, 0, 0, "", "", 0, -1},    // nothing live, nothing to switch off
      {0, 0, 100, "", "", 0, -1},  // no such channel on either box
      {0, 0, 99, "\x63", "*0OR99L*0993", 99, 98},
      {1, 0, 0, "\xC7", "*0995", 99, 98},
  };
  for (const auto& s : steps) {
    d.SwitchChannel(s.isOff, s.fade, s.next, rig.sw);
    EXPECT_EQ(rig.link1.Drain(), s.remote1) << s.isOff << s.fade << s.next;
    EXPECT_EQ(rig.link2.Drain(), s.acs) << s.isOff << s.fade << s.next;
    EXPECT_EQ(rig.sw.CurSWCh, s.cur);
    EXPECT_EQ(d.SelectedButton(), s.button);
  }
  EXPECT_TRUE(rig.log.Has("SwitchChannel Start pIsOff=1 pFadeOn=2 pNextCh=0"));
  EXPECT_TRUE(rig.log.Has("SwitchChannel refused pNextCh=100"));
  EXPECT_EQ(rig.log.Count("ACSSerialOut "), 11);
}

TEST(ExternalDevicesTest, ContactsAndReports) {
  DeviceRig rig;
  foundation::Globals().ErrorCatch = 1;  // the trace is written
  playout::ExternalDevices& d = rig.Open(Links(0, 1));

  // Remote1: one byte per poll, a zero byte is no contact.
  rig.link1.Send(std::string("\x03\x00\x07", 3));
  ASSERT_TRUE(rig.link1.WaitDelivered(3));
  std::vector<int32_t> polled;
  for (int i = 0; i < 4; ++i) polled.push_back(d.Poll(playout::kContactSerial1, rig.sw));
  EXPECT_EQ(polled, (std::vector<int32_t>{3, 0, 7, 0}));

  // ACS8.2: the third input rises; then the box reports channel 3 live while 1 is.
  rig.link2.Send("S0P,A,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
  ASSERT_TRUE(rig.link2.WaitDelivered(39));
  EXPECT_EQ(d.Poll(playout::kContactSerial2, rig.sw), 3);
  EXPECT_TRUE(rig.log.Has("ACSPIP(2)=1 "));
  rig.sw.CurSWCh = 1;
  const std::string report = "S0L1,0,0,1,0,0,0,0,0,S0L2,0,0,0,0,0,0,0,0";
  for (int round = 0; round < 2; ++round) {
    rig.link2.Send(report);
    ASSERT_TRUE(rig.link2.WaitDelivered(static_cast<int>(report.size())));
    for (int poll = 0; poll < 2; ++poll)
      d.Poll(playout::kContactSerial2, rig.sw);  // 37 bytes a poll
    EXPECT_EQ(rig.link2.Drain(), round == 0 ? "*0OR1F*0OR3L" : "") << round;
    EXPECT_EQ(rig.sw.CurSWCh, 3);
    EXPECT_EQ(d.SelectedButton(), 2);
  }
  EXPECT_EQ(rig.log.Count("Set PreSWCh To 3 S0L1,"), 1);
  const std::vector<std::string> traced(rig.trace.begin(), rig.trace.begin() + 2);
  EXPECT_EQ(traced, (std::vector<std::string>{"CNT2 Remote1=3", "CNT2 Remote1=7"}));
  EXPECT_NE(std::find(rig.trace.begin(), rig.trace.end(), "ACSPIP(2)=1"), rig.trace.end());
}

// Each link keeps its own reply text: halves of a report on two links make no report.
TEST(ExternalDevicesTest, RepliesAreKeptPerLink) {
  DeviceRig rig;
  playout::ExternalDevices& d = rig.Open(Links(1, 1));
  const std::string report = "S0P,A,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
  rig.link1.Send(report.substr(0, 20));
  rig.link2.Send(report.substr(20));
  ASSERT_TRUE(rig.link1.WaitDelivered(20) && rig.link2.WaitDelivered(17));
  EXPECT_EQ(d.Poll(playout::kContactSerial1, rig.sw), 0);
  EXPECT_EQ(d.Poll(playout::kContactSerial2, rig.sw), 0);
  rig.link1.Send(report.substr(20));
  ASSERT_TRUE(rig.link1.WaitDelivered(17));
  EXPECT_EQ(d.Poll(playout::kContactSerial1, rig.sw), 2);
}

TEST(ExternalDevicesTest, HidUnit) {
  for (const int32_t pulseMs : {0, 200}) {
    DeviceRig rig;
    devices::FakeHidDevice& unit =
        rig.hidraw.Add(devices::C_HID::kDefaultUnitVendorID, 2, kUnitDescriptor);
    unit.onWrite = [](const std::vector<uint8_t>& report, devices::FakeHidDevice& device) {
      if (report[1] == 0 && report[2] == 0) device.inputs.push_back({0, 5});
    };
    DeviceSettings s;
    s.USBHIDID = 2;
    s.CNTPulseMS = pulseMs;
    foundation::SaveSettingValue("ComNo_2", 0);
    foundation::SaveSettingValue("ComNo_3", 0);
    playout::ExternalDevices& d = rig.Open(s);
    ASSERT_TRUE(d.HidOK());
    EXPECT_EQ(d.NoRemoteDevice(), 0);
    EXPECT_EQ(d.Poll(playout::kContactHid, rig.sw), 5);

    unit.written.clear();
    d.SwitchChannel(0, 0, 3, rig.sw);
    d.SwitchChannel(1, 0, 0, rig.sw);
    d.EndHidPulse(2);
    EXPECT_EQ(rig.sw.HidPulse[2], pulseMs);
    // On: the channel; off: 100 + the channel, unless pulses end by themselves (101 + port).
    std::vector<std::vector<uint8_t>> expected = {{0, 3, 0}};
    if (pulseMs == 0) expected.push_back({0, 103, 0});
    expected.push_back({0, 103, 0});
    EXPECT_EQ(unit.written, expected) << pulseMs;
  }
}

TEST(ExternalDevicesTest, HidUnitMissing) {
  DeviceRig rig;
  platform::FakeDialogService dialogs;
  foundation::SetDialogService(&dialogs);
  DeviceSettings s;
  s.USBHIDID = 1;
  s.USBHIDVendorID = 0x4321;
  rig.hidraw.Add(devices::C_HID::kDefaultUnitVendorID, 1, kUnitDescriptor);  // another maker's
  playout::ExternalDevices& d = rig.Open(s);
  EXPECT_FALSE(d.HidOK());
  ASSERT_EQ(dialogs.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs.messageBoxes[0].prompt, "TarnwickHIDを初期化できませんでした");
  EXPECT_EQ(d.Poll(playout::kContactHid, rig.sw), 0);
  foundation::SetDialogService(nullptr);
}

DeviceSettings Desk(int32_t mode, int32_t useIn) {
  DeviceSettings s;
  s.UseMIDIF = 1;
  s.MidiMode = mode;
  s.UseMidiIn = useIn;
  s.MidiInDeviceName = "desk";
  s.MidiOutDeviceName = " Desk ";
  return s;
}

std::vector<uint8_t> Cc(uint8_t controller, uint8_t value) { return {0xB0, controller, value}; }

TEST(ExternalDevicesTest, MidiDeskFollowsTheSwitcher) {
  DeviceRig rig;
  playout::ExternalDevices& d = rig.Open(Desk(0, 1));
  ASSERT_TRUE(d.MidiPortsOpen());
  EXPECT_EQ(d.FaderLevel(), 13184);
  EXPECT_EQ(rig.midi.Sent(0).size(), 16u);  // every fader to 0 on opening
  rig.midi.Sent(0).clear();

  d.SwitchChannel(0, 0, 2, rig.sw);  // cut in: straight to the level of a live channel
  EXPECT_EQ(rig.midi.Sent(0), (std::vector<std::vector<uint8_t>>{Cc(2, 103), Cc(34, 0)}));
  EXPECT_EQ(rig.sw.MidiFader[1].Level, 13184);
  d.SwitchChannel(1, 1, 0, rig.sw);  // fade out: the pass moves the fader
  EXPECT_EQ(rig.sw.MidiFader[1].FadeOut, 1);
  d.SwitchChannel(0, 1, 4, rig.sw);
  EXPECT_EQ(rig.sw.MidiFader[3].FadeIn, 1);
  EXPECT_EQ(rig.sw.MidiFader[3].FadeOut, 0);
  d.SwitchChannel(1, 0, 0, rig.sw);
  EXPECT_EQ(rig.sw.MidiFader[3].Level, 0);
  EXPECT_EQ(rig.sw.MidiFader[3].FadeIn, 0);
  d.SwitchChannel(0, 0, 9, rig.sw);  // no fader for channel 9
  EXPECT_EQ(rig.midi.Sent(0).size(), 4u);

  // The desk: fader 3 moved, then its button pressed.
  for (const uint32_t m :
       {devices::PackShortMessage(0xB0, 3, 50), devices::PackShortMessage(0xB0, 35, 0),
        devices::PackShortMessage(0xB0, 66, 127)}) {
    rig.midi.Receive(0, m);
  }
  EXPECT_EQ(d.Poll(playout::kContactMidi, rig.sw), 3);
  EXPECT_EQ(rig.sw.MidiFader[2].Level, 6400);
  EXPECT_EQ(d.Poll(playout::kContactMidi, rig.sw), 0);
}

TEST(ExternalDevicesTest, MidiDeskThatDoesNotOpen) {
  const struct {
    int32_t mode, useIn;
    bool refuseIn, active, inputPolled;
    int32_t level;
  } cases[] = {
      {0, 1, true, false, false, 0},  // the input would not open: both closed again
      {0, 0, true, true, false, 13184},
      {1, 1, false, true, true, 13376},
  };
  for (const auto& c : cases) {
    DeviceRig rig;
    if (c.refuseIn) rig.midi.Refuse(true, 0);
    playout::ExternalDevices& d = rig.Open(Desk(c.mode, c.useIn));
    EXPECT_EQ(d.MidiPortsOpen(), c.active);
    EXPECT_EQ(d.IsOpen(playout::kContactMidi), c.inputPolled);
    EXPECT_EQ(rig.midi.OpenConnections(), (c.active ? 1 : 0) + (c.inputPolled ? 1 : 0));
    if (c.active) {
      EXPECT_EQ(d.FaderLevel(), c.level);
    }
  }
}

// The clock port: a time code of the configured moment sets the clock once.
TEST(ExternalDevicesTest, TimeCodePort) {
  DeviceRig rig;
  DeviceSettings s = Links(7, 7);  // no links: opening takes no time
  s.TimeAdjust = {0, 0, 0, 1};
  playout::ExternalDevices& d = rig.Open(s);
  ASSERT_TRUE(d.TimeCodeOpen());
  rig.timeCode.Send(std::string(1, '\x02') + "100000\x03\xE5");
  ASSERT_TRUE(rig.timeCode.WaitDelivered(9));
  d.ParseSerialTime();
  ASSERT_EQ(rig.setter.Corrections().size(), 1u);
  EXPECT_EQ(rig.setter.Corrections()[0], std::chrono::seconds(2));
  d.AdjustClockFromSerial();  // a contact's "時刻較正": the same moment, now
  EXPECT_EQ(rig.setter.Corrections().size(), 2u);
}

}  // namespace
}  // namespace playouttest
