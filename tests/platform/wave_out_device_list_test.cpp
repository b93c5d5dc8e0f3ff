// Test labels: threads (the real-time virtual device's ticker)
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/wave_device_list.h"
#include "platform/wave_out_backend.h"
#include "platform/wave_out_virtual.h"

namespace platform {
namespace {

std::vector<std::string> Names(const std::vector<WaveDeviceEntry>& devices) {
  std::vector<std::string> names;
  for (const auto& d : devices) names.push_back(d.name);
  return names;
}

TEST(WaveDeviceList, SelectsUsablePcmsPerDirection) {
  const std::vector<WavePcmHint> hints = {
      {"null", "Discard all samples", ""},
      {"pipewire", "PipeWire Sound Server", ""},
      {"sysdefault:CARD=PCH", "HDA Intel PCH, ALC892 Analog\nDefault Audio Device", ""},
      {"front:CARD=PCH,DEV=0", "HDA Intel PCH, ALC892 Analog\nFront output", "Output"},
      {"dmix:CARD=PCH,DEV=0", "HDA Intel PCH, ALC892 Analog\nDirect mixing", "Output"},
      {"dsnoop:CARD=PCH,DEV=0", "HDA Intel PCH, ALC892 Analog\nDirect sample snooping", "Input"},
      {"hw:CARD=PCH,DEV=0", "HDA Intel PCH, ALC892 Analog\nDirect hardware", ""},
      {"plughw:CARD=PCH,DEV=0", "HDA Intel PCH, ALC892 Analog\nHardware with conversions", ""},
      {"default", "Default ALSA Output", ""},
      {"front:CARD=PCH,DEV=0", "duplicate", "Output"},
      {"", "no name", ""},
  };
  const auto out = SelectWaveDevices(hints, WaveDirection::kPlayback);
  EXPECT_EQ(Names(out), (std::vector<std::string>{"default", "pipewire", "sysdefault:CARD=PCH",
                                                  "front:CARD=PCH,DEV=0", "dmix:CARD=PCH,DEV=0",
                                                  "plughw:CARD=PCH,DEV=0"}));
  EXPECT_EQ(out[4].pcm, "plug:'dmix:CARD=PCH,DEV=0'");  // the mixer gets a converter
  EXPECT_EQ(out[3].pcm, "front:CARD=PCH,DEV=0");

  const auto in = SelectWaveDevices(hints, WaveDirection::kCapture);
  EXPECT_EQ(Names(in),
            (std::vector<std::string>{"default", "pipewire", "sysdefault:CARD=PCH",
                                      "dsnoop:CARD=PCH,DEV=0", "plughw:CARD=PCH,DEV=0"}));
  EXPECT_EQ(in[3].pcm, "plug:'dsnoop:CARD=PCH,DEV=0'");

  // No hints at all (no card, no sound server) still offers the default device.
  EXPECT_EQ(Names(SelectWaveDevices({}, WaveDirection::kPlayback)),
            (std::vector<std::string>{"default"}));
  // The machine's own lists never fail and always start with the default device.
  const auto here = AlsaPlaybackDevices();
  ASSERT_FALSE(here.empty());
  EXPECT_EQ(here[0].name, "default");
}

TEST(WaveOutBackend, ChoiceAndReplacement) {
  setenv("ONDRAKE_AUDIO_BACKEND", "virtual", 1);
  SetCurrentWaveOut(nullptr);
  const auto chosen = CurrentWaveOut();
  ASSERT_NE(dynamic_cast<VirtualWaveOut*>(chosen.get()), nullptr);
  EXPECT_EQ(CurrentWaveOut(), chosen);  // chosen once

  auto mine = std::make_shared<VirtualWaveOut>(StandardErrorLog());
  SetCurrentWaveOut(mine);
  EXPECT_EQ(CurrentWaveOut(), mine);
  SetCurrentWaveOut(nullptr);
  EXPECT_NE(CurrentWaveOut(), mine);
  SetCurrentWaveOut(nullptr);
  unsetenv("ONDRAKE_AUDIO_BACKEND");
}

}  // namespace
}  // namespace platform
