#include "audio/volume_curve.h"

#include <cmath>

#include "foundation/conversions.h"

namespace audio {
namespace {

// Level of point k: a run of equal steps per band, each band ending where the next begins.
double PointDb(int k) {
  if (k <= 1) return -99.9;
  if (k == 2) return -96.0;
  if (k <= 10) return -90.0 + 5.0 * (k - 3);
  if (k <= 22) return -50.0 + (5.0 / 6.0) * (k - 11);
  if (k <= 42) return -40.0 + 0.5 * (k - 23);
  if (k <= 78) return -30.0 + (5.0 / 18.0) * (k - 43);
  if (k <= 104) return -20.0 + (5.0 / 26.0) * (k - 79);
  if (k <= 142) return -15.0 + (5.0 / 38.0) * (k - 105);
  if (k <= 178) return -10.0 + (5.0 / 36.0) * (k - 143);
  if (k <= 206) return -5.0 + (5.0 / 28.0) * (k - 179);
  if (k <= 230) return (5.0 / 24.0) * (k - 207);
  return 5.0 + (5.0 / 24.0) * (k - 231);
}

}  // namespace

VolumeCurveTable BuildVolumeCurve() {
  VolumeCurveTable table{};
  for (int k = 0; k < static_cast<int>(table.size()); ++k) {
    const float db = static_cast<float>(PointDb(k));
    table[k] = {static_cast<float>(foundation::DbToGain(db)), db};
  }
  return table;
}

const VolumeCurveTable& VolumeCurve() {
  static const VolumeCurveTable table = BuildVolumeCurve();
  return table;
}

float VolumeCurveGain(float volume) {
  const VolumeCurveTable& curve = VolumeCurve();
  if (volume >= 1.0f) return curve[kVolumeCurveSteps].Gain;
  if (!(volume >= 0.0f)) return curve[0].Gain;  // below 0, or NaN
  const double p = kVolumeCurveSteps * static_cast<double>(volume);
  const int k = static_cast<int>(std::floor(p));
  if (k >= kVolumeCurveSteps) return curve[kVolumeCurveSteps].Gain;
  if (p == k) return curve[k].Gain;
  const double f = p - k;
  return static_cast<float>((1.0 - f) * curve[k].Gain + f * curve[k + 1].Gain);
}

}  // namespace audio
