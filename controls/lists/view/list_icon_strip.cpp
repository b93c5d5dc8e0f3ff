#include "controls/lists/view/list_icon_strip.h"

#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace lists {

namespace {

constexpr int kIcon = 16;

enum class Shape { kNote, kCommand, kFolder, kOpenFolder, kPage, kDisk, kClock, kDot };

// Paints a shape in `colour` on a 16 x 16 cell whose top-left corner is at the painter's
// origin.
void PaintShape(QPainter& p, Shape shape, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  switch (shape) {
    case Shape::kNote: {
      // A quaver: head, stem and flag.
      p.drawEllipse(QRectF(2, 10, 6, 5));
      p.drawRect(QRectF(7, 2, 1.5, 10));
      QPainterPath flag;
      flag.moveTo(8.5, 2);
      flag.cubicTo(11, 4, 14, 5, 12, 9);
      flag.cubicTo(12.5, 6, 10, 5.5, 8.5, 5.5);
      p.drawPath(flag);
      break;
    }
    case Shape::kCommand:
      // A framed square with a dot.
      p.drawRect(QRectF(2, 2, 12, 12));
      p.setBrush(Qt::black);
      p.drawRect(QRectF(4, 4, 8, 8));
      p.setBrush(colour);
      p.drawEllipse(QRectF(6, 6, 4, 4));
      break;
    case Shape::kFolder:
      p.drawRect(QRectF(1, 3, 6, 2));
      p.drawRect(QRectF(1, 4, 14, 10));
      break;
    case Shape::kOpenFolder: {
      p.drawRect(QRectF(1, 3, 6, 2));
      p.drawRect(QRectF(1, 4, 2, 10));
      QPolygonF lid;
      lid << QPointF(3, 7) << QPointF(15.5, 7) << QPointF(13, 14) << QPointF(1, 14);
      p.drawPolygon(lid);
      break;
    }
    case Shape::kPage:
      // A sheet with a dark edge and three lines of text.
      p.setBrush(colour.darker(250));
      p.drawRect(QRectF(3, 1, 10, 14));
      p.setBrush(colour);
      p.drawRect(QRectF(4, 2, 8, 12));
      p.setBrush(colour.darker(250));
      for (int y = 5; y <= 11; y += 3) p.drawRect(QRectF(6, y, 4, 1));
      break;
    case Shape::kDisk:
      p.drawRoundedRect(QRectF(1, 4, 14, 9), 2, 2);
      p.setBrush(Qt::black);
      p.drawRect(QRectF(3, 9, 6, 2));
      p.drawEllipse(QRectF(11, 9, 2, 2));
      break;
    case Shape::kClock:
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::black);
      p.drawEllipse(QRectF(3, 3, 10, 10));
      p.setBrush(colour);
      p.drawRect(QRectF(7.5, 4, 1, 4.5));
      p.drawRect(QRectF(7.5, 7.5, 3.5, 1));
      break;
    case Shape::kDot:
      p.drawEllipse(QRectF(4, 4, 8, 8));
      break;
  }
}

struct Icon {
  Shape shape;
  QColor colour;
};

// A strip of the icons, each with its image (the shape on black) above its mask (black where
// the shape is, white elsewhere).
QImage Strip(const std::vector<Icon>& icons) {
  const int count = static_cast<int>(icons.size());
  QImage strip(kIcon * count, 2 * kIcon, QImage::Format_RGB32);
  strip.fill(Qt::black);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(0, kIcon, kIcon * count, kIcon), Qt::white);
  for (int k = 0; k < count; ++k) {
    p.save();
    p.translate(k * kIcon, 0);
    PaintShape(p, icons[static_cast<size_t>(k)].shape, icons[static_cast<size_t>(k)].colour);
    p.translate(0, kIcon);
    PaintShape(p, icons[static_cast<size_t>(k)].shape, Qt::black);
    p.restore();
  }
  return strip;
}

}  // namespace

QImage DefaultIconStrip() {
  return Strip(
      {{Shape::kNote, QColor(0x20, 0x60, 0xD0)}, {Shape::kCommand, QColor(0xD0, 0x70, 0x10)}});
}

QImage TreeIconStrip() {
  const QColor yellow(0xE0, 0xB0, 0x30), blue(0x20, 0x60, 0xD0), orange(0xD0, 0x70, 0x10),
      grey(0x80, 0x80, 0x80), green(0x30, 0x90, 0x40), red(0xC0, 0x30, 0x30),
      white(0xF0, 0xF0, 0xF0), purple(0x80, 0x40, 0xB0);
  return Strip({{Shape::kFolder, yellow},
                {Shape::kOpenFolder, yellow},
                {Shape::kNote, blue},
                {Shape::kCommand, orange},
                {Shape::kPage, white},
                {Shape::kDisk, grey},
                {Shape::kClock, blue},
                {Shape::kDot, green},
                {Shape::kFolder, blue},
                {Shape::kOpenFolder, blue},
                {Shape::kNote, red},
                {Shape::kCommand, green},
                {Shape::kPage, yellow},
                {Shape::kDisk, purple},
                {Shape::kClock, red},
                {Shape::kDot, red},
                {Shape::kDot, blue}});
}

}  // namespace lists
