#include "foundation/view/design_painter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/colors.h"
#include "foundation/design_maths.h"

namespace foundation {

namespace {

using platform::PictureSurface;

int32_t ToInt(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// One painting: the surface with the values every design derives before it draws. Twips
// coordinates are doubles; "n px" is n × TwipsPerPixel twips. Each design returns false when a
// step cannot be computed (a division by zero on a picture too small for it): the painting
// stops there, as a trapped run-time error stopped it, and later steps are not drawn.
class Painting {
 public:
  Painting(PictureSurface& surface, int64_t tpp, int64_t w, int64_t h, const DesignColors& colours)
      : s_(surface),
        tpp_(static_cast<double>(tpp)),
        sw_(surface.ScaleWidth()),
        sh_(surface.ScaleHeight()),
        w_(w),
        h_(h),
        c_(colours),
        k_(DesignShades(colours)) {}

  bool Draw(int32_t design, int32_t p6, int32_t p7, int32_t p8) {
    switch (design) {
      case -2:
        s_.SetBackColor(k_[3]);
        return true;
      case -1:
        return Frame();
      case 0:
        return EdgeRamps(20) && Frame();
      case 1:
        return Bevel();
      case 2:
        return DiagonalRamp();
      case 3:
        return ColumnRamp(true);
      case 4:
        return ColumnRamp(false);
      case 5:
        return Bands(false);
      case 6:
        return Bands(true);
      case 7:
        return Bands(false) && Frame();
      case 8:
        return Bands(true) && Frame();
      case 9:
        return ButtonFace();
      case 10:
        return EdgeRamps(8) && Frame();
      case 11:
        return Bevel() && Frame();
      case 12:
        return RoundedRings();
      case 13:
        return CircleRings(p6, p7, p8);
      case 14:
        return Texture(false);
      case 15:
        return Texture(true);
      default:
        return true;
    }
  }

 private:
  double Px(double n) const { return n * tpp_; }
  void Line(double x1, double y1, double x2, double y2, int32_t colour) {
    s_.Line(x1, y1, x2, y2, colour);
  }
  void Box(double x1, double y1, double x2, double y2, int32_t colour) {
    s_.Box(x1, y1, x2, y2, colour);
  }

  bool Frame() {
    Line(0, 0, 0, sh_ - Px(1), k_[0]);
    Line(0, 0, sw_ - Px(1), 0, k_[0]);
    Line(sw_ - Px(1), 0, sw_ - Px(1), sh_, k_[8]);
    Line(0, sh_ - Px(1), sw_ - Px(1), sh_ - Px(1), k_[8]);
    return true;
  }

  // Designs 0 and 10: n + 1 rows ramping c1 to c2 from the top, n + 1 rows c2 to c3 ending at
  // the bottom; the band between is left as it was.
  bool EdgeRamps(int n) {
    const auto top = ColorRamp::Between(c_.c1, c_.c2, static_cast<float>(n));
    if (!top) return false;
    for (int i = 0; i <= n; ++i)
      Line(0, Px(i), sw_ + Px(20), Px(i), top->At(static_cast<float>(i)));
    const double y0 = std::nearbyint(sh_ - Px(n));
    const auto bottom = ColorRamp::Between(c_.c2, c_.c3, static_cast<float>(n));
    if (!bottom) return false;
    for (int i = 0; i <= n; ++i) {
      Line(0, y0 + Px(i), sw_ + Px(20), y0 + Px(i), bottom->At(static_cast<float>(i)));
    }
    return true;
  }

  bool Bevel() {
    Line(0, 0, sw_, 0, k_[0]);
    Box(Px(1), Px(1), sw_ - Px(1), Px(1), k_[1]);
    Box(Px(2), Px(2), sw_ - Px(2), Px(2), k_[1]);
    Box(0, 0, 0, sh_, k_[0]);
    Line(Px(1), Px(1), Px(1), sh_ - Px(1), k_[1]);
    Line(Px(2), Px(2), Px(2), sh_ - Px(2), k_[2]);
    Box(sw_ - Px(1), 0, sw_, sh_, k_[6]);
    Line(sw_ - Px(2), Px(1), sw_ - Px(2), sh_ - Px(1), k_[5]);
    Line(sw_ - Px(3), Px(2), sw_ - Px(3), sh_ - Px(2), k_[4]);
    Box(0, sh_ - Px(1), sw_, sh_, k_[6]);
    Line(Px(1), sh_ - Px(2), sw_ - Px(1), sh_ - Px(2), k_[5]);
    Line(Px(1), sh_ - Px(3), sw_ - Px(2), sh_ - Px(3), k_[4]);
    return true;
  }

  bool DiagonalRamp() {
    const auto n = PixelsOfTwips(sh_ + sw_ + 20, static_cast<int64_t>(tpp_));
    if (!n) return false;
    const auto ramp = ColorRamp::Between(c_.c1, c_.c2, static_cast<float>(*n));
    if (!ramp) return false;
    for (int64_t i = 0; i <= *n; ++i) {
      Line(0, Px(static_cast<double>(i)), Px(static_cast<double>(i)), 0,
           ramp->At(static_cast<float>(i)));
    }
    return true;
  }

  // Design 3 falls from c2, design 4 rises from c3, both by |c3 − c2| / W per column.
  bool ColumnRamp(bool falling) {
    const auto ramp = falling
                          ? ColorRamp::AbsoluteStep(c_.c2, c_.c2, c_.c3, static_cast<float>(w_), -1)
                          : ColorRamp::AbsoluteStep(c_.c3, c_.c2, c_.c3, static_cast<float>(w_), 1);
    if (!ramp) return false;
    for (int64_t i = 0; i <= w_; ++i) {
      const double x = Px(static_cast<double>(i));
      Line(x, 0, x, sh_, ramp->At(static_cast<float>(i)));
    }
    return true;
  }

  // Designs 5 to 8: c2 in the centre line, c1 towards the top (left), c3 towards the bottom
  // (right).
  bool Bands(bool vertical) {
    const auto half = PixelsOfTwips(vertical ? sw_ : sh_, static_cast<int64_t>(tpp_) * 2);
    if (!half) return false;
    const int64_t n = std::max<int64_t>(*half, 1);
    const double far = (vertical ? sh_ : sw_) + Px(20);
    for (int64_t i = 0; i <= n; ++i) {
      const float t = 1.0f - static_cast<float>(i) / static_cast<float>(n);
      const int32_t a = MixColors(c_.c1, c_.c2, t);
      const int32_t b = MixColors(c_.c3, c_.c2, t);
      const double before = Px(static_cast<double>(n - i));
      const double after = Px(static_cast<double>(n + i));
      if (vertical) {
        Line(before, 0, before, far, a);
        Line(after, 0, after, far, b);
      } else {
        Line(0, before, far, before, a);
        Line(0, after, far, after, b);
      }
    }
    return true;
  }

  bool ButtonFace() {
    s_.SetBackColor(k_[1]);
    const int64_t m = *IntDivide(h_ - 3, 2);
    const double right = Px(static_cast<double>(w_ - 3));
    const auto lower = ColorRamp::Between(c_.c3, c_.c2, static_cast<float>(m));
    if (!lower) return false;
    for (int64_t i = 0; i <= m; ++i) {
      const double y = Px(static_cast<double>(i + 3));
      Line(Px(2), y, right, y, lower->At(static_cast<float>(i)));
    }
    const auto upper = ColorRamp::Between(c_.c2, c_.c1, static_cast<float>(m));
    if (!upper) return false;
    for (int64_t i = 0; i <= m; ++i) {
      const double y = Px(static_cast<double>(m + 3 + i));
      Line(Px(2), y, right, y, upper->At(static_cast<float>(i)));
    }
    const double middle =
        static_cast<double>(*IntDivide(static_cast<int64_t>(std::nearbyint(sh_)), 2));
    const double w4 = Px(static_cast<double>(w_ - 4));
    Box(Px(2), middle, w4, middle, k_[5]);
    Box(Px(2), sh_ - Px(5), w4, sh_, k_[0]);
    Box(Px(1), sh_ - Px(3), Px(static_cast<double>(w_ - 3)), sh_, k_[6]);
    Box(0, sh_ - Px(1), sw_, sh_, k_[7]);
    Box(sw_ - Px(1), 0, sw_, sh_, k_[8]);
    return true;
  }

  // The ramps of designs 12 and 13 over radius r: outer colour c1 → c2, inner c3 → c2.
  bool RingRamps(int64_t r, std::optional<ColorRamp>* outer, std::optional<ColorRamp>* inner) {
    *outer = ColorRamp::Between(c_.c1, c_.c2, static_cast<float>(r));
    const auto toward = ColorRamp::Between(c_.c2, c_.c3, static_cast<float>(r));
    if (!*outer || !toward) return false;
    *inner = toward->Reversed(c_.c3);
    return true;
  }

  bool RoundedRings() {
    const int64_t r = *IntDivide(h_, 2);
    std::optional<ColorRamp> a, b;
    if (!RingRamps(r, &a, &b)) return false;
    for (int64_t j = 1; j <= r; ++j) {
      const auto half = RingHalfWidth(r, j);
      if (!half) return false;
      DrawRoundedOutline(s_, ToInt(j + 1), ToInt(j), ToInt(w_ - j - 1), ToInt(h_ - j), a->At(*half),
                         b->At(*half), 3);
    }
    DrawRoundedOutline(s_, 1, 0, ToInt(w_ - 1), ToInt(h_), 0xFFFFFF, k_[8], 1);
    return true;
  }

  bool CircleRings(int32_t p6, int32_t p7, int32_t p8) {
    const int64_t r = p6 == kDesignDefault ? *IntDivide(h_, 2) : p6;
    const int64_t x = p7 == kDesignDefault ? *IntDivide(w_, 2) : p7;
    const int64_t y = p8 == kDesignDefault ? *IntDivide(h_, 2) : p8;
    std::optional<ColorRamp> a, b;
    if (!RingRamps(r, &a, &b)) return false;
    for (int64_t j = 1; j <= r; ++j) {
      const auto half = RingHalfWidth(r, j);
      if (!half) return false;
      const int64_t d = r - j;
      DrawCircleOrSquare(s_, ToInt(x - d), ToInt(y - d), ToInt(x + d), ToInt(y + d), a->At(*half),
                         b->At(*half), 2, 0);
    }
    DrawCircleOrSquare(s_, ToInt(x - r), ToInt(y - r), ToInt(x + r), ToInt(y + r), 0xFFFFFF, k_[7],
                       1, 0);
    return true;
  }

  bool Texture(bool shaded) {
    for (int64_t i = 1; i <= h_; ++i) {
      int16_t r, g, b;
      SplitRgb(TextureGrey(i), r, g, b);
      const int32_t shift = shaded ? TextureRowShift(i, h_) : 0;
      const double y = Px(static_cast<double>(i));
      Box(Px(1), y, sw_, y, MakeRgb(r + shift, g + shift, b + shift));
    }
    constexpr int32_t kWhite = 0xFFFFFF, kLight = 0xB0B0B0, kDark = 0x606060;
    Box(Px(1), Px(1), Px(1), sh_ - Px(1), kWhite);
    Box(Px(1), Px(1), sw_ - Px(1), Px(1), kWhite);
    Box(0, 0, 0, sh_, kWhite);
    Box(0, 0, sw_, 0, kWhite);
    Box(Px(2), sh_ - Px(2), sw_, sh_, kLight);
    Box(sw_ - Px(2), Px(2), sw_, sh_, kLight);
    Box(Px(1), sh_ - Px(1), sw_, sh_, kDark);
    Box(sw_ - Px(1), Px(1), sw_, sh_, kDark);
    return true;
  }

  PictureSurface& s_;
  double tpp_;
  double sw_, sh_;
  int64_t w_, h_;
  DesignColors c_;
  std::array<int32_t, 9> k_;
};

}  // namespace

void PaintPictureDesign(PictureSurface& surface, int32_t design, int32_t c1, int32_t c2, int32_t c3,
                        int32_t p6, int32_t p7, int32_t p8) {
  const int32_t tpp = surface.TwipsPerPixel();
  const auto w = PixelsOfTwips(surface.ScaleWidth(), tpp);
  const auto h = PixelsOfTwips(surface.ScaleHeight(), tpp);
  if (!w || !h) return;
  Painting(surface, tpp, *w, *h, ResolveDesignColors(c1, c2, c3)).Draw(design, p6, p7, p8);
}

void DrawRoundedOutline(PictureSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                        int32_t colourA, int32_t colourB, int32_t width) {
  const int64_t r = *IntDivide(static_cast<int64_t>(y2) - y1, 3) - 1;
  surface.SetDrawWidth(width);
  double a = 260.0 / 360.0 * kOutlineSteps;
  for (int32_t n = 0; n <= kOutlineSteps; ++n, a += 1.0) {
    const PixelPoint p = RoundedOutlinePoint(x1, y1, x2, y2, r, a);
    if (n == 0) surface.MoveTo(p.x, p.y);
    surface.SetForeColor(OutlineShade(colourA, colourB, n, kOutlineSteps));
    surface.LineTo(p.x, p.y);
  }
}

void DrawCircleOrSquare(PictureSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                        int32_t colourA, int32_t colourB, int32_t width, int32_t mode) {
  const int64_t r = *IntDivide(static_cast<int64_t>(y2) - y1, 2) - 2;
  const int64_t cx = *IntDivide(static_cast<int64_t>(x1) + x2, 2);
  const int64_t cy = *IntDivide(static_cast<int64_t>(y1) + y2, 2);
  const bool square = mode == 1;
  const int32_t steps = square ? 4 : kOutlineSteps;
  double counter = square ? 3.5 : 250.0 / 360.0 * kOutlineSteps;
  surface.SetDrawWidth(width);
  const PixelPoint start = CirclePoint(cx, cy, r, counter, steps);
  surface.MoveTo(start.x, start.y);
  for (int32_t n = 0; n <= steps; ++n, counter += 1.0) {
    surface.SetForeColor(OutlineShade(colourA, colourB, n, steps));
    const PixelPoint p = CirclePoint(cx, cy, r, counter, steps);
    surface.LineTo(p.x, p.y);
  }
}

void DrawBorderLines(PictureSurface& surface, int32_t colour1, int32_t colour2, int32_t painted,
                     int32_t count) {
  if (painted == 0) PaintPictureDesign(surface, 2, colour1, colour2, -1);
  const int32_t dark = BlendColor(colour1, -40, -40, -40, -1);
  const int32_t light = BlendColor(colour2, 40, 40, 40, -1);
  const double px = surface.TwipsPerPixel();
  const double width = surface.ScaleWidth();
  const double height = surface.ScaleHeight();
  // Rings past the larger side fall wholly outside the picture; they are skipped.
  const int64_t rings = std::min<int64_t>(
      count, static_cast<int64_t>(std::max(surface.PixelWidth(), surface.PixelHeight())) + 1);
  for (int64_t i = 0; i < rings; ++i) {
    const double y = static_cast<double>(i) * px;
    surface.Box(y, y, width - y, y, light);
    surface.Box(y, y, y, height - y, light);
    surface.Box(y, height - y, width - y - px, height - y - px, dark);
    surface.Box(width - y, y, width - y - px, height - y - px, dark);
  }
}

}  // namespace foundation
