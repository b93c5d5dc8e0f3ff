#include "controls/lists/view/row_drawing.h"

#include "platform/view/raster_ops.h"

namespace lists {

namespace {
constexpr int kIconPx = 16;
}

void DrawStripIcon(platform::PictureSurface& surface, int x, int y, const QImage& strip,
                   int32_t icon) {
  if (icon < 0 || icon > INT32_MAX / kIconPx) return;
  const int sx = kIconPx * icon;
  surface.BitBlt(x, y, kIconPx, kIconPx, strip, sx, kIconPx, platform::SRCAND);
  surface.BitBlt(x, y, kIconPx, kIconPx, strip, sx, 0, platform::SRCINVERT);
}

void DrawModeBox(platform::PictureSurface& surface, double x1, double y1, double x2, double y2,
                 int32_t colour, int32_t drawMode) {
  surface.SetDrawMode(drawMode);
  surface.Box(x1, y1, x2, y2, colour);
  surface.SetDrawMode(platform::R2_COPYPEN);
}

}  // namespace lists
