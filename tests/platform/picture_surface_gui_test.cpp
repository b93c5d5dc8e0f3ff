#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace {

using platform::PictureSurface;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;

// Pictures for people to look at, next to the test programs.
QString GalleryPath(const char* name) {
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  QDir().mkpath(dir);
  return dir + "/" + name;
}

// A 40 × 30 pixel white surface at 15 twips per pixel.
struct WhiteSurface : PictureSurface {
  WhiteSurface() : PictureSurface(40, 30, 15) { SetBackColor(kWhite); }
};

QFont IpaGothic(double points) {
  QFont f("IPAGothic");
  f.setPointSizeF(points);
  return f;
}

TEST(PictureSurface, BackColorClearsAndColoursResolveAtDrawingTime) {
  PictureSurface s(10, 8, 15);
  EXPECT_EQ(s.BackColor(), platform::SystemColorRef(platform::COLOR_BTNFACE));
  EXPECT_EQ(s.GetPixelPx(0, 0), 0xC0C0C0);
  EXPECT_EQ(s.ScaleHeight(), 120);

  s.SetCurrentX(45);
  s.SetCurrentY(30);
  s.PSet(15, 15, kRed);
  s.SetBackColor(static_cast<int32_t>(0x8000000D));            // highlight
  EXPECT_EQ(s.BackColor(), static_cast<int32_t>(0x8000000D));  // the reference is kept
  EXPECT_EQ(s.GetPixelPx(1, 1), 0x800000);
  EXPECT_EQ(s.CurrentY(), 0);

  s.Box(0, 0, 150, 120, kGreen);
  s.SetCurrentX(90);
  s.Cls();
  EXPECT_EQ(s.GetPixelPx(5, 5), 0x800000);
  EXPECT_EQ(s.CurrentX(), 0);

  EXPECT_EQ(s.GetPixelPx(-1, 0), -1);
  EXPECT_EQ(s.Point(150, 0), -1);
  EXPECT_EQ(s.Point(149, 119), 0x800000);
}

TEST(PictureSurface, LinesLeaveTheirEndPixelAndBoxesIncludeBothCorners) {
  WhiteSurface s;
  // Horizontal, vertical and diagonal lines: the start is drawn, the end is not.
  s.Line(0, 15, 10 * 15, 15, kRed);
  EXPECT_EQ(s.GetPixelPx(0, 1), kRed);
  EXPECT_EQ(s.GetPixelPx(9, 1), kRed);
  EXPECT_EQ(s.GetPixelPx(10, 1), kWhite);
  EXPECT_EQ(s.CurrentX(), 150);

  s.Line(20 * 15, 10 * 15, 20 * 15, 2 * 15, kRed);  // upwards
  EXPECT_EQ(s.GetPixelPx(20, 3), kRed);
  EXPECT_EQ(s.GetPixelPx(20, 2), kWhite);

  s.Line(30 * 15, 20 * 15, 35 * 15, 25 * 15, kGreen);
  EXPECT_EQ(s.GetPixelPx(34, 24), kGreen);
  EXPECT_EQ(s.GetPixelPx(35, 25), kWhite);

  // A twips value falls in the pixel it is inside (truncation), and a line that starts and ends
  // in one pixel draws nothing.
  s.Line(7, 20 * 15 + 14, 7 + 3 * 15, 20 * 15 + 14, kRed);
  EXPECT_EQ(s.GetPixelPx(2, 20), kRed);
  EXPECT_EQ(s.GetPixelPx(3, 20), kWhite);
  s.Line(5 * 15, 28 * 15, 5 * 15 + 14, 28 * 15 + 14, kRed);
  EXPECT_EQ(s.GetPixelPx(5, 28), kWhite);

  // Line into the ForeColor when no colour is given; device LineTo follows the same rule.
  s.SetForeColor(static_cast<int32_t>(0x80000010));
  s.Line(0, 0, 3 * 15, 0);
  EXPECT_EQ(s.GetPixelPx(2, 0), 0x808080);
  s.MoveTo(12, 5);
  s.LineTo(12, 8);
  EXPECT_EQ(s.GetPixelPx(12, 7), 0x808080);
  EXPECT_EQ(s.GetPixelPx(12, 8), kWhite);
  EXPECT_EQ(s.PenY(), 8);

  // Boxes span both corner pixels, in either order.
  WhiteSurface b;
  b.Box(5 * 15, 6 * 15, 2 * 15, 3 * 15, kGreen);
  int filled = 0;
  for (int y = 0; y < b.PixelHeight(); ++y)
    for (int x = 0; x < b.PixelWidth(); ++x) filled += b.GetPixelPx(x, y) == kGreen;
  EXPECT_EQ(filled, 4 * 4);
  EXPECT_EQ(b.GetPixelPx(2, 3), kGreen);
  EXPECT_EQ(b.GetPixelPx(5, 6), kGreen);
  b.Box(10 * 15, 10 * 15, 10 * 15, 10 * 15, kRed);  // a one-pixel box
  EXPECT_EQ(b.GetPixelPx(10, 10), kRed);
  b.Box(-100 * 15, 0, 100 * 15, 0, kRed);  // reaches past both sides: clipped
  EXPECT_EQ(b.GetPixelPx(39, 0), kRed);
  EXPECT_EQ(b.GetPixelPx(0, 1), kWhite);
  s.SavePng(GalleryPath("surface_lines.png"));
}

TEST(PictureSurface, WidePensDotsAndCircles) {
  WhiteSurface s;
  s.SetDrawWidth(3);
  s.Line(5 * 15, 10 * 15, 25 * 15, 10 * 15, kRed);
  EXPECT_EQ(s.GetPixelPx(15, 9), kRed);
  EXPECT_EQ(s.GetPixelPx(15, 11), kRed);
  EXPECT_EQ(s.GetPixelPx(15, 12), kWhite);
  EXPECT_EQ(s.GetPixelPx(25, 10), kRed);  // a wide pen strokes the whole line, ends included
  EXPECT_EQ(s.GetPixelPx(28, 10), kWhite);

  s.PSet(35 * 15, 25 * 15, kGreen);
  EXPECT_EQ(s.GetPixelPx(35, 24), kGreen);  // a dot is as wide as the pen

  s.SetDrawWidth(0);
  EXPECT_EQ(s.DrawWidth(), 1);

  WhiteSurface c;
  c.SetFillStyle(PictureSurface::kFillSolid);
  c.SetFillColor(kGreen);
  c.Circle(20 * 15, 15 * 15, 10 * 15, kRed);
  EXPECT_EQ(c.GetPixelPx(20, 15), kGreen);
  EXPECT_EQ(c.GetPixelPx(20, 5), kRed);
  c.SetFillStyle(PictureSurface::kFillTransparent);
  c.Circle(20 * 15, 15 * 15, 4 * 15, kBlack);
  EXPECT_EQ(c.GetPixelPx(20, 15), kGreen);
  EXPECT_EQ(c.GetPixelPx(20, 11), kBlack);
  c.SavePng(GalleryPath("surface_circles.png"));
}

TEST(PictureSurface, EveryDrawModeMixesThePenAsItsBitRuleSays) {
  const int32_t pen = 0x3C5AF0;
  const int32_t dest = 0x96A50F;
  for (int32_t mode = platform::R2_BLACK; mode <= platform::R2_WHITE; ++mode) {
    PictureSurface s(4, 4, 15);
    s.SetBackColor(dest);
    s.SetDrawMode(mode);
    s.PSet(15, 15, pen);
    s.Line(0, 45, 45, 45, pen);
    s.Box(45, 0, 45, 0, pen);
    const uint32_t want =
        platform::ApplyDrawMode(mode, platform::ColorToArgb(pen), platform::ColorToArgb(dest));
    const int32_t expected = platform::ArgbToColor(want);
    EXPECT_EQ(s.GetPixelPx(1, 1), expected) << "PSet, mode " << mode;
    EXPECT_EQ(s.GetPixelPx(1, 3), expected) << "Line, mode " << mode;
    EXPECT_EQ(s.GetPixelPx(3, 0), expected) << "Box, mode " << mode;
    EXPECT_EQ(s.GetPixelPx(0, 0), dest) << "untouched, mode " << mode;
  }
  PictureSurface s(2, 2, 15);
  s.SetDrawMode(platform::R2_XORPEN);
  s.SetDrawMode(0);
  s.SetDrawMode(17);
  EXPECT_EQ(s.DrawMode(), platform::R2_XORPEN);
}

TEST(PictureSurface, XorDrawingTwiceRestoresThePicture) {
  PictureSurface s(60, 40, 15);
  for (int y = 0; y < 40; ++y) s.Box(0, y * 15, 59 * 15, y * 15, 0x102030 + y * 0x030507);
  const QImage before = s.Image().copy();
  s.SetDrawMode(platform::R2_XORPEN);
  for (int pass = 0; pass < 2; ++pass) {
    s.SetDrawWidth(1);
    s.Line(0, 0, 59 * 15, 39 * 15, 0xFFFFFF);
    s.Box(10 * 15, 10 * 15, 20 * 15, 30 * 15, 0x00FF00);
    s.SetDrawWidth(5);
    s.Line(5 * 15, 35 * 15, 55 * 15, 5 * 15, 0x0000FF);
    s.MoveTo(2, 2);
    s.LineTo(50, 2);
    if (pass == 0) {
      EXPECT_NE(s.Image(), before);
      s.SavePng(GalleryPath("surface_xor_once.png"));
    }
  }
  EXPECT_EQ(s.Image(), before);
}

TEST(PictureSurface, TransfersCombineClipAndCopyOntoThemselves) {
  // A masked sprite: the mask is white where the background shows and black under the sprite;
  // the image is black where the background shows. AND then XOR leaves the background around
  // the sprite.
  PictureSurface mask(4, 1, 15), image(4, 1, 15), dest(6, 3, 15);
  mask.SetBackColor(kWhite);
  image.SetBackColor(kBlack);
  mask.SetPixelPx(1, 0, kBlack);
  mask.SetPixelPx(2, 0, kBlack);
  image.SetPixelPx(1, 0, kRed);
  image.SetPixelPx(2, 0, kGreen);
  dest.SetBackColor(0x808080);
  EXPECT_EQ(dest.BitBlt(1, 1, 4, 1, mask, 0, 0, platform::SRCAND), 1);
  EXPECT_EQ(dest.BitBlt(1, 1, 4, 1, image, 0, 0, platform::SRCINVERT), 1);
  EXPECT_EQ(dest.GetPixelPx(1, 1), 0x808080);
  EXPECT_EQ(dest.GetPixelPx(2, 1), kRed);
  EXPECT_EQ(dest.GetPixelPx(3, 1), kGreen);

  // Plain copy, clipped on both pictures with the origins moving together.
  PictureSurface src(3, 3, 15);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.SetPixelPx(x, y, x + 10 * y);
  PictureSurface d(4, 4, 15);
  d.SetBackColor(kWhite);
  EXPECT_EQ(d.BitBlt(-1, 2, 3, 3, src, 0, 0, platform::SRCCOPY), 1);
  EXPECT_EQ(d.GetPixelPx(1, 3), 12);  // source (2, 1)
  EXPECT_EQ(d.GetPixelPx(2, 2), kWhite);
  EXPECT_EQ(d.BitBlt(0, 0, 5, 5, src, 2, 2, platform::SRCCOPY), 1);
  EXPECT_EQ(d.GetPixelPx(0, 0), 22);
  EXPECT_EQ(d.GetPixelPx(1, 0), kWhite);

  // Onto itself: the block is read before it is written.
  src.BitBlt(1, 0, 2, 3, src, 0, 0, platform::SRCCOPY);
  EXPECT_EQ(src.GetPixelPx(1, 0), 0);
  EXPECT_EQ(src.GetPixelPx(2, 0), 1);

  EXPECT_EQ(d.BitBlt(0, 0, 2, 2, src, 0, 0, 0x12345678u), 0);  // unknown operation
  EXPECT_EQ(d.BitBlt(0, 0, -1, 2, src, 0, 0, platform::SRCCOPY), 0);
  EXPECT_EQ(d.BitBlt(100, 100, 2, 2, src, 0, 0, platform::SRCCOPY), 1);  // nothing to do
}

TEST(PictureSurface, SoftEdgesUseTheSystemShades) {
  PictureSurface s(30, 14, 15);
  s.SetBackColor(kGreen);
  s.DrawEdge(1, 1, 11, 11, platform::EDGE_RAISED, platform::BF_RECT | platform::BF_SOFT);
  s.DrawEdge(15, 1, 25, 11, platform::EDGE_SUNKEN, platform::BF_RECT | platform::BF_SOFT);
  struct Probe {
    int x, y;
    int32_t colour;
  };
  const Probe probes[] = {
      // raised: highlight outside, 3-D light inside on the lit sides; dark shadow and shadow on
      // the others, which own the top-right and bottom-left corners
      {1, 1, 0xFFFFFF},
      {1, 9, 0xFFFFFF},
      {2, 2, 0xDFDFDF},
      {10, 5, 0x000000},
      {10, 1, 0x000000},
      {1, 10, 0x000000},
      {9, 5, 0x808080},
      {5, 5, kGreen},
      {11, 11, kGreen},
      // sunken: dark shadow outside, shadow inside; highlight and 3-D light on the others
      {15, 1, 0x000000},
      {16, 2, 0x808080},
      {24, 5, 0xFFFFFF},
      {23, 5, 0xDFDFDF},
      {20, 5, kGreen},
  };
  for (const Probe& p : probes) EXPECT_EQ(s.GetPixelPx(p.x, p.y), p.colour) << p.x << "," << p.y;

  // Without BF_SOFT the outer lit ring is the light shade; BF_MIDDLE fills with the face.
  PictureSurface n(12, 12, 15);
  n.SetBackColor(kGreen);
  n.DrawEdge(0, 0, 12, 12, platform::EDGE_RAISED, platform::BF_RECT | platform::BF_MIDDLE);
  EXPECT_EQ(n.GetPixelPx(0, 0), 0xDFDFDF);
  EXPECT_EQ(n.GetPixelPx(1, 1), 0xFFFFFF);
  EXPECT_EQ(n.GetPixelPx(6, 6), 0xC0C0C0);
  n.DrawEdge(5, 5, 5, 9, platform::EDGE_SUNKEN, platform::BF_RECT);  // empty: nothing
  EXPECT_EQ(n.GetPixelPx(5, 5), 0xC0C0C0);
  s.SavePng(GalleryPath("surface_edges.png"));
}

TEST(PictureSurface, TextIsMeasuredAndPrintedAtTheCursor) {
  ASSERT_TRUE(QFontDatabase::families().contains("IPAGothic")) << "fonts-ipafont-gothic missing";
  PictureSurface s(200, 60, 15);
  s.SetBackColor(kWhite);
  s.SetFont(IpaGothic(9));
  s.SetForeColor(kRed);

  const double w = s.TextWidth("漢字テスト");
  const double h = s.TextHeight("漢");
  EXPECT_GT(h, 0);
  EXPECT_EQ(std::fmod(w, 15.0), 0.0);  // whole pixels
  EXPECT_EQ(s.TextHeight("a\r\nb"), 2 * h);
  EXPECT_EQ(s.TextHeight(""), h);
  EXPECT_EQ(s.TextWidth("漢字テスト\n漢"), w);  // the widest line

  // Print: top of the text at the cursor; with a new line the cursor goes to x 0 below it.
  s.SetCurrentX(150);
  s.SetCurrentY(150);
  s.Print("漢字");
  EXPECT_EQ(s.CurrentX(), 0);
  EXPECT_EQ(s.CurrentY(), 150 + h);
  int inked = 0, outside = 0;
  for (int y = 0; y < s.PixelHeight(); ++y) {
    for (int x = 0; x < s.PixelWidth(); ++x) {
      if (s.GetPixelPx(x, y) == kWhite) continue;
      const bool inBox = x >= 10 && x < 10 + s.TextWidth("漢字") / 15 && y >= 10 && y < 10 + h / 15;
      (inBox ? inked : outside)++;
    }
  }
  EXPECT_GT(inked, 10);
  EXPECT_EQ(outside, 0);

  s.SetCurrentX(300);
  s.SetCurrentY(600);
  s.Print("ab", false);
  EXPECT_EQ(s.CurrentX(), 300 + s.TextWidth("ab"));
  s.Print("x\ny", false);
  EXPECT_EQ(s.CurrentX(), s.TextWidth("y"));
  EXPECT_EQ(s.CurrentY(), 600 + h);
  s.SavePng(GalleryPath("surface_text.png"));
}

TEST(PictureSurface, NoScaleMeansNoScaledDrawing) {
  PictureSurface s(10, 10, 0);
  s.SetBackColor(kWhite);
  s.Line(0, 0, 150, 150, kRed);
  s.Box(0, 0, 150, 150, kRed);
  s.PSet(15, 15, kRed);
  s.Circle(75, 75, 30, kRed);
  s.Print("abc");
  EXPECT_EQ(s.TextWidth("abc"), 0);
  EXPECT_EQ(s.Point(0, 0), -1);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(s.GetPixelPx(x, y), kWhite);
  // Device drawing still works, and garbage coordinates do no harm.
  s.FillRectPx(2, 2, 4, 4, kRed);
  EXPECT_EQ(s.GetPixelPx(3, 3), kRed);
  PictureSurface g(10, 10, 15);
  g.Line(-1e300, 0, 1e300, 0, kRed);
  g.Line(std::nan(""), 0, 150, 0, kRed);
  g.Line(-2e9, -2e9, 2e9, 2e9, kRed);
  EXPECT_EQ(g.GetPixelPx(5, 5), kRed);
  g.MoveTo(INT32_MIN, INT32_MIN);
  g.LineTo(INT32_MAX, INT32_MAX);
  g.Circle(0, 0, 1e300, kRed);
  PictureSurface empty(-5, 0, 15);
  empty.Line(0, 0, 30, 30, kRed);
  empty.Print("x");
  EXPECT_EQ(empty.PixelWidth(), 0);
}

TEST(PictureSurface, ResizeKeepsThePictureAndFillsNewPartsWithBackColor) {
  PictureSurface s(4, 4, 15);
  s.SetBackColor(kWhite);
  s.SetBackColor(kBlack);
  s.SetPixelPx(1, 1, kRed);
  s.Resize(6, 2);
  EXPECT_EQ(s.GetPixelPx(1, 1), kRed);
  EXPECT_EQ(s.GetPixelPx(5, 1), kBlack);
  s.Resize(6, 5);
  EXPECT_EQ(s.GetPixelPx(1, 1), kRed);
  EXPECT_EQ(s.GetPixelPx(3, 4), kBlack);
  s.Resize(1 << 30, 3);
  EXPECT_EQ(s.PixelWidth(), 16384);
}

TEST(PictureBox, PaintsItsSurfaceAndReportsMouseInTwips) {
  QWidget host;
  host.resize(300, 200);
  platform::PictureBox box(&host, 15);
  box.Move(150, 300, 60 * 15, 40 * 15);
  EXPECT_EQ(box.geometry(), QRect(10, 20, 60, 40));
  EXPECT_EQ(box.Width(), 900);

  box.SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  EXPECT_EQ(box.Surface().PixelWidth(), 56);
  EXPECT_EQ(box.Surface().ScaleHeight(), 36 * 15);
  box.Surface().SetBackColor(0x00FFFF);
  box.Surface().Box(0, 0, 4 * 15, 4 * 15, kRed);

  const QImage shot = box.grab().toImage();
  EXPECT_EQ(platform::ArgbToColor(shot.pixel(2, 2)), kRed);  // surface at the border
  EXPECT_EQ(platform::ArgbToColor(shot.pixel(30, 30)), 0x00FFFF);
  EXPECT_EQ(platform::ArgbToColor(shot.pixel(0, 0)), 0x808080);  // sunken border
  shot.save(GalleryPath("picture_box.png"));

  // Growing keeps what was drawn.
  box.resize(80, 50);  // hidden: the resize event is still pending
  EXPECT_EQ(box.Surface().PixelWidth(), 76);
  EXPECT_EQ(box.Surface().GetPixelPx(0, 0), kRed);
  EXPECT_EQ(box.Surface().GetPixelPx(70, 40), 0x00FFFF);

  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  QSignalSpy down(&box, &platform::PictureBox::MouseDown);
  QSignalSpy up(&box, &platform::PictureBox::MouseUp);
  QSignalSpy dbl(&box, &platform::PictureBox::DblClick);
  QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 7));
  QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, QPoint(12, 7));
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down.at(0).at(0).toInt(), 1);           // left button
  EXPECT_EQ(down.at(0).at(1).toInt(), 1);           // Shift
  EXPECT_EQ(down.at(0).at(2).toDouble(), 10 * 15);  // inside the 2-pixel border
  EXPECT_EQ(down.at(0).at(3).toDouble(), 5 * 15);
  ASSERT_EQ(up.count(), 1);
  EXPECT_EQ(up.at(0).at(0).toInt(), 2);  // right button

  // A real double click arrives as press, release, press, double click, release: the second
  // press is not reported as MouseDown.
  down.clear();
  up.clear();
  dbl.clear();
  const QPoint at(20, 20);
  auto send = [&](QEvent::Type type, quint64 ts, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), box.mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                  Qt::NoModifier);
    e.setTimestamp(ts);
    QApplication::sendEvent(&box, &e);
  };
  send(QEvent::MouseButtonPress, 100000, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, 100010, Qt::NoButton);
  send(QEvent::MouseButtonPress, 100100, Qt::LeftButton);
  send(QEvent::MouseButtonDblClick, 100100, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, 100110, Qt::NoButton);
  send(QEvent::MouseButtonPress, 100200, Qt::LeftButton);  // a third press is a new one
  EXPECT_EQ(down.count(), 2);
  EXPECT_EQ(up.count(), 2);
  EXPECT_EQ(dbl.count(), 1);
}

}  // namespace
