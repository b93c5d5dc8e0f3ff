#include "controls/widgets/view/button_picture_sheet.h"

#include <QPainter>
#include <QPolygon>
#include <functional>

#include "controls/widgets/button_strip_model.h"

namespace widgets {

namespace {

constexpr int kCell = kPictureCellPx;

const QColor kPlain(0x38, 0x38, 0x38);
const QColor kGo(0x20, 0xD0, 0x30);
const QColor kHold(0xF0, 0xA8, 0x10);
const QColor kHalt(0xE8, 0x30, 0x28);

// Shapes of the pictures, drawn with a pen-less brush on an 18 × 18 cell.
using Shape = std::function<void(QPainter&)>;

void Triangle(QPainter& p, int x1, int y1, int x2, int y2, int x3, int y3) {
  p.drawPolygon(QPolygon({QPoint(x1, y1), QPoint(x2, y2), QPoint(x3, y3)}));
}
void Bar(QPainter& p, int x, int y, int w, int h) { p.drawRect(x, y, w, h); }

void Play(QPainter& p) { Triangle(p, 6, 3, 6, 14, 13, 8); }
void ToStart(QPainter& p) {
  Bar(p, 3, 4, 2, 10);
  Triangle(p, 13, 4, 13, 13, 6, 8);
}
void Pause(QPainter& p) {
  Bar(p, 5, 4, 3, 10);
  Bar(p, 10, 4, 3, 10);
}
void Stop(QPainter& p) { Bar(p, 4, 4, 10, 10); }
void MarkIn(QPainter& p) {
  Bar(p, 5, 3, 2, 12);
  Bar(p, 5, 3, 7, 2);
  Bar(p, 5, 13, 7, 2);
}
void MarkOut(QPainter& p) {
  Bar(p, 11, 3, 2, 12);
  Bar(p, 6, 3, 7, 2);
  Bar(p, 6, 13, 7, 2);
}
void PreviousMark(QPainter& p) {
  Bar(p, 4, 4, 2, 10);
  Triangle(p, 14, 3, 14, 14, 7, 8);
}
void NextMark(QPainter& p) {
  Bar(p, 12, 4, 2, 10);
  Triangle(p, 3, 3, 3, 14, 10, 8);
}
void Record(QPainter& p) { p.drawEllipse(4, 4, 9, 9); }
void Repeat(QPainter& p) {
  Bar(p, 3, 5, 12, 2);
  Bar(p, 3, 11, 12, 2);
  Bar(p, 3, 5, 2, 8);
  Bar(p, 13, 5, 2, 8);
  Triangle(p, 9, 2, 9, 9, 12, 5);
}
void Rewind(QPainter& p) {
  Triangle(p, 9, 3, 9, 14, 2, 8);
  Triangle(p, 16, 3, 16, 14, 9, 8);
}
void FastForward(QPainter& p) {
  Triangle(p, 2, 3, 2, 14, 9, 8);
  Triangle(p, 9, 3, 9, 14, 16, 8);
}
void Eject(QPainter& p) {
  Triangle(p, 3, 10, 15, 10, 9, 3);
  Bar(p, 3, 12, 13, 2);
}
void Speaker(QPainter& p) {
  Bar(p, 2, 7, 3, 4);
  Triangle(p, 4, 9, 9, 3, 9, 14);
  Bar(p, 11, 6, 1, 6);
  Bar(p, 13, 4, 1, 10);
}
void Muted(QPainter& p) {
  Bar(p, 2, 7, 3, 4);
  Triangle(p, 4, 9, 9, 3, 9, 14);
  for (int i = 0; i < 5; ++i) {
    Bar(p, 11 + i, 6 + i, 1, 1);
    Bar(p, 15 - i, 6 + i, 1, 1);
  }
}
void Close(QPainter& p) {
  for (int i = 0; i < 10; ++i) {
    Bar(p, 4 + i, 4 + i, 1, 1);
    Bar(p, 5 + i, 4 + i, 1, 1);
    Bar(p, 13 - i, 4 + i, 1, 1);
    Bar(p, 14 - i, 4 + i, 1, 1);
  }
}

struct Picture {
  Shape shape;
  QColor colour;
};

}  // namespace

QImage ButtonPictureSheet() {
  const Picture pictures[kPictureCellCount] = {
      {ToStart, kPlain},     {Play, kPlain},    {Pause, kPlain},        {Stop, kPlain},
      {MarkIn, kPlain},      {MarkOut, kPlain}, {PreviousMark, kPlain}, {NextMark, kPlain},
      {ToStart, kGo},        {Play, kGo},       {Pause, kHold},         {Stop, kHalt},
      {Record, kPlain},      {Record, kHalt},   {Repeat, kPlain},       {Rewind, kPlain},
      {FastForward, kPlain}, {Eject, kPlain},   {Rewind, kGo},          {FastForward, kGo},
      {Eject, kHold},        {Speaker, kPlain}, {Muted, kPlain},        {Speaker, kGo},
      {Muted, kHalt},        {Close, kPlain},
  };
  QImage image(kCell * kPictureCellCount, kCell, QImage::Format_RGB32);
  image.fill(Qt::black);
  QImage shapes(image.size(), QImage::Format_RGB32);
  shapes.fill(Qt::black);
  {
    QPainter ip(&image);
    QPainter sp(&shapes);
    for (QPainter* p : {&ip, &sp}) {
      p->setRenderHint(QPainter::Antialiasing, false);
      p->setPen(Qt::NoPen);
    }
    for (int k = 0; k < kPictureCellCount; ++k) {
      for (QPainter* p : {&ip, &sp}) p->setTransform(QTransform::fromTranslate(k * kCell, 0));
      ip.setBrush(pictures[k].colour);
      sp.setBrush(Qt::white);
      pictures[k].shape(ip);
      pictures[k].shape(sp);
    }
  }
  QImage sheet(kCell * kPictureCellCount, 2 * kCell, QImage::Format_RGB32);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < sheet.width(); ++x) {
      const bool inside = shapes.pixel(x, y) != qRgb(0, 0, 0);
      sheet.setPixel(x, y, inside ? image.pixel(x, y) : qRgb(0, 0, 0));
      sheet.setPixel(x, kCell + y, inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
  }
  return sheet;
}

}  // namespace widgets
