#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lists {

// The narrowest a column may be, twips.
inline constexpr int32_t kMinTabWidth = 450;

// Editor bits of a column (UseTextCombo) and the editor kinds FrontObj names.
inline constexpr int32_t kEditorText = 1;
inline constexpr int32_t kEditorCombo = 2;
inline constexpr int32_t kEditorList = 4;

// One column (a tab). Column k shows cell k of every row.
struct ListColumn {
  std::string TabName;
  int32_t TabOrder = 0;   // display position, 0 leftmost
  int32_t TabHidden = 0;  // non-zero: not shown
  int32_t TabWidth = kMinTabWidth;
  int32_t TabLeft = 0;   // twips in the unscrolled list, set by LayoutTabs
  int32_t TabRight = 0;  // equal to TabLeft for a hidden column
  int32_t TabAlign = 0;  // 1 right-aligned, anything else left-aligned
  int32_t UseTextCombo = 0;
  int32_t FrontObj = 0;  // the editor kind shown on the current row
  int32_t TextIndex = 0;
  int32_t ComboIndexOfTab = 0;
  int32_t ListIndexOfTab = 0;
  int32_t TextIsTime = 0;
  int32_t DataNumeric = 0;
};

// The columns of a list: their records, the display order and the horizontal layout. Column
// numbers outside 0 .. Count() - 1 make a setter do nothing and a getter return 0 or "". Every
// change of width, visibility or order lays the columns out again at once, so TabLeft and
// TabRight always describe what is set.
class ListColumns {
 public:
  // `count` fresh columns (negative counts as 0) in their own order.
  void Reset(int32_t count);
  int32_t Count() const { return static_cast<int32_t>(columns_.size()); }
  bool Has(int32_t column) const { return column >= 0 && column < Count(); }
  // The record of a column; null outside the columns.
  const ListColumn* Column(int32_t column) const;
  ListColumn* Column(int32_t column);
  // The column shown at a display position; -1 outside.
  int32_t ColumnAt(int32_t position) const;

  std::string TabName(int32_t column) const;
  void SetTabName(int32_t column, const std::string& name);
  int32_t TabHidden(int32_t column) const { return Get(column, &ListColumn::TabHidden); }
  void SetTabHidden(int32_t column, int32_t hidden);
  int32_t TabWidth(int32_t column) const { return Get(column, &ListColumn::TabWidth); }
  // Widths below kMinTabWidth are stored as kMinTabWidth.
  void SetTabWidth(int32_t column, int32_t width);
  int32_t TabAlign(int32_t column) const { return Get(column, &ListColumn::TabAlign); }
  void SetTabAlign(int32_t column, int32_t align) { Set(column, &ListColumn::TabAlign, align); }
  int32_t TabOrder(int32_t column) const { return Get(column, &ListColumn::TabOrder); }
  int32_t DataNumeric(int32_t column) const { return Get(column, &ListColumn::DataNumeric); }
  void SetDataNumeric(int32_t column, int32_t numeric) {
    Set(column, &ListColumn::DataNumeric, numeric);
  }
  int32_t TextIsTime(int32_t column) const { return Get(column, &ListColumn::TextIsTime); }
  void SetTextIsTime(int32_t column, int32_t isTime) {
    Set(column, &ListColumn::TextIsTime, isTime);
  }
  int32_t UseTextCombo(int32_t column) const { return Get(column, &ListColumn::UseTextCombo); }
  // Stores the bits; FrontObj becomes the highest editor kind present (kept with no bit set).
  void SetUseTextCombo(int32_t column, int32_t bits);
  int32_t FrontObj(int32_t column) const { return Get(column, &ListColumn::FrontObj); }
  void SetFrontObj(int32_t column, int32_t kind) { Set(column, &ListColumn::FrontObj, kind); }

  // Moves `column` to display position `position`, shifting the columns between one place.
  // Nothing for a column or position outside the columns, or when it is there already.
  void SetTabOrder(int32_t column, int32_t position);
  // Gives every column the display position positions[column] at once. A list that is not a
  // permutation of 0 .. Count() - 1 (wrong length, a repeat, a position outside) gives the
  // default order instead; false then.
  bool RestoreTabOrder(const std::vector<int32_t>& positions);

  // TabLeft and TabRight from the widths, the order and the hidden flags: each shown column
  // starts where the nearest shown column before it ends; a hidden one is zero wide there.
  void LayoutTabs();
  // The width of all columns: TabRight of the column at the last position (0 without columns).
  int32_t TotalWidth() const;

  // The shown column whose right border lies within 5 pixels of x (twips from the unscrolled
  // list's left edge), the last such in display order; -1 when none.
  int32_t TabBorderAtX(double x, int32_t twipsPerPixel) const;
  // The shown column under x: the first in display order with TabLeft <= x < TabRight; left of
  // every column the first shown one, right of every column the last shown one; 0 when every
  // column is hidden.
  int32_t TabAtX(double x) const;
  // The first shown column in display order; -1 when every column is hidden.
  int32_t FirstShownColumn() const;

 private:
  // A whole-number field of a column: 0 outside the columns; a write there does nothing.
  int32_t Get(int32_t column, int32_t ListColumn::*field) const;
  void Set(int32_t column, int32_t ListColumn::*field, int32_t value);
  void RebuildOrderFromTabOrder();

  std::vector<ListColumn> columns_;
  std::vector<int32_t> order_;  // display position -> column
};

}  // namespace lists
