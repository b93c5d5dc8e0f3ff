#include "platform/system_colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/twips.h"

namespace {

TEST(SystemColors, ReferencesResolveThroughTheFixedTable) {
  struct Case {
    int32_t colour;
    int32_t expected;
  };
  const Case cases[] = {
      {static_cast<int32_t>(0x8000000F), 0xC0C0C0},  // button face
      {static_cast<int32_t>(0x80000016), 0xDFDFDF},  // 3-D light
      {static_cast<int32_t>(0x8000000D), 0x800000},  // highlight: navy, blue in the high byte
      {static_cast<int32_t>(0x80000008), 0x000000},  // window text
      {static_cast<int32_t>(0x8000001F), 0},         // past the table: black
      {static_cast<int32_t>(0xFFFFFFFF), 0},         // -1 is a reference too, to nothing
      {0x123456, 0x123456},                          // plain colours stay
      {0x7F123456, 0x123456},                        // bits above blue are dropped
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ResolveColor(c.colour), c.expected) << std::hex << c.colour;
  }
  EXPECT_EQ(platform::GetSysColor(-1), 0);
  EXPECT_EQ(platform::GetSysColor(platform::kSysColorCount), 0);
}

TEST(SystemColors, PixelValuesSwapRedAndBlue) {
  EXPECT_EQ(platform::ColorToArgb(0x0000FF), 0xFFFF0000u);  // red
  EXPECT_EQ(platform::ColorToArgb(0xFF0000), 0xFF0000FFu);  // blue
  EXPECT_EQ(platform::ColorToArgb(static_cast<int32_t>(0x8000000D)), 0xFF000080u);
  EXPECT_EQ(platform::ArgbToColor(platform::ColorToArgb(0x00ABCDEF)), 0xABCDEF);
}

TEST(Twips, PerPixelFollowsTheLogicalResolution) {
  struct Case {
    double dpi;
    int32_t expected;
  };
  const Case cases[] = {
      {96, 15},
      {72, 20},
      {192, 8},  // 7.5 rounds to even
      {0, 15},
      {-96, 15},
      {1e12, 1},
      {0.5, 1440},
      {std::numeric_limits<double>::quiet_NaN(), 15},
      {std::numeric_limits<double>::infinity(), 15},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::TwipsPerPixelForDpi(c.dpi), c.expected) << c.dpi;
}

TEST(Twips, PixelsTruncateTowardZeroWithinScreenReach) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double twips;
    int32_t twipsPerPixel, pixels;
  } cases[] = {
      {29.9, 15, 1}, {-29.9, 15, -1}, {30, 15, 2},  {14.99, 15, 0},       {30, 0, 0},
      {30, -15, 0},  {nan, 15, 0},    {inf, 15, 0}, {1e300, 1, 10000000}, {-1e300, 1, -10000000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::TwipsToPixels(c.twips, c.twipsPerPixel), c.pixels)
        << c.twips << " / " << c.twipsPerPixel;
  }
}

}  // namespace
