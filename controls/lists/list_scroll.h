#pragma once

#include <cstdint>
#include <optional>

namespace lists {

// The scroll arithmetic of a list view, free of drawing: which bars a list needs, their ranges
// and page sizes, the size of the rows area, and the rows under a point. Sizes are twips.

// The largest value a standard horizontal scroll bar takes (own slider bars take any).
inline constexpr int32_t kStandardBarMax = 32767;

// What SetVbarParm reads.
struct ScrollFrame {
  double allWidth = 0;  // the frame holding header, rows and bars, border included
  double allHeight = 0;
  double listTop = 0;  // the rows area's top: the header's height (0 without a header)
  int32_t twipsPerPixel = 15;
  int32_t oneHeight = 0;  // row height
  int32_t itemCount = 0;
  int32_t totalColumnWidth = 0;
  int32_t vbarDisabled = 0;  // 1: never a vertical bar
  int32_t hbarDisabled = 0;  // non-zero: never a horizontal bar
  double vbarWidth = 270;
  double hbarHeight = 270;
  bool sliderBars = false;
};

// One bar as SetVbarParm sets it.
struct BarFit {
  bool visible = false;
  int32_t max = 1;
  int32_t largeChange = 1;
  double length = 0;  // the vertical bar's height, the horizontal bar's width
  double ratio = 0;   // the share of the whole that is shown (the slider's pointer size)
};

struct ScrollFit {
  double listWidth = 0;
  double listHeight = 0;
  int32_t visibleRows = 0;
  BarFit vertical;
  BarFit horizontal;
};

// The bars and the rows area for a frame. The vertical bar is needed when the rows fill the
// area or more (equality included), the horizontal one when the columns are wider than the
// area; either may make the other needed. visibleRows keeps `previousVisibleRows` while the
// row height is 0. Vertical: Max = ItemCount - VisibleRows + 1 (one more than the last full
// page), LargeChange = nearest(VisibleRows / ItemCount x Max); both at least 1.
ScrollFit FitScrollBars(const ScrollFrame& frame, int32_t previousVisibleRows);

// A bar's value moved by `delta`, held to min .. max.
int32_t StepBarValue(int32_t value, int64_t delta, int32_t min, int32_t max);

// The top row that brings row `item` into view (SetTopItem): with the bar hidden 0; with it
// shown `item` itself (setToTop) or the row that centres it, held to 0 .. barMax; nothing when
// `item` is no row, or when ifHidden is set and the row is already visible.
std::optional<int32_t> TopItemFor(int32_t item, int32_t itemCount, bool barVisible, int32_t barMax,
                                  int32_t visibleRows, int32_t topItem, int32_t setToTop,
                                  int32_t ifHidden);

// YsItem: the row slot under y (twips from the rows area's top) plus the top row, held to
// 0 .. itemCount (below the last row: itemCount, the place after it).
int32_t RowAtY(double y, int32_t oneHeight, int32_t topItem, int32_t itemCount);

// The row a press at y hits: slots are taken 4 pixels lower than they are drawn, held to the
// rows (0 when there are none).
int32_t PressedRow(double y, int32_t oneHeight, int32_t topItem, int32_t itemCount,
                   int32_t twipsPerPixel);

}  // namespace lists
