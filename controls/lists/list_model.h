#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "controls/lists/list_columns.h"
#include "controls/lists/list_value.h"
#include "foundation/list_layout_keys.h"

namespace lists {

// One row of a list.
struct ListRow {
  int32_t IsSelected = 0;        // 0 no, 1 yes; 2 marks the current row while ReOrder runs
  int32_t IconType = 0;          // icon number of the icon strip; -1 none
  int32_t DispColor = 0;         // text colour, &HBBGGRR
  int32_t HLine = 0;             // 0 none, else the colour of the line at the row's top
  std::vector<ListValue> Data;   // the cells, NumData of them
  std::vector<ListValue> AuxID;  // hidden values, NumAux of them
};

// Shift codes of a press, as the mouse reports them.
inline constexpr int16_t kShiftKey = 1;
inline constexpr int16_t kCtrlKey = 2;

// The data of one list, free of drawing: rows, the current row and the selection, the sort
// state, the columns and the first visible row. The playout and companion engines own their
// lists' models and drive them without a display; a UC_ListView shows one.
//
// Row addressing: a row index counts from 0; -1 is the current row (SelectedItem) and -2 the
// last row. An index outside the rows, -1 without a current row, or -2 without rows makes a
// setter do nothing and a getter return its empty result (an empty value, 0). A current row
// outside 0 .. ItemCount - 1 (it may equal ItemCount after a deletion) counts as none.
// Column and auxiliary numbers outside their range likewise do nothing or read empty.
// No member draws or throws.
class ListModel : public foundation::ListColumnLayout {
 public:
  ListModel();

  // --- set-up ---
  int32_t NumData() const override { return numData_; }
  // Read by Init; the rows follow a change only through ResetNumTab.
  void SetNumData(int32_t count) { numData_ = count; }
  int32_t NumAux() const { return numAux_; }
  void SetNumAux(int32_t count) { numAux_ = count; }
  // The text colour a new row gets.
  int32_t ForeColor() const { return foreColor_; }
  void SetForeColor(int32_t colour) { foreColor_ = colour; }
  // Columns sized to NumData in their own order, no rows, no sort column.
  void Init();

  ListColumns& Columns() { return columns_; }
  const ListColumns& Columns() const { return columns_; }
  int32_t TabWidth(int32_t column) const override { return columns_.TabWidth(column); }
  int32_t TabOrder(int32_t column) const override { return columns_.TabOrder(column); }

  // --- rows ---
  int32_t ItemCount() const { return static_cast<int32_t>(rows_.size()); }
  // The row an index addresses, or nothing (see the addressing rule above). `acceptLast`
  // false refuses -2 (the getters of DispColor, HLine and IsSelected).
  std::optional<int32_t> RowOf(int32_t index, bool acceptLast = true) const;
  const ListRow* Row(int32_t index) const;

  ListValue Value(int32_t index, int32_t column) const;
  void SetValue(int32_t index, int32_t column, const ListValue& value);
  ListValue AuxID(int32_t index, int32_t aux) const;
  void SetAuxID(int32_t index, int32_t aux, const ListValue& value);
  int32_t IconType(int32_t index) const { return Field(index, &ListRow::IconType, true); }
  void SetIconType(int32_t index, int32_t icon) { SetField(index, &ListRow::IconType, icon); }
  // DispColor, HLine and IsSelected read nothing through -2.
  int32_t DispColor(int32_t index) const { return Field(index, &ListRow::DispColor, false); }
  void SetDispColor(int32_t index, int32_t colour) { SetField(index, &ListRow::DispColor, colour); }
  int32_t HLine(int32_t index) const { return Field(index, &ListRow::HLine, false); }
  void SetHLine(int32_t index, int32_t colour) { SetField(index, &ListRow::HLine, colour); }
  int32_t IsSelected(int32_t index) const { return Field(index, &ListRow::IsSelected, false); }
  // With index -1 and flag 0 the current row also becomes none.
  void SetIsSelected(int32_t index, int32_t flag);

  // Appends `count` fresh rows (not selected, icon 0, no line, ForeColor); a negative count adds
  // nothing.
  void AddItem(int32_t count);
  // Inserts max(count, 1) blank rows (colour 0) before `index` (-1 the current row; ItemCount
  // appends). The current row keeps pointing at the same row.
  void InsertItem(int32_t index, int32_t count = 0);
  // Resizes every row's cells and auxiliary values to NumData and NumAux, keeping what fits.
  void ResetNumTab();
  // Removes one row (-1 the current row, which then keeps its number and so names the next
  // row). Deleting a row above the current row moves the current row up with it; a rejected
  // index changes nothing at all.
  void DeleteItem(int32_t index);
  // Removes the rows first .. last (both limited to the rows); the current row is not changed.
  void DeleteItemEx(int32_t first, int32_t last);
  // Removes every row; no current row, no sort column, the first visible row 0 and the click
  // selection back to plain. OrderInverted and the columns stay.
  void DeleteAll();
  // Removes every selected row; the current row becomes none.
  void DeleteSelected();
  void UnSelectAll();
  void SelectAll();
  // Swaps the current row with the one `offset` places away, which becomes current and alone
  // selected. Nothing unless both are rows.
  void ExchangeItem(int32_t offset);
  // The row below (down non-zero) or above the current one, limited to the rows, becomes
  // current and alone selected; from no current row both directions give row 0.
  void MoveCursor(int32_t down);

  // --- current row and selection ---
  int32_t SelectedItem() const { return selectedItem_; }
  // The current row becomes `index` limited to -1 .. ItemCount - 1; a row gets selected.
  void SetSelectedItem(int32_t index);
  // The current row when it is a row, else -1.
  int32_t CurrentRow() const;
  // The column of the last left press on the rows when it is a column, else 0.
  int32_t SelectedData() const;
  void SetSelectedData(int32_t column) { selectedData_ = column; }
  int32_t NumSelectedItems() const;
  int32_t MultiSelected() const { return NumSelectedItems() >= 2 ? 1 : 0; }

  // A left press on row `row` (a row) with the shift state: Shift alone selects the range
  // from the current row, Ctrl alone toggles the row, anything else is a plain click (so are
  // all with noMultiSelect). After a range, a plain click on a selected row keeps the selection
  // (so it can be dragged); after Ctrl clicks, the first plain click keeps it whatever row it
  // hits.
  void PressSelect(int32_t row, int16_t shift, bool noMultiSelect);
  bool RangeState() const { return rangeFlag_; }
  bool ToggleState() const { return toggleFlag_; }

  // --- order ---
  int32_t OrderData() const { return orderData_; }
  void SetOrderData(int32_t column) { orderData_ = column; }
  int32_t OrderInverted() const { return orderInverted_; }
  void SetOrderInverted(int32_t inverted) { orderInverted_ = inverted; }
  // Sorts every row by column `column` (see list_model_order.cpp). reverse -1 toggles between
  // ascending and descending on repeated calls for one column (force 1 always ascending); any
  // other reverse gives descending when non-zero. The current row stays current (and becomes
  // selected). A column of DataNumeric sorts as numbers, a cell that is no number counting as
  // 0; other columns sort as lower-cased texts by code unit.
  void ReOrder(int32_t column, int32_t force, int32_t reverse = -1);
  // Shuffles lists of three rows or more; the current row keeps its number, selection flags
  // travel with their rows.
  void RndItem();
  // Seeds the shuffle (it is seeded once from the clock otherwise).
  void SeedShuffle(uint32_t seed) { random_.seed(seed); }

  // --- first visible row (kept here because row operations reset it) ---
  int32_t TopItem() const { return topItem_; }
  void SetTopItem(int32_t row) { topItem_ = row; }
  int32_t LastDrawnTop() const { return lastDrawnTop_; }
  void SetLastDrawnTop(int32_t row) { lastDrawnTop_ = row; }

 private:
  // A whole-number field of the row an index addresses; 0 when it addresses none.
  int32_t Field(int32_t index, int32_t ListRow::*field, bool acceptLast) const;
  void SetField(int32_t index, int32_t ListRow::*field, int32_t value);
  ListRow FreshRow(int32_t colour) const;
  std::vector<ListValue>* CellsOf(int32_t index, int32_t column, bool aux);
  const std::vector<ListValue>* CellsOf(int32_t index, int32_t column, bool aux) const;
  void SelectOnly(int32_t row);

  int32_t numData_ = 1;
  int32_t numAux_ = 1;
  int32_t foreColor_;
  ListColumns columns_;
  std::vector<ListRow> rows_;
  int32_t selectedItem_ = -1;
  int32_t selectedData_ = 0;
  int32_t orderData_ = -1;
  int32_t orderInverted_ = 0;
  bool rangeFlag_ = false;
  bool toggleFlag_ = false;
  int32_t topItem_ = 0;
  int32_t lastDrawnTop_ = 0;
  std::mt19937 random_;
};

}  // namespace lists
