#include "controls/lists/list_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lists {
namespace {

// A list of `rows` rows with one column and one auxiliary value; cell 0 of row r is "r<r>" and
// its auxiliary value r, so rows can be told apart after any reordering.
ListModel MakeList(int32_t rows, int32_t numData = 1) {
  ListModel m;
  m.SetNumData(numData);
  m.SetNumAux(1);
  m.Init();
  m.AddItem(rows);
  for (int32_t r = 0; r < rows; ++r) {
    m.SetValue(r, 0, "r" + std::to_string(r));
    m.SetAuxID(r, 0, r);
  }
  return m;
}

std::vector<std::string> Cells(const ListModel& m, int32_t column = 0) {
  std::vector<std::string> out;
  for (int32_t r = 0; r < m.ItemCount(); ++r) out.push_back(m.Value(r, column).Text());
  return out;
}

std::vector<int32_t> Flags(const ListModel& m) {
  std::vector<int32_t> out;
  for (int32_t r = 0; r < m.ItemCount(); ++r) out.push_back(m.IsSelected(r));
  return out;
}

TEST(ListModelTest, IndexRuleMatrix) {
  // Which row each index reaches for each member, on three rows with row 1 current; -1 means
  // the index is refused (Let does nothing, Get reads empty or 0).
  struct Case {
    int32_t index;
    int32_t current;
    int32_t value, dispColorGet, hLineGet, isSelectedGet;
  };
  const Case cases[] = {
      {0, 1, 0, 0, 0, 0},      {2, 1, 2, 2, 2, 2},      {3, 1, -1, -1, -1, -1},
      {-2, 1, 2, -1, -1, -1},  {-1, 1, 1, 1, 1, 1},     {-1, -1, -1, -1, -1, -1},
      {-3, 1, -1, -1, -1, -1}, {-1, 3, -1, -1, -1, -1}, {INT32_MIN, 1, -1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("index " + std::to_string(c.index) + " current " + std::to_string(c.current));
    ListModel m = MakeList(3);
    for (int32_t r = 0; r < 3; ++r) {
      m.SetDispColor(r, 100 + r);
      m.SetHLine(r, 200 + r);
      m.SetIsSelected(r, 1);
      m.SetIconType(r, 300 + r);
    }
    // A current row of 3 is what a deletion of the last current row leaves behind.
    if (c.current == 3) {
      m.AddItem(1);
      m.SetSelectedItem(3);
      m.DeleteItem(-1);
    } else {
      m.SetSelectedItem(c.current);
    }
    ASSERT_EQ(m.SelectedItem(), c.current);
    EXPECT_EQ(m.Value(c.index, 0).Text(), c.value >= 0 ? "r" + std::to_string(c.value) : "");
    EXPECT_EQ(m.AuxID(c.index, 0).Number().value_or(-1), c.value);
    EXPECT_EQ(m.IconType(c.index), c.value >= 0 ? 300 + c.value : 0);
    EXPECT_EQ(m.DispColor(c.index), c.dispColorGet >= 0 ? 100 + c.dispColorGet : 0);
    EXPECT_EQ(m.HLine(c.index), c.hLineGet >= 0 ? 200 + c.hLineGet : 0);
    EXPECT_EQ(m.IsSelected(c.index), c.isSelectedGet >= 0 ? 1 : 0);
    // Lets reach the same row as Value does, -2 included.
    m.SetValue(c.index, 0, "set");
    m.SetDispColor(c.index, 7);
    std::vector<std::string> cells = {"r0", "r1", "r2"};
    if (c.value >= 0) cells[static_cast<size_t>(c.value)] = "set";
    EXPECT_EQ(Cells(m), cells);
    if (c.value >= 0) {
      EXPECT_EQ(m.DispColor(c.value), 7);
    }
    // Columns outside the row are refused too.
    EXPECT_TRUE(m.Value(c.index, 1).IsEmpty());
    EXPECT_TRUE(m.AuxID(c.index, -1).IsEmpty());
  }
  // An empty list reads empty through every index and takes no writes.
  ListModel empty = MakeList(0);
  for (int32_t index : {-2, -1, 0}) {
    empty.SetValue(index, 0, "x");
    EXPECT_TRUE(empty.Value(index, 0).IsEmpty());
    EXPECT_EQ(empty.IconType(index), 0);
  }
}

TEST(ListModelTest, IsSelectedThroughTheCurrentRow) {
  ListModel m = MakeList(3);
  m.SetSelectedItem(2);
  m.SetIsSelected(2, 0);  // through its own number: the row stays current
  EXPECT_EQ(m.SelectedItem(), 2);
  m.SetIsSelected(-1, 1);
  m.SetIsSelected(-1, 0);  // through -1: no current row any more
  EXPECT_EQ(m.SelectedItem(), -1);
  EXPECT_EQ(Flags(m), (std::vector<int32_t>{0, 0, 0}));
  m.SetSelectedItem(9);  // limited to the last row, which gets selected
  EXPECT_EQ(m.SelectedItem(), 2);
  m.SetSelectedItem(-7);
  EXPECT_EQ(m.SelectedItem(), -1);
  EXPECT_EQ(Flags(m), (std::vector<int32_t>{0, 0, 1}));
}

TEST(ListModelTest, InsertAndDeleteKeepTheCurrentRow) {
  // Each case starts from five rows r0 .. r4 with `current` current, applies one operation and
  // names the row that is current afterwards ("" for none) and the rows left.
  struct Case {
    const char* what;
    int32_t current;
    void (*op)(ListModel&);
    int32_t selectedItem;
    std::vector<std::string> rows;
  };
  const std::vector<std::string> all = {"r0", "r1", "r2", "r3", "r4"};
  const Case cases[] = {
      {"insert above",
       2,
       [](ListModel& m) { m.InsertItem(1, 2); },
       4,
       {"r0", "", "", "r1", "r2", "r3", "r4"}},
      {"insert at current",
       2,
       [](ListModel& m) { m.InsertItem(-1); },
       3,
       {"r0", "r1", "", "r2", "r3", "r4"}},
      {"insert below",
       2,
       [](ListModel& m) { m.InsertItem(4); },
       2,
       {"r0", "r1", "r2", "r3", "", "r4"}},
      {"insert appends at ItemCount",
       0,
       [](ListModel& m) { m.InsertItem(5); },
       0,
       {"r0", "r1", "r2", "r3", "r4", ""}},
      {"insert past the end", 0, [](ListModel& m) { m.InsertItem(6); }, 0, all},
      {"insert at -1 without current", -1, [](ListModel& m) { m.InsertItem(-1); }, -1, all},
      {"delete above", 3, [](ListModel& m) { m.DeleteItem(1); }, 2, {"r0", "r2", "r3", "r4"}},
      {"delete below", 1, [](ListModel& m) { m.DeleteItem(3); }, 1, {"r0", "r1", "r2", "r4"}},
      {"delete current names the next",
       1,
       [](ListModel& m) { m.DeleteItem(-1); },
       1,
       {"r0", "r2", "r3", "r4"}},
      {"delete current last row",
       4,
       [](ListModel& m) { m.DeleteItem(-1); },
       4,
       {"r0", "r1", "r2", "r3"}},
      {"delete rejected index", 3, [](ListModel& m) { m.DeleteItem(-5); }, 3, all},
      {"delete -2 is refused", 3, [](ListModel& m) { m.DeleteItem(-2); }, 3, all},
      {"delete past the end", 3, [](ListModel& m) { m.DeleteItem(5); }, 3, all},
      {"delete range", 4, [](ListModel& m) { m.DeleteItemEx(3, 1); }, 4, all},
      {"delete range limited",
       4,
       [](ListModel& m) { m.DeleteItemEx(-9, 1); },
       4,
       {"r2", "r3", "r4"}},
      {"delete selected",
       4,
       [](ListModel& m) {
         m.SetIsSelected(0, 1);
         m.DeleteSelected();
       },
       -1,
       {"r1", "r2", "r3"}},
      {"delete all", 2, [](ListModel& m) { m.DeleteAll(); }, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListModel m = MakeList(5);
    m.SetSelectedItem(c.current);
    c.op(m);
    EXPECT_EQ(m.SelectedItem(), c.selectedItem);
    EXPECT_EQ(Cells(m), c.rows);
  }
}

TEST(ListModelTest, NewRowsAreFresh) {
  ListModel m = MakeList(2);
  m.SetForeColor(0x123456);
  m.SetIsSelected(0, 1);
  m.SetHLine(0, 5);
  m.DeleteItem(0);
  m.DeleteItem(0);
  m.AddItem(1);  // after deleting every row one by one
  m.InsertItem(0);
  ASSERT_EQ(m.ItemCount(), 2);
  // An inserted row is blank with colour 0; an appended one has the list's text colour.
  EXPECT_EQ(m.DispColor(0), 0);
  EXPECT_EQ(m.DispColor(1), 0x123456);
  for (int32_t r = 0; r < 2; ++r) {
    EXPECT_EQ(m.IsSelected(r), 0);
    EXPECT_EQ(m.HLine(r), 0);
    EXPECT_EQ(m.IconType(r), 0);
    EXPECT_TRUE(m.Value(r, 0).IsEmpty());
  }
  m.AddItem(-3);
  EXPECT_EQ(m.ItemCount(), 2);
  // ResetNumTab follows a change of NumData, keeping what fits.
  m.SetValue(1, 0, "kept");
  m.SetNumData(3);
  EXPECT_TRUE(m.Value(1, 2).IsEmpty());
  m.ResetNumTab();
  m.SetValue(1, 2, "new");
  EXPECT_EQ(m.Value(1, 0).Text(), "kept");
  EXPECT_EQ(m.Value(1, 2).Text(), "new");
}

TEST(ListModelTest, ExchangeAndMoveCursor) {
  ListModel m = MakeList(3);
  m.MoveCursor(0);  // from no current row both directions give row 0
  EXPECT_EQ(m.SelectedItem(), 0);
  m.MoveCursor(1);
  m.MoveCursor(1);
  m.MoveCursor(1);
  EXPECT_EQ(m.SelectedItem(), 2);
  EXPECT_EQ(Flags(m), (std::vector<int32_t>{0, 0, 1}));
  m.ExchangeItem(-1);
  EXPECT_EQ(Cells(m), (std::vector<std::string>{"r0", "r2", "r1"}));
  EXPECT_EQ(m.SelectedItem(), 1);
  m.ExchangeItem(-2);  // would leave the rows: nothing
  EXPECT_EQ(Cells(m), (std::vector<std::string>{"r0", "r2", "r1"}));
}

TEST(ListModelTest, ReOrderBothWays) {
  // Text: lower-cased, code unit order; "A" and "a" are equal and keep their order.
  ListModel m = MakeList(3);
  const char* texts[] = {"b", "A", "a"};
  for (int32_t r = 0; r < 3; ++r) m.SetValue(r, 0, texts[r]);
  m.ReOrder(0, 0);
  EXPECT_EQ(Cells(m), (std::vector<std::string>{"A", "a", "b"}));
  EXPECT_EQ(m.OrderInverted(), 0);
  m.ReOrder(0, 0);  // the same column again: descending
  EXPECT_EQ(Cells(m), (std::vector<std::string>{"b", "a", "A"}));
  EXPECT_EQ(m.OrderInverted(), 1);
  m.ReOrder(0, 0);  // ascending again; the equal "a" and "A" keep their places
  EXPECT_EQ(Cells(m), (std::vector<std::string>{"a", "A", "b"}));
  m.ReOrder(0, 0);
  m.ReOrder(0, 1);  // forced: ascending after a descending sort
  EXPECT_EQ(m.OrderInverted(), 0);
  m.ReOrder(0, 0, 1);  // an explicit direction wins
  EXPECT_EQ(Cells(m).front(), "b");
  m.ReOrder(5, 0);  // no such column: nothing
  EXPECT_EQ(m.OrderData(), 0);

  // Numeric: cells that are no numbers sort as 0; no row is lost or doubled.
  ListModel n = MakeList(7, 2);
  n.Columns().SetDataNumeric(1, 1);
  const ListValue values[] = {ListValue("10"),   ListValue("x"),  ListValue(),     ListValue(2),
                              ListValue("-1.5"), ListValue(3.25), ListValue(" 9 ")};
  for (int32_t r = 0; r < 7; ++r) n.SetValue(r, 1, values[r]);
  n.SetSelectedItem(3);  // the row holding 2
  n.ReOrder(1, 0);
  EXPECT_EQ(Cells(n, 1), (std::vector<std::string>{"-1.5", "x", "", "2", "3.25", " 9 ", "10"}));
  EXPECT_EQ(Cells(n), (std::vector<std::string>{"r4", "r1", "r2", "r3", "r5", "r6", "r0"}));
  // The current row stays current and selected, and no sort mark is left behind.
  EXPECT_EQ(n.SelectedItem(), 3);
  EXPECT_EQ(Flags(n), (std::vector<int32_t>{0, 0, 0, 1, 0, 0, 0}));
  n.ReOrder(1, 0);
  EXPECT_EQ(Cells(n, 1), (std::vector<std::string>{"10", " 9 ", "3.25", "2", "", "x", "-1.5"}));
  EXPECT_EQ(n.SelectedItem(), 3);
  // Sorting a text column holding numbers sorts their texts.
  n.ReOrder(0, 0);
  EXPECT_EQ(Cells(n), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6"}));
}

TEST(ListModelTest, ReOrderMatchesAStableSortOfLargeLists) {
  // With distinct keys the Shell sort's order is the only sorted order.
  ListModel m = MakeList(5000);
  for (int32_t r = 0; r < 5000; ++r) m.SetValue(r, 0, std::to_string((r * 7919) % 5000 + 100000));
  m.SeedShuffle(7);
  m.RndItem();
  m.ReOrder(0, 1);
  std::vector<std::string> cells = Cells(m);
  EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end()));
  EXPECT_EQ(std::adjacent_find(cells.begin(), cells.end()), cells.end());
}

TEST(ListModelTest, ShuffleKeepsEveryRowOnce) {
  for (int32_t rows : {3, 10, 250, 1000}) {
    SCOPED_TRACE(rows);
    ListModel m = MakeList(rows);
    m.SetIsSelected(1, 1);
    m.SetOrderData(0);
    m.SetOrderInverted(1);
    m.SetSelectedItem(2);
    m.RndItem();
    EXPECT_EQ(m.OrderData(), -1);
    EXPECT_EQ(m.OrderInverted(), 0);
    EXPECT_EQ(m.SelectedItem(), 2);
    std::vector<int32_t> seen;
    int32_t selected = 0;
    for (int32_t r = 0; r < rows; ++r) {
      const int32_t tag = static_cast<int32_t>(m.AuxID(r, 0).Number().value_or(-1));
      seen.push_back(tag);
      // Flags travel with their rows.
      EXPECT_EQ(m.IsSelected(r), tag == 1 || tag == 2 ? 1 : 0);
      selected += m.IsSelected(r);
    }
    std::sort(seen.begin(), seen.end());
    for (int32_t r = 0; r < rows; ++r) EXPECT_EQ(seen[static_cast<size_t>(r)], r);
    EXPECT_EQ(selected, 2);
  }
  // Two rows are left alone, sort state included.
  ListModel two = MakeList(2);
  two.ReOrder(0, 1);
  two.RndItem();
  EXPECT_EQ(Cells(two), (std::vector<std::string>{"r0", "r1"}));
  EXPECT_EQ(two.OrderData(), 0);
}

TEST(ListModelTest, ShuffleIsNotTheSameForEveryCall) {
  // Seeded once: two shuffles in a row give two different orders.
  ListModel m = MakeList(200);
  m.RndItem();
  const std::vector<std::string> first = Cells(m);
  m.RndItem();
  EXPECT_NE(Cells(m), first);
}

TEST(ListModelTest, SelectionStateMachine) {
  // Each step presses a row with a shift state; the expected flags and current row follow.
  struct Step {
    int32_t row;
    int16_t shift;
    std::vector<int32_t> flags;
    int32_t current;
  };
  struct Case {
    const char* what;
    bool noMulti;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"range from no current row", false, {{2, kShiftKey, {1, 1, 1, 0, 0}, 2}}},
      {"range, plain click on a selected row keeps it, the next one selects",
       false,
       {{1, 0, {0, 1, 0, 0, 0}, 1},
        {3, kShiftKey, {0, 1, 1, 1, 0}, 3},
        {2, 0, {0, 1, 1, 1, 0}, 3},
        {2, 0, {0, 0, 1, 0, 0}, 2}}},
      {"range, plain click on an unselected row selects it alone",
       false,
       {{1, 0, {0, 1, 0, 0, 0}, 1},
        {2, kShiftKey, {0, 1, 1, 0, 0}, 2},
        {4, 0, {0, 0, 0, 0, 1}, 4}}},
      {"range then range ranges from the last press",
       false,
       {{1, kShiftKey, {1, 1, 0, 0, 0}, 1}, {3, kShiftKey, {0, 1, 1, 1, 0}, 3}}},
      {"toggle, the first plain click changes nothing, the next selects",
       false,
       {{0, 0, {1, 0, 0, 0, 0}, 0},
        {3, kCtrlKey, {1, 0, 0, 1, 0}, 3},
        {4, 0, {1, 0, 0, 1, 0}, 3},
        {4, 0, {0, 0, 0, 0, 1}, 4}}},
      {"toggle off the current row moves it to the lowest selected",
       false,
       {{3, 0, {0, 0, 0, 1, 0}, 3},
        {1, kCtrlKey, {0, 1, 0, 1, 0}, 1},
        {4, kCtrlKey, {0, 1, 0, 1, 1}, 4},
        {4, kCtrlKey, {0, 1, 0, 1, 0}, 1},
        {1, kCtrlKey, {0, 0, 0, 1, 0}, 3},
        {3, kCtrlKey, {0, 0, 0, 0, 0}, -1}}},
      {"shift with ctrl is a plain click", false, {{2, 3, {0, 0, 1, 0, 0}, 2}}},
      {"no multi-select makes every press plain",
       true,
       {{1, kShiftKey, {0, 1, 0, 0, 0}, 1}, {3, kCtrlKey, {0, 0, 0, 1, 0}, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListModel m = MakeList(5);
    int step = 0;
    for (const Step& s : c.steps) {
      SCOPED_TRACE(step++);
      m.PressSelect(s.row, s.shift, c.noMulti);
      EXPECT_EQ(Flags(m), s.flags);
      EXPECT_EQ(m.SelectedItem(), s.current);
    }
  }
  // DeleteAll ends a range state.
  ListModel m = MakeList(3);
  m.PressSelect(1, kShiftKey, false);
  EXPECT_TRUE(m.RangeState());
  m.DeleteAll();
  EXPECT_FALSE(m.RangeState());
}

TEST(ListModelTest, RangeFromAStaleCurrentRowStaysInTheRows) {
  ListModel m = MakeList(4);
  m.SetSelectedItem(3);
  m.DeleteItem(-1);  // the current row is now 3, one past the last row
  ASSERT_EQ(m.SelectedItem(), 3);
  m.PressSelect(1, kShiftKey, false);
  EXPECT_EQ(Flags(m), (std::vector<int32_t>{1, 1, 0}));
  m.AddItem(1);  // a row appended later is not selected
  EXPECT_EQ(m.IsSelected(3), 0);
  m.PressSelect(7, 0, false);  // a press outside the rows does nothing
  EXPECT_EQ(m.SelectedItem(), 1);
}

TEST(ListModelTest, SelectionCounts) {
  ListModel m = MakeList(4);
  EXPECT_EQ(m.MultiSelected(), 0);
  m.SetIsSelected(0, 1);
  EXPECT_EQ(m.MultiSelected(), 0);
  m.SetIsSelected(2, 2);  // only exactly 1 counts
  EXPECT_EQ(m.NumSelectedItems(), 1);
  m.SelectAll();
  EXPECT_EQ(m.NumSelectedItems(), 4);
  EXPECT_EQ(m.MultiSelected(), 1);
  m.UnSelectAll();
  EXPECT_EQ(m.NumSelectedItems(), 0);
  m.SetSelectedData(3);
  EXPECT_EQ(m.SelectedData(), 0);  // no column 3 in a one-column list
}

}  // namespace
}  // namespace lists
