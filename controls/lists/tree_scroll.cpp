#include "controls/lists/tree_scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lists {

namespace {

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// nearest(value) \ divisor: whole-number division of the rounded value, toward zero.
int64_t RoundedDiv(double value, int32_t divisor) {
  if (divisor == 0 || !std::isfinite(value)) return 0;
  const double rounded = std::clamp(std::nearbyint(value), -9.0e18, 9.0e18);
  return static_cast<int64_t>(rounded) / divisor;
}

}  // namespace

TreeBarFit FitTreeBar(int32_t treeHeight, double listHeight, int32_t oneHeight) {
  TreeBarFit fit;
  const int64_t max = RoundedDiv(double(treeHeight) - listHeight, oneHeight) + 2;
  fit.max = max < 2 ? 1 : ToInt32(max);
  int64_t page = 0;
  if (treeHeight != 0) {
    page = static_cast<int64_t>(
        std::clamp(std::nearbyint(listHeight / treeHeight * fit.max), -9.0e18, 9.0e18));
  }
  fit.largeChange = page < 2 ? 1 : ToInt32(page);
  fit.visible = !(treeHeight < listHeight);
  return fit;
}

int32_t CentredTopRow(int64_t rowBottom, double listHeight, int32_t oneHeight, int32_t barMax) {
  const int64_t top = RoundedDiv(double(rowBottom) - listHeight / 2, oneHeight);
  return ToInt32(std::clamp<int64_t>(top, 0, std::max(barMax, 0)));
}

std::optional<int32_t> TreeDragScrollStep(double y, int32_t oneHeight, double listHeight,
                                          int32_t value, int32_t min, int32_t max) {
  if (y >= oneHeight) {
    if (y > listHeight - oneHeight && int64_t{value} + 1 <= max) return value + 1;
  } else if (int64_t{value} - 1 >= min) {
    return value - 1;
  }
  return std::nullopt;
}

}  // namespace lists
