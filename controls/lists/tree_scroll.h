#pragma once

#include <cstdint>
#include <optional>

namespace lists {

// The scroll arithmetic of a tree view, twips, free of drawing.

// The vertical bar for a tree `treeHeight` high (its shown rows) in a rows area `listHeight`
// high: Max = nearest(treeHeight - listHeight) \ oneHeight + 2, page = nearest(listHeight /
// treeHeight x Max) (0 for an empty height), each raised to 1 when below 2; shown when the
// tree is not lower than the area. The whole range is kept however tall the tree is.
struct TreeBarFit {
  int32_t max = 1;
  int32_t largeChange = 1;
  bool visible = false;
};
TreeBarFit FitTreeBar(int32_t treeHeight, double listHeight, int32_t oneHeight);

// The top row that puts a row whose bottom edge lies `rowBottom` down the whole tree near the
// middle of the area: nearest(rowBottom - listHeight / 2) \ oneHeight held to 0 .. barMax.
int32_t CentredTopRow(int64_t rowBottom, double listHeight, int32_t oneHeight, int32_t barMax);

// One step of the auto-scroll while something is dragged over the rows at y: one row down in
// the bottom row of the area, one row up in the top row, held to min .. max; nothing elsewhere
// or at the end of the range.
std::optional<int32_t> TreeDragScrollStep(double y, int32_t oneHeight, double listHeight,
                                          int32_t value, int32_t min, int32_t max);

}  // namespace lists
