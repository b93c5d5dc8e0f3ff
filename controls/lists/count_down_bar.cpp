#include "controls/lists/count_down_bar.h"

#include <cmath>

#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "platform/twips.h"

namespace lists {

using foundation::NearestInt32Saturated;

std::optional<CountDownColors> CountDownColorType(int32_t type) {
  switch (type) {
    case 0:
      return CountDownColors{0x808080, 0xD0D0D0};
    case 1:
      return CountDownColors{0xA57570, 0xF5C5C0};
    case 2:
      return CountDownColors{0x7070A0, 0xC0C0F0};
    default:
      return std::nullopt;
  }
}

std::vector<GradientLine> CountDownGradient(int32_t edge, int32_t middle, double heightTwips,
                                            int32_t twipsPerPixel) {
  std::vector<GradientLine> lines;
  if (twipsPerPixel <= 0 || !std::isfinite(heightTwips)) return lines;
  const int32_t n = NearestInt32Saturated(heightTwips / (2.0 * twipsPerPixel));
  if (n <= 0) {
    const int32_t rows = static_cast<int32_t>(std::ceil(heightTwips / twipsPerPixel));
    for (int32_t i = 0; i < rows; ++i) lines.push_back({double(i) * twipsPerPixel, edge});
    return lines;
  }
  int16_t r[2], g[2], b[2];
  foundation::SplitRgb(edge, r[0], g[0], b[0]);
  foundation::SplitRgb(middle, r[1], g[1], b[1]);
  // from = 0: the upper half, edge to middle; from = 1: the lower half, middle to edge.
  for (int from = 0; from < 2; ++from) {
    const int to = 1 - from;
    const float sr = static_cast<float>(r[to] - r[from]) / n;
    const float sg = static_cast<float>(g[to] - g[from]) / n;
    const float sb = static_cast<float>(b[to] - b[from]) / n;
    for (int32_t i = 0; i <= n; ++i) {
      const int32_t colour = foundation::MakeRgb(NearestInt32Saturated(r[from] + sr * i),
                                                 NearestInt32Saturated(g[from] + sg * i),
                                                 NearestInt32Saturated(b[from] + sb * i));
      lines.push_back({static_cast<double>(from * n + i) * twipsPerPixel, colour});
    }
  }
  return lines;
}

std::optional<int32_t> CountDownFilled(int32_t countDown, int32_t value, int32_t width) {
  if (countDown <= 0 || value >= countDown) return std::nullopt;
  const double share = (static_cast<double>(countDown) - value) / countDown;
  return NearestInt32Saturated(share * width);
}

}  // namespace lists
