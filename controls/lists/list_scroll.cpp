#include "controls/lists/list_scroll.h"

#include <algorithm>
#include <cmath>

#include "foundation/conversions.h"
#include "platform/twips.h"

namespace lists {

namespace {

using foundation::NearestInt32Saturated;

bool RowsFill(const ScrollFrame& f, double height) {
  return f.itemCount >= 1 && f.vbarDisabled != 1 &&
         static_cast<double>(f.oneHeight) * f.itemCount >= height;
}

}  // namespace

ScrollFit FitScrollBars(const ScrollFrame& f, int32_t previousVisibleRows) {
  const double px4 = 4.0 * f.twipsPerPixel;
  ScrollFit fit;
  double h = NearestInt32Saturated(f.allHeight - f.listTop - px4);
  bool vertical = RowsFill(f, h);
  double w = NearestInt32Saturated(f.allWidth - px4 - (vertical ? f.vbarWidth : 0));
  const bool horizontal = w < f.totalColumnWidth && f.hbarDisabled == 0;
  if (horizontal) {
    h -= f.hbarHeight;
    if (!vertical && RowsFill(f, h)) {
      vertical = true;
      w -= f.vbarWidth;
    }
  }
  fit.listWidth = w;
  fit.listHeight = h;
  fit.visibleRows = previousVisibleRows;
  if (f.oneHeight > 0) {
    fit.visibleRows = std::max(0, static_cast<int32_t>(std::trunc(h / f.oneHeight)));
  }

  if (vertical) {
    BarFit& v = fit.vertical;
    v.visible = true;
    v.max = static_cast<int32_t>(
        std::max<int64_t>(1, static_cast<int64_t>(f.itemCount) - fit.visibleRows + 1));
    v.ratio = static_cast<double>(fit.visibleRows) / f.itemCount;
    v.largeChange = std::max(1, NearestInt32Saturated(v.ratio * v.max));
    v.length = h - px4;
  }
  if (horizontal) {
    BarFit& b = fit.horizontal;
    b.visible = true;
    int64_t max = static_cast<int64_t>(f.totalColumnWidth) - static_cast<int64_t>(w);
    if (!f.sliderBars) max = std::min<int64_t>(max, kStandardBarMax);
    b.max = static_cast<int32_t>(std::clamp<int64_t>(max, 1, INT32_MAX));
    // The area is narrower than the columns here, so the columns have a width.
    b.ratio = f.totalColumnWidth > 0 ? w / f.totalColumnWidth : 1.0;
    b.largeChange = std::max(1, NearestInt32Saturated(b.ratio * b.max));
    b.length = w;
  }
  return fit;
}

int32_t StepBarValue(int32_t value, int64_t delta, int32_t min, int32_t max) {
  const int64_t next = static_cast<int64_t>(value) + delta;
  if (next <= min) return min;
  if (next >= max) return max;
  return static_cast<int32_t>(next);
}

std::optional<int32_t> TopItemFor(int32_t item, int32_t itemCount, bool barVisible, int32_t barMax,
                                  int32_t visibleRows, int32_t topItem, int32_t setToTop,
                                  int32_t ifHidden) {
  if (item < 0 || item > itemCount - 1) return std::nullopt;
  if (!barVisible) return 0;
  const int64_t wanted =
      setToTop != 0 ? item : static_cast<int64_t>(item) - NearestInt32Saturated(visibleRows / 2.0);
  if (ifHidden != 0 && topItem <= item && item < static_cast<int64_t>(topItem) + visibleRows) {
    return std::nullopt;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, std::max(barMax, 0)));
}

int32_t RowAtY(double y, int32_t oneHeight, int32_t topItem, int32_t itemCount) {
  const int64_t slot = oneHeight > 0 ? NearestInt32Saturated(y) / oneHeight : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(slot + topItem, 0, std::max(itemCount, 0)));
}

int32_t PressedRow(double y, int32_t oneHeight, int32_t topItem, int32_t itemCount,
                   int32_t twipsPerPixel) {
  const int64_t slot =
      oneHeight > 0 ? NearestInt32Saturated(y - 4.0 * twipsPerPixel) / oneHeight : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(slot + topItem, 0, std::max(itemCount - 1, 0)));
}

}  // namespace lists
