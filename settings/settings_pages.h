#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/dialog_ports.h"
#include "settings/settings_field.h"

namespace settings {

// The captions of the dialog's four pages.
extern const char* const kPageCaptions[kPageCount];

// The fields of page `tab` in the order OK writes them, their choice lists filled from the
// station's tables and the devices present; entries are not filled yet. Empty for any other tab.
std::vector<Field> PageFields(int32_t tab, const foundation::ConfTables& conf,
                              DeviceLists& devices);

// The air names the station's tables hold: in order, at most eight, up to the first empty one.
std::vector<std::string> AirNames(const foundation::ConfTables& conf);

}  // namespace settings
