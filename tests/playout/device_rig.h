#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/settings_store.h"
#include "foundation/waits.h"
#include "platform/clock.h"
#include "platform/clock_setter.h"
#include "playout/external_devices.h"
#include "tests/devices/pty_pair.h"
#include "tests/fakes/devices/fake_hidraw.h"
#include "tests/fakes/devices/fake_midi_system.h"
#include "tests/fakes/platform/fake_clock_setter.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/playout/engine_fixture.h"
#include "tests/support/app_test_env.h"
#include "tests/support/scoped_env.h"

namespace playouttest {

// The HID unit's report descriptor: two-byte input and output reports.
inline const std::vector<uint8_t> kUnitDescriptor = {0x75, 0x08, 0x95, 0x02,
                                                     0x81, 0x02, 0x91, 0x02};

// The playout's external equipment on a bench: the time-code port (Com1) and serial links 1
// and 2 (Com2, Com3) on pseudo-terminals whose far ends the test plays, a scripted HID system
// and a MIDI desk, and a simulated clock that is the process's clock, so that the links' waits
// pass at once.
class DeviceRig {
 public:
  // `sharedClock`: the clock of an engine the equipment works with, instead of the rig's own.
  explicit DeviceRig(platform::SimulatedClock* sharedClock = nullptr)
      : clock(sharedClock != nullptr ? *sharedClock : ownClock) {
    platform::SetCurrentClock(&clock);
    foundation::SaveSettingValue("ComNo_1", 1);
    foundation::SaveSettingValue("ComNo_2", 2);
    foundation::SaveSettingValue("ComNo_3", 3);
  }
  ~DeviceRig() {
    devices.reset();
    foundation::SetPendingWorkHook(nullptr);
    platform::SetCurrentClock(nullptr);
  }
  DeviceRig(const DeviceRig&) = delete;
  DeviceRig& operator=(const DeviceRig&) = delete;

  // Opens the equipment with `settings` and drops what the links were sent on opening.
  playout::ExternalDevices& Open(const playout::DeviceSettings& settings) {
    devices = std::make_unique<playout::ExternalDevices>(
        playout::DeviceSystems{&clock, &setter, &hidraw, &midi, &log});
    devices->SetTrace([this](const std::string& line) { trace.push_back(line); });
    devices->Open(settings);
    link1.Drain();
    link2.Drain();
    return *devices;
  }

  // What a device sent on the line, as text.
  static std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
  }

  testsupport::AppTestEnv env;
  testsupport::PtyPair timeCode, link1, link2;
  testsupport::ScopedEnv com1{"ONDRAKE_COM1", timeCode.path().c_str()};
  testsupport::ScopedEnv com2{"ONDRAKE_COM2", link1.path().c_str()};
  testsupport::ScopedEnv com3{"ONDRAKE_COM3", link2.path().c_str()};
  platform::SimulatedClock ownClock{platform::WallTime{2024, 5, 1, 9, 59, 58, 0}};
  platform::SimulatedClock& clock;
  platform::FakeClockSetter setter;
  devices::FakeHidraw hidraw;
  devices::FakeMidiSystem midi{{"Desk"}, {"Desk"}};
  RecordingLog log;
  // The switch state the tests hand the equipment (an engine's, in the program).
  playout::SwitcherState sw;
  std::vector<std::string> trace;
  std::unique_ptr<playout::ExternalDevices> devices;
};

}  // namespace playouttest
