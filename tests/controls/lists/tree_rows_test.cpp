#include "controls/lists/tree_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/lists/tree_scroll.h"

namespace lists {
namespace {

constexpr int32_t kTpp = 15;

// What the layout asked to be painted, as text: "row <index> y=<y> from=<start>" (no "from"
// without a connector) and "run x=<x> from=<y>".
class Recorder final : public TreeRowPainter {
 public:
  void Row(const TreeRowPlace& p, const TreeItem&) override {
    std::string line = "row " + std::to_string(p.index) + " y=" + Num(p.y);
    if (p.connector) line += " from=" + Num(p.lineFrom);
    calls.push_back(line);
  }
  void RunOn(double x, double fromY) override {
    calls.push_back("run x=" + Num(x) + " from=" + Num(fromY));
  }
  static std::string Num(double v) { return std::to_string(static_cast<int64_t>(v)); }
  std::vector<std::string> calls;
};

// `levels` items, each the child of the nearest item before it one level up, all open.
TreeModel Chain(const std::vector<int32_t>& levels) {
  TreeModel m;
  std::vector<int32_t> lastAt;
  for (int32_t level : levels) {
    m.AddItem();
    m.SetIsOpened(-2, 1);
    if (level > 0) m.SetParentItem(-2, lastAt[static_cast<size_t>(level - 1)]);
    lastAt.resize(static_cast<size_t>(level) + 1);
    lastAt[static_cast<size_t>(level)] = m.ItemID(m.Count() - 1);  // -2 reads no ItemID
  }
  return m;
}

struct Laid {
  std::vector<std::string> calls;
  std::vector<int32_t> rowTops;
  int64_t height = 0;
};

Laid LayOut(TreeModel& m, int32_t topRow, double area, int32_t oneHeight = 300) {
  Recorder r;
  std::vector<uint8_t> scratch;
  Laid out;
  out.height = LayOutTreeRows(m, TreeMetricsFor(oneHeight, kTpp), topRow, area, r, scratch);
  out.calls = r.calls;
  for (int32_t i = 0; i < m.Count(); ++i) out.rowTops.push_back(m.Item(i)->RowTop);
  return out;
}

TEST(TreeRowsTest, RowsDrawnForTheScrolledWindow) {
  // Eight top-level rows 300 high in an area 1500 high: a row is drawn when its bottom edge
  // lies inside the window, both ends included, and drawn rows stack from the top.
  struct Case {
    int32_t topRow;
    std::vector<int32_t> rowTops;
  };
  const Case cases[] = {
      {0, {0, 300, 600, 900, 1200, -1, -1, -1}},
      {1, {0, 300, 600, 900, 1200, 1500, -1, -1}},
      {2, {-1, 0, 300, 600, 900, 1200, 1500, -1}},
      {7, {-1, -1, -1, -1, -1, -1, 0, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.topRow);
    TreeModel m = Chain({0, 0, 0, 0, 0, 0, 0, 0});
    const Laid out = LayOut(m, c.topRow, 1500);
    EXPECT_EQ(out.rowTops, c.rowTops);
    EXPECT_EQ(out.height, 8 * 300);
  }
}

TEST(TreeRowsTest, HiddenItemsTakeNoRow) {
  TreeModel m = Chain({0, 1, 1, 0});
  m.SetIsOpened(0, 0);
  const Laid out = LayOut(m, 0, 3000);
  EXPECT_EQ(out.rowTops, (std::vector<int32_t>{0, -1, -1, 300}));
  EXPECT_EQ(out.height, 600);
}

TEST(TreeRowsTest, ConnectorsRunFromTheItemAboveOnTheirLevel) {
  // OneHeight 300: MarkMid 150, MarkFar 225; a parent's line continues one pixel below its
  // box, a leaf's from its middle; level 1 is indented 255 + 30 twips (x0 + MarkMid = 435).
  TreeModel m = Chain({0, 1, 2, 1, 0, 1});
  m.SetHasChild(3, 0);
  const Laid all = LayOut(m, 0, 3000);
  EXPECT_EQ(all.calls, (std::vector<std::string>{
                           "row 0 y=0",
                           "row 1 y=300 from=300",    // no line of its level yet: from its top
                           "row 2 y=600 from=600",    //
                           "row 3 y=900 from=540",    // below item 1's box: 300 + 225 + 15
                           "row 4 y=1200 from=240",   // below item 0's box
                           "row 5 y=1500 from=1500",  // level 1 was cleared by item 4
                       }));
  // Scrolled: rows above the window leave their levels' lines starting at the top pixel, and a
  // level that goes on below the window is drawn down once per start.
  TreeModel tall = Chain({0, 1, 1, 1, 1, 1, 1, 1});
  const Laid mid = LayOut(tall, 3, 900);
  EXPECT_EQ(mid.calls, (std::vector<std::string>{"row 2 y=0 from=15", "row 3 y=300 from=150",
                                                 "row 4 y=600 from=450", "row 5 y=900 from=750",
                                                 "run x=435 from=1050"}));
}

TEST(TreeRowsTest, DeeperLevelsThanLastCountedAreServed) {
  // Levels added after the deepest level was last counted (CalcMaxLevel not run): the lines
  // follow whatever levels the items have now.
  TreeModel m = Chain({0, 1});
  m.CalcMaxLevel();
  ASSERT_EQ(m.MaxLevel(), 1);
  for (int32_t level = 2; level < 40; ++level) {
    m.AddItem();
    m.SetIsOpened(-2, 1);
    m.SetParentItem(-2, m.ItemID(m.Count() - 2));
  }
  m.AddItem();  // back to the top
  const Laid out = LayOut(m, 38, 600);
  EXPECT_EQ(out.height, 41 * 300);
  // The deep rows at the bottom of the tree; level 0 runs on from the top pixel to item 40.
  EXPECT_EQ(out.calls, (std::vector<std::string>{"row 37 y=0 from=0", "row 38 y=300 from=300",
                                                 "row 39 y=600 from=600", "run x=180 from=15"}));
}

TEST(TreeRowsTest, BarFitsTheTree) {
  struct Case {
    int32_t treeHeight;
    double listHeight;
    int32_t max, page;
    bool visible;
  };
  const Case cases[] = {
      {0, 1500, 1, 1, false},            // empty: the smallest range
      {1200, 1500, 1, 1, false},         // shorter than the area
      {1500, 1500, 2, 2, true},          // exactly as high: shown
      {6000, 1500, 17, 4, true},         // 4500 \ 300 + 2; 1500 / 6000 x 17 = 4.25
      {30000000, 1500, 99997, 5, true},  // taller than a 16-bit range: kept whole
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.treeHeight);
    const TreeBarFit fit = FitTreeBar(c.treeHeight, c.listHeight, 300);
    EXPECT_EQ(fit.max, c.max);
    EXPECT_EQ(fit.largeChange, c.page);
    EXPECT_EQ(fit.visible, c.visible);
  }
  EXPECT_EQ(CentredTopRow(3000, 1500, 300, 17), 7);  // 2250 \ 300
  EXPECT_EQ(CentredTopRow(300, 1500, 300, 17), 0);
  EXPECT_EQ(CentredTopRow(30000, 1500, 300, 17), 17);
}

TEST(TreeRowsTest, DragScrollStepsOneRowAtTheEdges) {
  struct Case {
    double y;
    int32_t value;
    std::optional<int32_t> next;
  };
  const Case cases[] = {
      {1400, 3, 4},
      {1400, 9, std::nullopt},  // the bottom row, up to the maximum
      {100, 3, 2},
      {0, 0, std::nullopt},  // the top row, down to the minimum
      {700, 3, std::nullopt},
      {300, 3, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    EXPECT_EQ(TreeDragScrollStep(c.y, 300, 1500, c.value, 0, 9), c.next);
  }
}

}  // namespace
}  // namespace lists
