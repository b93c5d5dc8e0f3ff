#include "controls/lists/view/list_icon_strip.h"

#include <QPainter>
#include <QPainterPath>

namespace lists {

namespace {

constexpr int kIcon = 16;

// Paints icon k's shape in `colour` on a 16 x 16 cell whose top-left corner is at the painter's
// origin.
void PaintShape(QPainter& p, int k, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  if (k == 0) {
    // A quaver: head, stem and flag.
    p.drawEllipse(QRectF(2, 10, 6, 5));
    p.drawRect(QRectF(7, 2, 1.5, 10));
    QPainterPath flag;
    flag.moveTo(8.5, 2);
    flag.cubicTo(11, 4, 14, 5, 12, 9);
    flag.cubicTo(12.5, 6, 10, 5.5, 8.5, 5.5);
    p.drawPath(flag);
  } else {
    // A framed square with a dot: a command.
    p.drawRect(QRectF(2, 2, 12, 12));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(4, 4, 8, 8));
    p.setBrush(colour);
    p.drawEllipse(QRectF(6, 6, 4, 4));
  }
}

}  // namespace

QImage DefaultIconStrip() {
  const QColor colours[] = {QColor(0x20, 0x60, 0xD0), QColor(0xD0, 0x70, 0x10)};
  constexpr int kCount = 2;
  QImage strip(kIcon * kCount, 2 * kIcon, QImage::Format_RGB32);
  strip.fill(Qt::black);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(0, kIcon, kIcon * kCount, kIcon), Qt::white);
  for (int k = 0; k < kCount; ++k) {
    p.save();
    p.translate(k * kIcon, 0);
    PaintShape(p, k, colours[k]);
    p.translate(0, kIcon);
    PaintShape(p, k, Qt::black);
    p.restore();
  }
  return strip;
}

}  // namespace lists
