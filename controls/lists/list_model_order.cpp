// Sorting and shuffling of a list's rows.
#include <QString>
#include <algorithm>
#include <cmath>

#include "controls/lists/list_model.h"
#include "controls/lists/shell_sort.h"
#include "foundation/conversions.h"
#include "platform/twips.h"

namespace lists {

namespace {

// The sort key of a text cell: its text lower-cased, compared by UTF-16 code unit.
QString TextKey(const ListValue& value) {
  const std::string text = value.Text();
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower();
}

// Each text replaced by its rank among all texts (equal texts share one), so the sort compares
// whole numbers with the same outcome as the texts.
std::vector<int32_t> TextRanks(const std::vector<QString>& texts) {
  std::vector<int32_t> byText(texts.size());
  for (size_t i = 0; i < byText.size(); ++i) byText[i] = static_cast<int32_t>(i);
  std::sort(byText.begin(), byText.end(), [&](int32_t a, int32_t b) {
    return texts[static_cast<size_t>(a)] < texts[static_cast<size_t>(b)];
  });
  std::vector<int32_t> ranks(texts.size());
  int32_t rank = 0;
  for (size_t i = 0; i < byText.size(); ++i) {
    if (i > 0 &&
        texts[static_cast<size_t>(byText[i - 1])] < texts[static_cast<size_t>(byText[i])]) {
      ++rank;
    }
    ranks[static_cast<size_t>(byText[i])] = rank;
  }
  return ranks;
}

template <typename Key>
std::vector<int32_t> SortedRows(const std::vector<Key>& keys) {
  return ShellSortOrder(keys.size(), [&keys](int32_t a, int32_t b) {
    return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
  });
}

}  // namespace

void ListModel::ReOrder(int32_t column, int32_t force, int32_t reverse) {
  if (column < 0 || column >= numData_) return;
  const int32_t current = CurrentRow();
  if (current >= 0) rows_[static_cast<size_t>(current)].IsSelected = 2;

  bool descending = false;
  if (reverse != -1) {
    descending = reverse != 0;
  } else if (column == orderData_) {
    descending = !(orderInverted_ == 1 || force == 1);
  }
  orderData_ = column;

  static const ListValue kEmpty;
  const auto cell = [column](const ListRow& row) -> const ListValue& {
    return static_cast<size_t>(column) < row.Data.size() ? row.Data[static_cast<size_t>(column)]
                                                         : kEmpty;
  };
  std::vector<int32_t> order;
  if (columns_.DataNumeric(column) != 0) {
    // A cell that is no number (an empty cell, a text) sorts as 0.
    std::vector<double> keys;
    keys.reserve(rows_.size());
    for (const ListRow& row : rows_) keys.push_back(cell(row).Number().value_or(0.0));
    order = SortedRows(keys);
  } else {
    std::vector<QString> texts;
    texts.reserve(rows_.size());
    for (const ListRow& row : rows_) texts.push_back(TextKey(cell(row)));
    order = SortedRows(TextRanks(texts));
  }
  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  for (int32_t from : order) sorted.push_back(std::move(rows_[static_cast<size_t>(from)]));
  rows_ = std::move(sorted);

  orderInverted_ = descending ? 1 : 0;
  if (descending) std::reverse(rows_.begin(), rows_.end());

  for (int32_t i = 0; i < ItemCount(); ++i) {
    ListRow& row = rows_[static_cast<size_t>(i)];
    if (row.IsSelected != 2) continue;
    row.IsSelected = 1;
    if (current >= 0) selectedItem_ = i;
  }
}

void ListModel::RndItem() {
  const int32_t n = ItemCount();
  if (n < 3) return;
  orderData_ = -1;
  orderInverted_ = 0;
  const int32_t m = foundation::NearestInt32Saturated(n / 100.0 + 7);
  const float last = static_cast<float>(n - 1);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  for (int32_t i = 0; i < n; ++i) {
    const double u = uniform(random_);
    const int32_t r = foundation::NearestInt32Saturated(u * last + (i % m));
    if (r >= 0 && r < n) std::swap(rows_[static_cast<size_t>(i)], rows_[static_cast<size_t>(r)]);
  }
}

}  // namespace lists
