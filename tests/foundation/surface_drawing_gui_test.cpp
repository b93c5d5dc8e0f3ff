#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "foundation/text_fields.h"
#include "foundation/view/surface_drawing.h"

namespace {

using platform::PictureSurface;

constexpr int32_t kWhite = 0xFFFFFF;

QString GalleryPath(const char* name) {
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  QDir().mkpath(dir);
  return dir + "/" + name;
}

QFont IpaGothic() {
  QFont f("IPAGothic");
  f.setPointSizeF(9);
  return f;
}

TEST(SurfaceDrawing, EdgeBoxTruncatesTwipsToPixels) {
  PictureSurface s(40, 30, 15);
  s.SetBackColor(kWhite);
  // left 100 twips is pixel 6 (6.67 truncated); right edge (100 + 200) \ 15 = 20 exclusive.
  foundation::DrawEdgeBox(s, 100, 50, 200, 150, 0);
  EXPECT_EQ(s.GetPixelPx(5, 5), kWhite);
  EXPECT_EQ(s.GetPixelPx(7, 6), 0xDFDFDF);
  EXPECT_EQ(s.GetPixelPx(19, 10), 0x000000);  // (300 \ 15) - 1
  EXPECT_EQ(s.GetPixelPx(10, 12), 0x000000);  // (200 \ 15) - 1 = 12
  EXPECT_EQ(s.GetPixelPx(20, 10), kWhite);

  foundation::DrawEdgeBox(s, 0, 300, 300, 140, 7);  // any non-zero: sunken
  EXPECT_EQ(s.GetPixelPx(0, 20), 0x000000);
  EXPECT_EQ(s.GetPixelPx(19, 25), 0xFFFFFF);
  s.SavePng(GalleryPath("edge_boxes.png"));

  PictureSurface none(10, 10, 0);
  none.SetBackColor(kWhite);
  foundation::DrawEdgeBox(none, 0, 0, 10, 10, 0);
  foundation::DrawEdgeBox(none, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1);
  EXPECT_EQ(none.GetPixelPx(0, 0), kWhite);
  PictureSurface one(10, 10, 1);
  foundation::DrawEdgeBox(one, INT32_MAX - 5, 0, INT32_MAX, 5, 1);  // far off, no overflow
}

TEST(SurfaceDrawing, TextIsPlacedBesideTheAnchor) {
  PictureSurface s(600, 300, 15);
  s.SetBackColor(kWhite);
  s.SetFont(IpaGothic());
  const std::string text = "見出し";
  const double tw = s.TextWidth(text);
  const double th = s.TextHeight(text);
  const foundation::AnchorRect a{1500, 1200, 1000, 301};

  struct Case {
    int32_t placement;
    double x, y;
  };
  const Case cases[] = {
      {0, 1500 - tw - 90 + 7, 1200 + 60 - 3},
      {2, 1500 + 1000 + 30 + 7, 1200 + 60 - 3},
      {3, 1500 + 500 - tw / 2 + 7, 1200 - th - 30 - 3},
      {4, 1500 + 30 + 7, 1200 + 301 + 30 - 3},
      {6, 1500 - tw - 90 + 7, 1200 + (301 - th) / 2 - 3},  // exact halves
      {7, 1500 + 1000 + 30 + 7, 1200 + (301 - th) / 2 - 3},
  };
  for (const Case& c : cases) {
    const foundation::TextPosition at =
        foundation::AlignedTextPosition(a, tw, th, c.placement, 7, -3, -1, -1);
    EXPECT_DOUBLE_EQ(at.x, c.x) << c.placement;
    EXPECT_DOUBLE_EQ(at.y, c.y) << c.placement;
    s.SetCurrentX(-1);
    s.SetCurrentY(-1);
    foundation::PrintTextAligned(s, a, text, c.placement, 7, -3);
    // Print leaves the cursor at x 0 one line below where the text went.
    EXPECT_EQ(s.CurrentX(), 0) << c.placement;
    EXPECT_DOUBLE_EQ(s.CurrentY(), c.y + th) << c.placement;
  }
  const foundation::TextPosition kept =
      foundation::AlignedTextPosition(a, tw, th, 8, 7, -3, 45, 90);
  EXPECT_EQ(kept.x, 45);
  EXPECT_EQ(kept.y, 90);
  // Placement 2 lands its text right of the anchor: probe the ink there.
  PictureSurface p(600, 300, 15);
  p.SetBackColor(kWhite);
  p.SetFont(IpaGothic());
  p.SetForeColor(0x0000FF);
  foundation::PrintTextAligned(p, a, text, 2, 0, 0);
  bool inked = false;
  const int x0 = p.ToPixel(2530), y0 = p.ToPixel(1260);
  for (int y = y0; y < y0 + p.ToPixel(th); ++y)
    for (int x = x0; x < x0 + p.ToPixel(tw); ++x) inked |= p.GetPixelPx(x, y) != kWhite;
  EXPECT_TRUE(inked);
  EXPECT_EQ(p.GetPixelPx(x0 - 2, y0 + 2), kWhite);

  // Outside the table: printed at the cursor as it is.
  for (int32_t placement : {8, -1}) {
    s.SetCurrentX(450);
    s.SetCurrentY(600);
    foundation::PrintTextAligned(s, a, text, placement, 1000, 1000);
    EXPECT_EQ(s.CurrentY(), 600 + th);
  }
  s.SavePng(GalleryPath("text_aligned.png"));

  QWidget w;
  w.setGeometry(10, 20, 30, 40);
  const foundation::AnchorRect from = foundation::AnchorOf(w, 15);
  EXPECT_EQ(from.left, 150);
  EXPECT_EQ(from.height, 600);
}

TEST(SurfaceDrawing, SurfaceMeasuresTextForFitting) {
  PictureSurface s(10, 10, 15);
  s.SetFont(IpaGothic());
  EXPECT_EQ(foundation::FitTextToWidth("漢字漢字漢字", s, s.TextWidth("漢字漢")), "漢字漢");
  EXPECT_EQ(foundation::FitTextToWidth("漢字漢字漢字", s, s.TextWidth("漢字") + 1, true), "漢字");
}

}  // namespace
