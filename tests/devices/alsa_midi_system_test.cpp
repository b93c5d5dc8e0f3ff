#include "devices/alsa_midi_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "devices/fct_midi.h"
#include "foundation/debug_log.h"
#include "tests/devices/fader_round_trip.h"

namespace devices {
namespace {

// The kernel's sequencer, through its "Midi Through" port, which sends back what it is sent.
class AlsaMidiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::access("/dev/snd/seq", R_OK | W_OK) != 0) {
      GTEST_SKIP() << "no ALSA sequencer: /dev/snd/seq is missing or not ours to open (module "
                      "snd-seq not loaded, or no sound devices in this container)";
    }
    through_ = ports_.FindMidiDeviceByName(0, "Midi Through Port-0", 0);
    if (through_ < 0 || ports_.FindMidiDeviceByName(1, "Midi Through Port-0", 0) < 0) {
      GTEST_SKIP() << "the sequencer has no \"Midi Through Port-0\" (module snd-seq-dummy)";
    }
  }

  // What came back within 2 s, once `count` messages are there.
  std::vector<uint32_t> Await(size_t count) {
    std::vector<uint32_t> got;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < count && std::chrono::steady_clock::now() < give_up) {
      if (ports_.MidiInRead(0, got) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return got;
  }

  AlsaMidiSystem system_{"Ondrake test"};
  foundation::DebugLog log_;
  MidiPorts ports_{log_, system_};
  int32_t through_ = -1;
};

TEST_F(AlsaMidiTest, FaderLevelOutAndBackIn) {
  ports_.SetOutDeviceID(0, through_);
  ports_.SetInDeviceID(0, ports_.FindMidiDeviceByName(1, "Midi Through Port-0", 0));
  ASSERT_EQ(ports_.MidiInOpenPort(0), 1);
  ASSERT_EQ(ports_.MidiOutOpenPort(0), 1);
  ExpectFaderLevelsComeBack(ports_, 2, [this](size_t count) { return Await(count); });
}

}  // namespace
}  // namespace devices
