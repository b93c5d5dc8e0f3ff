#include "controls/widgets/check_model.h"

#include <gtest/gtest.h>

#include <limits>

namespace widgets {
namespace {

TEST(CheckModelTest, BoxSizeFollowsTheSizeRate) {
  EXPECT_EQ(CheckBoxSize(1.0F), 240);
  EXPECT_EQ(CheckBoxSize(1.5F), 360);
  for (float rate : {0.0F, -2.0F, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(CheckBoxSize(rate), 0) << rate;
  }
}

TEST(CheckModelTest, TheSmallerOfBoxAndLineIsCentred) {
  const CheckTops tallText = CheckLayoutTops(270, 240);
  EXPECT_DOUBLE_EQ(tallText.box, 15);
  EXPECT_DOUBLE_EQ(tallText.text, 0);
  const CheckTops bigBox = CheckLayoutTops(180, 360);
  EXPECT_DOUBLE_EQ(bigBox.box, 0);
  EXPECT_DOUBLE_EQ(bigBox.text, 90);
}

TEST(CheckModelTest, TickOutlineInPixels) {
  const auto one = CheckTickPoints(1.0F, 15, 2);
  const int expected[5][2] = {{3, 9}, {7, 13}, {12, 5}, {6, 11}, {3, 9}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(one[i].x, expected[i][0]) << i;
    EXPECT_EQ(one[i].y, expected[i][1]) << i;
  }
  const auto big = CheckTickPoints(1.5F, 15, 0);
  EXPECT_EQ(big[2].x, 18);  // 270 \ 15
  EXPECT_EQ(big[2].y, 4);   // 67.5 -> 68, \ 15
  EXPECT_EQ(big[0].x, big[4].x);
  EXPECT_EQ(big[0].y, big[4].y);
  for (const PixelPoint& p : CheckTickPoints(1.0F, 0, 7)) {
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 7);
  }
}

TEST(CheckModelTest, OptionDotStaysInTheBoxMiddle) {
  const CheckDot one = OptionDot(1.0F, 30);
  EXPECT_DOUBLE_EQ(one.x, 105);
  EXPECT_DOUBLE_EQ(one.y, 135);
  EXPECT_DOUBLE_EQ(one.radius, 60);
  EXPECT_DOUBLE_EQ(OptionDot(2.0F, 0).radius, 120);
}

TEST(CheckModelTest, ClickRules) {
  struct Case {
    int32_t isOption, before, after;
  } const cases[] = {
      {0, 0, 1}, {0, 1, 0}, {0, 2, 1}, {0, -1, 1},  // check box
      {1, 0, 1}, {1, 1, 1}, {1, 2, 2}, {5, 0, 1},   // option
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClickedCheckValue(c.isOption, c.before), c.after) << c.isOption << " " << c.before;
  }
}

}  // namespace
}  // namespace widgets
