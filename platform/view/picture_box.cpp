#include "platform/view/picture_box.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <algorithm>

#include "platform/twips.h"
#include "platform/view/edge_3d.h"

namespace platform {

namespace {
constexpr int kMouseDown = 0;
constexpr int kMouseMove = 1;
constexpr int kMouseUp = 2;

// Bits 1, 2 and 4 for the three given flags, in that order.
template <typename Flags, typename Flag>
int32_t ThreeBitCode(Flags flags, Flag bit1, Flag bit2, Flag bit4) {
  return (flags & bit1 ? 1 : 0) | (flags & bit2 ? 2 : 0) | (flags & bit4 ? 4 : 0);
}
}  // namespace

int32_t MouseButtonCode(Qt::MouseButtons buttons) {
  return ThreeBitCode(buttons, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton);
}

int32_t ShiftCode(Qt::KeyboardModifiers modifiers) {
  return ThreeBitCode(modifiers, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier);
}

int32_t ScreenTwipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return TwipsPerPixelForDpi(screen != nullptr ? screen->logicalDotsPerInchX() : 0.0);
}

PictureBox::PictureBox(QWidget* parent, int32_t twipsPerPixel)
    : QWidget(parent), surface_(0, 0, twipsPerPixel) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  surface_.SetChangedHook([this] { update(); });
  FitSurface();
}

PictureBox::~PictureBox() { surface_.SetChangedHook(nullptr); }

PictureSurface& PictureBox::Surface() {
  FitSurface();
  return surface_;
}

void PictureBox::SetBorderStyle(int32_t style) {
  borderStyle_ = style == kBorderFixed3D ? kBorderFixed3D : kBorderNone;
  FitSurface();
  update();
}

int PictureBox::BorderPixels() const { return borderStyle_ == kBorderFixed3D ? 2 : 0; }

double PictureBox::Left() const { return surface_.ToTwips(x()); }
double PictureBox::Top() const { return surface_.ToTwips(y()); }
double PictureBox::Width() const { return surface_.ToTwips(width()); }
double PictureBox::Height() const { return surface_.ToTwips(height()); }

void PictureBox::Move(double left, double top, double width, double height) {
  const int32_t tpp = surface_.TwipsPerPixel();
  setGeometry(TwipsToPixels(left, tpp), TwipsToPixels(top, tpp),
              std::max(0, TwipsToPixels(width, tpp)), std::max(0, TwipsToPixels(height, tpp)));
  FitSurface();
}

void PictureBox::Refresh() { repaint(); }

void PictureBox::FitSurface() {
  const int b = BorderPixels();
  surface_.Resize(std::max(0, width() - 2 * b), std::max(0, height() - 2 * b));
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int b = BorderPixels();
  if (b > 0) PaintEdge(p, 0, 0, width(), height(), EDGE_SUNKEN, BF_RECT);
  p.drawImage(b, b, surface_.Image());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitSurface();
  emit Resized();
}

void PictureBox::EmitMouse(QMouseEvent* event, int kind) {
  const int b = BorderPixels();
  const QPoint pos = event->position().toPoint();
  const double x = surface_.ToTwips(pos.x() - b);
  const double y = surface_.ToTwips(pos.y() - b);
  const int32_t shift = ShiftCode(event->modifiers());
  switch (kind) {
    case kMouseDown:
      emit MouseDown(MouseButtonCode(event->button()), shift, x, y);
      break;
    case kMouseMove:
      emit MouseMove(MouseButtonCode(event->buttons()), shift, x, y);
      break;
    default:
      emit MouseUp(MouseButtonCode(event->button()), shift, x, y);
      break;
  }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  // The toolkit delivers the second press of a double click as a press followed by a
  // double-click event; only the double click is reported for it.
  const QStyleHints* hints = QGuiApplication::styleHints();
  const QPoint pos = event->position().toPoint();
  const bool second =
      pressArmed_ && event->button() == pressButton_ && event->timestamp() >= pressTime_ &&
      event->timestamp() - pressTime_ <= static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
      (pos - pressPos_).manhattanLength() <= hints->mouseDoubleClickDistance();
  if (second) {
    pressArmed_ = false;
    return;
  }
  pressArmed_ = true;
  pressTime_ = event->timestamp();
  pressPos_ = pos;
  pressButton_ = event->button();
  EmitMouse(event, kMouseDown);
}
void PictureBox::mouseMoveEvent(QMouseEvent* event) { EmitMouse(event, kMouseMove); }
void PictureBox::mouseReleaseEvent(QMouseEvent* event) { EmitMouse(event, kMouseUp); }
void PictureBox::mouseDoubleClickEvent(QMouseEvent*) {
  pressArmed_ = false;
  emit DblClick();
}

}  // namespace platform
