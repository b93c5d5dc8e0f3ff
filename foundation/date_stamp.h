#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Stamps: "yyyy/mm/dd hh:nn:ss", 19 characters, every field zero-padded; hours may run past 23
// on a broadcast day (the day starts dayStartSec seconds after midnight, and a moment before
// that belongs to the previous date with its hour counted on from 24). Callers that name
// broadcast days pass the station's HourAdjust; calendar callers (debug log, ages) pass 0.
// All routines read the wall clock once per call (platform::CurrentClock()).

// The current moment, shifted by addSec seconds and dayOffset days, as text.
//   sepMode 0 "/", " ", ":", "."   2 "-", " ", "_", "_"   other: no separators
//   parts   bit set: 1 date, 2 time, 4 milliseconds (0 means 3)
//   timeSource 0 the clock, 2 23:59:59, 3 the day start, other 00:00:00
//   yearMode 1 two-digit year, 2 no year (the separator after it stays), other four digits
std::string FormatDateStamp(int32_t dayStartSec = 0, int32_t dayOffset = 0, int32_t sepMode = 0,
                            int32_t parts = 0, int32_t timeSource = 0, int32_t yearMode = 0,
                            double addSec = 0);

// The stamp moved by addSec seconds and brought into the broadcast day
// [dayStartSec, dayStartSec + 86400); compact gives yyyymmddhhnnss. "" for a stamp shorter than
// 19 characters or one that does not read as a stamp.
std::string AddSecondsToStamp(const std::string& stamp, double addSec, int32_t dayStartSec,
                              bool compact = false);

// Seconds from stamp a to stamp b (b later: positive), clamped to +-2147483647; 0 when either
// is shorter than 19 characters or does not read as a stamp.
int32_t DiffDateStamps(const std::string& a, const std::string& b);

}  // namespace foundation
