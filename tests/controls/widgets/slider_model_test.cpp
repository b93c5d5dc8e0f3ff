#include "controls/widgets/slider_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace widgets {
namespace {

// A horizontal bar 3000 × 270 twips at 15 twips per pixel: arrows of 270, a track of 2445 twips
// (inner 2385 × 210) and the default pointer of 480, which leaves 1905 twips of travel.
SliderModel HorizontalBar() {
  SliderModel model;
  SliderLayout layout;
  EXPECT_TRUE(model.Layout(3000, 270, &layout));
  EXPECT_TRUE(model.FitPointer(layout.track));
  return model;
}

TEST(SliderModelTest, ValueAssignmentLimitsAndPlacesThePointer) {
  struct Case {
    int32_t min, max, value;
    int32_t stored;
    double position;
  } const cases[] = {
      {0, 1000, 500, 500, 952},     // 952.5 rounds to even
      {0, 1000, 1, 1, 2},           // 1.905
      {0, 1000, 5000, 1000, 1905},  // capped at Max
      {0, 1000, -5, 0, 0},          // raised to Min
      {10, 5, 7, 10, 0},            // Min wins over Max
      {-500, 500, 0, 0, 952},
  };
  for (const Case& c : cases) {
    SliderModel model = HorizontalBar();
    model.SetMin(c.min);
    model.SetMax(c.max);
    const auto position = model.SetSliderValue(c.value);
    ASSERT_TRUE(position.has_value()) << c.value;
    EXPECT_EQ(model.Value(), c.stored) << c.value;
    EXPECT_DOUBLE_EQ(*position, c.position) << c.value;
  }

  // An empty range changes nothing.
  SliderModel model = HorizontalBar();
  ASSERT_TRUE(model.SetSliderValue(300).has_value());
  model.SetMax(0);
  EXPECT_FALSE(model.SetSliderValue(800).has_value());
  EXPECT_FALSE(model.PositionToValue(800).has_value());
  EXPECT_EQ(model.Value(), 300);

  // The widest bounds neither overflow nor wrap.
  model.SetMin(std::numeric_limits<int32_t>::min());
  model.SetMax(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(model.Range(), 4294967295LL);
  EXPECT_EQ(model.SetSliderValue(std::numeric_limits<int32_t>::max()), 1905);
  ASSERT_TRUE(model.PositionToValue(5000).has_value());
  EXPECT_EQ(model.Value(), std::numeric_limits<int32_t>::max());
}

TEST(SliderModelTest, PositionToValueHoldsTheEnds) {
  struct Case {
    int32_t position;
    int32_t value;
    double drawn;
  } const cases[] = {
      {952, 500, 952},     // 499.74
      {3000, 1000, 1905},  // past the end: held at Max, pointer at the end
      {-100, 0, 0},        // before the start: held at Min
  };
  for (const Case& c : cases) {
    SliderModel model = HorizontalBar();
    const auto drawn = model.PositionToValue(c.position);
    ASSERT_TRUE(drawn.has_value()) << c.position;
    EXPECT_EQ(model.Value(), c.value) << c.position;
    EXPECT_DOUBLE_EQ(*drawn, c.drawn) << c.position;
  }
}

TEST(SliderModelTest, APointerWithoutTravelIsNeverDividedBy) {
  SliderModel model = HorizontalBar();
  model.LetPointerSize(2385);  // the whole inner length
  EXPECT_EQ(model.TrackLength(), 0);
  EXPECT_FALSE(model.PositionToValue(100).has_value());
  model.LetPointerSize(9000);  // longer than the track
  EXPECT_LT(model.TrackLength(), 0);
  EXPECT_FALSE(model.PositionToValue(100).has_value());
  const auto position = model.SetSliderValue(700);
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(model.Value(), 700);
  EXPECT_DOUBLE_EQ(*position, 0);
}

TEST(SliderModelTest, PointerRateIsAShareOfTheInnerLength) {
  struct Case {
    float rate;
    int32_t size;
  } const cases[] = {
      {0.5F, 1192},                                    // 1192.5 to even
      {1.0F, 2266},                                    // 1 counts as 0.95
      {0.01F, 120},                                    // at least 8 pixels
      {std::numeric_limits<float>::quiet_NaN(), 120},  //
      {std::numeric_limits<float>::infinity(), 2266},  //
  };
  for (const Case& c : cases) {
    SliderModel model = HorizontalBar();
    ASSERT_TRUE(model.SetPointerRate(c.rate));
    EXPECT_EQ(model.PointerSize(), c.size) << c.rate;
  }
  SliderModel vertical;
  vertical.IsVertical = 1;
  SliderLayout layout;
  ASSERT_TRUE(vertical.Layout(270, 3000, &layout));
  ASSERT_TRUE(vertical.SetPointerRate(0.5F));
  EXPECT_EQ(vertical.PointerSize(), 1192);  // of the height
  ASSERT_TRUE(vertical.FitPointer(layout.track));
  EXPECT_EQ(vertical.TrackLength(), 2385 - 1192);
}

TEST(SliderModelTest, LayoutPlacesTrackAndArrows) {
  SliderModel model;
  SliderLayout h;
  ASSERT_TRUE(model.Layout(3000, 270, &h));
  EXPECT_DOUBLE_EQ(h.track.left, 285);
  EXPECT_DOUBLE_EQ(h.track.width, 2445);
  EXPECT_DOUBLE_EQ(h.arrow[1].left, 2730);
  EXPECT_EQ(h.arrowImageX[0], 6);  // 270 \ 30 - 3
  EXPECT_EQ(h.arrowImageY[0], 4);  // 270 \ 30 - 5
  EXPECT_DOUBLE_EQ(model.InnerWidth(), 2385);

  model.IsVertical = 1;
  SliderLayout v;
  ASSERT_TRUE(model.Layout(270, 3000, &v));
  EXPECT_DOUBLE_EQ(v.track.top, 285);
  EXPECT_DOUBLE_EQ(v.track.height, 2445);
  EXPECT_DOUBLE_EQ(v.arrow[1].top, 2730);
  EXPECT_EQ(v.arrowImageX[1], 4);
  EXPECT_EQ(v.arrowImageY[1], 6);

  model.NoArrow = 1;
  SliderLayout bare;
  ASSERT_TRUE(model.Layout(270, 3000, &bare));
  EXPECT_FALSE(bare.arrowsVisible);
  EXPECT_DOUBLE_EQ(bare.track.top, 0);
  EXPECT_DOUBLE_EQ(bare.track.height, 3000);
}

TEST(SliderModelTest, TinyAndUnscaledLayouts) {
  for (int vertical = 0; vertical < 2; ++vertical) {
    for (double side : {0.0, 1.0, 15.0, 100.0, -300.0}) {
      SliderModel model;
      model.IsVertical = vertical;
      SliderLayout layout;
      ASSERT_TRUE(model.Layout(side, side, &layout));
      EXPECT_GE(layout.track.width, 0);
      EXPECT_GE(layout.track.height, 0);
      EXPECT_GE(model.InnerWidth(), 15);
      EXPECT_GE(model.InnerHeight(), 15);
      ASSERT_TRUE(model.FitPointer(layout.track));
      EXPECT_LT(model.TrackLength(), 0);  // the default pointer does not fit
      EXPECT_FALSE(model.PositionToValue(10).has_value());
    }
  }
  SliderModel unscaled;
  unscaled.SetTwipsPerPixel(0);
  SliderLayout layout;
  EXPECT_FALSE(unscaled.Layout(3000, 270, &layout));
  EXPECT_FALSE(unscaled.FitPointer(layout.track));
  EXPECT_FALSE(unscaled.SetPointerRate(0.5F));
  EXPECT_TRUE(unscaled.GripLines().empty());
  EXPECT_FALSE(unscaled.EndLine().has_value());
  unscaled.SetTwipsPerPixel(-4);
  EXPECT_EQ(unscaled.TwipsPerPixel(), 0);
}

TEST(SliderModelTest, GripAndEndLines) {
  SliderModel model;
  EXPECT_EQ(model.GripLines(), (std::vector<double>{60, 390}));
  EXPECT_EQ(model.EndLine(), 465);
  model.CenterLined = true;
  EXPECT_EQ(model.GripLines(), (std::vector<double>{225}));  // (480 \ 30 - 1) × 15
  model.NoGrad = 1;
  EXPECT_EQ(model.GripLines(), (std::vector<double>{225}));
  EXPECT_FALSE(model.EndLine().has_value());
  model.CenterLined = false;
  EXPECT_TRUE(model.GripLines().empty());
}

TEST(SliderModelTest, GrabbingAndDragging) {
  SliderModel model = HorizontalBar();
  model.SetPointerPos(300);
  EXPECT_EQ(model.PressAt(400), 300);  // inside the pointer: held where it was hit
  EXPECT_FLOAT_EQ(model.GrabOffset(), 100);
  EXPECT_EQ(model.DragTo(900), 800);
  EXPECT_FALSE(model.DragTo(900).has_value());  // no movement
  EXPECT_EQ(model.DragTo(901), 801);
  EXPECT_EQ(model.PressAt(1500), 1260);  // outside: centred on the cursor
  EXPECT_FLOAT_EQ(model.GrabOffset(), 240);
  EXPECT_EQ(model.PressAt(300), 60);  // the pointer's very edge is outside it
  EXPECT_EQ(model.PressAt(std::nan("")), -240);
  EXPECT_FALSE(model.DragTo(std::nan("")).has_value());
}

TEST(SliderModelTest, ArrowStepsBySmallChangeWithinTheBounds) {
  SliderModel model = HorizontalBar();
  std::optional<double> position;
  EXPECT_EQ(model.ArrowStep(&position), -1);  // no arrow held

  model.ArrowPressed[1] = 1;
  EXPECT_EQ(model.ArrowStep(&position), 1);
  EXPECT_EQ(model.Value(), 10);
  model.SmallChange = 5000;
  EXPECT_EQ(model.ArrowStep(&position), 1);
  EXPECT_EQ(model.Value(), 1000);
  EXPECT_EQ(model.ArrowStep(&position), 1);  // at the bound: still a step
  EXPECT_EQ(model.Value(), 1000);
  ASSERT_TRUE(position.has_value());
  EXPECT_DOUBLE_EQ(*position, 1905);

  model.ArrowPressed[0] = 1;  // arrow 0 goes first
  EXPECT_EQ(model.ArrowStep(&position), 0);
  EXPECT_EQ(model.Value(), 0);

  model.SetMin(std::numeric_limits<int32_t>::min());
  model.SmallChange = std::numeric_limits<int32_t>::max();
  model.SetSliderValue(std::numeric_limits<int32_t>::min() + 1);
  EXPECT_EQ(model.ArrowStep(&position), 0);
  EXPECT_EQ(model.Value(), std::numeric_limits<int32_t>::min());
}

}  // namespace
}  // namespace widgets
