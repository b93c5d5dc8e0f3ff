#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <algorithm>

#include "controls/widgets/view/uc_slider.h"
#include "tests/controls/lists/list_view_fixture.h"

namespace lists {
namespace {

using testing::kTpp;
using testing::MakeListView;

std::vector<std::string> Column(const UC_ListView& lv, int32_t c) {
  std::vector<std::string> out;
  for (int32_t r = 0; r < lv.ItemCount(); ++r) out.push_back(lv.Value(r, c).Text());
  return out;
}

// A point on the header for a twips x.
QPoint HeaderPoint(double x) { return QPoint(static_cast<int>(x / kTpp), 8); }

TEST(UcListViewHeaderGuiTest, HeaderClickSortsBothWays) {
  auto lv = MakeListView(3, {900, 900, 900});
  const char* names[] = {"b", "A", "a"};
  for (int32_t r = 0; r < 3; ++r) lv->SetValue(r, 1, names[r]);
  platform::PictureBox& tab = lv->PictureTab();
  QTest::mouseClick(&tab, Qt::LeftButton, {}, HeaderPoint(1200));
  EXPECT_EQ(Column(*lv, 1), (std::vector<std::string>{"A", "a", "b"}));
  EXPECT_EQ(lv->OrderData(), 1);
  QTest::mouseClick(&tab, Qt::LeftButton, {}, HeaderPoint(1200));
  EXPECT_EQ(Column(*lv, 1), (std::vector<std::string>{"b", "a", "A"}));
  EXPECT_EQ(lv->OrderInverted(), 1);
  // With sorting disabled a header click changes nothing.
  lv->SetSortDisabled(1);
  QTest::mouseClick(&tab, Qt::LeftButton, {}, HeaderPoint(1200));
  EXPECT_EQ(Column(*lv, 1), (std::vector<std::string>{"b", "a", "A"}));
  lv->SetSortDisabled(0);
  lv->SetClickDisabled(1);
  QTest::mouseClick(&tab, Qt::LeftButton, {}, HeaderPoint(100));
  EXPECT_EQ(lv->OrderData(), 1);
}

TEST(UcListViewHeaderGuiTest, BorderDragStopsAt450AndRaisesTabMoved) {
  auto lv = MakeListView(3, {1200, 900, 900});
  QSignalSpy moved(lv.get(), &UC_ListView::TabMoved);
  platform::PictureBox& tab = lv->PictureTab();
  // Over the border of column 0 (1200 twips) the header shows the sizing pointer.
  QTest::mouseMove(&tab, HeaderPoint(1230));
  EXPECT_EQ(lv->MousePointer(), 9);
  QTest::mousePress(&tab, Qt::LeftButton, {}, HeaderPoint(1230));
  QTest::mouseMove(&tab, HeaderPoint(1500));
  // The border follows the pointer, 3 pixels short of it.
  EXPECT_EQ(lv->TabWidth(0), 1200 + 1500 + 45 - 1200);
  EXPECT_EQ(lv->Model().Columns().Column(1)->TabLeft, lv->TabWidth(0));
  QTest::mouseMove(&tab, HeaderPoint(15));
  EXPECT_EQ(lv->TabWidth(0), 450);
  EXPECT_EQ(moved.count(), 0);
  QTest::mouseRelease(&tab, Qt::LeftButton, {}, HeaderPoint(15));
  EXPECT_EQ(moved.count(), 1);
  EXPECT_EQ(lv->MousePointer(), 0);
  EXPECT_EQ(lv->TabWidth(0), 450);
  // Away from any border the pointer is the default one and a click sorts instead.
  QTest::mouseMove(&tab, HeaderPoint(900));
  EXPECT_EQ(lv->MousePointer(), 0);
}

TEST(UcListViewHeaderGuiTest, HeaderMenuReorders) {
  auto lv = MakeListView(2, {900, 900, 900, 900}, [](UC_ListView& l) { l.SetUseTabOrder(1); });
  QSignalSpy reordered(lv.get(), &UC_ListView::TabReOrderd);
  QMenu& menu = lv->MenuRCTab();
  ASSERT_EQ(menu.actions().size(), 4);
  EXPECT_EQ(menu.actions()[3]->text(), "4");
  // A right click on column 2 offers every position but its own.
  QTest::mouseClick(&lv->PictureTab(), Qt::RightButton, {}, HeaderPoint(2000));
  EXPECT_TRUE(menu.isVisible());
  EXPECT_FALSE(menu.actions()[2]->isEnabled());
  EXPECT_TRUE(menu.actions()[0]->isEnabled());
  menu.actions()[0]->trigger();
  menu.hide();
  EXPECT_EQ(reordered.count(), 1);
  EXPECT_EQ(lv->TabOrder(2), 0);
  EXPECT_EQ(lv->TabOrder(0), 1);
  EXPECT_EQ(lv->Model().Columns().Column(2)->TabLeft, 0);
  EXPECT_EQ(lv->Model().Columns().Column(0)->TabLeft, 900);
  // On a border the click belongs to the column whose interval starts there.
  QTest::mouseClick(&lv->PictureTab(), Qt::RightButton, {}, HeaderPoint(900));
  EXPECT_FALSE(menu.actions()[1]->isEnabled());
  menu.hide();
  // Without UseTabOrder no menu.
  lv->SetUseTabOrder(0);
  QTest::mouseClick(&lv->PictureTab(), Qt::RightButton, {}, HeaderPoint(100));
  EXPECT_FALSE(menu.isVisible());
}

TEST(UcListViewHeaderGuiTest, HeaderDrawsCaptionsAndPressedCells) {
  auto lv = MakeListView(1, {900, 900}, [](UC_ListView& l) {
    l.SetTabAlign(1, 1);
    l.SetTabName(1, "右寄せの長い見出し");
  });
  platform::PictureSurface& s = lv->PictureTab().Surface();
  // Each cell is framed by a 3-D edge: the lit top-left corner and the dark bottom-right.
  const int32_t face = s.GetPixelPx(30, 10);
  EXPECT_NE(s.GetPixelPx(0, 0), face);
  EXPECT_NE(s.GetPixelPx(59, 19), face);
  // A caption too wide for its column keeps its end when right-aligned: the caption ends 6
  // pixels before the column's right border.
  bool inkNearRight = false;
  for (int y = 3; y < 18; ++y) inkNearRight |= s.GetPixelPx(119 - 7, y) != s.GetPixelPx(119 - 7, 1);
  EXPECT_TRUE(inkNearRight);
  // The header of a list without one is not drawn.
  auto bare = MakeListView(
      1, {900}, [](UC_ListView&) {}, 0, [](UC_ListView& l) { l.SetTabDisabled(1); });
  EXPECT_TRUE(bare->PictureTab().isHidden());
  EXPECT_EQ(bare->PictureList().y(), 2);
  lv->grab().save(testing::GalleryDir() + "/list_view_header.png");
}

TEST(UcListViewHeaderGuiTest, AutomaticWidthsFollowTheWidestCell) {
  auto lv = MakeListView(3, {3000, 3000});
  lv->SetValue(1, 1, "ずっと長いセルの文字列です");
  lv->SetTabWidthAuto();
  const platform::PictureSurface& s = lv->PictureList().Surface();
  // The widest text plus 16 pixels (no icon column here), never below 450 twips.
  double widest = 0;
  for (const char* text : {"0-0", "1-0", "2-0"}) widest = std::max(widest, s.TextWidth(text));
  EXPECT_EQ(lv->TabWidth(0), std::max(450, static_cast<int32_t>(widest) + 16 * kTpp));
  EXPECT_EQ(lv->TabWidth(1),
            static_cast<int32_t>(s.TextWidth("ずっと長いセルの文字列です")) + 16 * kTpp);
  EXPECT_EQ(lv->Model().Columns().Column(1)->TabLeft, lv->TabWidth(0));
  // A column narrower than 450 twips of text is held at 450.
  lv->SetValue(0, 0, "");
  lv->SetValue(1, 0, "");
  lv->SetValue(2, 0, "");
  lv->SetTabWidthAuto();
  EXPECT_EQ(lv->TabWidth(0), 450);
  // An empty list keeps its widths.
  auto empty = MakeListView(0, {3000});
  empty->SetTabWidthAuto();
  EXPECT_EQ(empty->TabWidth(0), 3000);
}

TEST(UcListViewHeaderGuiTest, BarsAreMadeOnceOfTheKindAskedBeforeInit) {
  auto lv = MakeListView(
      3, {900}, [](UC_ListView&) {}, 1);
  const auto sliders = lv->findChildren<widgets::UC_Slider*>().size();
  EXPECT_EQ(sliders, 2);
  lv->SetUseUCBar(0);  // after Init: no effect
  lv->Init();
  EXPECT_EQ(lv->findChildren<widgets::UC_Slider*>().size(), sliders);
  EXPECT_TRUE(lv->VBar()->IsSlider());
  EXPECT_EQ(lv->ItemCount(), 0);  // Init empties the list
}

}  // namespace
}  // namespace lists
