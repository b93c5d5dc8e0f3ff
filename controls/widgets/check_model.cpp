#include "controls/widgets/check_model.h"

#include <cmath>

#include "foundation/conversions.h"

namespace widgets {

namespace {

double Rate(float sizeRate) {
  return std::isfinite(sizeRate) && sizeRate > 0 ? static_cast<double>(sizeRate) : 0.0;
}

}  // namespace

int32_t CheckBoxSize(float sizeRate) {
  return foundation::NearestInt32Saturated(Rate(sizeRate) * kCheckBoxTwips);
}

CheckTops CheckLayoutTops(double lineHeight, double boxSize) {
  CheckTops tops;
  if (!std::isfinite(lineHeight) || !std::isfinite(boxSize)) return tops;
  if (lineHeight > boxSize) {
    tops.box = std::trunc((lineHeight - boxSize) / 2);
  } else {
    tops.text = std::trunc((boxSize - lineHeight) / 2);
  }
  return tops;
}

std::array<PixelPoint, 5> CheckTickPoints(float sizeRate, int32_t twipsPerPixel, int32_t boxTopPx) {
  static constexpr int kTick[5][2] = {{45, 105}, {105, 165}, {180, 45}, {90, 135}, {45, 105}};
  std::array<PixelPoint, 5> points{};
  const double rate = Rate(sizeRate);
  for (int i = 0; i < 5; ++i) {
    points[i].y = boxTopPx;
    if (twipsPerPixel <= 0) continue;
    points[i].x = foundation::NearestInt32Saturated(kTick[i][0] * rate) / twipsPerPixel;
    points[i].y = boxTopPx + foundation::NearestInt32Saturated(kTick[i][1] * rate) / twipsPerPixel;
  }
  return points;
}

CheckDot OptionDot(float sizeRate, double boxTop) {
  const double rate = Rate(sizeRate);
  return {105 * rate, boxTop + 105 * rate, 60 * rate};
}

int32_t ClickedCheckValue(int32_t isOption, int32_t value) {
  if (isOption != 0) return value == 0 ? 1 : value;
  return value != 1 ? 1 : 0;
}

}  // namespace widgets
