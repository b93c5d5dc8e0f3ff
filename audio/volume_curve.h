#pragma once

#include <array>
#include <cstdint>

namespace audio {

// One point of the fader curve: the linear gain of a level in decibels.
struct VolumeCurvePoint {
  float Gain;
  float Db;
};

using VolumeCurveTable = std::array<VolumeCurvePoint, 256>;

// Index of the 0 dB point; the points above it (up to +10 dB) are never reached by a volume.
constexpr int32_t kVolumeCurveSteps = 207;

// The 256-point curve: -99.9 dB at the bottom, finer steps towards 0 dB at point 207.
VolumeCurveTable BuildVolumeCurve();

// The process's curve, built on first use and never changed afterwards.
const VolumeCurveTable& VolumeCurve();

// Linear gain of a fader volume 0..1 along the curve: 1.0 at or above 1, the -99.9 dB gain
// (not 0) at 0 and below (and for NaN), linear between neighbouring points in between.
float VolumeCurveGain(float volume);

}  // namespace audio
