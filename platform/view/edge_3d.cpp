#include "platform/view/edge_3d.h"

#include <QColor>
#include <QPainter>

#include "platform/system_colors.h"

namespace platform {

namespace {

struct RingColors {
  int32_t lit = -1;     // top and left, -1 for none
  int32_t shaded = -1;  // bottom and right
};

// Colours of one ring from its two bits (raised, sunken).
RingColors RingFor(bool raised, bool sunken, bool outer, bool soft) {
  RingColors c;
  if (raised == sunken) return c;  // neither, or contradictory: no ring
  if (raised) {
    c.shaded = outer ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW;
    c.lit = (outer != soft) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
  } else {
    c.shaded = outer ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
    c.lit = (outer != soft) ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
  }
  return c;
}

void FillRun(QPainter& p, int x1, int y1, int x2, int y2, int32_t sysColor) {
  // Inclusive pixel run from (x1, y1) to (x2, y2), horizontal or vertical.
  if (sysColor < 0 || x2 < x1 || y2 < y1) return;
  p.fillRect(x1, y1, x2 - x1 + 1, y2 - y1 + 1, QColor::fromRgb(ColorToArgb(GetSysColor(sysColor))));
}

}  // namespace

void PaintEdge(QPainter& painter, int left, int top, int right, int bottom, uint32_t edge,
               uint32_t flags) {
  if (right <= left || bottom <= top) return;
  const bool soft = (flags & BF_SOFT) != 0;
  const RingColors outer =
      RingFor((edge & BDR_RAISEDOUTER) != 0, (edge & BDR_SUNKENOUTER) != 0, true, soft);
  const RingColors inner =
      RingFor((edge & BDR_RAISEDINNER) != 0, (edge & BDR_SUNKENINNER) != 0, false, soft);

  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  if (flags & BF_MIDDLE) {
    painter.fillRect(left, top, right - left, bottom - top,
                     QColor::fromRgb(ColorToArgb(GetSysColor(COLOR_BTNFACE))));
  }
  const int l = left, t = top, r = right - 1, b = bottom - 1;
  if (flags & BF_TOP) FillRun(painter, l, t, r, t, outer.lit);
  if (flags & BF_LEFT) FillRun(painter, l, t, l, b, outer.lit);
  if (flags & BF_BOTTOM) FillRun(painter, l, b, r, b, outer.shaded);
  if (flags & BF_RIGHT) FillRun(painter, r, t, r, b, outer.shaded);

  // The inner ring stops short of a corner where the outer ring turns it.
  const int il = (flags & BF_LEFT) ? l + 1 : l;
  const int it = (flags & BF_TOP) ? t + 1 : t;
  const int ir = (flags & BF_RIGHT) ? r - 1 : r;
  const int ib = (flags & BF_BOTTOM) ? b - 1 : b;
  if (flags & BF_TOP) FillRun(painter, il, t + 1, ir, t + 1, inner.lit);
  if (flags & BF_LEFT) FillRun(painter, l + 1, it, l + 1, ib, inner.lit);
  if (flags & BF_BOTTOM) FillRun(painter, il, b - 1, ir, b - 1, inner.shaded);
  if (flags & BF_RIGHT) FillRun(painter, r - 1, it, r - 1, ib, inner.shaded);
  painter.restore();
}

}  // namespace platform
