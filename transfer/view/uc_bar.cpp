#include "transfer/view/uc_bar.h"

#include <cmath>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "platform/system_colors.h"

namespace transfer {

UC_Bar::UC_Bar(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel) {}

void UC_Bar::Init() { Draw(); }

void UC_Bar::SetValue(float pValue) {
  value_ = std::isnan(pValue) ? 0.0F : std::fmin(std::fmax(pValue, 0.0F), 1000.0F);
  Draw();
}

void UC_Bar::Draw() {
  platform::PictureSurface& s = Surface();
  s.Cls();
  const int w = s.PixelWidth();
  const int h = s.PixelHeight();
  s.DrawEdge(0, 0, w, h, platform::EDGE_SUNKEN, platform::BF_RECT);
  const int inner = w - 4;
  if (inner <= 0 || h <= 4) return;
  const int filled = foundation::NearestInt32Saturated(inner * (value_ / 1000.0));
  s.FillRectPx(2, 2, 2 + filled, h - 2, platform::SystemColorRef(platform::COLOR_ACTIVECAPTION));
}

}  // namespace transfer
