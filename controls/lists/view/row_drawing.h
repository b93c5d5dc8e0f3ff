#pragma once

#include <QImage>
#include <cstdint>

#include "platform/view/picture_surface.h"

namespace lists {

// Drawing pieces the rows of lists and trees share.

// Icon `icon` of a strip (image at x 16 icon, rows 0 .. 15; mask below it in rows 16 .. 31)
// at pixel (x, y): the mask ANDed, then the image XORed, so the row shows through where the
// mask is white. Nothing for a negative icon number.
void DrawStripIcon(platform::PictureSurface& surface, int x, int y, const QImage& strip,
                   int32_t icon);

// A filled box (twips, both corners included) in `colour` mixed with the row by raster mode
// `drawMode`; the surface's draw mode is copy-pen afterwards.
void DrawModeBox(platform::PictureSurface& surface, double x1, double y1, double x2, double y2,
                 int32_t colour, int32_t drawMode);

}  // namespace lists
