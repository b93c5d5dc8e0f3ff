#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <cstdio>

#include "foundation/view/design_painter.h"

namespace {

using platform::PictureSurface;

// Renders every design at two sizes, with the system tones and with a coloured triple, into the
// build folder's gallery/ for a person to look at; also one contact sheet per palette.
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
        foundation::PaintPictureDesign(s, design, pal.c1, pal.c2, pal.c3);
        char name[96];
        std::snprintf(name, sizeof name, "/design_%s_%+03d_%dx%d.png", pal.name, design,
                      size.width(), size.height());
        const QString path = dir + name;
        EXPECT_TRUE(s.SavePng(path)) << path.toStdString();
        EXPECT_GT(QFileInfo(path).size(), 0);
        sheetPainter.drawImage(x, y, s.Image());
        x += size.width() + kGap;
      }
    }
    sheetPainter.end();
    EXPECT_TRUE(sheet.save(dir + "/design_sheet_" + pal.name + ".png"));
  }
}

}  // namespace
