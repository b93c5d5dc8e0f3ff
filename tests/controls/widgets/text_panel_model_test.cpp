#include "controls/widgets/text_panel_model.h"

#include <gtest/gtest.h>

#include "platform/system_colors.h"

namespace widgets {
namespace {

// The playout clock's four cells with their adjusted tops: the date, the time (vertically
// centred), and the two lines of the item on air at the right.
TextPanelModel ClockCells() {
  TextPanelModel model;
  model.AddCell({0, 270, 80, "", 0});
  model.AddCell({0, 210, 40, "", 0});
  model.AddCell({0, 1950, 95, "", 1});
  model.AddCell({0, 1950, 350, "", 1});
  return model;
}

TEST(TextPanelModelTest, HitTestTakesTheLastCellAboveAndLeftThatDoesNotStepBack) {
  const TextPanelModel model = ClockCells();
  struct Case {
    double x, y;
    int32_t cell;
  } const cases[] = {
      {100, 100, 0},   // left of every cell: the default
      {300, 100, 0},   // cell 0; cell 1's top lies above the one taken
      {250, 100, 1},   // left of cell 0: cell 1
      {2000, 60, 1},   // above cell 0: cell 1, and cell 2 lies below the point
      {2000, 100, 2},  // cell 2 beats cell 0
      {2000, 400, 3},  // cell 3 below cell 2, same left
      {270, 100, 1},   // exactly on cell 0's left edge: not inside it
      {1950, 400, 0},  // on cells 2 and 3's left edge: back to cell 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(model.HitTest(c.x, c.y), c.cell) << c.x << "," << c.y;
  }

  // A centred cell is never taken by the scan; it is reached only as the default 0.
  TextPanelModel centred;
  centred.AddCell({0, -1, 0, "", 0});
  centred.AddCell({0, 100, 50, "", 0});
  EXPECT_EQ(centred.HitTest(50, 10), 0);
  EXPECT_EQ(centred.HitTest(150, 60), 1);
  EXPECT_EQ(TextPanelModel().HitTest(10, 10), 0);
}

TEST(TextPanelModelTest, TextsChangeOnlyForExistingCellsAndOnlyWhenDifferent) {
  TextPanelModel model = ClockCells();
  EXPECT_TRUE(model.DispMes(1, "12:00:00"));
  EXPECT_FALSE(model.DispMes(1, "12:00:00"));  // unchanged: no redraw
  EXPECT_TRUE(model.DispMes(1, "12:00:01"));
  EXPECT_TRUE(model.DispMes(2, "OAオフ"));
  EXPECT_TRUE(model.DispMes(2, "OAｵﾌ"));  // any byte difference counts
  for (int32_t index : {-1, -2, 4, 100}) {
    EXPECT_FALSE(model.DispMes(index, "x")) << index;
    EXPECT_EQ(model.TextMes(index), "") << index;
    model.SetUseClick(index, 1);  // ignored, no crash
  }
  EXPECT_EQ(model.TextMes(1), "12:00:01");
  EXPECT_EQ(TextPanelModel().TextMes(0), "");
}

TEST(TextPanelModelTest, ColourSets) {
  TextPanelModel model;
  EXPECT_FALSE(model.UsesColorSets());
  model.DesignType = 1;
  EXPECT_FALSE(model.UsesColorSets());  // marked, but nothing to show: plain
  EXPECT_FALSE(model.AddStdColorSet(6));
  EXPECT_FALSE(model.AddStdColorSet(-1));
  EXPECT_TRUE(model.ColorSets().empty());
  ASSERT_TRUE(model.AddStdColorSet(1));
  EXPECT_EQ(model.ColorSets()[0].FontColor, 0xD0B0B0);
  EXPECT_EQ(model.ColorSets()[0].Color2, 0x886868);
  EXPECT_TRUE(StdColorSet(5).has_value());

  model.AddColorSet({0xC0C0FF, 0x202050, 0xA0A0FF, 0});
  EXPECT_TRUE(model.UsesColorSets());
  EXPECT_TRUE(model.SelectColorSet(1));
  for (int32_t set : {2, -1}) EXPECT_FALSE(model.SelectColorSet(set)) << set;
  EXPECT_EQ(model.CurrentSet, 1);
  EXPECT_EQ(model.ShownSet()->FontColor, 0xC0C0FF);

  model.AddCell({});
  model.Reset();
  EXPECT_EQ(model.DesignType, 0);
  EXPECT_EQ(model.CurrentSet, 0);
  EXPECT_TRUE(model.Cells().empty());
  EXPECT_EQ(model.ShownSet(), nullptr);
}

TEST(TextPanelModelTest, PressAndReleaseReportTheCellUnderTheMouse) {
  TextPanelModel model = ClockCells();
  EXPECT_FALSE(model.Release(2000, 100).has_value());  // no press
  auto press = model.Press(2000, 100);
  ASSERT_TRUE(press.has_value());
  EXPECT_EQ(press->index, 2);
  EXPECT_TRUE(press->redraw);  // cell 2 lights
  EXPECT_TRUE(model.Pressed());
  auto release = model.Release(300, 100);  // released over cell 0, which does not react
  ASSERT_TRUE(release.has_value());
  EXPECT_EQ(release->index, 0);
  EXPECT_FALSE(release->redraw);
  EXPECT_FALSE(model.Pressed());

  model.Locked = 1;
  EXPECT_FALSE(model.Press(2000, 100).has_value());
  EXPECT_FALSE(model.Pressed());
  model.Locked = 0;
  ASSERT_TRUE(model.Press(2000, 100).has_value());
  model.Locked = 1;
  EXPECT_FALSE(model.Release(2000, 100).has_value());

  // A panel without cells reports cell 0 and never lights.
  TextPanelModel empty;
  press = empty.Press(5, 5);
  ASSERT_TRUE(press.has_value());
  EXPECT_EQ(press->index, 0);
  EXPECT_FALSE(press->redraw);
}

TEST(TextPanelModelTest, CellGeometry) {
  // Tops at 15 twips per pixel: the given top plus one pixel, less half of the extra cell
  // height of a face drawn taller.
  EXPECT_EQ(CellTopFor(75, 240, 1.0F, 15), 90);
  EXPECT_EQ(CellTopFor(75, 330, 1.0F / 1.34F, 15), 48);  // 75 - 41.87 + 15
  // Centred tops: half the free height; one pixel lower when asked; 0 for a text too high.
  EXPECT_EQ(CentredCellTop(600, 240, false, 15), 180);
  EXPECT_EQ(CentredCellTop(600, 240, true, 15), 195);
  EXPECT_EQ(CentredCellTop(601, 240, false, 15), 180);  // 180.5 rounds to even
  EXPECT_EQ(CentredCellTop(200, 240, true, 15), 0);
  // Text left: as placed, or centred but never left of the margin.
  EXPECT_DOUBLE_EQ(CellTextX(90, 5000, 1000, 60), 90);
  EXPECT_DOUBLE_EQ(CellTextX(-1, 400, 1000, 60), 300);
  EXPECT_DOUBLE_EQ(CellTextX(-1, 1000, 1000, 60), 60);
  EXPECT_DOUBLE_EQ(CellTextX(-1, 3000, 1000, 60), 60);
  EXPECT_EQ(PanelMargin(1, false, 15), 30);
  EXPECT_EQ(PanelMargin(1, true, 15), 60);
  EXPECT_EQ(PanelMargin(0, false, 15), 60);
  // Lit text: lighter, or white on a system colour.
  EXPECT_EQ(LitTextColor(0xD0B0B0), 0xEECECE);
  EXPECT_EQ(LitTextColor(0xF0F0F0), 0xFFFFFF);
  EXPECT_EQ(LitTextColor(platform::SystemColorRef(platform::COLOR_BTNTEXT)), 0xFFFFFF);
}

}  // namespace
}  // namespace widgets
