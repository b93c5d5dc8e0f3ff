#pragma once

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>

namespace foundation {

namespace check_control_detail {
// A position in twips as a whole number: nearest, halves to even, held within 32 bits.
inline int32_t WholeTwips(double twips) {
  const double whole = std::nearbyint(twips);
  if (std::isnan(whole)) return 0;
  return static_cast<int32_t>(std::clamp(whole,
                                         static_cast<double>(std::numeric_limits<int32_t>::min()),
                                         static_cast<double>(std::numeric_limits<int32_t>::max())));
}
}  // namespace check_control_detail

// What InitCheckControl needs of a check box control: its position in twips and the setters
// it drives. The control ignores a gradient handle of 0 itself as well.
template <typename Check, typename Picture>
concept CheckControlSetup = requires(Check& check, Picture& picture, const std::string& text) {
  { check.Left() } -> std::convertible_to<double>;
  { check.Top() } -> std::convertible_to<double>;
  check.SetGradhdc(int32_t{0});
  check.SetBGPic(int32_t{0}, int32_t{0}, picture);
  check.SetFontSize(0.0F);
  check.SetSizeRate(0.0F);
  check.SetCaption(text);
  check.SetValue(int32_t{0});
};

// Sets a check box up in one call, in the order that lets the caption's layout and drawing
// already use the new size, rate and background: the gradient handle (only when not 0, so 0
// keeps the control's previous one), the background picture at the control's own position (the
// control paints the part of the picture that lies behind it), the font size, the size rate,
// the caption and the value.
template <typename Check, typename Picture>
requires CheckControlSetup<Check, Picture>
void InitCheckControl(Check& check, const std::string& caption, int32_t value, Picture& picture,
                      float fontSize, int32_t gradient, float sizeRate) {
  if (gradient != 0) check.SetGradhdc(gradient);
  check.SetBGPic(check_control_detail::WholeTwips(check.Left()),
                 check_control_detail::WholeTwips(check.Top()), picture);
  check.SetFontSize(fontSize);
  check.SetSizeRate(sizeRate);
  check.SetCaption(caption);
  check.SetValue(value);
}

}  // namespace foundation
