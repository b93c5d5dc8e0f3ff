#include "controls/lists/tree_model.h"

#include <QString>
#include <algorithm>
#include <climits>

#include "controls/lists/shell_sort.h"
#include "platform/ascii_case.h"

namespace lists {

namespace {

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString Lowered(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower();
}

// A text compared with others after both are lower-cased; texts of ASCII letters alone are
// folded in place, without making lower-cased copies.
class CaseFreeText {
 public:
  explicit CaseFreeText(const std::string& text)
      : text_(text), ascii_(IsAscii(text)), lowered_(Lowered(text)) {}
  bool Matches(const std::string& other) const {
    if (ascii_ && IsAscii(other)) return platform::EqualsIgnoringAsciiCase(text_, other);
    return Lowered(other) == lowered_;
  }

 private:
  const std::string& text_;
  bool ascii_;
  QString lowered_;
};

// Rank of a byte of UTF-8 text in UTF-16 code unit order: the lead bytes of U+E000 .. U+FFFF
// (0xEE, 0xEF) come after those of the characters beyond U+FFFF, which UTF-16 writes as
// surrogates (0xD800 ..). Every other byte keeps its own order.
int ByteRank(unsigned char byte) { return byte == 0xEE || byte == 0xEF ? byte + 0x100 : byte; }

// a < b comparing UTF-16 code units, without converting either text.
bool Utf16Less(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return ByteRank(static_cast<unsigned char>(x)) < ByteRank(static_cast<unsigned char>(y));
  });
}

int32_t LevelBelow(int32_t parentLevel) {
  return parentLevel == INT32_MAX ? INT32_MAX : parentLevel + 1;
}

}  // namespace

std::optional<int32_t> TreeModel::IndexOf(int32_t pIndex, bool acceptLast) const {
  const int32_t n = Count();
  if (pIndex >= 0 && pIndex < n) return pIndex;
  if (pIndex == -1 && currentItem_ >= 0 && currentItem_ < n) return currentItem_;
  if (pIndex == -2 && acceptLast && n > 0) return n - 1;
  return std::nullopt;
}

TreeItem* TreeModel::Addressed(int32_t pIndex, bool acceptLast) {
  const auto k = IndexOf(pIndex, acceptLast);
  return k ? &items_[static_cast<size_t>(*k)] : nullptr;
}

const TreeItem* TreeModel::Addressed(int32_t pIndex, bool acceptLast) const {
  const auto k = IndexOf(pIndex, acceptLast);
  return k ? &items_[static_cast<size_t>(*k)] : nullptr;
}

// --- finding ---

int32_t TreeModel::FindByText(const std::string& text, std::string TreeItem::*field) const {
  const CaseFreeText wanted(text);
  for (size_t i = 0; i < items_.size(); ++i) {
    if (wanted.Matches(items_[i].*field)) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t TreeModel::AlreadyHas(const std::string& pStr, int32_t pKey) const {
  return FindByText(pStr, pKey == 0 ? &TreeItem::DataStr : &TreeItem::SortStr) >= 0 ? 1 : 0;
}

void TreeModel::EnsureIds() const {
  if (idsValid_) return;
  firstIndexOfId_.clear();
  firstIndexOfId_.reserve(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    firstIndexOfId_.try_emplace(items_[i].ItemID, static_cast<int32_t>(i));
  }
  idsValid_ = true;
}

int32_t TreeModel::GetIndexFromID(int32_t pID) const {
  EnsureIds();
  const auto found = firstIndexOfId_.find(pID);
  return found != firstIndexOfId_.end() ? found->second : -1;
}

std::string TreeModel::IDsSortStr(int32_t pID) const {
  const int32_t k = GetIndexFromID(pID);
  return k >= 0 ? items_[static_cast<size_t>(k)].SortStr : "-1";
}

void TreeModel::EnsureParents() const {
  if (parentsValid_) return;
  parentIndex_.resize(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    const TreeItem& item = items_[i];
    parentIndex_[i] = item.Level != 0 ? GetIndexFromID(item.ParentItem) : -1;
  }
  parentsValid_ = true;
}

int32_t TreeModel::ParentIndex(int32_t index) const {
  if (index < 0 || index >= Count()) return -1;
  EnsureParents();
  return parentIndex_[static_cast<size_t>(index)];
}

// --- fields ---

void TreeModel::SetItemID(int32_t pIndex, int32_t pValue) {
  TreeItem* item = Addressed(pIndex);
  if (item == nullptr || item->ItemID == pValue) return;
  item->ItemID = pValue;
  IdsChanged();
}

// --- parents ---

void TreeModel::BecomeChildOf(TreeItem& child, int32_t parentIndex) {
  TreeItem& parent = items_[static_cast<size_t>(parentIndex)];
  parent.HasChild = 1;
  child.Level = LevelBelow(parent.Level);
}

void TreeModel::SetParentItem(int32_t pIndex, int32_t pValue) {
  const auto k = IndexOf(pIndex);
  if (!k) return;
  TreeItem& item = items_[static_cast<size_t>(*k)];
  item.ParentItem = pValue;
  const int32_t p = pValue == -1 ? -1 : GetIndexFromID(pValue);
  if (p < 0) {
    item.Level = 0;
  } else {
    BecomeChildOf(item, p);
  }
  if (parentsValid_) parentIndex_[static_cast<size_t>(*k)] = item.Level != 0 ? p : -1;
}

void TreeModel::SetParentByText(int32_t pIndex, const std::string& pValue,
                                std::string TreeItem::*field) {
  const auto k = IndexOf(pIndex);
  if (!k) return;
  const int32_t f = FindByText(pValue, field);
  TreeItem& item = items_[static_cast<size_t>(*k)];
  if (f < 0) {
    item.Level = 0;
  } else {
    item.ParentItem = items_[static_cast<size_t>(f)].ItemID;
    BecomeChildOf(item, f);
  }
  parentsValid_ = false;
}

void TreeModel::SetSelectedItemByValue(const std::string& pValue) {
  currentItem_ = FindByText(pValue, &TreeItem::DataStr);
}

void TreeModel::OpenItemByValue(const std::string& pDataStr, int32_t pOpenItself) {
  int32_t k = FindByText(pDataStr, &TreeItem::DataStr);
  if (k < 0) return;
  items_[static_cast<size_t>(k)].IsOpened = pOpenItself;
  // A proper tree is never deeper than it has items; more steps mean a cycle.
  for (int32_t steps = 0; steps < Count(); ++steps) {
    k = ParentIndex(k);
    if (k < 0) return;
    items_[static_cast<size_t>(k)].IsOpened = 1;
  }
}

// --- adding, deleting, ordering ---

void TreeModel::AddItem() {
  if (nextItemID_ < INT32_MAX) ++nextItemID_;
  TreeItem item;
  item.ItemID = nextItemID_;
  items_.push_back(std::move(item));
  if (idsValid_) firstIndexOfId_.try_emplace(nextItemID_, Count() - 1);
  if (parentsValid_) parentIndex_.push_back(-1);
}

void TreeModel::DeleteItem(int32_t pIndex) {
  const auto k = IndexOf(pIndex, false);
  if (!k) return;
  items_.erase(items_.begin() + *k);
  items_.shrink_to_fit();
  IdsChanged();
}

void TreeModel::DeleteAll() {
  topRow_ = 0;
  currentItem_ = -1;
  nextItemID_ = 0;
  items_.clear();
  items_.shrink_to_fit();
  firstIndexOfId_.clear();
  parentIndex_.clear();
  idsValid_ = parentsValid_ = true;
}

void TreeModel::ReOrder() {
  const auto less = [this](int32_t a, int32_t b) {
    return Utf16Less(items_[static_cast<size_t>(a)].SortStr,
                     items_[static_cast<size_t>(b)].SortStr);
  };
  // On items already in order the sort moves nothing: one look along them is enough.
  bool sorted = true;
  for (int32_t i = 1; i < Count() && sorted; ++i) sorted = !less(i, i - 1);
  if (sorted) return;
  const std::vector<int32_t> order = ShellSortOrder(items_.size(), less);
  std::vector<TreeItem> moved;
  moved.reserve(items_.size());
  for (int32_t from : order) moved.push_back(std::move(items_[static_cast<size_t>(from)]));
  items_ = std::move(moved);
  IdsChanged();
}

void TreeModel::CalcMaxLevel() {
  maxLevel_ = 0;
  for (const TreeItem& item : items_) maxLevel_ = std::max(maxLevel_, item.Level);
}

// --- shape ---

namespace {
enum : uint8_t { kUnknown, kShown, kHidden, kOnPath };
}

bool TreeModel::IsShown(int32_t index, std::vector<uint8_t>& memo) const {
  const uint8_t known = memo[static_cast<size_t>(index)];
  if (known == kShown || known == kHidden) return known == kShown;
  EnsureParents();
  // Walk up until the answer is known; every item on the way shares it.
  path_.clear();
  path_.push_back(index);
  memo[static_cast<size_t>(index)] = kOnPath;
  uint8_t answer = kShown;
  for (int32_t at = index;;) {
    if (items_[static_cast<size_t>(at)].Level == 0) break;
    const int32_t p = parentIndex_[static_cast<size_t>(at)];
    if (p < 0) break;
    if (items_[static_cast<size_t>(p)].IsOpened == 0) {
      answer = kHidden;
      break;
    }
    const uint8_t parent = memo[static_cast<size_t>(p)];
    if (parent == kOnPath) break;  // a cycle
    if (parent != kUnknown) {
      answer = parent;
      break;
    }
    memo[static_cast<size_t>(p)] = kOnPath;
    path_.push_back(p);
    at = p;
  }
  for (int32_t k : path_) memo[static_cast<size_t>(k)] = answer;
  return answer == kShown;
}

void TreeModel::ShownItems(std::vector<uint8_t>& shown) const {
  shown.assign(items_.size(), kUnknown);
  for (int32_t i = 0; i < Count(); ++i) IsShown(i, shown);
  for (uint8_t& flag : shown) flag = flag == kShown ? 1 : 0;
}

int32_t TreeModel::ItemAtY(double y, int32_t oneHeight) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    const int32_t top = items_[i].RowTop;
    if (top != -1 && top <= y && y <= double(top) + oneHeight) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace lists
