#pragma once

#include <cstdint>

namespace lists {

// How far the pointer must move with the left button held before a press on the rows of a
// list or tree becomes a drag, in pixels, in either direction.
inline constexpr int32_t kDragDistancePixels = 8;

// Where the left button went down on the rows (twips), kept until the release or the start of
// a drag, so that one press starts at most one drag.
class DragOrigin {
 public:
  void Set(double x, double y) {
    x_ = x;
    y_ = y;
  }
  // Back to (-1, -1): no press to drag from.
  void Clear() { Set(-1, -1); }
  bool IsSet() const { return x_ != -1 && y_ != -1; }
  double X() const { return x_; }
  double Y() const { return y_; }
  // True, and the origin cleared, when (x, y) lies more than the drag distance from a set
  // origin in x or in y.
  bool TakeDragAt(double x, double y, int32_t twipsPerPixel);

 private:
  double x_ = -1;
  double y_ = -1;
};

}  // namespace lists
