#include "foundation/view/surface_drawing.h"

#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace foundation {

void DrawEdgeBox(platform::PictureSurface& surface, int32_t left, int32_t top, int32_t width,
                 int32_t height, int32_t sunken) {
  const int64_t tpp = surface.TwipsPerPixel();
  if (tpp <= 0) return;
  // 64-bit sums: left + width may pass the 32-bit range.
  const int64_t l = left / tpp;
  const int64_t t = top / tpp;
  const int64_t r = (static_cast<int64_t>(left) + width) / tpp;
  const int64_t b = (static_cast<int64_t>(top) + height) / tpp;
  auto px = [](int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  surface.DrawEdge(px(l), px(t), px(r), px(b),
                   sunken != 0 ? platform::EDGE_SUNKEN : platform::EDGE_RAISED,
                   platform::BF_RECT | platform::BF_SOFT);
}

AnchorRect AnchorOf(const QWidget& widget, int32_t twipsPerPixel) {
  const QRect g = widget.geometry();
  const double k = twipsPerPixel;
  return AnchorRect{g.x() * k, g.y() * k, g.width() * k, g.height() * k};
}

TextPosition AlignedTextPosition(const AnchorRect& anchor, double textWidth, double textHeight,
                                 int32_t placement, int32_t dx, int32_t dy, double cursorX,
                                 double cursorY) {
  const double tw = textWidth, th = textHeight;
  const double l = anchor.left, t = anchor.top, w = anchor.width, h = anchor.height;
  switch (placement) {
    case 0:
      return {l - tw - 90 + dx, t + 60 + dy};
    case 1:
      return {l + 30 + dx, t - th - 30 + dy};
    case 2:
      return {l + w + 30 + dx, t + 60 + dy};
    case 3:
      return {l + w / 2 - tw / 2 + dx, t - th - 30 + dy};
    case 4:
      return {l + 30 + dx, t + h + 30 + dy};
    case 5:
      return {l + w - tw + dx, t + h + 30 + dy};
    case 6:
      return {l - tw - 90 + dx, t + (h - th) / 2 + dy};
    case 7:
      return {l + w + 30 + dx, t + (h - th) / 2 + dy};
    default:
      return {cursorX, cursorY};
  }
}

void PrintTextAligned(platform::PictureSurface& surface, const AnchorRect& anchor,
                      const std::string& text, int32_t placement, int32_t dx, int32_t dy) {
  const TextPosition at =
      AlignedTextPosition(anchor, surface.TextWidth(text), surface.TextHeight(text), placement, dx,
                          dy, surface.CurrentX(), surface.CurrentY());
  surface.SetCurrentX(at.x);
  surface.SetCurrentY(at.y);
  surface.Print(text);
}

}  // namespace foundation
