#include "audio/volume_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/conversions.h"

namespace audio {
namespace {

TEST(VolumeCurve, PointsFollowTheDecibelBands) {
  const VolumeCurveTable& curve = VolumeCurve();
  struct Point {
    int k;
    double db;
  };
  // Points on both sides of the band edges.
  const Point points[] = {{0, -99.9}, {1, -99.9},       {2, -96},    {3, -90},
                          {10, -55},  {11, -50},        {42, -30.5}, {43, -30},
                          {179, -5},  {206, -5.0 / 28}, {207, 0},    {255, 10}};
  for (const Point& p : points) {
    EXPECT_NEAR(curve[p.k].Db, p.db, 1e-4) << p.k;
    EXPECT_FLOAT_EQ(curve[p.k].Gain, static_cast<float>(foundation::DbToGain(curve[p.k].Db)))
        << p.k;
  }
  EXPECT_EQ(curve[kVolumeCurveSteps].Gain, 1.0f);
  for (size_t k = 1; k < curve.size(); ++k) EXPECT_GE(curve[k].Db, curve[k - 1].Db) << k;
}

TEST(VolumeCurve, GainOfAVolume) {
  const VolumeCurveTable& curve = VolumeCurve();
  EXPECT_EQ(VolumeCurveGain(1.0f), 1.0f);
  EXPECT_EQ(VolumeCurveGain(7.0f), 1.0f);
  const float bottom = curve[0].Gain;
  EXPECT_GT(bottom, 0.0f) << "silence is -99.9 dB, not 0";
  for (float v : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(VolumeCurveGain(v), bottom) << v;
  // 0.5 lies half way between points 103 and 104.
  EXPECT_NEAR(VolumeCurveGain(0.5f), (curve[103].Gain + curve[104].Gain) / 2, 1e-6);
  EXPECT_NEAR(VolumeCurveGain(179.0f / 207), curve[179].Gain, 1e-6);
  float last = 0;
  for (int i = 0; i <= 1000; ++i) {
    const float gain = VolumeCurveGain(i / 1000.0f);
    EXPECT_GE(gain, last) << i;
    last = gain;
  }
}

}  // namespace
}  // namespace audio
