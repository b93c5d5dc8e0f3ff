#include "audio/sample_processing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/conversions.h"

namespace audio {
namespace {

// Running per-channel sums of one page.
struct MeterSums {
  std::array<int64_t, 8> peak{};
  std::array<double, 8> squares{};

  void Add(int32_t channel, int32_t value) {
    const int64_t magnitude = std::llabs(static_cast<int64_t>(value));
    if (magnitude > peak[channel]) peak[channel] = magnitude;
    squares[channel] += static_cast<double>(value) * static_cast<double>(value);
  }
};

// One sample width: Load gives the signed value, ScaleStore writes value x gain (rounded half
// to even and kept in range) and returns the value the meters see.
struct Pcm8 {
  static constexpr int kBytes = 1;
  static int32_t Load(const uint8_t* p) { return static_cast<int32_t>(p[0]) - 128; }
  static int32_t ScaleStore(int32_t s, double gain, uint8_t* out) {
    const int32_t v = std::clamp(foundation::NearestInt32Saturated(s * gain + 128.0), 0, 255);
    out[0] = static_cast<uint8_t>(v);
    return v - 128;
  }
};

struct Pcm16 {
  static constexpr int kBytes = 2;
  static int32_t Load(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
  }
  static int32_t ScaleStore(int32_t s, double gain, uint8_t* out) {
    // Full scale is kept symmetric: -32768 comes out as -32767.
    const int32_t v = std::clamp(foundation::NearestInt32Saturated(s * gain), -32767, 32767);
    const uint16_t u = static_cast<uint16_t>(v);
    out[0] = static_cast<uint8_t>(u);
    out[1] = static_cast<uint8_t>(u >> 8);
    return v;
  }
};

struct Pcm24 {
  static constexpr int kBytes = 3;
  static int32_t Load(const uint8_t* p) {
    int32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    if (v > 0x7FFFFF) v -= 0x1000000;
    return v;
  }
  static int32_t ScaleStore(int32_t s, double gain, uint8_t* out) {
    const int32_t v = foundation::NearestInt32Saturated(s * gain);
    const int32_t stored = std::clamp(v, -8388608, 8388607);
    const uint32_t u = static_cast<uint32_t>(stored);
    out[0] = static_cast<uint8_t>(u);
    out[1] = static_cast<uint8_t>(u >> 8);
    out[2] = static_cast<uint8_t>(u >> 16);
    return v;  // the meters see the value before the limit
  }
};

template <class W, int Ch>
void ProcessInPlace(uint8_t* page, int32_t frames, const std::array<double, Ch>& gain,
                    MeterSums& sums) {
  for (int32_t f = 0; f < frames; ++f) {
    uint8_t* frame = page + static_cast<size_t>(f) * Ch * W::kBytes;
    for (int c = 0; c < Ch; ++c) {
      uint8_t* p = frame + c * W::kBytes;
      sums.Add(c, W::ScaleStore(W::Load(p), gain[c], p));
    }
  }
}

template <class W, int Ch>
void ProcessSplit(const uint8_t* page, int32_t frames, double gain,
                  const std::array<uint8_t*, 4>& outputs, MeterSums& sums) {
  for (int32_t f = 0; f < frames; ++f) {
    const uint8_t* frame = page + static_cast<size_t>(f) * Ch * W::kBytes;
    const size_t outOffset = static_cast<size_t>(f) * 2 * W::kBytes;
    for (int c = 0; c < Ch; ++c) {
      uint8_t* out = outputs[c / 2] + outOffset + (c % 2) * W::kBytes;
      sums.Add(c, W::ScaleStore(W::Load(frame + c * W::kBytes), gain, out));
    }
  }
}

template <class W, int Ch>
void ProcessMulti(std::span<uint8_t> page, int32_t frames, double gain, bool inPlace,
                  std::span<const std::span<uint8_t>> split, MeterSums& sums) {
  if (inPlace) {
    std::array<double, Ch> gains;
    gains.fill(gain);
    ProcessInPlace<W, Ch>(page.data(), frames, gains, sums);
    return;
  }
  std::array<uint8_t*, 4> outputs{};
  for (int o = 0; o < Ch / 2; ++o) outputs[o] = split[o].data();
  ProcessSplit<W, Ch>(page.data(), frames, gain, outputs, sums);
}

double SafeGain(float g) { return std::isfinite(g) ? static_cast<double>(g) : 0.0; }

}  // namespace

SampleLayout SampleLayoutOf(int32_t sampleKind) {
  static constexpr SampleLayout kLayouts[] = {{1, 8},  {2, 8},  {1, 16}, {2, 16}, {1, 24},
                                              {2, 24}, {6, 16}, {8, 16}, {6, 24}, {8, 24}};
  if (sampleKind < 0 || sampleKind > 9) return {};
  return kLayouts[sampleKind];
}

PageMeters ProcessPageSamples(int32_t sampleKind, std::span<uint8_t> page, int32_t frames,
                              const PageGains& gains, bool inPlace,
                              std::span<const std::span<uint8_t>> split) {
  PageMeters meters;
  const SampleLayout layout = SampleLayoutOf(sampleKind);
  if (layout.Channels == 0 || frames < 1) return meters;
  const int64_t blockAlign = layout.Channels * layout.BitsPerSample / 8;
  int64_t fits = static_cast<int64_t>(page.size()) / blockAlign;
  if (layout.Channels > 2 && !inPlace) {
    // One stereo page per channel pair, each big enough for the frames processed.
    const size_t outputs = static_cast<size_t>(layout.Channels / 2);
    if (split.size() < outputs) return meters;
    for (size_t o = 0; o < outputs; ++o) {
      fits = std::min<int64_t>(fits, split[o].size() / (2 * layout.BitsPerSample / 8));
    }
  }
  frames = static_cast<int32_t>(std::min<int64_t>(frames, fits));
  if (frames < 1) return meters;

  const double left = SafeGain(gains.Left);
  const double right = SafeGain(gains.Right);
  const double all = SafeGain(gains.All);
  MeterSums sums;
  switch (sampleKind) {
    case 0:
      ProcessInPlace<Pcm8, 1>(page.data(), frames, {left}, sums);
      break;
    case 1:
      ProcessInPlace<Pcm8, 2>(page.data(), frames, {left, right}, sums);
      break;
    case 2:
      ProcessInPlace<Pcm16, 1>(page.data(), frames, {left}, sums);
      break;
    case 3:
      ProcessInPlace<Pcm16, 2>(page.data(), frames, {left, right}, sums);
      break;
    case 4:
      ProcessInPlace<Pcm24, 1>(page.data(), frames, {left}, sums);
      break;
    case 5:
      ProcessInPlace<Pcm24, 2>(page.data(), frames, {left, right}, sums);
      break;
    case 6:
      ProcessMulti<Pcm16, 6>(page, frames, all, inPlace, split, sums);
      break;
    case 7:
      ProcessMulti<Pcm16, 8>(page, frames, all, inPlace, split, sums);
      break;
    case 8:
      ProcessMulti<Pcm24, 6>(page, frames, all, inPlace, split, sums);
      break;
    case 9:
      ProcessMulti<Pcm24, 8>(page, frames, all, inPlace, split, sums);
      break;
  }

  const double scale = std::ldexp(1.0, layout.BitsPerSample - 8);
  for (int32_t c = 0; c < layout.Channels; ++c) {
    meters.RMS[c] = foundation::NearestInt32Saturated(std::sqrt(sums.squares[c] / frames) / scale);
    meters.Peak[c] = foundation::NearestInt32Saturated(static_cast<double>(sums.peak[c]) / scale);
  }
  for (int32_t c = layout.Channels; c < 8; ++c) {
    meters.RMS[c] = meters.RMS[0];
    meters.Peak[c] = meters.Peak[0];
  }
  return meters;
}

}  // namespace audio
