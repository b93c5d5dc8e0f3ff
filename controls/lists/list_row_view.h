#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "controls/lists/list_model.h"

namespace lists {

// What a named view over one row of a list is made of: the list, the row's index (the model's
// addressing, so -1 is the current row and -2 the last) and the reads and writes of its cells and
// auxiliary values. A view keeps no values of its own: it reads and writes the list, so it costs
// what the index costs and always sees the row as it is now. `Model` is ListModel, or
// const ListModel for a view that only reads; the writes exist only on the former.
//
// A list's own views (one per kind of list) derive from it and give each cell and auxiliary value
// its name, so that only they know which number holds what.
template <class Model>
class RowView {
 public:
  RowView(Model& list, int32_t row) : list_(&list), row_(row) {}

  Model& List() const { return *list_; }

 protected:
  ListValue Cell(int32_t column) const { return list_->Value(row_, column); }
  std::string CellText(int32_t column) const { return list_->Value(row_, column).Text(); }
  // A cell's number truncated to a whole number; 0 when it holds none.
  int64_t CellWhole(int32_t column) const {
    return static_cast<int64_t>(list_->Value(row_, column).Number().value_or(0));
  }
  ListValue Aux(int32_t aux) const { return list_->AuxID(row_, aux); }
  std::string AuxText(int32_t aux) const { return list_->AuxID(row_, aux).Text(); }

  void SetCell(int32_t column, const ListValue& value) const requires(!std::is_const_v<Model>) {
    list_->SetValue(row_, column, value);
  }
  void SetAux(int32_t aux, const ListValue& value) const requires(!std::is_const_v<Model>) {
    list_->SetAuxID(row_, aux, value);
  }

 private:
  Model* list_;
  int32_t row_;
};

}  // namespace lists
