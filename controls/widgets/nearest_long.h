#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace widgets {

// A measure as a whole Long: nearest, halves to even (the default rounding mode), held within
// 32 bits. Not-a-number gives 0; callers that must not draw with such a value check
// std::isfinite first.
inline int32_t NearestLong(double value) {
  if (std::isnan(value)) return 0;
  const double whole = std::nearbyint(value);
  if (whole >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (whole <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(whole);
}

// Pixels of a twips measure: whole-number division truncating toward zero; 0 without a scale
// or for a value that is not finite.
inline int32_t TwipsToPixels(double twips, int32_t twipsPerPixel) {
  if (twipsPerPixel <= 0 || !std::isfinite(twips)) return 0;
  const double pixels = std::trunc(twips / twipsPerPixel);
  if (pixels >= 1.0e7) return 10000000;
  if (pixels <= -1.0e7) return -10000000;
  return static_cast<int32_t>(pixels);
}

}  // namespace widgets
