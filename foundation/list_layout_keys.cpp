#include "foundation/list_layout_keys.h"

#include <cmath>

#include "foundation/settings_store.h"

namespace foundation {

namespace {

std::string LayoutKey(const char* stem, const std::string& infix, int64_t number) {
  return stem + infix + std::to_string(number);
}

}  // namespace

void SaveListColumnWidths(const ListColumnLayout& list, const std::string& infix, int32_t offset,
                          float rate) {
  if (!std::isfinite(rate) || rate <= 0.0F) return;
  for (int32_t i = 0; i < list.NumData(); ++i) {
    const float width = static_cast<float>(list.TabWidth(i)) / rate;
    SaveSettingValue(LayoutKey("TabWidth_", infix, int64_t{i} + offset + 1), width);
  }
}

void SaveListColumnOrder(const ListColumnLayout& list, const std::string& infix, int32_t offset) {
  for (int32_t i = 0; i < list.NumData(); ++i) {
    SaveSettingValue(LayoutKey("TabOrder_", infix, int64_t{i} + offset + 1), list.TabOrder(i));
  }
}

std::vector<int32_t> LoadListColumnWidths(const std::string& infix, int32_t offset, int32_t count,
                                          int32_t defaultWidth) {
  std::vector<int32_t> widths;
  for (int32_t i = 0; i < count; ++i) {
    widths.push_back(
        LoadSettingInt(LayoutKey("TabWidth_", infix, int64_t{i} + offset + 1), defaultWidth));
  }
  return widths;
}

std::vector<int32_t> LoadListColumnOrder(const std::string& infix, int32_t offset, int32_t count) {
  std::vector<int32_t> positions;
  for (int32_t i = 0; i < count; ++i) {
    positions.push_back(LoadSettingInt(LayoutKey("TabOrder_", infix, int64_t{i} + offset + 1), i));
  }
  return positions;
}

}  // namespace foundation
