#pragma once

#include <cstdint>
#include <vector>

#include "controls/lists/tree_model.h"

namespace lists {

// Indentation per level of a tree, twips, and the left margin of level 0, pixels.
inline constexpr int32_t kTreeIndentTwips = 255;
inline constexpr int32_t kTreeMarginPixels = 2;

// The row geometry of a tree, twips: the row height and the expand box's marks at 0.3, 0.5 and
// 0.75 of it (each the nearest whole twip, halves to even).
struct TreeRowMetrics {
  int32_t oneHeight = 0;
  int32_t markNear = 0;
  int32_t markMid = 0;
  int32_t markFar = 0;
  int32_t twipsPerPixel = 15;
};
TreeRowMetrics TreeMetricsFor(int32_t oneHeight, int32_t twipsPerPixel);

// One shown row inside the rows area.
struct TreeRowPlace {
  int32_t index = 0;
  double x0 = 0;           // the item's indentation: Level x 255 twips + 2 pixels
  double y = 0;            // the row's top
  bool connector = false;  // a connector runs up to the row (every item but item 0)
  double lineFrom = 0;     // where that connector starts
};

// What draws the rows the layout decides on.
class TreeRowPainter {
 public:
  virtual ~TreeRowPainter() = default;
  virtual void Row(const TreeRowPlace& place, const TreeItem& item) = 0;
  // The connector of a level that runs on below the rows area: at x from `fromY` down to the
  // area's bottom.
  virtual void RunOn(double x, double fromY) = 0;
};

// Lays the shown items out from row `topRow` on a rows area `areaHeight` twips high and has
// them painted. A shown row is drawn when its bottom edge, counted from the top of the whole
// tree, lies from topRow x oneHeight to that plus areaHeight (both ends included); drawn rows
// stack from the area's top. Every item's RowTop is set (-1 for rows not drawn). Connector
// lines are tracked per level, for whatever levels the items have at this moment, and a
// connector running on below the area is painted once per start. Returns the height of all
// shown rows. `shown` is scratch space kept by the caller between frames (IsShown's memo).
int64_t LayOutTreeRows(TreeModel& model, const TreeRowMetrics& metrics, int32_t topRow,
                       double areaHeight, TreeRowPainter& painter, std::vector<uint8_t>& shown);

}  // namespace lists
