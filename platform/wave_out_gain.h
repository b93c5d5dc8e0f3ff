#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/wave_out_device.h"

namespace platform {

// The software gain a device volume stands for: left from the low word, right from the high
// word, each word / 65535.
struct WaveGain {
  float left = 1.0f;
  float right = 1.0f;

  bool unity() const { return left == 1.0f && right == 1.0f; }
};

WaveGain WaveVolumeToGain(uint32_t volume);

// Scales `frames` whole frames of `format` in place: mono takes the left gain; with two or
// more channels the even channels (0, 2, 4, ...) take the left gain and the odd ones the right.
// Each sample becomes sample x gain to the nearest whole number (halves to even), limited to
// the sample's range (8-bit samples are unsigned around 128). A unity gain leaves the bytes
// alone. `format` must have passed CheckWaveFormat.
void ApplyWaveGain(uint8_t* bytes, size_t frames, const WaveFormat& format, WaveGain gain);

}  // namespace platform
