#include "controls/lists/drag_origin.h"

#include <cmath>

namespace lists {

bool DragOrigin::TakeDragAt(double x, double y, int32_t twipsPerPixel) {
  if (!IsSet()) return false;
  const double reach = double(kDragDistancePixels) * twipsPerPixel;
  if (std::fabs(x - x_) <= reach && std::fabs(y - y_) <= reach) return false;
  Clear();
  return true;
}

}  // namespace lists
