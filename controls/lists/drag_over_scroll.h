#pragma once

#include <cstdint>
#include <optional>

namespace lists {

// What the resting auto-scroll needs of the list at one drag-over event.
struct DragOverArea {
  int32_t oneHeight = 0;
  double listHeight = 0;  // the rows area, twips
  int32_t value = 0;      // the vertical bar
  int32_t largeChange = 1;
  int32_t min = 0;
  int32_t max = 0;
};

// Auto-scroll while something is dragged over a list and the pointer rests: in the top half
// row it pages up at most every 0.02 s, in the band below it moves one row up at most every
// 0.2 s, and likewise down at the bottom. A moving pointer never scrolls; the first resting
// event after more than a second only starts the clock.
class DragOverScroll {
 public:
  // One drag-over event at (x, y) twips on the rows area at `now` (monotonic seconds): the new
  // bar value, or nothing when the list is not to scroll now.
  std::optional<int32_t> Over(double x, double y, double now, const DragOverArea& area);

 private:
  double lastStep_ = 0;
  double lastX_ = 0;
  double lastY_ = 0;
};

}  // namespace lists
