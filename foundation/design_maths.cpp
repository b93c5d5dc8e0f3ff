#include "foundation/design_maths.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/colors.h"

namespace foundation {

namespace {

std::array<float, 3> Channels(int32_t colour) {
  int16_t r, g, b;
  SplitRgb(colour, r, g, b);
  return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

// Nearest whole number of a channel value, halves to even, kept within an int's reach so the
// conversion is defined (MakeRgb clamps to 0 .. 255 afterwards).
int32_t RoundChannel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::nearbyint(std::clamp(v, -1.0e6, 1.0e6)));
}

int32_t RoundCoordinate(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::nearbyint(std::clamp(v, -1.0e9, 1.0e9)));
}

int32_t JoinChannels(const std::array<float, 3>& ch) {
  return MakeRgb(RoundChannel(ch[0]), RoundChannel(ch[1]), RoundChannel(ch[2]));
}

constexpr std::array<int32_t, kTextureGreyCount> kTextureGreys = {
    0xC4BDBE, 0xD7D3D4, 0xCFC8C8, 0xD2CCCD, 0xD0CBCB, 0xCCC4C5, 0xCAC3C4, 0xD2CDCE,
    0xC3BBBC, 0xD5D0D1, 0xCEC9C8, 0xD2CDCE, 0xC7C0C2, 0xCDC6C8, 0xD1CCCC, 0xCFC9CA,
    0xD2CCCD, 0xD5CED0, 0xCDC7C6, 0xCFC8C8, 0xD2CDCE, 0xD8D3D4, 0xCCC6C6, 0xD2CCCD,
    0xD7D1D2, 0xC9C2C2, 0xCDC7C8, 0xD0C9C9, 0xD3CECE};

}  // namespace

DesignColors ResolveDesignColors(int32_t c1, int32_t c2, int32_t c3) {
  return {c1 == -1 ? SysColorToRgb(0) : c1, c2 == -1 ? SysColorToRgb(1) : c2,
          c3 == -1 ? SysColorToRgb(2) : c3};
}

std::array<int32_t, 9> DesignShades(const DesignColors& colours) {
  int16_t r[3], g[3], b[3];
  SplitRgb(colours.c1, r[0], g[0], b[0]);
  SplitRgb(colours.c2, r[1], g[1], b[1]);
  SplitRgb(colours.c3, r[2], g[2], b[2]);
  auto shade = [&](int first, double wFirst, int second, double wSecond) {
    auto ch = [&](const int16_t* c) {
      const double v = wFirst * c[first] + (second < 0 ? 0.0 : wSecond * c[second]);
      return RoundChannel(v);
    };
    return MakeRgb(ch(r), ch(g), ch(b));
  };
  return {shade(0, 1.0, -1, 0), shade(0, 0.66, 1, 0.33), shade(0, 0.33, 1, 0.66),
          shade(1, 1.0, -1, 0), shade(1, 0.66, 2, 0.33), shade(1, 0.33, 2, 0.66),
          shade(2, 1.0, -1, 0), shade(2, 0.66, -1, 0),   shade(2, 0.33, -1, 0)};
}

std::optional<ColorRamp> ColorRamp::Between(int32_t from, int32_t to, float divisor) {
  if (divisor == 0.0f || !std::isfinite(divisor)) return std::nullopt;
  ColorRamp ramp;
  ramp.start_ = Channels(from);
  const std::array<float, 3> end = Channels(to);
  for (size_t i = 0; i < 3; ++i) ramp.step_[i] = (end[i] - ramp.start_[i]) / divisor;
  return ramp;
}

std::optional<ColorRamp> ColorRamp::AbsoluteStep(int32_t start, int32_t a, int32_t b, float divisor,
                                                 int sign) {
  if (divisor == 0.0f || !std::isfinite(divisor)) return std::nullopt;
  ColorRamp ramp;
  ramp.start_ = Channels(start);
  const std::array<float, 3> ca = Channels(a), cb = Channels(b);
  const float direction = sign < 0 ? -1.0f : 1.0f;
  for (size_t i = 0; i < 3; ++i) ramp.step_[i] = direction * (std::fabs(cb[i] - ca[i]) / divisor);
  return ramp;
}

ColorRamp ColorRamp::Reversed(int32_t start) const {
  ColorRamp ramp;
  ramp.start_ = Channels(start);
  for (size_t i = 0; i < 3; ++i) ramp.step_[i] = -step_[i];
  return ramp;
}

int32_t ColorRamp::At(float t) const {
  std::array<float, 3> ch{};
  for (size_t i = 0; i < 3; ++i) ch[i] = start_[i] + step_[i] * t;
  return JoinChannels(ch);
}

int32_t MixColors(int32_t x, int32_t y, float t) {
  const std::array<float, 3> cx = Channels(x), cy = Channels(y);
  std::array<float, 3> ch{};
  for (size_t i = 0; i < 3; ++i) ch[i] = cx[i] * (1.0f - t) + cy[i] * t;
  return JoinChannels(ch);
}

std::optional<int64_t> PixelsOfTwips(double twips, int64_t twipsPerPixel) {
  if (twipsPerPixel <= 0 || !std::isfinite(twips)) return std::nullopt;
  const double whole = std::nearbyint(std::clamp(twips, -1.0e15, 1.0e15));
  return static_cast<int64_t>(whole) / twipsPerPixel;
}

std::optional<int64_t> IntDivide(int64_t numerator, int64_t denominator) {
  if (denominator == 0) return std::nullopt;
  if (denominator == -1) return -numerator;  // INT64_MIN / -1 is out of reach for our sizes
  return numerator / denominator;
}

std::optional<float> RingHalfWidth(int64_t radius, int64_t j) {
  // 46340² is the largest square below 2^31.
  constexpr int64_t kLimit = 46340;
  const int64_t inner = radius - j;
  if (radius > kLimit || radius < -kLimit || inner > kLimit || inner < -kLimit) return std::nullopt;
  const int64_t radicand = radius * radius - inner * inner;
  if (radicand < 0) return std::nullopt;
  return std::sqrt(static_cast<float>(radicand));
}

PixelPoint RoundedOutlinePoint(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t r,
                               double a) {
  constexpr double kSteps = kOutlineSteps;
  const double q = std::fmod(std::nearbyint(a), kSteps);
  int64_t cx, cy;
  if (q < 47.5) {
    cx = x2 - r - 1;
    cy = y2 - r - 2;
  } else if (q < 95) {
    cx = x1 + r;
    cy = y2 - r - 2;
  } else if (q < 142.5) {
    cx = x1 + r;
    cy = y1 + r;
  } else {
    cx = x2 - r - 1;
    cy = y1 + r;
  }
  const double theta = a * 2.0 * std::numbers::pi / kSteps;
  return {RoundCoordinate(static_cast<double>(cx) + static_cast<double>(r) * std::cos(theta)),
          RoundCoordinate(static_cast<double>(cy) + static_cast<double>(r) * std::sin(theta))};
}

PixelPoint CirclePoint(int64_t cx, int64_t cy, int64_t r, double counter, int32_t steps) {
  if (steps == 0)
    return {RoundCoordinate(static_cast<double>(cx)), RoundCoordinate(static_cast<double>(cy))};
  const double theta = counter * 2.0 * std::numbers::pi / steps;
  return {RoundCoordinate(static_cast<double>(cx) + static_cast<double>(r) * std::cos(theta)),
          RoundCoordinate(static_cast<double>(cy) + static_cast<double>(r) * std::sin(theta))};
}

int32_t OutlineShade(int32_t colourA, int32_t colourB, int32_t n, int32_t steps) {
  const float half = static_cast<float>(steps) / 2.0f;
  if (half == 0.0f) return MixColors(colourB, colourA, 1.0f);
  const float f = std::fabs(static_cast<float>(n) - half) / half;
  return MixColors(colourB, colourA, f);
}

int32_t TextureGrey(int64_t row) {
  int64_t i = row % kTextureGreyCount;
  if (i < 0) i += kTextureGreyCount;
  return kTextureGreys[static_cast<size_t>(i)];
}

int32_t TextureRowShift(int64_t row, int64_t height) {
  if (row < 20) return static_cast<int32_t>(std::clamp<int64_t>(3 * (20 - row), -10000, 10000));
  if (row > height - 20) {
    return static_cast<int32_t>(std::clamp<int64_t>(3 * ((height - row) - 20), -10000, 10000));
  }
  return 0;
}

}  // namespace foundation
