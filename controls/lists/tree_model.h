#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace lists {

// One item of a tree. The tree's shape lives only in ItemID, ParentItem and Level, so sorting
// and deleting move records without breaking parent links.
struct TreeItem {
  std::string DispStr;     // the text shown
  std::string DataStr;     // the value: key of the find-by-value members, payload of events
  std::string SortStr;     // the key of ReOrder
  int32_t IconType1 = 0;   // icon while the item is current; -1 none
  int32_t IconType2 = 0;   // icon otherwise; -1 none
  int32_t ParentItem = 0;  // ItemID of the parent; meaningful only while Level is not 0
  int32_t HasChild = 0;    // 1: a parent, drawn with an expand box (only 1 counts)
  int32_t AuxData = 0;     // free for the host
  int32_t Level = 0;       // depth: 0 top level, else the parent's Level + 1
  int32_t ItemID = 0;      // given by AddItem (1, 2, 3, ...) or by the host
  int32_t IsOpened = 0;    // non-zero: the children are shown (the open mark only for 1)
  int32_t RowTop = 0;      // top of the row at the last redraw, twips; -1 not drawn
};

// The items of a tree view, free of drawing: one flat array shown in array order and indented
// by depth, the current item, the drop target and the first shown row.
//
// Index arguments: 0 .. Count() - 1 address an item; -1 the current item; -2 the last item.
// Anything else, -1 without a current item and -2 without items address nothing: setters then
// do nothing and getters give 0 or an empty text. No member draws or throws.
//
// Parents are found by ItemID through a map of each identifier's first (lowest) index, kept
// across changes. Bad data cannot hang the tree: every walk up through parents ends at a top
// level item, at a parent that is missing, or at an item it has already met (a cycle).
class TreeModel {
 public:
  // --- items ---
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Count() as decimal text.
  std::string ItemCount() const { return std::to_string(items_.size()); }
  // The item at a plain index (0 .. Count() - 1), else null.
  const TreeItem* Item(int32_t index) const {
    return index >= 0 && index < Count() ? &items_[static_cast<size_t>(index)] : nullptr;
  }
  // The index an index argument addresses, or nothing. `acceptLast` false refuses -2.
  std::optional<int32_t> IndexOf(int32_t pIndex, bool acceptLast = true) const;

  // 1 when some item's DataStr (pKey 0) or SortStr (pKey not 0) equals pStr ignoring case.
  int32_t AlreadyHas(const std::string& pStr, int32_t pKey = 0) const;
  // The first (lowest) index whose ItemID is pID, else -1.
  int32_t GetIndexFromID(int32_t pID) const;
  // SortStr of the first item with ItemID pID, else "-1".
  std::string IDsSortStr(int32_t pID) const;

  std::string DispStr(int32_t pIndex) const { return Get(pIndex, &TreeItem::DispStr); }
  void SetDispStr(int32_t pIndex, const std::string& v) { Set(pIndex, &TreeItem::DispStr, v); }
  std::string DataStr(int32_t pIndex) const { return Get(pIndex, &TreeItem::DataStr); }
  void SetDataStr(int32_t pIndex, const std::string& v) { Set(pIndex, &TreeItem::DataStr, v); }
  std::string SortStr(int32_t pIndex) const { return Get(pIndex, &TreeItem::SortStr); }
  void SetSortStr(int32_t pIndex, const std::string& v) { Set(pIndex, &TreeItem::SortStr, v); }
  void SetIconType1(int32_t pIndex, int32_t v) { Set(pIndex, &TreeItem::IconType1, v); }
  void SetIconType2(int32_t pIndex, int32_t v) { Set(pIndex, &TreeItem::IconType2, v); }
  // HasChild, ItemID and AuxData read nothing through -2.
  int32_t HasChild(int32_t pIndex) const { return Get(pIndex, &TreeItem::HasChild, false); }
  void SetHasChild(int32_t pIndex, int32_t v) { Set(pIndex, &TreeItem::HasChild, v); }
  int32_t ItemID(int32_t pIndex) const { return Get(pIndex, &TreeItem::ItemID, false); }
  void SetItemID(int32_t pIndex, int32_t pValue);
  int32_t AuxData(int32_t pIndex) const { return Get(pIndex, &TreeItem::AuxData, false); }
  void SetAuxData(int32_t pIndex, int32_t v) { Set(pIndex, &TreeItem::AuxData, v); }
  int32_t IsOpened(int32_t pIndex) const { return Get(pIndex, &TreeItem::IsOpened); }
  void SetIsOpened(int32_t pIndex, int32_t v) { Set(pIndex, &TreeItem::IsOpened, v); }
  int32_t ParentItem(int32_t pIndex) const { return Get(pIndex, &TreeItem::ParentItem); }
  // Stores pValue (an ItemID, or -1 for none). Level becomes 0 for -1 or an identifier no item
  // has, else the parent's Level + 1, and the parent becomes a parent (HasChild 1). The
  // parent's Level is read now, so parents are set before their children.
  void SetParentItem(int32_t pIndex, int32_t pValue);
  // The first item whose DataStr (SortStr) equals pValue ignoring case, the addressed item
  // included, becomes its parent; when there is none the item goes to Level 0 and keeps its
  // ParentItem.
  void SetParentItemByValue(int32_t pIndex, const std::string& pValue) {
    SetParentByText(pIndex, pValue, &TreeItem::DataStr);
  }
  void SetParentItemBySortStr(int32_t pIndex, const std::string& pValue) {
    SetParentByText(pIndex, pValue, &TreeItem::SortStr);
  }
  // The current item becomes the first whose DataStr equals pValue ignoring case, else none.
  void SetSelectedItemByValue(const std::string& pValue);
  // The first item whose DataStr equals pDataStr ignoring case gets IsOpened pOpenItself and
  // every one of its ancestors is opened, so it can be seen.
  void OpenItemByValue(const std::string& pDataStr, int32_t pOpenItself);

  // Appends an empty item (icons 0, every number 0) with the next identifier.
  void AddItem();
  // Removes the item (-1 the current item; -2 does nothing). The current item, the drop
  // target, the removed item's children and the identifiers stay as they are.
  void DeleteItem(int32_t pIndex);
  // No items, no current item, the first row shown 0, identifiers from 1 again.
  void DeleteAll();
  // Shell sort of the items by SortStr in UTF-16 code unit order (case counts). Records with
  // equal keys do not pass each other within a pass. The current item keeps its index.
  void ReOrder();

  // --- state ---
  // 0 until the first click, DeleteAll or SetSelectedItemByValue.
  int32_t CurrentItem() const { return currentItem_; }
  void SetCurrentItem(int32_t index) { currentItem_ = index; }
  int32_t DropTarget() const { return dropTarget_; }
  void SetDropTarget(int32_t index) { dropTarget_ = index; }
  int32_t NextItemID() const { return nextItemID_; }
  // The largest Level of all items as CalcMaxLevel last found it (0 without items).
  int32_t MaxLevel() const { return maxLevel_; }
  void CalcMaxLevel();
  int32_t TopRow() const { return topRow_; }
  void SetTopRow(int32_t row) { topRow_ = row; }
  int32_t LastDrawnTop() const { return lastDrawnTop_; }
  void SetLastDrawnTop(int32_t row) { lastDrawnTop_ = row; }
  // Total height of the shown rows at the last redraw, twips.
  int32_t TreeHeight() const { return treeHeight_; }
  void SetTreeHeight(int32_t twips) { treeHeight_ = twips; }
  const std::string& LastDataStr() const { return lastDataStr_; }
  void SetLastDataStr(const std::string& text) { lastDataStr_ = text; }

  // --- shape, for drawing and hit-testing ---
  // Index of the item the item at `index` names as its parent; -1 at the top level or when
  // the parent is missing.
  int32_t ParentIndex(int32_t index) const;
  // Whether the item at `index` (an item) is shown: every ancestor met walking up is open. A
  // walk that reaches a missing parent or runs into a cycle ends there and the item counts as
  // shown. `memo` keeps the answers found on the way for the items walked through; it starts
  // Count() long and all 0, and is good while the tree does not change.
  bool IsShown(int32_t index, std::vector<uint8_t>& memo) const;
  // For every item 1 when it is shown, else 0.
  void ShownItems(std::vector<uint8_t>& shown) const;
  void SetRowTop(int32_t index, int32_t twips) {
    items_[static_cast<size_t>(index)].RowTop = twips;
  }
  // The first item drawn at the last redraw whose row holds y (RowTop <= y <= RowTop +
  // oneHeight), else -1.
  int32_t ItemAtY(double y, int32_t oneHeight) const;

 private:
  TreeItem* Addressed(int32_t pIndex, bool acceptLast = true);
  const TreeItem* Addressed(int32_t pIndex, bool acceptLast = true) const;
  // A field of the addressed item; empty or 0 when the index addresses none.
  template <typename T>
  T Get(int32_t pIndex, T TreeItem::*field, bool acceptLast = true) const {
    const TreeItem* item = Addressed(pIndex, acceptLast);
    return item ? item->*field : T();
  }
  template <typename T>
  void Set(int32_t pIndex, T TreeItem::*field, const T& value) {
    if (TreeItem* item = Addressed(pIndex)) item->*field = value;
  }
  int32_t FindByText(const std::string& text, std::string TreeItem::*field) const;
  void SetParentByText(int32_t pIndex, const std::string& pValue, std::string TreeItem::*field);
  void BecomeChildOf(TreeItem& child, int32_t parentIndex);
  // The identifier map and parent indices are rebuilt when next needed.
  void IdsChanged() { idsValid_ = parentsValid_ = false; }
  void EnsureIds() const;
  void EnsureParents() const;

  std::vector<TreeItem> items_;
  int32_t currentItem_ = 0;
  int32_t dropTarget_ = -1;
  int32_t nextItemID_ = 0;
  int32_t maxLevel_ = 0;
  int32_t topRow_ = 0;
  int32_t lastDrawnTop_ = 0;
  int32_t treeHeight_ = 0;
  std::string lastDataStr_;

  mutable std::unordered_map<int32_t, int32_t> firstIndexOfId_;
  mutable bool idsValid_ = true;
  mutable std::vector<int32_t> parentIndex_;
  mutable bool parentsValid_ = true;
  mutable std::vector<int32_t> path_;  // IsShown's walk
};

}  // namespace lists
