#include "controls/lists/list_model.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/system_colors.h"

namespace lists {

ListModel::ListModel()
    : foreColor_(platform::SystemColorRef(platform::COLOR_WINDOWTEXT)),
      random_(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}

void ListModel::Init() {
  columns_.Reset(numData_);
  rows_.clear();
  orderData_ = -1;
}

ListRow ListModel::FreshRow(int32_t colour) const {
  ListRow row;
  row.DispColor = colour;
  row.Data.resize(static_cast<size_t>(std::max(numData_, 0)));
  row.AuxID.resize(static_cast<size_t>(std::max(numAux_, 0)));
  return row;
}

std::optional<int32_t> ListModel::RowOf(int32_t index, bool acceptLast) const {
  int32_t row = index;
  if (index == -1) row = selectedItem_;
  if (index == -2 && acceptLast) row = ItemCount() - 1;
  if (row < 0 || row >= ItemCount()) return std::nullopt;
  return row;
}

const ListRow* ListModel::Row(int32_t index) const {
  const auto row = RowOf(index);
  return row ? &rows_[static_cast<size_t>(*row)] : nullptr;
}

int32_t ListModel::CurrentRow() const {
  return selectedItem_ >= 0 && selectedItem_ < ItemCount() ? selectedItem_ : -1;
}

const std::vector<ListValue>* ListModel::CellsOf(int32_t index, int32_t column, bool aux) const {
  const auto row = RowOf(index);
  if (!row) return nullptr;
  const std::vector<ListValue>& cells =
      aux ? rows_[static_cast<size_t>(*row)].AuxID : rows_[static_cast<size_t>(*row)].Data;
  if (column < 0 || column >= static_cast<int32_t>(cells.size())) return nullptr;
  return &cells;
}

std::vector<ListValue>* ListModel::CellsOf(int32_t index, int32_t column, bool aux) {
  return const_cast<std::vector<ListValue>*>(std::as_const(*this).CellsOf(index, column, aux));
}

ListValue ListModel::Value(int32_t index, int32_t column) const {
  const auto* cells = CellsOf(index, column, false);
  return cells != nullptr ? (*cells)[static_cast<size_t>(column)] : ListValue();
}

void ListModel::SetValue(int32_t index, int32_t column, const ListValue& value) {
  if (auto* cells = CellsOf(index, column, false)) (*cells)[static_cast<size_t>(column)] = value;
}

ListValue ListModel::AuxID(int32_t index, int32_t aux) const {
  const auto* cells = CellsOf(index, aux, true);
  return cells != nullptr ? (*cells)[static_cast<size_t>(aux)] : ListValue();
}

void ListModel::SetAuxID(int32_t index, int32_t aux, const ListValue& value) {
  if (auto* cells = CellsOf(index, aux, true)) (*cells)[static_cast<size_t>(aux)] = value;
}

int32_t ListModel::Field(int32_t index, int32_t ListRow::*field, bool acceptLast) const {
  const auto row = RowOf(index, acceptLast);
  return row ? rows_[static_cast<size_t>(*row)].*field : 0;
}

void ListModel::SetField(int32_t index, int32_t ListRow::*field, int32_t value) {
  if (const auto row = RowOf(index)) rows_[static_cast<size_t>(*row)].*field = value;
}

void ListModel::SetIsSelected(int32_t index, int32_t flag) {
  const auto row = RowOf(index);
  if (!row) return;
  rows_[static_cast<size_t>(*row)].IsSelected = flag;
  if (index == -1 && flag == 0) selectedItem_ = -1;
}

void ListModel::AddItem(int32_t count) {
  if (count <= 0) return;
  rows_.reserve(rows_.size() + static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) rows_.push_back(FreshRow(foreColor_));
}

void ListModel::InsertItem(int32_t index, int32_t count) {
  const int32_t n = count == 0 ? 1 : count;
  const int32_t at = index == -1 ? selectedItem_ : index;
  if (n < 0 || at < 0 || at > ItemCount()) return;
  if (selectedItem_ != -1 && at <= selectedItem_) selectedItem_ += n;
  rows_.insert(rows_.begin() + at, static_cast<size_t>(n), FreshRow(0));
}

void ListModel::ResetNumTab() {
  for (ListRow& row : rows_) {
    row.Data.resize(static_cast<size_t>(std::max(numData_, 0)));
    row.AuxID.resize(static_cast<size_t>(std::max(numAux_, 0)));
  }
}

void ListModel::DeleteItem(int32_t index) {
  const int32_t at = index == -1 ? selectedItem_ : index;
  if (at < 0 || at >= ItemCount()) return;
  if (index != -1 && at < selectedItem_) --selectedItem_;
  rows_.erase(rows_.begin() + at);
}

void ListModel::DeleteItemEx(int32_t first, int32_t last) {
  if (rows_.empty()) return;
  const int32_t top = ItemCount() - 1;
  const int32_t a = std::clamp(first, 0, top);
  const int32_t b = std::clamp(last, 0, top);
  if (b < a) return;
  rows_.erase(rows_.begin() + a, rows_.begin() + b + 1);
}

void ListModel::DeleteAll() {
  rows_.clear();
  rows_.shrink_to_fit();
  orderData_ = -1;
  topItem_ = 0;
  lastDrawnTop_ = 0;
  selectedItem_ = -1;
  rangeFlag_ = false;
  toggleFlag_ = false;
}

void ListModel::DeleteSelected() {
  if (rows_.empty()) return;
  std::erase_if(rows_, [](const ListRow& row) { return row.IsSelected != 0; });
  selectedItem_ = -1;
}

void ListModel::UnSelectAll() {
  selectedItem_ = -1;
  for (ListRow& row : rows_) row.IsSelected = 0;
}

void ListModel::SelectAll() {
  for (ListRow& row : rows_) row.IsSelected = 1;
}

void ListModel::SelectOnly(int32_t row) {
  for (ListRow& r : rows_) r.IsSelected = 0;
  rows_[static_cast<size_t>(row)].IsSelected = 1;
  selectedItem_ = row;
}

void ListModel::ExchangeItem(int32_t offset) {
  const int32_t current = CurrentRow();
  if (ItemCount() <= 1 || current < 0) return;
  const int64_t target = static_cast<int64_t>(current) + offset;
  if (target < 0 || target >= ItemCount()) return;
  std::swap(rows_[static_cast<size_t>(current)], rows_[static_cast<size_t>(target)]);
  SelectOnly(static_cast<int32_t>(target));
}

void ListModel::MoveCursor(int32_t down) {
  if (rows_.empty()) return;
  const int64_t next = static_cast<int64_t>(selectedItem_) + (down != 0 ? 1 : -1);
  SelectOnly(static_cast<int32_t>(std::clamp<int64_t>(next, 0, ItemCount() - 1)));
}

void ListModel::SetSelectedItem(int32_t index) {
  selectedItem_ = std::clamp(index, -1, std::max(ItemCount() - 1, -1));
  if (selectedItem_ >= 0) rows_[static_cast<size_t>(selectedItem_)].IsSelected = 1;
}

int32_t ListModel::SelectedData() const { return selectedData_ < numData_ ? selectedData_ : 0; }

int32_t ListModel::NumSelectedItems() const {
  return static_cast<int32_t>(std::count_if(rows_.begin(), rows_.end(),
                                            [](const ListRow& r) { return r.IsSelected == 1; }));
}

void ListModel::PressSelect(int32_t row, int16_t shift, bool noMultiSelect) {
  if (row < 0 || row >= ItemCount()) return;
  const bool multi = !noMultiSelect;
  if (shift == kShiftKey && multi) {
    // A current row left behind by a deletion is no row: the range then starts at the top.
    const int32_t from = CurrentRow() < 0 ? 0 : CurrentRow();
    const int32_t lo = std::min(from, row);
    const int32_t hi = std::max(from, row);
    for (int32_t i = 0; i < ItemCount(); ++i) {
      rows_[static_cast<size_t>(i)].IsSelected = (i >= lo && i <= hi) ? 1 : 0;
    }
    rangeFlag_ = true;
    toggleFlag_ = false;
    selectedItem_ = row;
    return;
  }
  if (shift == kCtrlKey && multi) {
    ListRow& hit = rows_[static_cast<size_t>(row)];
    if (hit.IsSelected != 0) {
      hit.IsSelected = 0;
      if (row == selectedItem_) {
        selectedItem_ = -1;
        for (int32_t i = 0; i < ItemCount(); ++i) {
          if (rows_[static_cast<size_t>(i)].IsSelected != 0) {
            selectedItem_ = i;
            break;
          }
        }
      }
    } else {
      hit.IsSelected = 1;
      selectedItem_ = row;
    }
    rangeFlag_ = false;
    toggleFlag_ = true;
    return;
  }
  if (rangeFlag_) {
    rangeFlag_ = false;
    if (rows_[static_cast<size_t>(row)].IsSelected != 0) return;
  } else if (toggleFlag_) {
    toggleFlag_ = false;
    return;
  }
  SelectOnly(row);
}

}  // namespace lists
