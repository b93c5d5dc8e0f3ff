#pragma once

#include <array>
#include <cstdint>

namespace widgets {

// Side of the check box image at SizeRate 1, twips.
inline constexpr double kCheckBoxTwips = 240;
// Gap between the box and the caption, pixels.
inline constexpr int32_t kCheckCaptionGapPx = 4;

// The box side: CLng(sizeRate × 240) twips; 0 for a rate that is not a positive number.
int32_t CheckBoxSize(float sizeRate);

// Vertical places of the box and the caption, twips from the control's top: the smaller of the
// two is centred on the larger, which starts at the top.
struct CheckTops {
  double box = 0;
  double text = 0;
};
CheckTops CheckLayoutTops(double lineHeight, double boxSize);

struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// The closed tick outline of a ticked check box: (45, 105), (105, 165), (180, 45), (90, 135) and
// back to (45, 105), each coordinate twips × sizeRate to the nearest whole twip, then divided by
// twipsPerPixel (whole-number division), y measured from the box top (pixels). All points are
// (0, boxTopPx) without a scale.
std::array<PixelPoint, 5> CheckTickPoints(float sizeRate, int32_t twipsPerPixel, int32_t boxTopPx);

// The dot of a chosen option: centre and radius in twips of the control. The dot sits in the
// box's middle at every size rate (105 twips in and 60 twips across at rate 1).
struct CheckDot {
  double x = 0;
  double y = 0;
  double radius = 0;
};
CheckDot OptionDot(float sizeRate, double boxTop);

// The value after a click: a check box turns 1 into 0 and anything else into 1; an option turns
// 0 into 1 and keeps any other value (it never clears itself; its form clears the siblings).
int32_t ClickedCheckValue(int32_t isOption, int32_t value);

}  // namespace widgets
