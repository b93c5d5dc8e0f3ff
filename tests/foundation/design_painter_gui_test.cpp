#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdio>
#include <vector>

#include "foundation/view/design_painter.h"

namespace {

using foundation::PaintPictureDesign;
using platform::PictureSurface;

constexpr int32_t kSentinel = 0x123456;  // a background no design paints

// A surface of w × h pixels at 15 twips per pixel, filled with the sentinel.
struct Fixture {
  Fixture(int w, int h, int32_t tpp = 15) : s(w, h, tpp) { s.SetBackColor(kSentinel); }
  int32_t At(int x, int y) const { return s.GetPixelPx(x, y); }
  PictureSurface s;
};

struct Probe {
  int x, y;
  int32_t colour;
};

void ExpectProbes(const Fixture& f, const std::vector<Probe>& probes, const char* what) {
  for (const Probe& p : probes) {
    EXPECT_EQ(f.At(p.x, p.y), p.colour) << what << " at (" << p.x << ", " << p.y << ")";
  }
}

TEST(DesignPainter, FlatBackColorAndDoNothingDesigns) {
  Fixture f(20, 10);
  PaintPictureDesign(f.s, -2, 0x0000FF, -1, 0xFF0000);
  EXPECT_EQ(f.s.BackColor(), 0xC8C8C8);  // the button-face tone
  EXPECT_EQ(f.At(19, 9), 0xC8C8C8);
  PaintPictureDesign(f.s, -2, -1, 0x8000000F, -1);  // a system reference comes out resolved
  EXPECT_EQ(f.s.BackColor(), 0xC0C0C0);

  for (int32_t design : {-3, 16, INT32_MIN, INT32_MAX}) {
    Fixture g(12, 8);
    const QImage before = g.s.Image().copy();
    PaintPictureDesign(g.s, design, 0xFF, 0xFF00, 0xFF0000);
    EXPECT_EQ(g.s.Image(), before) << design;
    EXPECT_EQ(g.s.BackColor(), kSentinel) << design;
  }
}

TEST(DesignPainter, EdgeRampsMeetOrLeaveTheMiddleAndGetTheFrame) {
  // Black → red 200 → blue 200 over 20 rows each: red rises 10 a row, then falls as blue rises.
  constexpr int32_t c1 = 0, c2 = 0x0000C8, c3 = 0xC80000;
  Fixture f(50, 40);
  PaintPictureDesign(f.s, 0, c1, c2, c3);
  ExpectProbes(f,
               {{5, 0, c1},  // frame k0 over ramp row 0
                {5, 10, 0x000064},
                {5, 20, c2},  // the ramps meet
                {5, 38, 0xB40014},
                {5, 39, 0x420000},    // frame k8 = .33 × c3
                {48, 10, 0x000064}},  // lines reach past the right edge
               "design 0, 40 rows");

  Fixture tall(50, 100);
  PaintPictureDesign(tall.s, 0, c1, c2, c3);
  for (int y = 21; y <= 79; ++y) EXPECT_EQ(tall.At(10, y), kSentinel) << y;
  ExpectProbes(tall, {{10, 20, c2}, {10, 80, c2}, {10, 90, 0x640064}}, "design 0, 100 rows");

  Fixture eight(50, 100);  // design 10: 8 rows each, 25 red a row
  PaintPictureDesign(eight.s, 10, c1, c2, c3);
  ExpectProbes(eight, {{10, 4, 0x000064}, {10, 8, c2}, {10, 9, kSentinel}, {10, 96, 0x640064}},
               "design 10");
}

TEST(DesignPainter, ButtonFace) {
  // 40 × 30: M = 13; rows 3 .. 16 ramp c3 → c2 (8 a row), rows 16 .. 29 c2 → c1, x 2 .. 36.
  constexpr int32_t c1 = 0xFFFFFF, c2 = 0x828282, c3 = 0x1A1A1A;
  Fixture f(40, 30);
  PaintPictureDesign(f.s, 9, c1, c2, c3);
  constexpr int32_t k1 = 0xD3D3D3, k5 = 0x3C3C3C, k7 = 0x111111, k8 = 0x090909;
  EXPECT_EQ(f.s.BackColor(), k1);
  ExpectProbes(f,
               {{5, 2, k1},
                {5, 3, c3},
                {36, 10, 0x525252},
                {37, 10, k1},
                {5, 15, k5},        // middle line nearest(SH) \ 2 = 225 twips
                {5, 20, 0xA8A8A8},  // 130 + 4 × 125 / 13 = 168.46
                {37, 28, c3},       // k6
                {0, 29, k7},
                {39, 5, k8}},
               "design 9");
}

TEST(DesignPainter, CirclesAroundTheCentre) {
  // 60 × 40 with the defaults: radius 20 around (30, 20); the last, one-pixel circle has radius
  // 18 and runs from white at the top to k7 (black here) at the bottom.
  Fixture f(60, 40);
  PaintPictureDesign(f.s, 13, 0xFFFFFF, 0x808080, 0, foundation::kDesignDefault,
                     foundation::kDesignDefault, foundation::kDesignDefault);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{30, 2}, {30, 38}, {12, 20}, {48, 20},
                                                               {30, 20}}) {
    EXPECT_NE(f.At(x, y), kSentinel) << x << "," << y;
  }
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{30, 1}, {10, 20}, {50, 20}, {0, 0}}) {
    EXPECT_EQ(f.At(x, y), kSentinel) << x << "," << y;
  }
  EXPECT_GT(f.At(30, 2) & 0xFF, 215);  // near white
  EXPECT_LT(f.At(30, 38) & 0xFF, 40);  // near black

  // Radius and centre given: radius 10 at (15, 12), the outline at radius 8.
  Fixture g(60, 40);
  PaintPictureDesign(g.s, 13, 0xFFFFFF, 0x808080, 0, 10, 15, 12);
  EXPECT_NE(g.At(15, 4), kSentinel);
  EXPECT_EQ(g.At(15, 3), kSentinel);
  EXPECT_EQ(g.At(30, 20), kSentinel);
}

TEST(DesignPainter, LineTextureWithShadedRows) {
  // 20 × 30, design 15: rows below 20 lightened by 3 × (20 − row), rows past 10 from the bottom
  // darkened; the edges are drawn over the rows.
  Fixture f(20, 30);
  PaintPictureDesign(f.s, 15, -1, -1, -1);
  ExpectProbes(f,
               {{5, 2, 0xFFFEFE},   // &HCFC8C8 + 54, clamped
                {5, 19, 0xD2CBCB},  // &HCFC8C8 + 3
                {5, 20, 0xB4AFB0},  // &HD2CDCE − 30
                {5, 27, 0x9D9696},  // &HD0C9C9 − 51
                {1, 5, 0xFFFFFF},
                {5, 1, 0xFFFFFF},
                {18, 5, 0xB0B0B0},
                {5, 29, 0x606060},
                {19, 5, 0x606060}},
               "design 15");

  Fixture plain(20, 60);
  PaintPictureDesign(plain.s, 14, -1, -1, -1);
  ExpectProbes(plain, {{5, 10, 0xCEC9C8}, {5, 57, 0xD3CECE}}, "design 14");
}

TEST(DesignPainter, BandsOnNarrowSurfacesUseOneStep) {
  constexpr int32_t c1 = 0x0000FF, c2 = 0x00FF00, c3 = 0xFF0000;
  Fixture rows(10, 1);
  PaintPictureDesign(rows.s, 5, c1, c2, c3);
  EXPECT_EQ(rows.At(5, 0), c1);
  Fixture cols(1, 10);
  PaintPictureDesign(cols.s, 6, c1, c2, c3);
  EXPECT_EQ(cols.At(0, 5), c1);
  // 20 rows: centre row 10 is c2, row 0 c1, row 19 mostly c3.
  Fixture bands(8, 20);
  PaintPictureDesign(bands.s, 5, c1, c2, c3);
  ExpectProbes(bands, {{3, 0, c1}, {3, 10, c2}, {3, 19, 0xE61A00}}, "design 5");
}

TEST(DesignPainter, TooSmallOrUnscaledSurfacesStopWithoutHarm) {
  // A step that would divide by zero ends the painting: design 9 on 4 rows sets its back colour
  // (M = 0) and draws nothing after it.
  Fixture face(10, 4);
  PaintPictureDesign(face.s, 9, 0xFFFFFF, 0x808080, 0);
  EXPECT_EQ(face.At(9, 2), face.s.BackColor());
  EXPECT_NE(face.s.BackColor(), kSentinel);
  Fixture rings(10, 1);  // design 12: R = 0
  PaintPictureDesign(rings.s, 12, -1, -1, -1);
  EXPECT_EQ(rings.At(5, 0), kSentinel);
  Fixture circles(10, 10);  // design 13 with radius 0, and a radius whose square passes 2^31
  PaintPictureDesign(circles.s, 13, -1, -1, -1, 0, 5, 5);
  PaintPictureDesign(circles.s, 13, -1, -1, -1, 46341, 5, 5);
  EXPECT_EQ(circles.At(5, 5), kSentinel);

  // Without a scale nothing is drawn at all, not even design -2's back colour.
  for (int32_t design = -3; design <= 16; ++design) {
    Fixture f(8, 8, 0);
    PaintPictureDesign(f.s, design, -1, -1, -1);
    EXPECT_EQ(f.s.BackColor(), kSentinel) << design;
    EXPECT_EQ(f.At(4, 4), kSentinel) << design;
  }

  // Every design on tiny and thin surfaces, at odd scales and with odd design-13 numbers,
  // finishes without a fault (the sanitizer build checks the arithmetic).
  const std::vector<std::pair<int, int>> sizes = {{0, 0},  {1, 1},  {2, 2}, {3, 3},
                                                  {1, 40}, {40, 1}, {5, 4}};
  for (int32_t tpp : {15, 1, 0, 7, INT32_MAX}) {
    for (const auto& [w, h] : sizes) {
      for (int32_t design = -3; design <= 16; ++design) {
        Fixture f(w, h, tpp);
        PaintPictureDesign(f.s, design, -1, 0x8000000F, 0x00FF00);
      }
    }
  }
  for (int32_t p : {0, -5, 1, INT32_MIN, INT32_MAX, 46340 + 1}) {
    Fixture f(6, 6);
    PaintPictureDesign(f.s, 13, -1, -1, -1, p, p, p);
    PaintPictureDesign(f.s, 13, -1, -1, -1, -3, INT32_MAX, INT32_MIN);
  }
}

TEST(DesignPainter, OutlinesAndBorderRings) {
  // A square from (10, 10)-(30, 30): radius 8 around (20, 20), corners at 14 and 26; the top
  // side is drawn last in colourA, the bottom half-way in colourB, the sides in between.
  Fixture sq(40, 40);
  foundation::DrawCircleOrSquare(sq.s, 10, 10, 30, 30, 0xFFFFFF, 0, 1, 1);
  ExpectProbes(sq, {{20, 14, 0xFFFFFF}, {20, 26, 0}, {26, 20, 0x808080}, {20, 20, kSentinel}},
               "square");

  Fixture round(40, 24);
  foundation::DrawRoundedOutline(round.s, 0, 0, 40, 24, 0xFFFFFF, 0, 2);
  EXPECT_EQ(round.s.DrawWidth(), 2);
  EXPECT_NE(round.At(20, 0), kSentinel);   // top side
  EXPECT_EQ(round.At(20, 12), kSentinel);  // inside untouched
  EXPECT_EQ(round.At(0, 0), kSentinel);    // corner cut off by the rounding

  // Two rings on 20 × 10: light (colour2 + 40) top and left, dark (colour1 − 40) bottom and
  // right, the inside untouched when the picture counts as already painted.
  Fixture border(20, 10);
  foundation::DrawBorderLines(border.s, 0x808080, 0xC0C0C0, 1, 2);
  constexpr int32_t light = 0xE8E8E8, dark = 0x585858;
  ExpectProbes(
      border,
      {{5, 1, light}, {1, 5, light}, {0, 9, dark}, {19, 0, dark}, {18, 1, dark}, {5, 5, kSentinel}},
      "border rings");
  Fixture many(6, 4);
  foundation::DrawBorderLines(many.s, 0x808080, 0xC0C0C0, 0, INT32_MAX);  // quick, no overflow
  EXPECT_NE(many.At(3, 2), kSentinel);
}

// Renders every design at two sizes, with the system tones and with a coloured triple, into the
// build folder's gallery/ for a person to look at: one file each and one contact sheet per
// palette.
TEST(DesignGallery, EveryDesignAtTwoSizes) {
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  ASSERT_TRUE(QDir().mkpath(dir));
  struct Palette {
    const char* name;
    int32_t c1, c2, c3;
  };
  const Palette palettes[] = {{"tones", -1, -1, -1}, {"colour", 0xFFE0C0, 0x3080E0, 0x602010}};
  const QSize sizes[] = {{120, 40}, {240, 96}};
  constexpr int kFirst = -2, kLast = 15, kGap = 8;
  for (const Palette& pal : palettes) {
    QImage sheet(sizes[0].width() + sizes[1].width() + 3 * kGap,
                 (kLast - kFirst + 1) * (sizes[1].height() + kGap) + kGap, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter sheetPainter(&sheet);
    for (int32_t design = kFirst; design <= kLast; ++design) {
      int x = kGap;
      const int y = kGap + (design - kFirst) * (sizes[1].height() + kGap);
      for (const QSize& size : sizes) {
        PictureSurface s(size.width(), size.height(), 15);
        s.SetBackColor(0xFFFFFF);
        PaintPictureDesign(s, design, pal.c1, pal.c2, pal.c3);
        char name[96];
        std::snprintf(name, sizeof name, "/design_%s_%+03d_%dx%d.png", pal.name, design,
                      size.width(), size.height());
        EXPECT_TRUE(s.SavePng(dir + name)) << name;
        sheetPainter.drawImage(x, y, s.Image());
        x += size.width() + kGap;
      }
    }
    sheetPainter.end();
    EXPECT_TRUE(sheet.save(dir + "/design_sheet_" + pal.name + ".png"));
  }
}

}  // namespace
