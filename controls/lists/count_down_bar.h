#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace lists {

// The arithmetic of the count-down bar, free of drawing.

// The colour pairs (edges, middle) of SetColorType 0 grey, 1 blue, 2 red; nothing for any
// other type.
struct CountDownColors {
  int32_t edge = 0;
  int32_t middle = 0;
};
std::optional<CountDownColors> CountDownColorType(int32_t type);

// One horizontal line of the gradient: its top in twips and its colour.
struct GradientLine {
  double y = 0;
  int32_t colour = 0;
};

// The lines that paint a gradient surface `heightTwips` high: colour `edge` at the top and the
// bottom, `middle` in the middle row, N = nearest(height / 2 pixels) steps each way. A surface
// less than two pixels high (N 0) is painted in `edge` alone, row by row. None without a scale.
std::vector<GradientLine> CountDownGradient(int32_t edge, int32_t middle, double heightTwips,
                                            int32_t twipsPerPixel);

// The elapsed share of a bar `width` twips wide for `value` of `countDown`: nearest((countDown
// - value) / countDown x width). Nothing while value >= countDown (the bar shows the whole
// gradient), and nothing for a count-down of 0 or less, which has no share to show.
std::optional<int32_t> CountDownFilled(int32_t countDown, int32_t value, int32_t width);

}  // namespace lists
