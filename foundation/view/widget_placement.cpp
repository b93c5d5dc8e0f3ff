#include "foundation/view/widget_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/app_globals.h"

namespace foundation {

namespace {

int32_t TwipsPerPixel() { return std::max(1, Globals().TwipsPerPixel); }

// Twips to whole pixels, halves to even; sizes and positions out of a widget's range are
// clamped to it.
int ToPixels(double twips) {
  const double pixels = std::nearbyint(twips / TwipsPerPixel());
  if (!std::isfinite(pixels)) return 0;
  constexpr double kLimit = 1 << 24;  // QWIDGETSIZE_MAX
  return static_cast<int>(std::clamp(pixels, -kLimit, kLimit));
}

double ToTwips(int pixels) { return static_cast<double>(pixels) * TwipsPerPixel(); }

}  // namespace

QRect WidgetPlacementForm::NormalFrame() const {
  if (widget_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
    const QRect normal = widget_.normalGeometry();
    if (normal.isValid()) return normal;
  }
  return QRect(widget_.pos(), widget_.size());
}

double WidgetPlacementForm::Left() const { return ToTwips(NormalFrame().x()); }
double WidgetPlacementForm::Top() const { return ToTwips(NormalFrame().y()); }
double WidgetPlacementForm::Width() const { return ToTwips(NormalFrame().width()); }
double WidgetPlacementForm::Height() const { return ToTwips(NormalFrame().height()); }

int16_t WidgetPlacementForm::WindowState() const {
  const Qt::WindowStates state = widget_.windowState();
  if (state & Qt::WindowMinimized) return kMinimized;
  if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) return kMaximized;
  return kNormal;
}

void WidgetPlacementForm::SetLeft(double twips) { widget_.move(ToPixels(twips), widget_.y()); }
void WidgetPlacementForm::SetTop(double twips) { widget_.move(widget_.x(), ToPixels(twips)); }
void WidgetPlacementForm::SetWidth(double twips) {
  widget_.resize(std::max(0, ToPixels(twips)), widget_.height());
}
void WidgetPlacementForm::SetHeight(double twips) {
  widget_.resize(widget_.width(), std::max(0, ToPixels(twips)));
}

void WidgetPlacementForm::SetWindowState(int16_t state) {
  Qt::WindowStates flags = widget_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == kMinimized) flags |= Qt::WindowMinimized;
  if (state == kMaximized) flags |= Qt::WindowMaximized;
  widget_.setWindowState(flags);
}

void InstallScreenMonitorProvider() {
  SetMonitorProvider([] {
    std::vector<MonitorRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
      const QRect g = screen->geometry();
      // QRect's right() is the last pixel; the system's rectangles end one past it.
      monitors.push_back({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    return monitors;
  });
}

}  // namespace foundation
