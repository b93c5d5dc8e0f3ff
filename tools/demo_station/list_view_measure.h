#pragma once

#include "tools/demo_station/column_widths.h"

namespace demo_station {

// Measures with the programs' own list view: its fonts, and the room its drawing leaves a text
// before it cuts it. Needs the toolkit's application object for as long as it is used; installs
// the programs' font faces.
ColumnMeasure ListViewMeasure();

}  // namespace demo_station
