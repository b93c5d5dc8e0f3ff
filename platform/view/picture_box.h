#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/view/picture_surface.h"

namespace platform {

// A widget that shows a PictureSurface: owner-drawn controls draw into Surface() and the widget's
// paint event only copies the picture (plus its border). Every change of the picture schedules a
// repaint, as drawing on an auto-redraw picture box did.
//
// Geometry in twips (Left, Top, Width, Height, Move) is the outer rectangle in the parent, border
// included; the surface is the inside: (Width, Height) less the border on each side. Resizing the
// widget resizes the surface, keeping what was drawn in the part that remains.
//
// Mouse events are re-raised with the button and modifier codes controls expect (button: 1 left,
// 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt) and surface coordinates in twips. For
// MouseMove the button is the set of buttons held. The second press of a double click (same
// button, within the platform's double-click time and distance) raises DblClick instead of
// MouseDown; its release raises MouseUp.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  // BorderStyle values.
  static constexpr int32_t kBorderNone = 0;
  static constexpr int32_t kBorderFixed3D = 1;  // sunken 3-D border, 2 pixels each side

  // The surface's scale is `twipsPerPixel` (controls pass foundation::Globals().TwipsPerPixel).
  explicit PictureBox(QWidget* parent = nullptr, int32_t twipsPerPixel = kDefaultTwipsPerPixel);
  ~PictureBox() override;

  // The surface, sized to the widget's current inside (a hidden widget gets its resize event
  // only when shown, so the size is checked here too).
  PictureSurface& Surface();
  const PictureSurface& Surface() const { return surface_; }

  int32_t BorderStyle() const { return borderStyle_; }
  // Any value other than kBorderFixed3D means no border. Resizes the surface.
  void SetBorderStyle(int32_t style);
  // Border thickness on each side in pixels (0 or 2).
  int BorderPixels() const;

  // Outer geometry in twips, in the surface's scale (0 without one).
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  // Places the widget; twips convert to pixels by truncation, negative sizes count as 0.
  void Move(double left, double top, double width, double height);

  // Repaints now (the picture is already up to date).
  void Refresh();

 signals:
  void MouseDown(int32_t button, int32_t shift, double x, double y);
  void MouseMove(int32_t button, int32_t shift, double x, double y);
  void MouseUp(int32_t button, int32_t shift, double x, double y);
  void DblClick();
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void FitSurface();
  void EmitMouse(QMouseEvent* event, int kind);

  PictureSurface surface_;
  int32_t borderStyle_ = kBorderNone;
  // The last press that could start a double click.
  bool pressArmed_ = false;
  quint64 pressTime_ = 0;
  QPoint pressPos_;
  Qt::MouseButton pressButton_ = Qt::NoButton;
};

// Mouse button and modifier codes of a Qt event, as PictureBox reports them.
int32_t MouseButtonCode(Qt::MouseButtons buttons);
int32_t ShiftCode(Qt::KeyboardModifiers modifiers);

// Twips per pixel of the primary screen (1440 / its logical DPI; 15 without a screen).
int32_t ScreenTwipsPerPixel();

}  // namespace platform
