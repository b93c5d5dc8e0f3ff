#include "foundation/design_maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/colors.h"

// The painter's pixel tests (design_painter_gui_test) check the outline points, shades and
// texture rows in place; these cases hold the arithmetic's edges.
namespace {

using foundation::ColorRamp;

TEST(DesignMaths, ShadesUseTheFixedWeightsAndSystemTones) {
  // The weights sum to .99, so white and white give 252, not 255; channels stay apart.
  EXPECT_EQ(foundation::DesignShades({0xFFFFFF, 0xFFFFFF, 0})[1], 0xFCFCFC);
  EXPECT_EQ(foundation::DesignShades({0x0000FF, 0, 0xFF0000})[4], 0x540000);  // .33 × 255 = 84.15

  const foundation::DesignColors tones = foundation::ResolveDesignColors(-1, -1, -1);
  EXPECT_EQ(tones.c1, foundation::SysColorToRgb(0));
  EXPECT_EQ(tones.c3, foundation::SysColorToRgb(2));
  // Only -1 stands for the tone; another system reference is kept and resolved when split.
  const foundation::DesignColors face = foundation::ResolveDesignColors(0x8000000F, 5, -2);
  EXPECT_EQ(face.c1, static_cast<int32_t>(0x8000000F));
  EXPECT_EQ(foundation::DesignShades(face)[0], 0xC0C0C0);
}

TEST(DesignMaths, RampsRoundHalvesToEvenAndRefuseZeroDivisors) {
  // Red 0 → 5 over 2 steps: 2.5 rounds to 2; 0 → 3 over 2: 1.5 rounds to 2.
  const auto ramp = ColorRamp::Between(0, 0x000305, 2.0f);
  ASSERT_TRUE(ramp);
  EXPECT_EQ(ramp->At(1), 0x000202);
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
}

TEST(DesignMaths, WholeNumberStepsAreGuarded) {
  EXPECT_EQ(foundation::PixelsOfTwips(22.5, 15), 1);  // 22.5 → 22 (half to even) → 1
  EXPECT_EQ(foundation::PixelsOfTwips(29.5, 15), 2);  // 29.5 → 30 → 2
  EXPECT_FALSE(foundation::PixelsOfTwips(600, 0));
  EXPECT_FALSE(foundation::PixelsOfTwips(std::nan(""), 15));

  EXPECT_EQ(foundation::IntDivide(-3, 2), -1);  // truncates toward zero
  EXPECT_FALSE(foundation::IntDivide(7, 0));

  EXPECT_FLOAT_EQ(*foundation::RingHalfWidth(5, 1), 3.0f);  // √(25 − 16)
  EXPECT_FALSE(foundation::RingHalfWidth(5, 11));           // 25 − 36 < 0
  EXPECT_TRUE(foundation::RingHalfWidth(46340, 1));
  EXPECT_FALSE(foundation::RingHalfWidth(46341, 1));  // R² past the 32-bit range

  // A counter past a full turn of the rounded outline starts over.
  const auto start = foundation::RoundedOutlinePoint(0, 0, 30, 21, 6, 0);
  const auto wrapped = foundation::RoundedOutlinePoint(0, 0, 30, 21, 6, 190);
  EXPECT_EQ(wrapped.x, start.x);
  EXPECT_EQ(wrapped.y, start.y);
  EXPECT_EQ(foundation::OutlineShade(0xFFFFFF, 0, 1, 4), 0x808080);
}

}  // namespace
