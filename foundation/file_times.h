#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_handles.h"

namespace foundation {

// A file time (seconds and nanoseconds since the epoch, UTC) as local "yyyy/mm/dd hh:nn:ss";
// "" when it cannot be converted.
std::string FileTimeToText(int64_t epochSec, int64_t nsec = 0);

// which 0 creation (birth, else last write), 1 last access, 2 last write; parts bit 1 date,
// bit 2 time; style 0 yyyymmdd + hhnnss, 1 yyyy/mm/dd hh:nn:ss, 2 年月日 時分秒 (a blank between
// date and time unless style 0). handle 0 opens the path; a given handle is used and left open.
// "" when the time cannot be read.
std::string GetFileTimeText(const std::string& path, int32_t which, int32_t parts, int32_t style,
                            FileHandleId handle = 0);

}  // namespace foundation
