#include "foundation/colors.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>

#include "platform/system_colors.h"

namespace foundation {

namespace {

constexpr int64_t kScale = 10000;  // four decimal places, as the fixed-point channels hold them

// Whole number nearest to a fixed-point value, halves to even.
int64_t RoundFixed(int64_t v) {
  int64_t q = v / kScale;
  int64_t r = v % kScale;
  if (r < 0) {  // floor division, so the remainder is 0 .. kScale-1
    r += kScale;
    --q;
  }
  if (r > kScale / 2 || (r == kScale / 2 && (q % 2) != 0)) ++q;
  return q;
}

// channel × factor kept to four decimal places, without overflow for any factor.
int64_t ScaleChannel(int64_t channel, float factor) {
  const double product = static_cast<double>(channel) * static_cast<double>(factor);
  if (std::isnan(product)) return 0;
  const double bounded = std::clamp(product, -1.0e9, 1.0e9);
  return static_cast<int64_t>(std::nearbyint(bounded * kScale));
}

}  // namespace

void SplitRgb(int32_t colour, int16_t& red, int16_t& green, int16_t& blue) {
  const int32_t c = platform::ResolveColor(colour);
  red = static_cast<int16_t>(c % 256);
  green = static_cast<int16_t>((c / 256) % 256);
  blue = static_cast<int16_t>(c / 65536);
}

int32_t MakeRgb(int32_t red, int32_t green, int32_t blue) {
  red = std::clamp(red, 0, 255);
  green = std::clamp(green, 0, 255);
  blue = std::clamp(blue, 0, 255);
  return blue * 65536 + green * 256 + red;
}

int32_t BlendColor(int32_t colour, int32_t dRed, int32_t dGreen, int32_t dBlue, float factor) {
  int16_t r, g, b;
  SplitRgb(colour, r, g, b);
  std::array<int64_t, 3> ch = {r * kScale, g * kScale, b * kScale};
  if (factor == -1.0f) {
    ch[0] += dRed * kScale;
    ch[1] += dGreen * kScale;
    ch[2] += dBlue * kScale;
  } else {
    ch = {ScaleChannel(r, factor), ScaleChannel(g, factor), ScaleChannel(b, factor)};
  }
  std::array<int32_t, 3> out{};
  for (size_t i = 0; i < 3; ++i) {
    const int64_t v = std::clamp<int64_t>(ch[i], 0, 255 * kScale);
    out[i] = static_cast<int32_t>(RoundFixed(v));
  }
  return out[0] + 256 * out[1] + 65536 * out[2];
}

int32_t ToneOfColor(int32_t base, int32_t level) {
  int16_t r, g, b;
  SplitRgb(base, r, g, b);
  const double mean = std::nearbyint((r + g + b) / 3.0);
  if (mean == 0.0) return 0;
  const double k = static_cast<double>(level) / mean;
  auto channel = [k](int16_t c) {
    const double v = std::clamp(std::nearbyint(k * c), -1.0, 256.0);
    return static_cast<int32_t>(v);
  };
  return MakeRgb(channel(r), channel(g), channel(b));
}

int32_t SysColorToRgb(int32_t index) {
  static std::array<std::atomic<int32_t>, 4> cache{};
  if (index < 0 || index > 3) return 0;
  std::atomic<int32_t>& slot = cache[static_cast<size_t>(index)];
  const int32_t cached = slot.load(std::memory_order_relaxed);
  if (cached != 0) return cached;

  int32_t base = 0xFFFFFF;
  int32_t level = 255;
  switch (index) {
    case 1:
      base = platform::GetSysColor(platform::COLOR_BTNFACE);
      level = 200;
      break;
    case 2:
      base = platform::GetSysColor(platform::COLOR_BTNSHADOW);
      level = 110;
      break;
    case 3:
      base = platform::GetSysColor(platform::COLOR_BTNFACE);
      level = 60;
      break;
    default:
      break;
  }
  int16_t r, g, b;
  SplitRgb(base, r, g, b);
  // A base whose mean rounds to 0 (black) cannot be normalised: nothing is cached.
  if (std::nearbyint((r + g + b) / 3.0) == 0.0) return 0;
  int32_t tone = ToneOfColor(base, level);
  if (tone == 0) tone = 1;  // 0 keeps meaning "not yet computed"
  slot.store(tone, std::memory_order_relaxed);
  return tone;
}

std::optional<std::pair<int32_t, int32_t>> DesignColorPair(int32_t design, int32_t fore,
                                                           int32_t back) {
  switch (design) {
    case -1:
      return std::make_pair(back, fore);
    case 0:
      return std::make_pair(0, platform::SystemColorRef(platform::COLOR_BTNFACE));
    case 1:
      return std::make_pair(0xD5FFF1, 0x407060);
    case 2:
      return std::make_pair(0xA6CAC5, 0x406057);
    case 3:
      return std::make_pair(0xFF, 0xFFFFFF);
    case 4:
      return std::make_pair(0xB0B0D0, 0x101060);
    case 5:
      return std::make_pair(0x707090, 0x202060);
    case 6:
      return std::make_pair(0x303030, 0xD0D0D0);
    default:
      return std::nullopt;
  }
}

}  // namespace foundation
