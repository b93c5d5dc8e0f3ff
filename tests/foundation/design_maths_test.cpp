#include "foundation/design_maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/colors.h"

namespace {

using foundation::ColorRamp;
using foundation::DesignColors;

TEST(DesignMaths, ShadesUseTheFixedWeightsAndSystemTones) {
  // White, grey 130, grey 26: k1 = .66 × 255 + .33 × 130 = 211.2; k5 = 42.9 + 17.16 = 60.06;
  // k7 = 17.16; k8 = 8.58. The weights sum to .99, so white and white give 252, not 255.
  const auto k = foundation::DesignShades({0xFFFFFF, 0x828282, 0x1A1A1A});
  const std::array<int32_t, 9> want = {0xFFFFFF, 0xD3D3D3, 0xAAAAAA, 0x828282, 0x5E5E5E,
                                       0x3C3C3C, 0x1A1A1A, 0x111111, 0x090909};
  EXPECT_EQ(k, want);
  EXPECT_EQ(foundation::DesignShades({0xFFFFFF, 0xFFFFFF, 0})[1], 0xFCFCFC);
  // Channels stay apart: red only in c1, blue only in c3.
  EXPECT_EQ(foundation::DesignShades({0x0000FF, 0, 0xFF0000})[4], 0x540000);  // .33 × 255 = 84.15

  const DesignColors tones = foundation::ResolveDesignColors(-1, -1, -1);
  EXPECT_EQ(tones.c1, foundation::SysColorToRgb(0));
  EXPECT_EQ(tones.c2, foundation::SysColorToRgb(1));
  EXPECT_EQ(tones.c3, foundation::SysColorToRgb(2));
  // Only -1 stands for the tone; another system reference is kept and resolved when split.
  const DesignColors face = foundation::ResolveDesignColors(0x8000000F, 5, -2);
  EXPECT_EQ(face.c1, static_cast<int32_t>(0x8000000F));
  EXPECT_EQ(foundation::DesignShades(face)[0], 0xC0C0C0);
}

TEST(DesignMaths, RampsRoundHalvesToEvenAndRefuseZeroDivisors) {
  // Red 0 → 5 over 2 steps: 2.5 rounds to 2; 0 → 3 over 2: 1.5 rounds to 2.
  const auto ramp = ColorRamp::Between(0, 0x000305, 2.0f);
  ASSERT_TRUE(ramp);
  EXPECT_EQ(ramp->At(0), 0);
  EXPECT_EQ(ramp->At(1), 0x000202);
  EXPECT_EQ(ramp->At(2), 0x000305);
  EXPECT_EQ(ramp->At(200), 0x00FFFF);               // past the end: clamped to 255 by MakeRgb
  EXPECT_EQ(ramp->Reversed(0xFF).At(1), 0x0000FC);  // 255 − 2.5 = 252.5 → 252 for red; green 0
  EXPECT_FALSE(ColorRamp::Between(0, 0xFFFFFF, 0.0f));
  EXPECT_FALSE(ColorRamp::Between(0, 0xFFFFFF, std::numeric_limits<float>::infinity()));

  // |c3 − c2| per channel: falling from c2 = (100, 0, 0) against c3 = (0, 0, 100).
  const auto falling = ColorRamp::AbsoluteStep(100, 100, 0x640000, 10.0f, -1);
  ASSERT_TRUE(falling);
  EXPECT_EQ(falling->At(5), 0x000032);  // red 50; blue 0 − 50 clamps to 0
  EXPECT_FALSE(ColorRamp::AbsoluteStep(0, 0, 0, 0.0f, 1));

  EXPECT_EQ(foundation::MixColors(0, 0xFFFFFF, 0.5f), 0x808080);  // 127.5 → 128
  EXPECT_EQ(foundation::MixColors(0x0000C8, 0xC80000, 0.25f), 0x320096);
}

TEST(DesignMaths, WholeNumberStepsAreGuarded) {
  EXPECT_EQ(foundation::PixelsOfTwips(600, 15), 40);
  EXPECT_EQ(foundation::PixelsOfTwips(22.5, 15), 1);  // 22.5 → 22 (half to even) → 1
  EXPECT_EQ(foundation::PixelsOfTwips(29.5, 15), 2);  // 29.5 → 30 → 2
  EXPECT_FALSE(foundation::PixelsOfTwips(600, 0));
  EXPECT_FALSE(foundation::PixelsOfTwips(std::nan(""), 15));

  EXPECT_EQ(foundation::IntDivide(-3, 2), -1);  // truncates toward zero
  EXPECT_FALSE(foundation::IntDivide(7, 0));

  EXPECT_FLOAT_EQ(*foundation::RingHalfWidth(20, 20), 20.0f);
  EXPECT_FLOAT_EQ(*foundation::RingHalfWidth(5, 1), 3.0f);  // √(25 − 16)
  EXPECT_FALSE(foundation::RingHalfWidth(5, 11));           // 25 − 36 < 0
  EXPECT_TRUE(foundation::RingHalfWidth(46340, 1));
  EXPECT_FALSE(foundation::RingHalfWidth(46341, 1));  // R² past the 32-bit range
}

TEST(DesignMaths, OutlinePointsAndShades) {
  // The square: counter 3.5 of 4 is 315°, then 45°, 135°, 225° (y grows downward).
  struct Case {
    double counter;
    int32_t x, y;
  };
  for (const Case& c :
       {Case{3.5, 26, 14}, Case{4.5, 26, 26}, Case{5.5, 14, 26}, Case{6.5, 14, 14}}) {
    const auto p = foundation::CirclePoint(20, 20, 8, c.counter, 4);
    EXPECT_EQ(p.x, c.x) << c.counter;
    EXPECT_EQ(p.y, c.y) << c.counter;
  }
  // Rounded outline of (0, 0)-(30, 21), r = 6: each quadrant of the counter picks its corner.
  const auto bottomRight = foundation::RoundedOutlinePoint(0, 0, 30, 21, 6, 0);  // 0°
  EXPECT_EQ(bottomRight.x, 29);  // x2 − r − 1 + r
  EXPECT_EQ(bottomRight.y, 13);  // y2 − r − 2
  const auto topLeft = foundation::RoundedOutlinePoint(0, 0, 30, 21, 6, 95 + 47.5 / 2);  // 225°
  EXPECT_EQ(topLeft.x, 2);  // 6 − 4.24
  EXPECT_EQ(topLeft.y, 2);
  const auto wrapped = foundation::RoundedOutlinePoint(0, 0, 30, 21, 6, 190);  // a full turn on
  EXPECT_EQ(wrapped.x, bottomRight.x);
  EXPECT_EQ(wrapped.y, bottomRight.y);

  EXPECT_EQ(foundation::OutlineShade(0xFFFFFF, 0, 0, 190), 0xFFFFFF);
  EXPECT_EQ(foundation::OutlineShade(0xFFFFFF, 0, 95, 190), 0);
  EXPECT_EQ(foundation::OutlineShade(0xFFFFFF, 0, 190, 190), 0xFFFFFF);
  EXPECT_EQ(foundation::OutlineShade(0xFFFFFF, 0, 1, 4), 0x808080);
}

TEST(DesignMaths, TextureRows) {
  EXPECT_EQ(foundation::TextureGrey(0), 0xC4BDBE);
  EXPECT_EQ(foundation::TextureGrey(28), 0xD3CECE);
  EXPECT_EQ(foundation::TextureGrey(29), 0xC4BDBE);
  EXPECT_EQ(foundation::TextureGrey(-1), 0xD3CECE);
  // A 30-row picture: rows 1 .. 19 lightened (row 1 by 57), rows 20 .. 30 darkened (20 by 30,
  // 30 by 60); no row gets both.
  EXPECT_EQ(foundation::TextureRowShift(1, 30), 57);
  EXPECT_EQ(foundation::TextureRowShift(19, 30), 3);
  EXPECT_EQ(foundation::TextureRowShift(20, 30), -30);
  EXPECT_EQ(foundation::TextureRowShift(30, 30), -60);
  EXPECT_EQ(foundation::TextureRowShift(40, 100), 0);
  EXPECT_EQ(foundation::TextureRowShift(81, 100), -3);
}

}  // namespace
