#include "controls/lists/drag_over_scroll.h"

#include <cmath>

#include "controls/lists/list_scroll.h"

namespace lists {

std::optional<int32_t> DragOverScroll::Over(double x, double y, double now,
                                            const DragOverArea& area) {
  if (x != lastX_ || y != lastY_) {
    lastX_ = x;
    lastY_ = y;
    return std::nullopt;
  }
  const double elapsed = std::fabs(lastStep_ - now);
  if (elapsed > 1.0) {
    lastStep_ = now;
    return std::nullopt;
  }
  const double h = area.oneHeight;
  const double bottom = area.listHeight;
  int64_t delta = 0;
  double interval = 0;
  if (y < 0.5 * h) {
    delta = -static_cast<int64_t>(area.largeChange);
    interval = 0.02;
  } else if (y < 1.5 * h) {
    delta = -1;
    interval = 0.2;
  } else if (y > bottom - 0.5 * h) {
    delta = area.largeChange;
    interval = 0.02;
  } else if (y > bottom - 1.5 * h) {
    delta = 1;
    interval = 0.2;
  } else {
    return std::nullopt;
  }
  if (elapsed < interval) return std::nullopt;
  lastStep_ = now;
  return StepBarValue(area.value, delta, area.min, area.max);
}

}  // namespace lists
