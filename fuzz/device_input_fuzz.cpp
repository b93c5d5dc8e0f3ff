// Feeds arbitrary bytes to every reader of what external equipment sends: a HID report
// descriptor and a hidraw uevent, a switcher's replies, the serial time code and the MIDI fader
// desk's messages. The first byte picks how the rest is cut into polls.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "devices/acs_reply_parser.h"
#include "devices/hid_report_descriptor.h"
#include "devices/hidraw.h"
#include "devices/midi_fader_codec.h"
#include "devices/midi_system.h"
#include "devices/serial_clock_adjust.h"
#include "foundation/debug_log.h"
#include "platform/clock.h"
#include "platform/clock_setter.h"
#include "tests/fakes/platform/fake_clock_setter.h"
#include "tests/fakes/platform/simulated_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> all(data, size);
  (void)devices::ParseReportDescriptor(all);
  (void)devices::ParseHidUevent(std::string(reinterpret_cast<const char*>(data), size));
  if (size == 0) return 0;

  const size_t chunk = static_cast<size_t>(data[0] % 40) + 1;
  const std::span<const uint8_t> rest = all.subspan(1);
  devices::AcsReplyParser replies;
  platform::SimulatedClock clock;
  platform::FakeClockSetter setter;
  foundation::DebugLog log;
  devices::SerialClockAdjust timeCode(log, clock, setter);
  timeCode.SetDaemonProbe({});
  timeCode.SetSettings({0, 0, 0, data[0] % 3});
  for (size_t at = 0; at < rest.size(); at += chunk) {
    const std::span<const uint8_t> poll = rest.subspan(at, std::min(chunk, rest.size() - at));
    (void)replies.Take(poll);
    timeCode.TakeTimeCode(poll);
  }

  devices::MidiFaderInput desk(
      devices::MakeMidiFaderConfig(data[0] & 1, data[0] % 5, data[0] & 2, data[0] % 18));
  for (size_t at = 0; at + 3 <= rest.size(); at += 3) {
    (void)desk.Handle(devices::PackShortMessage(rest[at], rest[at + 1], rest[at + 2]));
  }
  return 0;
}
