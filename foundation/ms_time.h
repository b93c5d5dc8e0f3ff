#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Duration texts in milliseconds. Mode table (3723456 ms): 0 062'03.456, 1 62'03.4,
// 2 01:02:03, 3 1:02:03.4, 4 62:03, 5 3723.456, 6 3723.45, 7 62:03.456, 8 01:02:03.4,
// 9 01:02:03.45, 10 01:02:03.456, 11 01時02分03秒, 12 010203; other modes "".
// A negative ms is 0 unless allowNegative is set (then "-" and the absolute value; INT64_MIN,
// whose absolute value does not exist, gives ""). Hours and leading minutes never wrap.
std::string FormatMsTime(int64_t ms, int32_t mode, bool allowNegative = false);

// Reads a duration: a plain number is seconds (83.5 -> 83500); otherwise fields separated by
// ':', '.', '\'' or '"' as hours, minutes, seconds, milliseconds (see ms_time.cpp). On success
// *okFlag (when given) is set to 1. Failure gives -1 with failIsMinusOne, else 0; a text
// shorter than 2 characters gives 0 (okFlag untouched). Only ASCII digits count; results
// beyond the 32-bit range, and texts longer than 64 bytes, fail.
int32_t ParseTimeToMs(const std::string& text, bool failIsMinusOne = false,
                      int32_t* okFlag = nullptr);

// 1 when `text` is a clock time inside the broadcast day starting dayStartSec seconds after
// midnight (both ends included), else 0. Without digitsOnly the text is hh:mm:ss[.f[f[f]]];
// with it, up to 9 ASCII digits hhmmssfff padded on the right with zeros.
int32_t IsClockInBroadcastDay(const std::string& text, int32_t dayStartSec, bool digitsOnly);

}  // namespace foundation
