#pragma once

#include <cstdint>

namespace platform {

// Owner-drawn controls measure in twips (1/1440 inch); one screen pixel is TwipsPerPixel twips.
// The process keeps its value in foundation::Globals().TwipsPerPixel; surfaces are given it.

// Twips per pixel at 96 DPI, the resolution the offscreen platform reports.
inline constexpr int32_t kDefaultTwipsPerPixel = 15;

// Twips per pixel for a logical resolution in dots per inch: 1440 / dpi to the nearest whole
// number, halves to even (15 at 96 DPI, 12 at 120, 10 at 144). A resolution that is not a
// positive finite number gives 15; the result is kept within 1 .. 1440.
int32_t TwipsPerPixelForDpi(double dpi);

// Whole pixels of a twips measure: the division truncated toward zero, held within +-10^7
// (no screen is wider); 0 without a scale or for a measure that is not finite.
int32_t TwipsToPixels(double twips, int32_t twipsPerPixel);

}  // namespace platform
