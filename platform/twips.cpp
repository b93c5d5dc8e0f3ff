#include "platform/twips.h"

#include <algorithm>
#include <cmath>

namespace platform {

int32_t TwipsPerPixelForDpi(double dpi) {
  if (!std::isfinite(dpi) || dpi <= 0.0) return kDefaultTwipsPerPixel;
  const double twips = std::nearbyint(1440.0 / dpi);
  if (twips < 1.0) return 1;
  if (twips > 1440.0) return 1440;
  return static_cast<int32_t>(twips);
}

int32_t TwipsToPixels(double twips, int32_t twipsPerPixel) {
  if (twipsPerPixel <= 0 || !std::isfinite(twips)) return 0;
  return static_cast<int32_t>(std::clamp(std::trunc(twips / twipsPerPixel), -1.0e7, 1.0e7));
}

}  // namespace platform
