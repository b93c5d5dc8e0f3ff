#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace audio {

// Peak and RMS of one page per channel 0 to 7, on a 0 to 128 scale.
struct PageMeters {
  std::array<int32_t, 8> Peak{};
  std::array<int32_t, 8> RMS{};
};

// Channel count and sample width of a layout code (WaveInfo::SampleKind); 0 and 0 for an
// unknown code.
struct SampleLayout {
  int32_t Channels = 0;
  int32_t BitsPerSample = 0;
};
SampleLayout SampleLayoutOf(int32_t sampleKind);

// The gains of one page: `Left` for mono and the left channel of stereo, `Right` for the right
// channel of stereo, `All` for every channel of six- and eight-channel files (no pan).
struct PageGains {
  float Left = 1.0f;
  float Right = 1.0f;
  float All = 1.0f;
};

// The software path of a page: each sample times its gain, rounded half to even and kept in
// range (8-bit unsigned 0..255, 16-bit +-32767, 24-bit [-8388608, 8388607]), and the meters.
//
// `page` holds `frames` frames of `sampleKind`. Mono, stereo and (with `inPlace`) six- and
// eight-channel pages are changed in place. Six- and eight-channel pages without `inPlace` are
// left as they are and their channels 2o and 2o+1 are written as stereo frames to `split[o]`
// (3 or 4 outputs). Buffers too small for `frames` frames shrink the count to what fits, so
// nothing is read or written past a buffer.
//
// The meters: peak = largest |value| and RMS = sqrt(sum of squares / frames), both divided by
// 2^(bits - 8) and rounded half to even; the value is the sample after the gain (before the
// 24-bit limit; for 8-bit the stored byte - 128). Channels past the file's take channel 0's.
PageMeters ProcessPageSamples(int32_t sampleKind, std::span<uint8_t> page, int32_t frames,
                              const PageGains& gains, bool inPlace,
                              std::span<const std::span<uint8_t>> split);

}  // namespace audio
