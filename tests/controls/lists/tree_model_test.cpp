#include "controls/lists/tree_model.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "controls/lists/shell_sort.h"

namespace lists {
namespace {

// One item to add: its DataStr (also its DispStr), its SortStr and its parent's DataStr
// ("" for a top-level item).
struct NewItem {
  std::string data;
  std::string sort;
  std::string parent;
};

// A tree built the way hosts build one: AddItem, fields through -2, then the parent.
TreeModel MakeTree(const std::vector<NewItem>& items) {
  TreeModel m;
  for (const NewItem& s : items) {
    m.AddItem();
    m.SetDispStr(-2, s.data);
    m.SetDataStr(-2, s.data);
    m.SetSortStr(-2, s.sort);
    if (!s.parent.empty()) m.SetParentItemByValue(-2, s.parent);
  }
  return m;
}

// A station's library: two programmes with their corners and items.
TreeModel Library() {
  return MakeTree({{"music", "1", ""},
                   {"jazz", "1.1", "music"},
                   {"take5", "1.1.1", "jazz"},
                   {"pops", "1.2", "music"},
                   {"news", "2", ""},
                   {"weather", "2.1", "news"}});
}

std::vector<std::string> Data(const TreeModel& m) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < m.Count(); ++i) out.push_back(m.Item(i)->DataStr);
  return out;
}

std::vector<int32_t> Levels(const TreeModel& m) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < m.Count(); ++i) out.push_back(m.Item(i)->Level);
  return out;
}

std::vector<uint8_t> Shown(const TreeModel& m) {
  std::vector<uint8_t> shown;
  m.ShownItems(shown);
  return shown;
}

TEST(TreeModelTest, IdentifiersCountAndReset) {
  TreeModel m;
  EXPECT_EQ(m.ItemCount(), "0");
  EXPECT_EQ(m.CurrentItem(), 0);  // item 0 counts as current until a click or a reset
  for (int k = 0; k < 3; ++k) m.AddItem();
  EXPECT_EQ(m.ItemCount(), "3");
  EXPECT_EQ(m.ItemID(0), 1);
  EXPECT_EQ(m.ItemID(2), 3);
  const TreeItem& fresh = *m.Item(2);
  EXPECT_EQ(fresh.IconType1, 0);
  EXPECT_EQ(fresh.IsOpened, 0);
  m.SetTopRow(5);
  m.DeleteAll();
  EXPECT_EQ(m.ItemCount(), "0");
  EXPECT_EQ(m.CurrentItem(), -1);
  EXPECT_EQ(m.TopRow(), 0);
  m.AddItem();
  EXPECT_EQ(m.ItemID(0), 1);
}

TEST(TreeModelTest, IndexRule) {
  // Three items, the last a parent, item 1 current (unless the case says otherwise); which
  // item each member reaches through each index (-1: none, reads 0).
  struct Case {
    int32_t index;
    int32_t current;
    int32_t text, hasChild, isOpened, deleted;
  };
  const Case cases[] = {
      {0, 1, 0, 0, 0, 0},     {2, 1, 2, 2, 2, 2},       {-1, 1, 1, 1, 1, 1},
      {-2, 1, 2, -1, 2, -1},  {-1, -1, -1, -1, -1, -1}, {-1, 3, -1, -1, -1, -1},
      {3, 1, -1, -1, -1, -1}, {-3, 1, -1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("index " + std::to_string(c.index) + " current " + std::to_string(c.current));
    TreeModel m = MakeTree({{"a", "a", ""}, {"b", "b", ""}, {"c", "c", ""}});
    for (int32_t i = 0; i < 3; ++i) {
      m.SetHasChild(i, 10 + i);
      m.SetIsOpened(i, 20 + i);
    }
    m.SetCurrentItem(c.current);
    const auto at = [](int32_t i, int32_t base) { return i < 0 ? 0 : base + i; };
    EXPECT_EQ(m.DispStr(c.index), c.text < 0 ? "" : std::string(1, char('a' + c.text)));
    EXPECT_EQ(m.HasChild(c.index), at(c.hasChild, 10));
    EXPECT_EQ(m.IsOpened(c.index), at(c.isOpened, 20));
    m.DeleteItem(c.index);
    EXPECT_EQ(m.Count(), c.deleted < 0 ? 3 : 2);
  }
}

TEST(TreeModelTest, FindsIgnoreLetterCase) {
  TreeModel m = MakeTree({{"abc", "Zed", ""}, {"ｐｏｐｓ", "ÄRA", ""}});
  struct Case {
    std::string text;
    int32_t key;
    int32_t found;
  };
  const Case cases[] = {{"ABC", 0, 1}, {"abc", 1, 0}, {"zED", 1, 1}, {"ＰＯＰＳ", 0, 1},
                        {"ära", 1, 1}, {"ab", 0, 0},  {"", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " key " + std::to_string(c.key));
    EXPECT_EQ(m.AlreadyHas(c.text, c.key), c.found);
  }
  m.SetSelectedItemByValue("ＰＯＰＳ");
  EXPECT_EQ(m.CurrentItem(), 1);
  m.SetSelectedItemByValue("none");
  EXPECT_EQ(m.CurrentItem(), -1);
  EXPECT_EQ(m.GetIndexFromID(99), -1);
  EXPECT_EQ(m.IDsSortStr(99), "-1");
  EXPECT_EQ(m.IDsSortStr(2), "ÄRA");
}

TEST(TreeModelTest, SettingParents) {
  TreeModel m = Library();
  EXPECT_EQ(Levels(m), (std::vector<int32_t>{0, 1, 2, 1, 0, 1}));
  EXPECT_EQ(m.HasChild(0), 1);
  EXPECT_EQ(m.HasChild(2), 0);
  EXPECT_EQ(m.ParentItem(2), m.ItemID(1));

  // By identifier: the parent becomes one; -1 and unknown identifiers make a top-level item
  // and leave the old parent a parent.
  m.SetParentItem(5, m.ItemID(2));
  EXPECT_EQ(m.Item(5)->Level, 3);
  EXPECT_EQ(m.HasChild(2), 1);
  m.SetParentItem(5, -1);
  EXPECT_EQ(m.Item(5)->Level, 0);
  EXPECT_EQ(m.ParentItem(5), -1);
  EXPECT_EQ(m.HasChild(2), 1);
  m.SetParentItem(5, 777);
  EXPECT_EQ(m.Item(5)->Level, 0);
  EXPECT_EQ(m.ParentIndex(5), -1);

  // By value: nothing found keeps the old parent but makes the item top-level.
  m.SetParentItemByValue(3, "nothing");
  EXPECT_EQ(m.Item(3)->Level, 0);
  EXPECT_EQ(m.ParentItem(3), m.ItemID(0));
  m.SetParentItemBySortStr(3, "2");
  EXPECT_EQ(m.Item(3)->Level, 1);
  EXPECT_EQ(m.ParentIndex(3), 4);
}

TEST(TreeModelTest, ChangesUnderParentsKeepTheLinks) {
  // Items added out of order, moved by ReOrder, deleted, renumbered: the parents found by
  // identifier follow every change.
  TreeModel m = MakeTree({{"news", "2", ""},
                          {"music", "1", ""},
                          {"weather", "2.1", "news"},
                          {"jazz", "1.1", "music"}});
  m.AddItem();  // inserted under jazz after the fact
  m.SetDataStr(-2, "take5");
  m.SetSortStr(-2, "1.1.1");
  m.SetParentItemByValue(-2, "JAZZ");
  m.SetCurrentItem(2);
  m.ReOrder();
  EXPECT_EQ(Data(m), (std::vector<std::string>{"music", "jazz", "take5", "news", "weather"}));
  EXPECT_EQ(m.CurrentItem(), 2);  // the index stays: now another item
  const auto parentOf = [&](int32_t i) {
    const int32_t p = m.ParentIndex(i);
    return p < 0 ? std::string("-") : m.Item(p)->DataStr;
  };
  EXPECT_EQ(parentOf(2), "jazz");
  EXPECT_EQ(parentOf(4), "news");
  EXPECT_EQ(m.GetIndexFromID(5), 2);  // take5 was the fifth added

  // Moving a subtree: jazz goes under news and sorts there; its child follows it.
  m.SetParentItemByValue(1, "news");
  m.SetSortStr(1, "2.0");
  m.SetSortStr(2, "2.0.1");
  m.SetParentItemByValue(2, "jazz");
  m.ReOrder();
  EXPECT_EQ(Data(m), (std::vector<std::string>{"music", "news", "jazz", "take5", "weather"}));
  EXPECT_EQ(Levels(m), (std::vector<int32_t>{0, 0, 1, 2, 1}));
  EXPECT_EQ(parentOf(3), "jazz");

  // Deleting shifts indices; look-ups follow. A removed parent leaves its child without one.
  m.DeleteItem(0);
  EXPECT_EQ(m.GetIndexFromID(4), 1);  // jazz
  EXPECT_EQ(parentOf(2), "jazz");
  m.DeleteItem(1);
  EXPECT_EQ(parentOf(1), "-");
  EXPECT_EQ(m.GetIndexFromID(4), -1);
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{1, 1, 0}));

  // A host-given identifier, also one that repeats: the lowest index answers.
  m.SetItemID(2, 40);
  EXPECT_EQ(m.GetIndexFromID(40), 2);
  m.SetItemID(0, 40);
  EXPECT_EQ(m.GetIndexFromID(40), 0);
  m.SetParentItem(1, 40);
  EXPECT_EQ(parentOf(1), "news");
}

TEST(TreeModelTest, ReOrderComparesCodeUnits) {
  struct Case {
    std::vector<std::string> keys;
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {{"b", "B", "a"}, {"B", "a", "b"}},
      // UTF-16 puts characters beyond U+FFFF (surrogates) before U+E000 .. U+FFFF.
      {{"\xEF\xBC\xA1", "\xF0\x9F\x8E\xB5", "\xE3\x81\x82"},
       {"\xE3\x81\x82", "\xF0\x9F\x8E\xB5", "\xEF\xBC\xA1"}},
      {{"ab", "a", ""}, {"", "a", "ab"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    TreeModel m;
    for (const std::string& k : c.keys) {
      m.AddItem();
      m.SetSortStr(-2, k);
    }
    m.ReOrder();
    std::vector<std::string> got;
    for (int32_t i = 0; i < m.Count(); ++i) got.push_back(m.Item(i)->SortStr);
    EXPECT_EQ(got, c.sorted);
  }
}

TEST(TreeModelTest, ShellSortOrderMatchesMovingTheRecords) {
  // The records themselves moved by the Shell sort, against the order of moved indices, on
  // keys with many repeats (where an unstable sort shows).
  std::mt19937 random(7);
  for (int n : {0, 1, 2, 5, 14, 41, 200}) {
    std::vector<std::pair<int, int>> records;
    for (int i = 0; i < n; ++i) records.emplace_back(static_cast<int>(random() % 4), i);
    const auto order = ShellSortOrder(records.size(), [&](int32_t a, int32_t b) {
      return records[static_cast<size_t>(a)].first < records[static_cast<size_t>(b)].first;
    });
    std::vector<std::pair<int, int>> moved = records;
    int h = 1;
    while (h <= n - 1) h = 3 * h + 1;
    for (h = (h - 1) / 3; h > 0; h = (h - 1) / 3) {
      for (int i = h; i < n; ++i) {
        const auto taken = moved[static_cast<size_t>(i)];
        int j = i;
        while (j >= h && moved[static_cast<size_t>(j - h)].first > taken.first) {
          moved[static_cast<size_t>(j)] = moved[static_cast<size_t>(j - h)];
          j -= h;
        }
        moved[static_cast<size_t>(j)] = taken;
      }
    }
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(order[static_cast<size_t>(k)], moved[static_cast<size_t>(k)].second) << n;
    }
  }
}

TEST(TreeModelTest, OpeningAndShowing) {
  TreeModel m = Library();
  // Everything closed: the top-level items alone are shown.
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{1, 0, 0, 0, 1, 0}));
  // Opening a third-level item by value with 0 opens its parent and grandparent only.
  m.OpenItemByValue("TAKE5", 0);
  EXPECT_EQ(m.IsOpened(2), 0);
  EXPECT_EQ(m.IsOpened(1), 1);
  EXPECT_EQ(m.IsOpened(0), 1);
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{1, 1, 1, 1, 1, 0}));
  // Closing the top hides the whole branch, whatever is open below; any non-zero value opens.
  m.SetIsOpened(0, 0);
  m.SetIsOpened(4, 2);
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{1, 0, 0, 0, 1, 1}));
  m.OpenItemByValue("nothing", 1);
  EXPECT_EQ(m.IsOpened(0), 0);
}

TEST(TreeModelTest, ParentCyclesEndEveryWalk) {
  // Bad data: a and b name each other as parent, c hangs below them, d is its own parent.
  TreeModel m = MakeTree({{"a", "a", ""}, {"b", "b", "a"}, {"c", "c", "b"}, {"d", "d", ""}});
  m.SetParentItemByValue(0, "b");
  m.SetParentItemByValue(3, "d");
  for (int32_t i = 0; i < m.Count(); ++i) m.SetIsOpened(i, 1);
  // All open: each walk stops where it meets itself and the items stay reachable.
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{1, 1, 1, 1}));
  // A closed item in the cycle is an ancestor of every item of it, itself included.
  m.SetIsOpened(1, 0);
  EXPECT_EQ(Shown(m), (std::vector<uint8_t>{0, 0, 0, 1}));
  m.SetIsOpened(0, 0);
  m.OpenItemByValue("c", 1);
  EXPECT_EQ(m.IsOpened(0), 1);
  EXPECT_EQ(m.IsOpened(1), 1);
  m.OpenItemByValue("d", 0);
  EXPECT_EQ(m.IsOpened(3), 1);  // opened again as its own parent
  // Levels grow with each setting round the cycle but never wrap.
  m.SetItemID(3, 1);
  for (int k = 0; k < 5; ++k) m.SetParentItem(0, m.ItemID(0));
  EXPECT_GT(m.Item(0)->Level, 0);
}

}  // namespace
}  // namespace lists
