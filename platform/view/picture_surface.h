#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/system_colors.h"
#include "platform/text_width_source.h"
#include "platform/twips.h"
#include "platform/view/edge_3d.h"
#include "platform/view/raster_ops.h"

class QPainter;

namespace platform {

// The persistent picture every owner-drawn control paints on: an RGB32 image that keeps what was
// drawn until it is cleared, with a twips scale, a text cursor and a pen.
//
// Two sets of operations:
//  - scaled ones (Line, Box, PSet, Point, Circle, Print, TextWidth/Height, CurrentX/Y) take twips
//    with the origin at the top-left pixel. A twips coordinate falls in pixel
//    floor(twips / TwipsPerPixel) (a millionth of a pixel of tolerance absorbs single-precision
//    noise). With TwipsPerPixel 0 there is no scale: scaled drawing does nothing, Point gives -1
//    and ScaleWidth/Height, TextWidth/Height are 0.
//  - device ones (MoveTo, LineTo, FillRectPx, SetPixelPx, GetPixelPx, BitBlt, DrawEdge) take
//    pixels, as drawing on the picture's device context did.
//
// Colours are &HBBGGRR Longs; system colour references (&H800000nn) are accepted everywhere and
// resolved through the fixed table at drawing time, so a stored ForeColor of &H80000012 stays a
// reference. Pen drawing (lines, boxes, points, circles; scaled and device) mixes with DrawMode;
// text, edges and Cls always copy. Drawing outside the picture is clipped. Nothing throws.
class PictureSurface : public TextWidthSource {
 public:
  // FillStyle values understood by Circle: 0 solid (FillColor), 1 transparent.
  static constexpr int32_t kFillSolid = 0;
  static constexpr int32_t kFillTransparent = 1;

  // A picture of widthPx × heightPx pixels at `twipsPerPixel` (controls pass the process's
  // foundation::Globals().TwipsPerPixel; negative counts as 0) (negative sizes count as 0, sizes
  // past 16384 are cut to it) filled with BackColor, which starts as the button face (&H8000000F).
  // ForeColor starts as button text (&H80000012), DrawWidth 1, DrawMode R2_COPYPEN, FillStyle
  // transparent, FillColor black, CurrentX/Y 0, the application's default font at 9 points.
  explicit PictureSurface(int widthPx = 0, int heightPx = 0,
                          int32_t twipsPerPixel = kDefaultTwipsPerPixel);
  ~PictureSurface() override;
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;

  // --- size and scale ---
  int PixelWidth() const { return image_.width(); }
  int PixelHeight() const { return image_.height(); }
  // New size in pixels. The overlapping top-left part of the picture is kept; uncovered pixels
  // take BackColor. The text cursor and the device pen position are kept.
  void Resize(int widthPx, int heightPx);
  int32_t TwipsPerPixel() const { return twipsPerPixel_; }
  // Negative counts as 0. Changes the resolution fonts are measured at (1440 / twipsPerPixel
  // DPI, 96 when 0), not the picture.
  void SetTwipsPerPixel(int32_t twipsPerPixel);
  // Inner size in twips: pixels × TwipsPerPixel.
  double ScaleWidth() const;
  double ScaleHeight() const;
  // Twips to the pixel they fall in (floor), and pixels to twips. 0 without a scale.
  int ToPixel(double twips) const;
  double ToTwips(int pixels) const;

  // --- drawing state ---
  int32_t BackColor() const { return backColor_; }
  // Stores the colour and clears the picture with it (as Cls does).
  void SetBackColor(int32_t colour);
  int32_t ForeColor() const { return foreColor_; }
  void SetForeColor(int32_t colour) { foreColor_ = colour; }
  int32_t DrawWidth() const { return drawWidth_; }
  // Pen width in pixels; values below 1 become 1.
  void SetDrawWidth(int32_t width);
  int32_t DrawMode() const { return drawMode_; }
  // One of R2_BLACK .. R2_WHITE; any other value is ignored.
  void SetDrawMode(int32_t drawMode);
  int32_t FillStyle() const { return fillStyle_; }
  void SetFillStyle(int32_t fillStyle) { fillStyle_ = fillStyle; }
  int32_t FillColor() const { return fillColor_; }
  void SetFillColor(int32_t colour) { fillColor_ = colour; }
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double twips) { currentX_ = twips; }
  void SetCurrentY(double twips) { currentY_ = twips; }
  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font) { font_ = font; }

  // --- scaled drawing (twips) ---
  // Fills the picture with BackColor and puts the text cursor at (0, 0).
  void Cls();
  // A line from (x1, y1) to (x2, y2) in `colour` (ForeColor when omitted). A one-pixel pen leaves
  // the end pixel undrawn and draws nothing for a line that starts and ends in the same pixel; a
  // wider pen strokes the whole line with round ends. Afterwards CurrentX/Y = (x2, y2).
  void Line(double x1, double y1, double x2, double y2);
  void Line(double x1, double y1, double x2, double y2, int32_t colour);
  // A filled rectangle spanning both corner pixels, in either order, whatever DrawWidth is.
  // Afterwards CurrentX/Y = (x2, y2).
  void Box(double x1, double y1, double x2, double y2);
  void Box(double x1, double y1, double x2, double y2, int32_t colour);
  // One pixel in `colour` (ForeColor when omitted), DrawWidth across; CurrentX/Y = (x, y).
  void PSet(double x, double y);
  void PSet(double x, double y, int32_t colour);
  // The &HBBGGRR colour of the pixel at (x, y); -1 outside the picture or without a scale.
  int32_t Point(double x, double y) const;
  // A circle outline of `radius` twips around (cx, cy) in `colour` (ForeColor when omitted) with
  // the DrawWidth pen, filled with FillColor when FillStyle is solid. CurrentX/Y = (cx, cy).
  void Circle(double cx, double cy, double radius);
  void Circle(double cx, double cy, double radius, int32_t colour);

  // --- text ---
  // Draws the UTF-8 text in ForeColor with the surface's font, transparently, with the top of the
  // first line at (CurrentX, CurrentY); further lines (split at CR LF, CR or LF) start at x 0,
  // one TextHeight lower each. Afterwards, with newLine the cursor goes to x 0 below the last
  // line; without it, it stays on the last line just after its text.
  void Print(const std::string& utf8, bool newLine = true);
  // Width of the widest line and height of all lines of the text, in twips (whole pixels ×
  // TwipsPerPixel). An empty text is one line high and 0 wide.
  double TextWidth(const std::string& utf8) const override;
  double TextHeight(const std::string& utf8) const;

  // --- device drawing (pixels) ---
  // Moves the device pen position (separate from CurrentX/Y).
  void MoveTo(int x, int y);
  // A line from the pen position to (x, y) with the ForeColor/DrawWidth pen and DrawMode, end
  // pixel excluded for a one-pixel pen; the pen position moves to (x, y).
  void LineTo(int x, int y);
  int PenX() const { return penX_; }
  int PenY() const { return penY_; }
  // Fills pixels left..right-1, top..bottom-1 with `colour`, as a plain copy.
  void FillRectPx(int left, int top, int right, int bottom, int32_t colour);
  void SetPixelPx(int x, int y, int32_t colour);
  // &HBBGGRR of a pixel, -1 outside the picture.
  int32_t GetPixelPx(int x, int y) const;
  // Transfers a width × height block from (srcX, srcY) of `source` to (dstX, dstY), combined by
  // `op` (SRCCOPY, SRCAND, SRCINVERT, SRCPAINT, NOTSRCCOPY). The block is clipped to both
  // pictures; a surface may copy onto itself (the source block is taken first). Returns 1, or 0
  // for an unknown op or a negative size.
  int32_t BitBlt(int dstX, int dstY, int width, int height, const PictureSurface& source, int srcX,
                 int srcY, uint32_t op);
  int32_t BitBlt(int dstX, int dstY, int width, int height, const QImage& source, int srcX,
                 int srcY, uint32_t op);
  // A 3-D edge in the pixel rectangle left..right-1, top..bottom-1 (see PaintEdge).
  void DrawEdge(int left, int top, int right, int bottom, uint32_t edge, uint32_t flags);

  // --- the picture ---
  const QImage& Image() const { return image_; }
  // Writes the picture as a PNG file; true on success.
  bool SavePng(const QString& path) const;
  // Called after every change of the picture (the owning widget schedules a repaint).
  void SetChangedHook(std::function<void()> hook) { changed_ = std::move(hook); }

 private:
  // Pixel of a twips coordinate; false without a scale or for a non-finite value.
  bool PixelOf(double twips, int* pixel) const;
  void PenLinePx(int x1, int y1, int x2, int y2, int32_t colour);
  // Starts a painter on the image set up for pen drawing in `colour`; false for R2_NOP.
  bool BeginPen(QPainter& painter, int32_t colour, int width);
  void UpdateResolution();
  void Changed();

  QImage image_;
  QImage metricsDevice_;  // 1 × 1 at the surface's resolution, for font measurement
  int32_t twipsPerPixel_ = 15;
  int32_t backColor_;
  int32_t foreColor_;
  int32_t drawWidth_ = 1;
  int32_t drawMode_ = R2_COPYPEN;
  int32_t fillStyle_ = kFillTransparent;
  int32_t fillColor_ = 0;
  double currentX_ = 0;
  double currentY_ = 0;
  int penX_ = 0;
  int penY_ = 0;
  QFont font_;
  std::function<void()> changed_;
};

}  // namespace platform
