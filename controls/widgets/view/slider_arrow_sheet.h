#pragma once

#include <QImage>
#include <cstdint>

#include "controls/widgets/slider_model.h"

namespace widgets {

// The slider's arrow image sheet for one orientation (0 horizontal: 24 × 20 pixels, cells 6 × 10;
// 1 vertical: 40 × 12 pixels, cells 10 × 6). Four cells side by side, the image rows on top and
// the matching mask rows below: cell 0 = arrow 0 pressed, 1 = arrow 1 pressed, 2 = arrow 0
// normal, 3 = arrow 1 normal. A mask is black where its arrow is and white elsewhere; an image
// holds the arrow's colour on black, so AND with the mask and then XOR with the image leaves the
// arrow on whatever was underneath. Normal arrows are black, pressed ones white, of the same
// shape (so drawing one state over the other leaves nothing of the former).
QImage SliderArrowSheet(int32_t isVertical);

// The cell layout of a sheet: 10, 6, 6 when vertical; 6, 10, 10 when horizontal.
ArrowCell SliderArrowCell(int32_t isVertical);

// Sheet column of a cell: arrow 0 or 1, pressed or normal.
inline int32_t SliderArrowCellIndex(int32_t arrow, bool pressed) {
  return (pressed ? 0 : 2) + (arrow != 0 ? 1 : 0);
}

}  // namespace widgets
