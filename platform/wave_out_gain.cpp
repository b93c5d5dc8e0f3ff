#include "platform/wave_out_gain.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

int32_t Scale(int32_t value, float gain, int32_t lo, int32_t hi) {
  const double v = std::nearbyint(static_cast<double>(value) * static_cast<double>(gain));
  return static_cast<int32_t>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace

WaveGain WaveVolumeToGain(uint32_t volume) {
  WaveGain gain;
  gain.left = static_cast<float>(volume & 0xFFFFu) / 65535.0f;
  gain.right = static_cast<float>(volume >> 16) / 65535.0f;
  return gain;
}

void ApplyWaveGain(uint8_t* bytes, size_t frames, const WaveFormat& format, WaveGain gain) {
  if (bytes == nullptr || gain.unity()) return;
  const size_t channels = format.channels;
  const size_t width = format.bits_per_sample / 8;
  if (channels == 0 || width == 0) return;
  const float gains[2] = {gain.left, channels == 1 ? gain.left : gain.right};
  uint8_t* p = bytes;
  for (size_t f = 0; f < frames; ++f) {
    for (size_t c = 0; c < channels; ++c, p += width) {
      const float g = gains[c & 1];
      switch (width) {
        case 1:
          p[0] = static_cast<uint8_t>(Scale(int32_t{p[0]} - 128, g, -128, 127) + 128);
          break;
        case 2: {
          const auto s = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
          const auto v = static_cast<uint16_t>(Scale(s, g, -32768, 32767));
          p[0] = static_cast<uint8_t>(v & 0xFF);
          p[1] = static_cast<uint8_t>(v >> 8);
          break;
        }
        default: {
          uint32_t u = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
          const int32_t s =
              (u & 0x800000u) != 0 ? static_cast<int32_t>(u) - 0x1000000 : static_cast<int32_t>(u);
          u = static_cast<uint32_t>(Scale(s, g, -8388608, 8388607));
          p[0] = static_cast<uint8_t>(u & 0xFF);
          p[1] = static_cast<uint8_t>((u >> 8) & 0xFF);
          p[2] = static_cast<uint8_t>((u >> 16) & 0xFF);
          break;
        }
      }
    }
  }
}

}  // namespace platform
