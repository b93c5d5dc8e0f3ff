#include "foundation/control_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/app_globals.h"

namespace foundation {

namespace {

int32_t TwipsPerPixel() { return std::max(1, Globals().TwipsPerPixel); }

// value x rate to the nearest twip, then down to whole pixels (toward zero). A result beyond
// the 32-bit range is held at its edge.
double ScaledToWholePixels(double value, float rate) {
  const double scaled = std::nearbyint(value * static_cast<double>(rate));
  if (std::isnan(scaled)) return value;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  const int64_t twips = static_cast<int64_t>(std::clamp(scaled, kMin, kMax));
  const int64_t tpp = TwipsPerPixel();
  return static_cast<double>(twips / tpp * tpp);
}

}  // namespace

void PlaceControlBeside(LayoutControl& control, const LayoutControl& reference, int32_t side,
                        int32_t gap, int32_t alignMode, int32_t alignValue) {
  const double space = gap == -1 ? 2.0 * TwipsPerPixel() : gap;
  switch (side) {
    case kPlaceBelow:
      control.SetTop(reference.Top() + reference.Height() + space);
      if (alignMode == 1) control.SetLeft(reference.Left());
      if (alignMode == 2) control.SetLeft(alignValue);
      break;
    case kPlaceRight:
      control.SetLeft(reference.Left() + reference.Width() + space);
      if (alignMode == 1) control.SetTop(reference.Top());
      if (alignMode == 2) control.SetTop(alignValue);
      break;
    case kPlaceCentredLevel:
      control.SetTop(reference.Top() + reference.Height() / 2 - control.Height() / 2);
      if (alignMode == 1) control.SetLeft(reference.Left());
      if (alignMode == 2) control.SetLeft(alignValue);
      break;
    case kPlaceRightEdgesTogether:
      control.SetLeft(reference.Left() + reference.Width() - control.Width() + space);
      if (alignMode == 1) control.SetTop(reference.Top() + reference.Height() + space);
      if (alignMode == 2) control.SetTop(alignValue);
      break;
    default:
      break;
  }
}

void ScaleControl(float rate, LayoutControl& control, bool keepWidth, bool keepHeight, bool moveToo,
                  float fontSize) {
  if (rate != 1.0F) {
    if (!keepWidth) control.SetWidth(ScaledToWholePixels(control.Width(), rate));
    if (!keepHeight) control.SetHeight(ScaledToWholePixels(control.Height(), rate));
    if (moveToo) {
      control.SetLeft(ScaledToWholePixels(control.Left(), rate));
      control.SetTop(ScaledToWholePixels(control.Top(), rate));
    }
  }
  if (fontSize != 0.0F) {
    SetControlFont(control.FontTarget(), -2, nullptr, rate * fontSize, 0, 0, std::string());
  }
}

void LoadControlInstance(ControlArray& array, int32_t index, int32_t side, int32_t visible,
                         int32_t applyFont, int32_t gap) {
  if (index < 1) return;
  LayoutControl* previous = array.Element(index - 1);
  if (previous == nullptr) return;
  LayoutControl* added = array.Load(index);
  if (added == nullptr) return;
  if (!added->SetContainerFrom(*previous)) return;
  added->SetTabIndex(previous->TabIndex() + 1);
  if (applyFont != 0) {
    if (index == 1) SetControlFont(previous->FontTarget(), -2, nullptr, 0, 0, 0, std::string());
    SetControlFont(added->FontTarget(), -2, nullptr, 0, 0, 0, std::string());
  }
  if (side >= 0) PlaceControlBeside(*added, *previous, side, gap, 1, 0);
  added->SetVisible(visible != 0);
}

}  // namespace foundation
