#include "controls/lists/list_scroll.h"

#include <gtest/gtest.h>

#include "controls/lists/drag_over_scroll.h"

namespace lists {
namespace {

// A frame whose rows area is exactly `rowsHigh` twips high and 3000 twips wide without bars:
// the frame's border takes 4 pixels each way.
ScrollFrame Frame(double rowsHigh, int32_t rows, int32_t oneHeight = 300) {
  ScrollFrame f;
  f.allWidth = 3000 + 60;
  f.listTop = 300;
  f.allHeight = rowsHigh + 300 + 60;
  f.oneHeight = oneHeight;
  f.itemCount = rows;
  f.totalColumnWidth = 2000;
  return f;
}

TEST(ListScrollTest, SetVbarParmArithmetic) {
  struct Case {
    const char* what;
    ScrollFrame frame;
    bool vertical, horizontal;
    int32_t vMax, vLarge, visibleRows;
    double listWidth, listHeight;
  };
  ScrollFrame wide = Frame(2400, 3);
  wide.totalColumnWidth = 5000;
  ScrollFrame wideAndFull = Frame(2500, 8);
  wideAndFull.totalColumnWidth = 5000;
  ScrollFrame disabled = Frame(2400, 40);
  disabled.vbarDisabled = 1;
  disabled.totalColumnWidth = 5000;
  const Case cases[] = {
      {"exact fit shows the bar", Frame(2400, 8), true, false, 1, 1, 8, 2730, 2400},
      {"one row short of a fit", Frame(2400, 7), false, false, 0, 0, 8, 3000, 2400},
      {"20 rows with 8 visible", Frame(2400, 20), true, false, 13, 5, 8, 2730, 2400},
      {"empty list", Frame(2400, 0), false, false, 0, 0, 8, 3000, 2400},
      {"wide columns", wide, false, true, 0, 0, 7, 3000, 2130},
      {"the horizontal bar makes the vertical one needed", wideAndFull, true, true, 2, 2, 7, 2730,
       2230},
      {"vertical bar disabled", disabled, false, true, 0, 0, 7, 3000, 2130},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScrollFit fit = FitScrollBars(c.frame, -1);
    EXPECT_EQ(fit.vertical.visible, c.vertical);
    EXPECT_EQ(fit.horizontal.visible, c.horizontal);
    EXPECT_EQ(fit.visibleRows, c.visibleRows);
    EXPECT_DOUBLE_EQ(fit.listWidth, c.listWidth);
    EXPECT_DOUBLE_EQ(fit.listHeight, c.listHeight);
    if (c.vertical) {
      EXPECT_EQ(fit.vertical.max, c.vMax);
      EXPECT_EQ(fit.vertical.largeChange, c.vLarge);
      EXPECT_DOUBLE_EQ(fit.vertical.length, c.listHeight - 60);
    }
  }
  // A row height of 0 keeps the rows counted before.
  EXPECT_EQ(FitScrollBars(Frame(2400, 3, 0), 5).visibleRows, 5);
  // Columns far wider than the area: a standard bar stops at 32767, a slider takes it all.
  ScrollFrame huge = Frame(2400, 3);
  huge.totalColumnWidth = 100000;
  EXPECT_EQ(FitScrollBars(huge, 0).horizontal.max, kStandardBarMax);
  huge.sliderBars = true;
  EXPECT_EQ(FitScrollBars(huge, 0).horizontal.max, 97000);
  // A frame too small for anything counts no rows and divides by nothing.
  ScrollFrame tiny = Frame(-500, 3);
  tiny.allWidth = 10;
  const ScrollFit fit = FitScrollBars(tiny, 0);
  EXPECT_EQ(fit.visibleRows, 0);
  EXPECT_TRUE(fit.vertical.visible);
  EXPECT_EQ(fit.vertical.max, 4);
}

TEST(ListScrollTest, TopItemStepsAndHitRows) {
  // 20 rows, 8 visible, bar Max 13.
  EXPECT_EQ(TopItemFor(19, 20, true, 13, 8, 0, 1, 0), 13);  // near the end: the bar's Max
  EXPECT_EQ(TopItemFor(10, 20, true, 13, 8, 0, 0, 0), 6);   // centred
  EXPECT_EQ(TopItemFor(2, 20, true, 13, 8, 0, 0, 0), 0);
  EXPECT_EQ(TopItemFor(3, 20, true, 13, 8, 0, 0, 1), std::nullopt);  // visible already
  EXPECT_EQ(TopItemFor(9, 20, true, 13, 8, 0, 0, 1), 5);
  EXPECT_EQ(TopItemFor(9, 20, false, 13, 8, 4, 0, 0), 0);
  EXPECT_EQ(TopItemFor(20, 20, true, 13, 8, 4, 0, 0), std::nullopt);

  EXPECT_EQ(StepBarValue(2, -3, 0, 13), 0);
  EXPECT_EQ(StepBarValue(2, 3, 0, 13), 5);
  EXPECT_EQ(StepBarValue(12, 3, 0, 13), 13);
  EXPECT_EQ(StepBarValue(INT32_MAX, INT32_MAX, 0, INT32_MAX), INT32_MAX);

  // Row slots of 300 twips from top row 4 of 10 rows; presses are taken 4 pixels lower.
  EXPECT_EQ(RowAtY(0, 300, 4, 10), 4);
  EXPECT_EQ(RowAtY(1799, 300, 4, 10), 9);
  EXPECT_EQ(RowAtY(5000, 300, 4, 10), 10);  // below the last row: the place after it
  EXPECT_EQ(RowAtY(50, 0, 4, 10), 4);
  EXPECT_EQ(PressedRow(30, 300, 4, 10, 15), 4);   // the top 4 pixels: the top row
  EXPECT_EQ(PressedRow(330, 300, 4, 10, 15), 4);  // 4 pixels into slot 1: still slot 0
  EXPECT_EQ(PressedRow(375, 300, 4, 10, 15), 5);
  EXPECT_EQ(PressedRow(9000, 300, 4, 10, 15), 9);  // below the last row: the last row
  EXPECT_EQ(PressedRow(100, 300, 0, 0, 15), 0);
}

TEST(ListScrollTest, RestingDragOverScrolls) {
  // Rows of 300 twips in an area of 3000; bar at 6 of 0 .. 13, page 5.
  DragOverArea area{300, 3000, 6, 5, 0, 13};
  DragOverScroll s;
  struct Step {
    double y, now;
    std::optional<int32_t> value;
  };
  // Times are whole binary fractions of a second, so the intervals compare exactly.
  const Step steps[] = {
      {100, 8.0, std::nullopt},       // the pointer moved here: no scrolling
      {100, 8.0, std::nullopt},       // resting after a long pause: only starts the clock
      {100, 8.015625, std::nullopt},  // top half row: pages at most every 0.02 s
      {100, 8.03125, 1},
      {300, 8.0625, std::nullopt},  // moved
      {300, 8.125, std::nullopt},   // the row band: one row per 0.2 s
      {300, 8.25, 5},
      {1500, 8.375, std::nullopt},
      {1500, 8.875, std::nullopt},  // the middle never scrolls
      {2900, 9.0, std::nullopt},
      {2900, 9.0625, 11},  // bottom half row: a page down
      {2600, 9.125, std::nullopt},
      {2600, 9.5, 7},              // the band above it: one row down
      {2600, 11.0, std::nullopt},  // a pause: the clock starts again
  };
  int i = 0;
  for (const Step& st : steps) {
    SCOPED_TRACE(i++);
    EXPECT_EQ(s.Over(40, st.y, st.now, area), st.value);
  }
}

}  // namespace
}  // namespace lists
