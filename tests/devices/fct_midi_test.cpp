#include "devices/fct_midi.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/midi_fader_codec.h"
#include "foundation/user_dialogs.h"
#include "platform/cp932.h"
#include "tests/devices/fader_round_trip.h"
#include "tests/fakes/devices/fake_midi_system.h"
#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/support/debug_log_fixture.h"

namespace devices {
namespace {

using Bytes = std::vector<uint8_t>;

class MidiPortsTest : public testsupport::DebugLogTest {
 protected:
  FakeMidiSystem system_{{"Desk In", "1- Other In"}, {"Desk Out", "Mixer Out (2- USB)"}};
  MidiPorts ports_{log_, system_};
};

TEST_F(MidiPortsTest, OpensAndCloses) {
  system_.Refuse(false, 1);
  const struct {
    int32_t port, device, result;
  } cases[] = {{0, 0, 1}, {3, 0, 1}, {1, -1, 0}, {2, 1, 0}, {4, 0, 0}, {-1, 0, 0}, {0, 5, 0}};
  for (const auto& c : cases) {
    ports_.SetOutDeviceID(c.port, c.device);
    EXPECT_EQ(ports_.MidiOutOpenPort(c.port), c.result) << c.port << " " << c.device;
    EXPECT_EQ(ports_.OutOpen(c.port), c.result == 1);
    ports_.MidiOutClosePort(c.port);
    EXPECT_FALSE(ports_.OutOpen(c.port));
  }
  EXPECT_TRUE(Logged("MidiOutOpenPort Failed port=2 device=1", platform::LogSeverity::kError));
  ports_.SetInDeviceID(0, 1);
  EXPECT_EQ(ports_.MidiInOpenPort(0), 1);
  EXPECT_EQ(ports_.MidiInOpenPort(0), 1);  // reopening closes first
  EXPECT_EQ(system_.OpenConnections(), 1);
}

TEST_F(MidiPortsTest, SendsShortMessages) {
  ports_.SetOutDeviceID(0, 0);
  EXPECT_EQ(ports_.MidiOutSend(0, 0, 0, 1, 1), 0);  // not open
  ASSERT_EQ(ports_.MidiOutOpenPort(0), 1);
  const struct {
    int32_t kind, channel, d1, d2;
    Bytes sent;  // empty: refused
  } cases[] = {
      {0, 0, 200, -5, {0xB0, 127, 0}},
      {1, 3, 5, 9, {0xC3, 5}},
      {2, 1, 60, 0, {0x81, 60, 0}},
      {3, 9, 60, 100, {0x99, 60, 100}},
      {4, 0, 1, 2, {0xA0, 1, 2}},
      {5, 15, 64, 1, {0xDF, 64}},
      {6, 2, 0, 103, {0xE2, 0, 103}},
      {7, 0, 1, 1, {}},
      {-1, 0, 1, 1, {}},
      {0, 16, 1, 1, {}},
      {0, -1, 1, 1, {}},
  };
  std::vector<Bytes> expected;
  for (const auto& c : cases) {
    EXPECT_EQ(ports_.MidiOutSend(0, c.kind, c.channel, c.d1, c.d2), c.sent.empty() ? 0 : 1)
        << c.kind << " " << c.channel;
    if (!c.sent.empty()) expected.push_back(c.sent);
  }
  EXPECT_EQ(system_.Sent(0), expected);
  EXPECT_TRUE(Logged("MidiOutSend refused kind=7 channel=0", platform::LogSeverity::kError));
  EXPECT_TRUE(Logged("MidiOutSend refused kind=0 channel=16", platform::LogSeverity::kError));
}

// However many messages come between two drains, all of them are read, in order.
TEST_F(MidiPortsTest, DrainsEveryMessageInOrder) {
  ports_.SetInDeviceID(0, 0);
  std::vector<uint32_t> got;
  EXPECT_EQ(ports_.MidiInRead(0, got), 0);  // not open
  ASSERT_EQ(ports_.MidiInOpenPort(0), 1);
  std::vector<uint32_t> sent;
  for (uint32_t i = 0; i < 40; ++i) {
    sent.push_back(PackShortMessage(0xB0, static_cast<uint8_t>(i), 1));
    system_.Receive(0, sent.back());
  }
  EXPECT_EQ(ports_.MidiInRead(0, got), 40);
  EXPECT_EQ(got, sent);
  EXPECT_EQ(ports_.MidiInRead(0, got), 0);
}

TEST_F(MidiPortsTest, FindsDevicesByName) {
  platform::FakeDialogService dialogs;
  foundation::SetDialogService(&dialogs);
  const struct {
    int32_t input;
    const char* name;
    int32_t showMsg, id;
  } cases[] = {
      {1, " desk in ", 1, 0}, {1, "Other In", 1, 1}, {0, "mixer out (usb)", 1, 1},
      {0, "3", 1, 3},         {1, "Nowhere", 0, -1}, {0, "Nowhere Out", 1, -1},
      {1, "", 1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ports_.FindMidiDeviceByName(c.input, c.name, c.showMsg), c.id) << c.name;
  }
  ASSERT_EQ(dialogs.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs.messageBoxes[0].prompt,
            std::string(MidiPorts::kNotFoundText) + "\nNowhere Out");
  EXPECT_TRUE(Logged(platform::Utf8ToCp932(std::string(MidiPorts::kNotFoundText) + " Nowhere")));
  EXPECT_EQ(ports_.GetMidiDeviceName(0, 1), "Mixer Out (2- USB)");
  EXPECT_EQ(ports_.GetMidiDeviceName(0, 2), "");
  foundation::SetDialogService(nullptr);
}

// A fader level sent in either dialect comes back as the same level through a desk that
// echoes what it is sent.
TEST_F(MidiPortsTest, FaderLevelOutAndBackIn) {
  system_.Loop(0, 0);
  ports_.SetOutDeviceID(0, 0);
  ports_.SetInDeviceID(0, 0);
  ASSERT_EQ(ports_.MidiOutOpenPort(0), 1);
  ASSERT_EQ(ports_.MidiInOpenPort(0), 1);
  ExpectFaderLevelsComeBack(ports_, 5, [this](size_t) {
    std::vector<uint32_t> got;
    ports_.MidiInRead(0, got);
    return got;
  });
}

}  // namespace
}  // namespace devices
