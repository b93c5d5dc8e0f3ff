#include "foundation/colors.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using foundation::BlendColor;
using foundation::MakeRgb;
using foundation::SplitRgb;

constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000F);

TEST(Colors, SplitAndMakeChannels) {
  int16_t r = -1, g = -1, b = -1;
  SplitRgb(0x123456, r, g, b);
  EXPECT_EQ(r, 0x56);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x12);
  // A system colour reference is resolved before splitting: never a negative channel.
  SplitRgb(static_cast<int32_t>(0x8000000D), r, g, b);  // highlight: navy
  EXPECT_EQ(r, 0);
  EXPECT_EQ(b, 0x80);
  SplitRgb(0x7F000001, r, g, b);  // bits above blue are not a channel
  EXPECT_EQ(r, 1);
  EXPECT_EQ(b, 0);

  EXPECT_EQ(MakeRgb(-5, 300, 128), 0x80FF00);
  EXPECT_EQ(MakeRgb(INT32_MIN, INT32_MAX, 0), 0x00FF00);
}

TEST(Colors, BlendShiftsOrScalesWithClampingAndEvenHalves) {
  struct Case {
    int32_t colour, dr, dg, db;
    float factor;
    int32_t expected;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {0xF0F0F0, 60, 60, 60, -1, 0xFFFFFF},
      {0xFFFFFF, 0, 0, 0, 0.5f, 0x808080},      // 127.5 becomes 128
      {0xFDFDFD, 0, 0, 0, 0.5f, 0x7E7E7E},      // 126.5 becomes 126
      {0x285064, -40, -40, -40, -1, 0x00283C},  // darkens by 40, stops at 0
      {0x102030, 99, 99, 99, 2.0f, 0x204060},   // deltas ignored when scaling
      {0xC0C0C0, 0, 0, 0, 1.1f, 0xD3D3D3},      // 211.2
      {0x102030, 0, 0, 0, -2.0f, 0x000000},
      {0x123456, 0, 0, 0, 1e30f, 0xFFFFFF},
      {0x123456, INT32_MAX, INT32_MIN, 0, -1, 0x1200FF},
      {0x808080, 0, 0, 0, nan, 0},
      // The type colour's alternate: a system reference is resolved first.
      {kButtonFace, 60, 60, 60, -1, 0xFCFCFC},
      {kButtonFace, 0, 0, 0, 0.5f, 0x606060},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlendColor(c.colour, c.dr, c.dg, c.db, c.factor), c.expected)
        << std::hex << c.colour << " " << c.factor;
  }
}

TEST(Colors, SystemTonesKeepTheHueAtAFixedBrightness) {
  EXPECT_EQ(foundation::SysColorToRgb(1), 0xC8C8C8);  // face &HC0C0C0 brought to 200
  EXPECT_EQ(foundation::SysColorToRgb(2), 0x6E6E6E);  // shadow &H808080 to 110
  EXPECT_EQ(foundation::SysColorToRgb(-1), 0);
  EXPECT_EQ(foundation::SysColorToRgb(4), 0);

  EXPECT_EQ(foundation::ToneOfColor(0x000001, 200), 0);                     // mean rounds to 0
  EXPECT_EQ(foundation::ToneOfColor(0x0000FF, 60), 0x0000B4);               // red 255, mean 85: 180
  EXPECT_EQ(foundation::ToneOfColor(0x00FF80, 200), MakeRgb(200, 398, 0));  // mean 128
  EXPECT_EQ(foundation::ToneOfColor(kButtonFace, 200), 0xC8C8C8);
}

struct ColourTarget {
  int32_t back = -7;
  int32_t fore = -7;
  void SetBackColor(int32_t c) { back = c; }
  void SetForeColor(int32_t c) { fore = c; }
};

TEST(Colors, DesignColourPairs) {
  // -1 takes the caller's pair; designs outside the table leave the control alone.
  const struct {
    int32_t design, back, fore;
  } cases[] = {{-1, 0x111111, 0x222222},
               {0, 0, kButtonFace},
               {6, 0x303030, 0xD0D0D0},
               {-2, -7, -7},
               {7, -7, -7}};
  for (const auto& c : cases) {
    ColourTarget t;
    foundation::SetDesignColors(t, c.design, 0x222222, 0x111111);
    EXPECT_EQ(t.back, c.back) << c.design;
    EXPECT_EQ(t.fore, c.fore) << c.design;
  }
}

}  // namespace
