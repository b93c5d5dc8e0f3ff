#include "controls/lists/list_columns.h"

#include <algorithm>
#include <limits>

namespace lists {

void ListColumns::Reset(int32_t count) {
  const int32_t n = std::max(count, 0);
  columns_.assign(static_cast<size_t>(n), ListColumn());
  order_.resize(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    columns_[static_cast<size_t>(k)].TabOrder = k;
    order_[static_cast<size_t>(k)] = k;
  }
  LayoutTabs();
}

const ListColumn* ListColumns::Column(int32_t column) const {
  return Has(column) ? &columns_[static_cast<size_t>(column)] : nullptr;
}

ListColumn* ListColumns::Column(int32_t column) {
  return Has(column) ? &columns_[static_cast<size_t>(column)] : nullptr;
}

int32_t ListColumns::ColumnAt(int32_t position) const {
  if (position < 0 || position >= Count()) return -1;
  return order_[static_cast<size_t>(position)];
}

int32_t ListColumns::Get(int32_t column, int32_t ListColumn::*field) const {
  const ListColumn* c = Column(column);
  return c != nullptr ? c->*field : 0;
}

void ListColumns::Set(int32_t column, int32_t ListColumn::*field, int32_t value) {
  if (ListColumn* c = Column(column)) c->*field = value;
}

std::string ListColumns::TabName(int32_t column) const {
  const ListColumn* c = Column(column);
  return c != nullptr ? c->TabName : std::string();
}

void ListColumns::SetTabName(int32_t column, const std::string& name) {
  if (ListColumn* c = Column(column)) c->TabName = name;
}

void ListColumns::SetTabHidden(int32_t column, int32_t hidden) {
  if (!Has(column)) return;
  Set(column, &ListColumn::TabHidden, hidden);
  LayoutTabs();
}

void ListColumns::SetTabWidth(int32_t column, int32_t width) {
  if (!Has(column)) return;
  Set(column, &ListColumn::TabWidth, std::max(width, kMinTabWidth));
  LayoutTabs();
}

void ListColumns::SetUseTextCombo(int32_t column, int32_t bits) {
  ListColumn* c = Column(column);
  if (c == nullptr) return;
  c->UseTextCombo = bits;
  for (int32_t kind : {kEditorText, kEditorCombo, kEditorList}) {
    if ((bits & kind) != 0) c->FrontObj = kind;
  }
}

void ListColumns::SetTabOrder(int32_t column, int32_t position) {
  if (!Has(column) || position < 0 || position >= Count()) return;
  const int32_t old = columns_[static_cast<size_t>(column)].TabOrder;
  if (old == position) return;
  for (ListColumn& c : columns_) {
    if (old > position && c.TabOrder >= position && c.TabOrder < old) ++c.TabOrder;
    if (old < position && c.TabOrder > old && c.TabOrder <= position) --c.TabOrder;
  }
  columns_[static_cast<size_t>(column)].TabOrder = position;
  RebuildOrderFromTabOrder();
  LayoutTabs();
}

bool ListColumns::RestoreTabOrder(const std::vector<int32_t>& positions) {
  const int32_t n = Count();
  bool permutation = static_cast<int32_t>(positions.size()) == n;
  std::vector<bool> taken(static_cast<size_t>(n), false);
  for (size_t k = 0; permutation && k < positions.size(); ++k) {
    const int32_t p = positions[k];
    if (p < 0 || p >= n || taken[static_cast<size_t>(p)]) {
      permutation = false;
    } else {
      taken[static_cast<size_t>(p)] = true;
    }
  }
  for (int32_t k = 0; k < n; ++k) {
    columns_[static_cast<size_t>(k)].TabOrder = permutation ? positions[static_cast<size_t>(k)] : k;
  }
  RebuildOrderFromTabOrder();
  LayoutTabs();
  return permutation;
}

void ListColumns::RebuildOrderFromTabOrder() {
  for (int32_t k = 0; k < Count(); ++k) {
    order_[static_cast<size_t>(columns_[static_cast<size_t>(k)].TabOrder)] = k;
  }
}

void ListColumns::LayoutTabs() {
  // Widths are Longs, so their sum is kept within the Long range rather than wrapping.
  constexpr int64_t kLongMax = std::numeric_limits<int32_t>::max();
  int64_t edge = 0;
  for (int32_t column : order_) {
    ListColumn& c = columns_[static_cast<size_t>(column)];
    c.TabLeft = static_cast<int32_t>(edge);
    if (c.TabHidden == 0) edge = std::min<int64_t>(edge + c.TabWidth, kLongMax);
    c.TabRight = static_cast<int32_t>(edge);
  }
}

int32_t ListColumns::TotalWidth() const {
  if (order_.empty()) return 0;
  return columns_[static_cast<size_t>(order_.back())].TabRight;
}

int32_t ListColumns::TabBorderAtX(double x, int32_t twipsPerPixel) const {
  const double reach = 5.0 * twipsPerPixel;
  int32_t found = -1;
  for (int32_t column : order_) {
    const ListColumn& c = columns_[static_cast<size_t>(column)];
    if (c.TabHidden != 0) continue;
    if (c.TabRight - reach < x && x < c.TabRight + reach) found = column;
  }
  return found;
}

int32_t ListColumns::TabAtX(double x) const {
  int32_t lastShown = -1;
  for (int32_t column : order_) {
    const ListColumn& c = columns_[static_cast<size_t>(column)];
    if (c.TabHidden != 0) continue;
    // Shown columns are laid out left to right, so the first whose right edge lies beyond x
    // holds it (or lies right of it when x is left of every column).
    if (x < c.TabRight) return column;
    lastShown = column;
  }
  return lastShown >= 0 ? lastShown : 0;
}

int32_t ListColumns::FirstShownColumn() const {
  for (int32_t column : order_) {
    if (columns_[static_cast<size_t>(column)].TabHidden == 0) return column;
  }
  return -1;
}

}  // namespace lists
