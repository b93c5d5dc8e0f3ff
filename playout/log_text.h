#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/conversions.h"

namespace playout {

// The number with `decimals` digits after the point ("0.0", "0.000" in the log texts).
inline std::string FormatFixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, std::isfinite(value) ? value : 0.0);
  return text;
}

// CLng: the nearest whole number, halves to even, held within the Long range.
inline int32_t CLng(double value) { return foundation::NearestInt32Saturated(value); }

}  // namespace playout
