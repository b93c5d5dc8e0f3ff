#include <gtest/gtest.h>

#include "controls/lists/view/uc_apsbar.h"
#include "tests/controls/lists/list_view_fixture.h"

namespace lists {
namespace {

// A bar 3000 twips wide inside its border (204 x 24 pixels outside), as the playout sets it up.
std::unique_ptr<UC_apsbar> MakeBar() {
  foundation::InstallQtFontFactory();
  auto bar = std::make_unique<UC_apsbar>();
  bar->resize(204, 24);
  bar->show();
  bar->SetFontStyle(12, true, "");
  bar->SetCountDown(10);
  bar->Init();
  bar->SetColorType(2);
  return bar;
}

TEST(UcApsbarGuiTest, CountDownColoursAtTenFiveAndZero) {
  auto bar = MakeBar();
  ASSERT_EQ(bar->BarWidth(), 3000);
  const platform::PictureSurface& s = bar->PictureBar().Surface();
  const platform::PictureSurface& grad = bar->PictureGrad();
  // The red pair: &H7070A0 at the top and bottom edges, &HC0C0F0 in the middle row.
  EXPECT_EQ(grad.GetPixelPx(5, 0), 0x7070A0);
  EXPECT_EQ(grad.GetPixelPx(5, 10), 0xC0C0F0);
  EXPECT_EQ(grad.GetPixelPx(5, 19), grad.GetPixelPx(5, 1));

  bar->Draw(10, "");
  EXPECT_EQ(s.GetPixelPx(2, 10), 0xC0C0F0);  // the whole gradient
  EXPECT_EQ(s.GetPixelPx(197, 10), 0xC0C0F0);
  bar->Draw(5, "");
  // The elapsed half inverted (the cleared white turns black), the rest still the gradient.
  EXPECT_EQ(s.GetPixelPx(2, 10), 0x000000);
  EXPECT_EQ(s.GetPixelPx(98, 10), 0x000000);
  EXPECT_EQ(s.GetPixelPx(100, 10), grad.GetPixelPx(0, 10));
  EXPECT_EQ(s.GetPixelPx(197, 0), 0x7070A0);
  bar->Draw(0, "");
  EXPECT_EQ(s.GetPixelPx(2, 10), 0x000000);
  EXPECT_EQ(s.GetPixelPx(197, 10), 0x000000);
  bar->Draw(5, "00:05");
  bar->grab().save(testing::GalleryDir() + "/count_down_bar.png");
}

TEST(UcApsbarGuiTest, RepeatsAndOddSettingsDrawNothingNew) {
  auto bar = MakeBar();
  const platform::PictureSurface& s = bar->PictureBar().Surface();
  // The first Draw with 0 and no text equals what a fresh bar remembers: nothing is drawn.
  UC_apsbar fresh;
  fresh.resize(204, 24);
  fresh.SetCountDown(10);
  fresh.Init();
  fresh.Draw(0, "");
  EXPECT_EQ(fresh.PictureBar().Surface().GetPixelPx(2, 10), 0xFFFFFF);
  fresh.SetColor(0, 0);  // the pair painted last on a fresh bar: nothing
  EXPECT_EQ(fresh.PictureGrad().GetPixelPx(0, 0),
            platform::ResolveColor(platform::SystemColorRef(15)));

  bar->Draw(10, "");
  bar->SetColorType(3);  // no such type
  bar->SetColorType(-1);
  EXPECT_EQ(bar->PictureGrad().GetPixelPx(5, 10), 0xC0C0F0);
  bar->SetColorType(1);
  bar->Draw(10, "");  // same value and text: the bar keeps the red it shows
  EXPECT_EQ(s.GetPixelPx(2, 10), 0xC0C0F0);
  bar->Draw(9, "");
  EXPECT_EQ(s.GetPixelPx(197, 10), 0xF5C5C0);

  // No threshold and a flat bar: the whole gradient, no division by zero.
  bar->SetCountDown(0);
  bar->Draw(-3, "x");
  EXPECT_EQ(s.GetPixelPx(2, 10), 0xF5C5C0);
  UC_apsbar flat;
  flat.resize(204, 5);  // one pixel inside its border
  flat.Init();
  flat.SetColorType(2);
  EXPECT_EQ(flat.PictureGrad().GetPixelPx(0, 0), 0x7070A0);
  flat.SetCountDown(10);
  flat.Draw(5, "");
}

}  // namespace
}  // namespace lists
