#include "platform/view/picture_surface.h"

#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Pictures larger than this along either axis are cut to it, so a garbage size cannot ask for
// gigabytes.
constexpr int kMaxSide = 16384;

int ClampSide(int n) { return std::clamp(n, 0, kMaxSide); }

QColor ToQColor(int32_t colour) { return QColor::fromRgb(ColorToArgb(colour)); }

// Lines of a text split at CR LF, CR or LF.
std::vector<QString> SplitLines(const std::string& utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  std::vector<QString> lines;
  QString line;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == u'\r' || c == u'\n') {
      lines.push_back(line);
      line.clear();
      if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    } else {
      line.append(c);
    }
  }
  lines.push_back(line);
  return lines;
}

// Pixels of a one-pixel line from (x1, y1) towards (x2, y2), the end pixel excluded.
std::vector<QPoint> LinePixels(int x1, int y1, int x2, int y2) {
  std::vector<QPoint> points;
  const int64_t dx = std::llabs(static_cast<int64_t>(x2) - x1);
  const int64_t dy = -std::llabs(static_cast<int64_t>(y2) - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  points.reserve(static_cast<size_t>(std::min<int64_t>(std::max(dx, -dy), 1 << 16)));
  int64_t err = dx + dy;
  int x = x1, y = y1;
  while (!(x == x2 && y == y2)) {
    points.emplace_back(x, y);
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  return points;
}

// Lines whose ends lie within this many pixels of the picture are walked as they are, so their
// pixels are exact; only lines reaching further are cut first, to bound the walk.
constexpr int kNearRange = 1 << 16;

bool IsNear(int x, int y, int w, int h) {
  return x > -kNearRange && y > -kNearRange && x < w + kNearRange && y < h + kNearRange;
}

// Cuts a far-reaching line to a margin around the picture (Liang-Barsky); a line that misses it
// collapses to a point. The part cut away is off the picture.
void ClipLine(int& x1, int& y1, int& x2, int& y2, int w, int h, int margin) {
  if (IsNear(x1, y1, w, h) && IsNear(x2, y2, w, h)) return;
  const double lo_x = -margin, lo_y = -margin, hi_x = w + margin, hi_y = h + margin;
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - lo_x, hi_x - x1, y1 - lo_y, hi_y - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) {
        x2 = x1;  // parallel and outside: nothing to draw
        y2 = y1;
        return;
      }
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) {
    x2 = x1;
    y2 = y1;
    return;
  }
  const int nx1 = static_cast<int>(std::floor(x1 + t0 * dx));
  const int ny1 = static_cast<int>(std::floor(y1 + t0 * dy));
  // Only a segment that really leaves the picture is shortened, so its end pixel rule is moot.
  if (t1 < 1.0) {
    x2 = static_cast<int>(std::floor(x1 + t1 * dx));
    y2 = static_cast<int>(std::floor(y1 + t1 * dy));
  }
  x1 = nx1;
  y1 = ny1;
}

}  // namespace

PictureSurface::PictureSurface(int widthPx, int heightPx, int32_t twipsPerPixel)
    : image_(ClampSide(widthPx), ClampSide(heightPx), QImage::Format_RGB32),
      metricsDevice_(1, 1, QImage::Format_RGB32),
      twipsPerPixel_(twipsPerPixel < 0 ? 0 : twipsPerPixel),
      backColor_(SystemColorRef(COLOR_BTNFACE)),
      foreColor_(SystemColorRef(COLOR_BTNTEXT)) {
  font_ = QGuiApplication::font();
  font_.setPointSizeF(9.0);
  UpdateResolution();
  image_.fill(ToQColor(backColor_));
}

PictureSurface::~PictureSurface() = default;

void PictureSurface::UpdateResolution() {
  const double dpi = twipsPerPixel_ > 0 ? 1440.0 / twipsPerPixel_ : 96.0;
  const int dpm = static_cast<int>(std::nearbyint(dpi / 0.0254));
  for (QImage* img : {&image_, &metricsDevice_}) {
    if (img->isNull()) continue;
    img->setDotsPerMeterX(dpm);
    img->setDotsPerMeterY(dpm);
  }
}

void PictureSurface::Changed() {
  if (changed_) changed_();
}

void PictureSurface::Resize(int widthPx, int heightPx) {
  const int w = ClampSide(widthPx), h = ClampSide(heightPx);
  if (w == image_.width() && h == image_.height()) return;
  QImage next(w, h, QImage::Format_RGB32);
  next.fill(ToQColor(backColor_));
  if (!next.isNull() && !image_.isNull()) {
    QPainter p(&next);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
  UpdateResolution();
  Changed();
}

void PictureSurface::SetTwipsPerPixel(int32_t twipsPerPixel) {
  twipsPerPixel_ = twipsPerPixel < 0 ? 0 : twipsPerPixel;
  UpdateResolution();
}

double PictureSurface::ScaleWidth() const {
  return static_cast<double>(image_.width()) * twipsPerPixel_;
}

double PictureSurface::ScaleHeight() const {
  return static_cast<double>(image_.height()) * twipsPerPixel_;
}

bool PictureSurface::PixelOf(double twips, int* pixel) const {
  if (twipsPerPixel_ <= 0 || !std::isfinite(twips)) return false;
  double px = std::floor(twips / twipsPerPixel_ + 1e-6);
  // Far-off coordinates are kept far off without overflowing an int.
  px = std::clamp(px, -1.0e9, 1.0e9);
  *pixel = static_cast<int>(px);
  return true;
}

int PictureSurface::ToPixel(double twips) const {
  int px = 0;
  return PixelOf(twips, &px) ? px : 0;
}

double PictureSurface::ToTwips(int pixels) const {
  return static_cast<double>(pixels) * twipsPerPixel_;
}

void PictureSurface::SetBackColor(int32_t colour) {
  backColor_ = colour;
  Cls();
}

void PictureSurface::SetDrawWidth(int32_t width) { drawWidth_ = width < 1 ? 1 : width; }

void PictureSurface::SetDrawMode(int32_t drawMode) {
  if (IsValidDrawMode(drawMode)) drawMode_ = drawMode;
}

void PictureSurface::Cls() {
  image_.fill(ToQColor(backColor_));
  currentX_ = 0;
  currentY_ = 0;
  Changed();
}

bool PictureSurface::BeginPen(QPainter& painter, int32_t colour, int width) {
  if (DrawModeDrawsNothing(drawMode_) || image_.isNull()) return false;
  painter.begin(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(CompositionModeForDrawMode(drawMode_));
  QPen pen(ToQColor(colour));
  pen.setWidth(width);
  pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  return true;
}

void PictureSurface::PenLinePx(int x1, int y1, int x2, int y2, int32_t colour) {
  if (x1 == x2 && y1 == y2) return;
  QPainter p;
  if (!BeginPen(p, colour, drawWidth_)) return;
  ClipLine(x1, y1, x2, y2, image_.width(), image_.height(), drawWidth_ + 2);
  if (drawWidth_ <= 1) {
    const std::vector<QPoint> pts = LinePixels(x1, y1, x2, y2);
    if (!pts.empty()) p.drawPoints(pts.data(), static_cast<int>(pts.size()));
  } else if (x1 != x2 || y1 != y2) {
    p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
  }
  p.end();
  Changed();
}

void PictureSurface::Line(double x1, double y1, double x2, double y2) {
  Line(x1, y1, x2, y2, foreColor_);
}

void PictureSurface::Line(double x1, double y1, double x2, double y2, int32_t colour) {
  int px1, py1, px2, py2;
  if (PixelOf(x1, &px1) && PixelOf(y1, &py1) && PixelOf(x2, &px2) && PixelOf(y2, &py2)) {
    PenLinePx(px1, py1, px2, py2, colour);
  }
  currentX_ = x2;
  currentY_ = y2;
}

void PictureSurface::Box(double x1, double y1, double x2, double y2) {
  Box(x1, y1, x2, y2, foreColor_);
}

void PictureSurface::Box(double x1, double y1, double x2, double y2, int32_t colour) {
  int px1, py1, px2, py2;
  if (PixelOf(x1, &px1) && PixelOf(y1, &py1) && PixelOf(x2, &px2) && PixelOf(y2, &py2)) {
    const int left = std::max(std::min(px1, px2), -1);
    const int top = std::max(std::min(py1, py2), -1);
    const int right = std::min(std::max(px1, px2), image_.width());
    const int bottom = std::min(std::max(py1, py2), image_.height());
    QPainter p;
    if (right >= left && bottom >= top && BeginPen(p, colour, 1)) {
      p.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), ToQColor(colour));
      p.end();
      Changed();
    }
  }
  currentX_ = x2;
  currentY_ = y2;
}

void PictureSurface::PSet(double x, double y) { PSet(x, y, foreColor_); }

void PictureSurface::PSet(double x, double y, int32_t colour) {
  int px, py;
  if (PixelOf(x, &px) && PixelOf(y, &py)) {
    QPainter p;
    if (BeginPen(p, colour, drawWidth_)) {
      // A wide pen sets a round dot DrawWidth across: the pixels whose centres lie within
      // half the width of the point's centre, each once (so mixing modes apply evenly).
      const int w = std::min(drawWidth_, 256);
      const double r2 = (w / 2.0) * (w / 2.0);
      const int reach = w / 2;
      std::vector<QPoint> dot;
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
          if (w == 1 || dx * dx + dy * dy <= r2) dot.emplace_back(px + dx, py + dy);
      p.setPen(QPen(ToQColor(colour), 1));
      p.drawPoints(dot.data(), static_cast<int>(dot.size()));
      p.end();
      Changed();
    }
  }
  currentX_ = x;
  currentY_ = y;
}

int32_t PictureSurface::Point(double x, double y) const {
  int px, py;
  if (!PixelOf(x, &px) || !PixelOf(y, &py)) return -1;
  return GetPixelPx(px, py);
}

void PictureSurface::Circle(double cx, double cy, double radius) {
  Circle(cx, cy, radius, foreColor_);
}

void PictureSurface::Circle(double cx, double cy, double radius, int32_t colour) {
  int px, py;
  if (PixelOf(cx, &px) && PixelOf(cy, &py) && std::isfinite(radius) && radius >= 0) {
    const double r = std::min(radius / twipsPerPixel_, 1.0e6);
    QPainter p;
    if (BeginPen(p, colour, drawWidth_)) {
      if (fillStyle_ == kFillSolid) p.setBrush(ToQColor(fillColor_));
      p.drawEllipse(QPointF(px + 0.5, py + 0.5), r, r);
      p.end();
      Changed();
    }
  }
  currentX_ = cx;
  currentY_ = cy;
}

void PictureSurface::Print(const std::string& utf8, bool newLine) {
  const std::vector<QString> lines = SplitLines(utf8);
  const QFontMetrics fm(font_, &metricsDevice_);
  const double lineTwips = ToTwips(fm.height());
  int px = 0, py = 0;
  const bool placed = PixelOf(currentX_, &px) && PixelOf(currentY_, &py);
  if (placed && !image_.isNull()) {
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(ToQColor(foreColor_));
    int x = px;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int y = py + static_cast<int>(i) * fm.height();
      if (!lines[i].isEmpty()) p.drawText(QPoint(x, y + fm.ascent()), lines[i]);
      x = 0;
    }
    p.end();
    Changed();
  }
  const double lastTop = currentY_ + lineTwips * static_cast<double>(lines.size() - 1);
  if (newLine) {
    currentX_ = 0;
    currentY_ = lastTop + lineTwips;
  } else {
    const double lastX = lines.size() > 1 ? 0.0 : currentX_;
    currentX_ = lastX + ToTwips(fm.horizontalAdvance(lines.back()));
    currentY_ = lastTop;
  }
}

double PictureSurface::TextWidth(const std::string& utf8) const {
  const QFontMetrics fm(font_, &metricsDevice_);
  int widest = 0;
  for (const QString& line : SplitLines(utf8))
    widest = std::max(widest, fm.horizontalAdvance(line));
  return ToTwips(widest);
}

double PictureSurface::TextHeight(const std::string& utf8) const {
  const QFontMetrics fm(font_, &metricsDevice_);
  return ToTwips(fm.height()) * static_cast<double>(SplitLines(utf8).size());
}

void PictureSurface::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void PictureSurface::LineTo(int x, int y) {
  PenLinePx(penX_, penY_, x, y, foreColor_);
  penX_ = x;
  penY_ = y;
}

void PictureSurface::FillRectPx(int left, int top, int right, int bottom, int32_t colour) {
  const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & image_.rect();
  if (right <= left || bottom <= top || r.isEmpty()) return;
  QPainter p(&image_);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(r, ToQColor(colour));
  p.end();
  Changed();
}

void PictureSurface::SetPixelPx(int x, int y, int32_t colour) {
  if (!image_.valid(x, y)) return;
  image_.setPixel(x, y, ColorToArgb(colour));
  Changed();
}

int32_t PictureSurface::GetPixelPx(int x, int y) const {
  if (!image_.valid(x, y)) return -1;
  return ArgbToColor(image_.pixel(x, y));
}

int32_t PictureSurface::BitBlt(int dstX, int dstY, int width, int height,
                               const PictureSurface& source, int srcX, int srcY, uint32_t op) {
  if (&source == this) {
    const QImage copy = image_.copy();  // the source block is read before anything is written
    return BitBlt(dstX, dstY, width, height, copy, srcX, srcY, op);
  }
  return BitBlt(dstX, dstY, width, height, source.image_, srcX, srcY, op);
}

int32_t PictureSurface::BitBlt(int dstX, int dstY, int width, int height, const QImage& source,
                               int srcX, int srcY, uint32_t op) {
  QPainter::CompositionMode mode;
  if (!CompositionModeForBlitOp(op, &mode) || width < 0 || height < 0) return 0;
  // Clip the block to the source, then to the destination, moving both origins together.
  QRect src(srcX, srcY, width, height);
  QRect clipped = src & source.rect();
  QPoint shift = clipped.topLeft() - src.topLeft();
  QRect dst(QPoint(dstX, dstY) + shift, clipped.size());
  const QRect dstClipped = dst & image_.rect();
  if (dstClipped.isEmpty() || clipped.isEmpty()) return 1;
  const QPoint dshift = dstClipped.topLeft() - dst.topLeft();
  const QRect srcBlock(clipped.topLeft() + dshift, dstClipped.size());
  const QImage block = source.copy(srcBlock).convertToFormat(QImage::Format_RGB32);
  QPainter p(&image_);
  p.setCompositionMode(mode);
  p.drawImage(dstClipped.topLeft(), block);
  p.end();
  Changed();
  return 1;
}

void PictureSurface::DrawEdge(int left, int top, int right, int bottom, uint32_t edge,
                              uint32_t flags) {
  if (image_.isNull()) return;
  QPainter p(&image_);
  PaintEdge(p, left, top, right, bottom, edge, flags);
  p.end();
  Changed();
}

bool PictureSurface::SavePng(const QString& path) const { return image_.save(path, "PNG"); }

}  // namespace platform
