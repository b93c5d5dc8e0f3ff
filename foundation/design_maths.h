#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace foundation {

// The arithmetic behind the numbered background designs: colour ramps, shades and mixes in
// single precision with halves-to-even rounding, outline point geometry and the grey texture.
// Nothing here draws; every division is guarded and reported as "no value".

// The three colours of a design with -1 replaced by the cached system tones (SysColorToRgb 0, 1
// and 2 for the first, second and third). Other values are kept as given.
struct DesignColors {
  int32_t c1 = 0;
  int32_t c2 = 0;
  int32_t c3 = 0;
};
DesignColors ResolveDesignColors(int32_t c1, int32_t c2, int32_t c3);

// The nine shades k0 .. k8 of three colours, per channel: c1, .66 c1 + .33 c2, .33 c1 + .66 c2,
// c2, .66 c2 + .33 c3, .33 c2 + .66 c3, c3, .66 c3, .33 c3, each rounded halves to even. (The
// weights are .66 and .33, so k1 of white and white is 252, not 255.)
std::array<int32_t, 9> DesignShades(const DesignColors& colours);

// A per-channel straight ramp: colour(t) = start + step × t, each channel in single precision,
// rounded halves to even and clamped by MakeRgb.
class ColorRamp {
 public:
  // The ramp from `from` (t = 0) reaching `to` at t = divisor: step = (to - from) / divisor. No
  // ramp for a zero or non-finite divisor.
  static std::optional<ColorRamp> Between(int32_t from, int32_t to, float divisor);
  // The ramp starting at `start` whose step per channel is |b - a| / divisor, rising (+1) or
  // falling (-1). No ramp for a zero or non-finite divisor.
  static std::optional<ColorRamp> AbsoluteStep(int32_t start, int32_t a, int32_t b, float divisor,
                                               int sign);
  // The same step with the opposite sign, starting at `start`.
  ColorRamp Reversed(int32_t start) const;
  int32_t At(float t) const;

 private:
  std::array<float, 3> start_{};
  std::array<float, 3> step_{};
};

// Per channel nearest(x × (1 - t) + y × t) in single precision, clamped by MakeRgb.
int32_t MixColors(int32_t x, int32_t y, float t);

// Whole pixels of a twips length: nearest(twips) \ twipsPerPixel (truncating). No value without
// a scale (twipsPerPixel 0 or less) or for a non-finite length.
std::optional<int64_t> PixelsOfTwips(double twips, int64_t twipsPerPixel);

// Whole-number division truncating toward zero; no value for a zero divisor.
std::optional<int64_t> IntDivide(int64_t numerator, int64_t denominator);

// √(R² − (R − j)²) in single precision: the half-width of the j-th ring of a disc of radius R.
// No value when the radicand is negative or R² passes the 32-bit range (a radius that large
// is not a picture's).
std::optional<float> RingHalfWidth(int64_t radius, int64_t j);

struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Outline walking: 190 steps a turn for the rounded outline and the circle.
inline constexpr int32_t kOutlineSteps = 190;

// The point of the rounded outline of box (x1, y1)-(x2, y2) with corner radius r at angle
// counter a (a full turn is kOutlineSteps): on the arc of the corner the counter's quadrant
// picks, so consecutive points jump between corners and the joining strokes are the sides.
PixelPoint RoundedOutlinePoint(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t r, double a);

// (nearest(cx + r cos θ), nearest(cy + r sin θ)), θ = counter × 2π / steps, y growing downward.
PixelPoint CirclePoint(int64_t cx, int64_t cy, int64_t r, double counter, int32_t steps);

// Colour of outline step n of `steps`: colourA at both ends, colourB half-way round.
int32_t OutlineShade(int32_t colourA, int32_t colourB, int32_t n, int32_t steps);

// Number of greys in the line texture, and grey `row` (taken modulo the table's length; a
// negative row counts from the table's end).
inline constexpr int32_t kTextureGreyCount = 29;
int32_t TextureGrey(int64_t row);

// The brightness change design 15 gives texture row `row` of a picture `height` pixels high:
// +3 × (20 − row) for rows above 20, else 3 × ((height − row) − 20) for rows within 20 of the
// bottom, else 0. A row gets at most one of the two.
int32_t TextureRowShift(int64_t row, int64_t height);

}  // namespace foundation
