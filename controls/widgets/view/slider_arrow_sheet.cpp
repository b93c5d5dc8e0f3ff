#include "controls/widgets/view/slider_arrow_sheet.h"

namespace widgets {

namespace {

// Whether pixel (along, across) of a cell belongs to an arrow pointing toward the cell's start
// (left or up). The arrow is four pixels deep, its tip two pixels wide at `along` 1, its base
// eight pixels wide at `along` 4, centred across a cell `acrossSize` pixels wide.
bool InArrowTowardStart(int along, int across, int acrossSize) {
  const int k = along - 1;
  if (k < 0 || k > 3) return false;
  const int centreLow = acrossSize / 2 - 1;
  return across >= centreLow - k && across <= centreLow + 1 + k;
}

}  // namespace

ArrowCell SliderArrowCell(int32_t isVertical) {
  return isVertical != 0 ? ArrowCell{10, 6, 6} : ArrowCell{6, 10, 10};
}

QImage SliderArrowSheet(int32_t isVertical) {
  const ArrowCell cell = SliderArrowCell(isVertical);
  QImage sheet(4 * cell.width, 2 * cell.height, QImage::Format_RGB32);
  sheet.fill(Qt::black);
  const bool vertical = isVertical != 0;
  const int alongSize = vertical ? cell.height : cell.width;
  const int acrossSize = vertical ? cell.width : cell.height;
  for (int index = 0; index < 4; ++index) {
    const bool pressed = index < 2;
    const bool towardEnd = (index % 2) == 1;  // arrow 1 points right or down
    const QRgb ink = pressed ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    for (int y = 0; y < cell.height; ++y) {
      for (int x = 0; x < cell.width; ++x) {
        int along = vertical ? y : x;
        const int across = vertical ? x : y;
        if (towardEnd) along = alongSize - 1 - along;
        const bool inside = InArrowTowardStart(along, across, acrossSize);
        const int sx = index * cell.width + x;
        sheet.setPixel(sx, y, inside ? ink : qRgb(0, 0, 0));
        sheet.setPixel(sx, cell.maskRow + y, inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
      }
    }
  }
  return sheet;
}

}  // namespace widgets
