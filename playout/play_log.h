#pragma once

#include <cstdint>
#include <string>

#include "controls/lists/list_model.h"

namespace playout {

// The play log <yyyymmdd>_<NN><AirID>.txt of the broadcast day: one line per event, which the
// companion appends to the server. A line is eight double-quoted fields separated by commas, in
// CP932 with CR LF: the event's time hh:nn:ss on the broadcast-day clock, the six cells of the
// row, and the event text, all cleaned.
std::string PlayLogLine(const std::string& time, const lists::ListModel& list, int32_t row,
                        const std::string& event);

// Appends the line `bytes` at the end of the file, creating it when missing: the whole line or
// nothing of it (platform/line_append.h). "" on success, else the reason.
std::string AppendToFile(const std::string& path, const std::string& bytes);

}  // namespace playout
