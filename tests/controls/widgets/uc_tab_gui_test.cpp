#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <vector>

#include "controls/widgets/view/uc_tab.h"
#include "foundation/view/qt_font_factory.h"

namespace widgets {
namespace {

constexpr int32_t kBase = 0xC8C8C8;  // the button face toned to a mean of 200
constexpr int32_t kShadow = 0x808080;

class UcTabGuiTest : public ::testing::Test {
 protected:
  void SetUp() override { foundation::InstallQtFontFactory(); }

  // The settings dialog's four pages, each tab at least 720 twips (48 pixels) wide.
  static std::unique_ptr<UC_Tab> SettingsTabs() {
    auto tabs = std::make_unique<UC_Tab>();
    tabs->Move(0, 0, 6000, 360);  // 400 × 24 pixels
    tabs->SetNumTab(4);
    tabs->SetUseIndpWidth(1);
    tabs->SetTabMinWidth(720);
    const char* captions[] = {"一般", "表示", "外部制御", "CNT"};
    for (int i = 0; i < 4; ++i) tabs->SetTabStr(i, captions[i]);
    tabs->DrawAll();
    tabs->show();
    return tabs;
  }
  // Pixel span of each visible tab.
  static std::vector<std::pair<int, int>> Spans(const UC_Tab& tabs) {
    std::vector<std::pair<int, int>> spans;
    for (const TabSpan& s : tabs.Model().Spans()) {
      spans.push_back({static_cast<int>(s.left) / 15, static_cast<int>(s.right) / 15});
    }
    return spans;
  }
};

TEST_F(UcTabGuiTest, ClicksSelectAndReport) {
  auto tabs = SettingsTabs();
  std::vector<int32_t> clicked;
  QObject::connect(tabs.get(), &UC_Tab::TabClicked, [&](int32_t i) { clicked.push_back(i); });
  const auto spans = Spans(*tabs);
  ASSERT_EQ(spans.size(), 4U);
  EXPECT_EQ(spans[0].second - spans[0].first, 48);
  EXPECT_GT(spans[2].second - spans[2].first, 48);  // the longer caption is wider

  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, QPoint(spans[2].first + 5, 10));
  EXPECT_EQ(tabs->SelectedTab(), 2);
  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, QPoint(spans[3].first, 10));  // border
  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, QPoint(spans[3].second + 5, 10));
  EXPECT_EQ(clicked, std::vector<int32_t>{2});
  tabs->SetClickDisabled(1);
  QTest::mouseClick(tabs.get(), Qt::LeftButton, {}, QPoint(spans[0].first + 5, 10));
  tabs->RaiseMinTabClick();
  EXPECT_EQ(clicked, std::vector<int32_t>{2});
  tabs->SetClickDisabled(0);
  tabs->SetTabHidden(0, 1);
  tabs->RaiseMinTabClick();
  EXPECT_EQ(clicked, (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(tabs->SelectedTab(), 1);
}

TEST_F(UcTabGuiTest, SelectedTabIsOpenAndLit) {
  auto tabs = SettingsTabs();
  tabs->SetSelectedTab(1);
  tabs->DrawAll();
  const platform::PictureSurface& s = tabs->Surface();
  const auto spans = Spans(*tabs);
  const int bottom = s.PixelHeight() - 1;
  const int mid0 = spans[0].first + 3;  // away from any caption
  const int mid1 = spans[1].first + 3;
  // The selected tab's band starts at its top and its bottom is open; the others' band starts
  // one pixel lower and a bottom edge closes them.
  EXPECT_EQ(s.GetPixelPx(mid1, 0), 0xFFFFFF);
  EXPECT_EQ(s.GetPixelPx(mid1, 8), kBase);
  EXPECT_EQ(s.GetPixelPx(mid1, bottom), kBase);
  EXPECT_EQ(s.GetPixelPx(mid0, 0), kBase);
  EXPECT_EQ(s.GetPixelPx(mid0, 1), 0xFFFFFF);
  EXPECT_EQ(s.GetPixelPx(mid0, bottom), kShadow);
  // Side edges, and a closing edge after the last tab.
  EXPECT_EQ(s.GetPixelPx(spans[1].first, 12), kShadow);
  EXPECT_EQ(s.GetPixelPx(spans[3].second, 12), kShadow);
  EXPECT_EQ(s.GetPixelPx(spans[3].second + 5, 12), kBase);
}

TEST_F(UcTabGuiTest, BackgroundComesFromThePicture) {
  platform::PictureSurface page(800, 100);
  page.SetBackColor(0x336699);
  page.FillRectPx(0, 0, 300, 100, 0x224488);
  auto tabs = SettingsTabs();
  tabs->SetBGPic(4200, 300, page);  // pixels (280, 20) of the page
  tabs->DrawAll();
  const auto spans = Spans(*tabs);
  const platform::PictureSurface& s = tabs->Surface();
  const int x = spans[3].second + 5;
  EXPECT_EQ(s.GetPixelPx(x, 12), x + 280 < 300 ? 0x224488 : 0x336699);
  EXPECT_EQ(s.GetPixelPx(399, 12), 0x336699);
}

}  // namespace
}  // namespace widgets
