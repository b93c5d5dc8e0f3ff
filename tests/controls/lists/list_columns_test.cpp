#include "controls/lists/list_columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace lists {
namespace {

// Six columns 600, 700, ... 1100 twips wide.
ListColumns SixColumns() {
  ListColumns c;
  c.Reset(6);
  for (int32_t k = 0; k < 6; ++k) c.SetTabWidth(k, 600 + 100 * k);
  return c;
}

std::vector<int32_t> Order(const ListColumns& c) {
  std::vector<int32_t> out;
  for (int32_t p = 0; p < c.Count(); ++p) out.push_back(c.ColumnAt(p));
  return out;
}

TEST(ListColumnsTest, SetTabOrderShiftsTheColumnsBetweenAndLaysOut) {
  ListColumns c = SixColumns();
  c.SetTabOrder(3, 0);
  EXPECT_EQ(Order(c), (std::vector<int32_t>{3, 0, 1, 2, 4, 5}));
  // The layout follows at once: column 3 (900 twips) is now leftmost.
  EXPECT_EQ(c.Column(3)->TabLeft, 0);
  EXPECT_EQ(c.Column(0)->TabLeft, 900);
  c.SetTabOrder(3, 4);
  EXPECT_EQ(Order(c), (std::vector<int32_t>{0, 1, 2, 4, 3, 5}));
  for (auto [column, position] : {std::pair{3, 4}, {-1, 0}, {6, 0}, {0, 6}, {0, -1}}) {
    c.SetTabOrder(column, position);
    EXPECT_EQ(Order(c), (std::vector<int32_t>{0, 1, 2, 4, 3, 5}));
  }
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(c.ColumnAt(c.TabOrder(k)), k);
}

TEST(ListColumnsTest, RestoreTabOrderGivesEverySavedPermutation) {
  // Every order of six columns, read back as each column's position, comes back as it was;
  // applying SetTabOrder column by column does not for many of them.
  std::vector<int32_t> perm(6);
  std::iota(perm.begin(), perm.end(), 0);
  int wrongOneByOne = 0, count = 0;
  do {
    ListColumns c = SixColumns();
    EXPECT_TRUE(c.RestoreTabOrder(perm));
    ListColumns oneByOne = SixColumns();
    for (int32_t k = 0; k < 6; ++k) {
      EXPECT_EQ(c.TabOrder(k), perm[static_cast<size_t>(k)]);
      EXPECT_EQ(c.ColumnAt(perm[static_cast<size_t>(k)]), k);
      oneByOne.SetTabOrder(k, perm[static_cast<size_t>(k)]);
    }
    bool same = true;
    for (int32_t k = 0; k < 6; ++k) same = same && oneByOne.TabOrder(k) == c.TabOrder(k);
    wrongOneByOne += same ? 0 : 1;
    ++count;
    // Laid out in the restored order.
    int32_t edge = 0;
    for (int32_t p = 0; p < 6; ++p) {
      const ListColumn* col = c.Column(c.ColumnAt(p));
      EXPECT_EQ(col->TabLeft, edge);
      edge = col->TabRight;
    }
    EXPECT_EQ(c.TotalWidth(), 6 * 600 + 1500);
  } while (std::next_permutation(perm.begin(), perm.end()));
  EXPECT_EQ(count, 720);
  EXPECT_EQ(wrongOneByOne, 190);

  // What is not a permutation gives the default order.
  const std::vector<std::vector<int32_t>> bad = {{0, 1, 2, 3, 4},
                                                 {0, 1, 2, 3, 4, 5, 6},
                                                 {0, 0, 2, 3, 4, 5},
                                                 {1, 2, 3, 4, 5, 6},
                                                 {-1, 0, 1, 2, 3, 4}};
  for (const auto& positions : bad) {
    ListColumns c = SixColumns();
    c.SetTabOrder(5, 0);
    EXPECT_FALSE(c.RestoreTabOrder(positions));
    EXPECT_EQ(Order(c), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(c.Column(5)->TabLeft, 600 + 700 + 800 + 900 + 1000);
  }
}

TEST(ListColumnsTest, HiddenColumnsWidthsAndHitTests) {
  ListColumns c = SixColumns();
  c.SetTabHidden(2, 1);  // re-lays out at once
  EXPECT_EQ(c.Column(2)->TabLeft, 1300);
  EXPECT_EQ(c.Column(2)->TabRight, 1300);
  EXPECT_EQ(c.Column(3)->TabLeft, 1300);
  EXPECT_EQ(c.TotalWidth(), 1300 + 900 + 1000 + 1100);
  c.SetTabWidth(0, 100);
  EXPECT_EQ(c.TabWidth(0), kMinTabWidth);
  EXPECT_EQ(c.Column(1)->TabLeft, 450);

  // Borders: 0 | 450 | 1150 (2 hidden) | 2050 | 3050 | 4150.
  struct Hit {
    double x;
    int32_t column;
    int32_t border;
  };
  const Hit hits[] = {
      {-100, 0, -1}, {0, 0, -1},   {449, 0, 0},   {450, 1, 0},  {524, 1, 0},
      {525, 1, -1},  {1149, 1, 1}, {1150, 3, 1},  {2049, 3, 3}, {2050, 4, 3},
      {4149, 5, 5},  {4150, 5, 5}, {9000, 5, -1},
  };
  for (const Hit& h : hits) {
    SCOPED_TRACE(h.x);
    EXPECT_EQ(c.TabAtX(h.x), h.column);
    EXPECT_EQ(c.TabBorderAtX(h.x, 15), h.border);
  }
  // Right of every column when the last ones are hidden: the last shown column.
  c.SetTabHidden(5, 1);
  EXPECT_EQ(c.TabAtX(9000), 4);
  for (int32_t k = 0; k < 6; ++k) c.SetTabHidden(k, 1);
  EXPECT_EQ(c.TabAtX(10), 0);
  EXPECT_EQ(c.FirstShownColumn(), -1);
  EXPECT_EQ(c.TotalWidth(), 0);
}

TEST(ListColumnsTest, EditorBitsAndRanges) {
  ListColumns c;
  c.Reset(2);
  c.SetUseTextCombo(0, kEditorText | kEditorList);
  EXPECT_EQ(c.FrontObj(0), kEditorList);
  c.SetUseTextCombo(0, 0);
  EXPECT_EQ(c.FrontObj(0), kEditorList);  // no bit: kept
  c.SetUseTextCombo(1, kEditorText | kEditorCombo);
  EXPECT_EQ(c.FrontObj(1), kEditorCombo);
  c.SetTabName(2, "x");
  c.SetTabWidth(-1, 900);
  EXPECT_EQ(c.TabName(2), "");
  EXPECT_EQ(c.TabWidth(-1), 0);
  EXPECT_EQ(c.ColumnAt(2), -1);
  c.Reset(-3);
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.TotalWidth(), 0);
}

}  // namespace
}  // namespace lists
