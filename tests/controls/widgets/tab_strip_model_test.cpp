#include "controls/widgets/tab_strip_model.h"

#include <gtest/gtest.h>

#include "platform/system_colors.h"

namespace widgets {
namespace {

TabStripModel ThreeTabs(int32_t w0, int32_t w1, int32_t w2) {
  TabStripModel m;
  m.SetNumTab(3);
  m.SetTabWidth(0, w0);
  m.SetTabWidth(1, w1);
  m.SetTabWidth(2, w2);
  return m;
}

TEST(TabStripModelTest, WidthsFollowTheTexts) {
  TabStripModel m;
  m.SetNumTab(2);
  m.SetTabStr(0, "a", 200);
  m.SetTabStr(1, "a long text", 900.4);
  EXPECT_EQ(m.Tab(0)->Width, 1080);  // the widest text + 180, for every tab
  EXPECT_EQ(m.Tab(1)->Width, 1080);
  EXPECT_EQ(m.Tab(1)->TextWidth, 900);

  TabStripModel own;
  own.UseIndpWidth = 1;
  own.TabMinWidth = 900;
  own.SetNumTab(2);
  own.SetTabStr(0, "a", 200);
  own.SetTabStr(1, "a long text", 1000);
  EXPECT_EQ(own.Tab(0)->Width, 900);
  EXPECT_EQ(own.Tab(1)->Width, 1180);
  EXPECT_EQ(own.Tab(0)->Text, "a");

  // Indices outside the tabs change nothing.
  own.SetTabStr(-1, "x", 5000);
  own.SetTabStr(2, "x", 5000);
  own.SetTabWidth(-1, 1);
  own.SetTabHidden(7, 1);
  EXPECT_EQ(own.Tab(2), nullptr);
  EXPECT_EQ(own.Tab(1)->Width, 1180);
  EXPECT_EQ(own.LastVisible(), 1);
  // A new count keeps the remaining tabs.
  own.SetNumTab(3);
  EXPECT_EQ(own.Tab(1)->Text, "a long text");
  own.SetNumTab(-4);
  EXPECT_EQ(own.NumTab(), 0);
  EXPECT_EQ(own.LastVisible(), -1);
}

TEST(TabStripModelTest, ClicksSelectTheTabStrictlyInside) {
  TabStripModel m = ThreeTabs(600, 900, 800);
  m.SetTabHidden(1, 1);  // tab 2 follows tab 0 directly: 0..600, 600..1400
  EXPECT_EQ(m.Tab(1)->DisplayNumber, -1);
  EXPECT_EQ(m.Tab(2)->DisplayNumber, 1);
  EXPECT_EQ(m.LastVisible(), 2);
  struct Case {
    double x;
    int32_t tab;
  } const cases[] = {{300, 0}, {0, -1}, {600, -1}, {600.5, 2}, {1399, 2}, {1400, -1}, {5000, -1}};
  for (const Case& c : cases) EXPECT_EQ(m.HitTest(c.x), c.tab) << c.x;

  EXPECT_EQ(m.Click(1000), 2);
  EXPECT_EQ(m.SelectedTab(), 2);
  EXPECT_EQ(m.Click(600), -1);  // a border: nothing
  EXPECT_EQ(m.SelectedTab(), 2);
  m.ClickDisabled = 1;
  EXPECT_EQ(m.Click(300), -1);
  EXPECT_EQ(m.SelectFirstVisible(), -1);
  EXPECT_EQ(m.SelectedTab(), 2);
  m.ClickDisabled = 0;

  // The first visible tab.
  m.SetTabHidden(1, 0);
  m.SetTabHidden(0, 1);
  EXPECT_EQ(m.SelectFirstVisible(), 1);
  m.SetTabHidden(1, 1);
  m.SetTabHidden(2, 1);
  EXPECT_EQ(m.SelectFirstVisible(), -1);
  EXPECT_EQ(m.SelectedTab(), 1);
  EXPECT_TRUE(m.Spans().empty());
  EXPECT_EQ(m.LastVisible(), -1);

  m.SetSelectedTab(3);  // no such tab
  EXPECT_EQ(m.SelectedTab(), 1);
  m.SetSelectedTab(-1);
  EXPECT_EQ(m.SelectedTab(), -1);
}

TEST(TabStripModelTest, Colours) {
  const auto band = TabBandColours(0xC8C8C8);
  EXPECT_EQ(band[0], 0xFFFFFF);
  EXPECT_EQ(band[4], 0xE4E4E4);  // 227.5 rounds to even
  EXPECT_EQ(band[8], 0xC8C8C8);
  EXPECT_EQ(band[9], 0xC1C1C1);  // past the base colour
  const auto blue = TabBandColours(0xFF0000);
  EXPECT_EQ(blue[8], 0xFF0000);
  EXPECT_EQ(blue[9], 0xFF0000);  // channels held at 0

  // Text of other tabs: a system colour is resolved before it is dimmed.
  EXPECT_EQ(DimmedTabText(platform::SystemColorRef(platform::COLOR_BTNFACE)), 0x7D7D7D);
  EXPECT_EQ(DimmedTabText(platform::SystemColorRef(platform::COLOR_WINDOWTEXT)), 0x000000);
  EXPECT_EQ(DimmedTabText(0xFFFFFF), 0xA6A6A6);
}

}  // namespace
}  // namespace widgets
