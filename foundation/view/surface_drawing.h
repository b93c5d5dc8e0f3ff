#pragma once

#include <cstdint>
#include <string>

#include "platform/view/picture_surface.h"

class QWidget;

namespace foundation {

// A soft 3-D edge around a box given in twips: the pixel rectangle is left \ TwipsPerPixel,
// top \ TwipsPerPixel, (left + width) \ TwipsPerPixel, (top + height) \ TwipsPerPixel (whole-number
// division truncating toward zero; the surface's scale), drawn sunken when `sunken` is non-zero,
// else raised. Nothing is drawn without a scale (TwipsPerPixel 0).
void DrawEdgeBox(platform::PictureSurface& surface, int32_t left, int32_t top, int32_t width,
                 int32_t height, int32_t sunken);

// The rectangle of the control a text is placed beside, in twips of the surface's container.
struct AnchorRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// The anchor rectangle of a widget: its geometry in its parent, in pixels × twipsPerPixel.
AnchorRect AnchorOf(const QWidget& widget, int32_t twipsPerPixel);

// Where PrintTextAligned puts the text cursor for a text textWidth × textHeight twips: the
// (CurrentX, CurrentY) pair, or (cursorX, cursorY) for a placement outside 0 .. 7.
struct TextPosition {
  double x = 0;
  double y = 0;
};
TextPosition AlignedTextPosition(const AnchorRect& anchor, double textWidth, double textHeight,
                                 int32_t placement, int32_t dx, int32_t dy, double cursorX,
                                 double cursorY);

// Sets the surface's text cursor beside the anchor and prints the text there (with the surface's
// font and ForeColor), offset by dx, dy twips. Placement: 0 left of the anchor, top-aligned;
// 1 above, left-aligned; 2 right, top-aligned; 3 above, centred; 4 below, left-aligned; 5 below,
// right-aligned; 6 left, centred vertically; 7 right, centred vertically. Any other placement
// prints at the cursor as it is. Centring halves exactly (no whole-number division).
void PrintTextAligned(platform::PictureSurface& surface, const AnchorRect& anchor,
                      const std::string& text, int32_t placement, int32_t dx, int32_t dy);

}  // namespace foundation
