#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace foundation {

// Stamps: "yyyy/mm/dd hh:nn:ss", 19 characters, every field zero-padded; hours may run past 23
// on a broadcast day (the day starts dayStartSec seconds after midnight, and a moment before
// that belongs to the previous date with its hour counted on from 24). Callers that name
// broadcast days pass the station's HourAdjust; calendar callers (debug log, ages) pass 0.
// All routines read the wall clock once per call (platform::CurrentClock()).

// The current moment, shifted by addSec seconds and dayOffset days, as text. addSec of any
// size carries over whole days (rounded to whole milliseconds, half to even), so the time of
// day always stays in 00:00:00.000-23:59:59.999 before the day-start shift; a moment before
// the day start then reads as the previous date with hour 24 and more. "" when addSec is not
// finite or the date leaves the years 0001-9999.
//   sepMode 0 "/", " ", ":", "."   2 "-", " ", "_", "_"   other: no separators
//   parts   bit set: 1 date, 2 time, 4 milliseconds (0 means 3)
//   timeSource 0 the clock, 2 23:59:59, 3 the day start, other 00:00:00
//   yearMode 1 two-digit year, 2 no year (the separator after it stays), other four digits
std::string FormatDateStamp(int32_t dayStartSec = 0, int32_t dayOffset = 0, int32_t sepMode = 0,
                            int32_t parts = 0, int32_t timeSource = 0, int32_t yearMode = 0,
                            double addSec = 0);

// The same for a given clock reading instead of a fresh one (a caller that reads its own clock
// once and names several stamps after that one moment).
std::string FormatDateStampAt(const platform::WallTime& now, int32_t dayStartSec = 0,
                              int32_t dayOffset = 0, int32_t sepMode = 0, int32_t parts = 0,
                              int32_t timeSource = 0, int32_t yearMode = 0, double addSec = 0);

// The stamp moved by addSec seconds (rounded to whole seconds, half to even) and brought into
// the broadcast day [dayStartSec, dayStartSec + 86400); a negative day start counts as 0.
// compact gives yyyymmddhhnnss. A stamp is read by its fixed positions (hours past 23 as they
// stand, date separators '/', '-' or '.'); "" for a stamp shorter than 19 characters, one whose
// fields are not ASCII digits or whose date is not a real date, or a result outside the years
// 0001-9999.
std::string AddSecondsToStamp(const std::string& stamp, double addSec, int32_t dayStartSec,
                              bool compact = false);

// Seconds from stamp a to stamp b (b later: positive), clamped to +-2147483647; 0 when either
// is shorter than 19 characters or does not read as a stamp (as for AddSecondsToStamp).
int32_t DiffDateStamps(const std::string& a, const std::string& b);

}  // namespace foundation
