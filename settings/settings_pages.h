#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/dialog_ports.h"
#include "settings/settings_field.h"

namespace settings {

// The four pages of the dialog and the settings each shows.
inline constexpr int32_t kPageCount = 4;
inline constexpr int32_t kPageGeneral = 0;
inline constexpr int32_t kPageDisplay = 1;
inline constexpr int32_t kPageExternal = 2;
inline constexpr int32_t kPageCnt = 3;
extern const char* const kPageCaptions[kPageCount];

// The fields of page `tab` in the order OK writes them, their choice lists filled from the
// station's tables and the devices present; entries are not filled yet. Empty for any other tab.
std::vector<Field> PageFields(int32_t tab, const foundation::ConfTables& conf,
                              DeviceLists& devices);

// The air names the station's tables hold: in order, at most eight, up to the first empty one.
std::vector<std::string> AirNames(const foundation::ConfTables& conf);

}  // namespace settings
