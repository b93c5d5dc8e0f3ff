#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

// The column layout of a list as the settings keep it: how many columns, each one's width in
// twips and its display position (0 leftmost). A list view offers it.
class ListColumnLayout {
 public:
  virtual ~ListColumnLayout() = default;
  virtual int32_t NumData() const = 0;
  virtual int32_t TabWidth(int32_t column) const = 0;
  virtual int32_t TabOrder(int32_t column) const = 0;
};

// The layout keys of a list are numbered per column from offset + 1: "TabWidth_" & infix &
// number and "TabOrder_" & infix & number (the playout's lists use the infixes "LVS_1_",
// "LVS_2_", "LVS_3_" and offset 0, so TabWidth_LVS_2_1 is the first column of list 2).

// Saves every column's width divided by `rate` in the instance's settings store. Nothing is
// written for a list without columns or for a rate that is not a positive number.
void SaveListColumnWidths(const ListColumnLayout& list, const std::string& infix, int32_t offset,
                          float rate);
// Saves every column's display position.
void SaveListColumnOrder(const ListColumnLayout& list, const std::string& infix, int32_t offset);

// The widths saved for `count` columns (a missing or unreadable key gives `defaultWidth`, and a
// missing INI key is written with it, as every setting read is).
std::vector<int32_t> LoadListColumnWidths(const std::string& infix, int32_t offset, int32_t count,
                                          int32_t defaultWidth = 600);
// The display positions saved for `count` columns (column j defaulting to j). The result is
// what was stored: whether it is a usable order is the list's to judge.
std::vector<int32_t> LoadListColumnOrder(const std::string& infix, int32_t offset, int32_t count);

}  // namespace foundation
