#include "foundation/date_stamp.h"

#include <cmath>

#include "foundation/calendar.h"
#include "platform/clock.h"

namespace foundation {

namespace {

constexpr int64_t kSecPerDay = 86400;
constexpr int64_t kMsPerDay = 86400000;
// Beyond this many seconds any shift leaves the years a stamp can hold; refusing it early also
// keeps the millisecond arithmetic far from the 64-bit limits.
constexpr double kMaxShiftSec = 1e12;

struct Separators {
  const char* date;
  const char* dateTime;
  const char* time;
  const char* millis;
};

Separators SeparatorsOf(int32_t sepMode) {
  switch (sepMode) {
    case 0:
      return {"/", " ", ":", "."};
    case 2:
      return {"-", " ", "_", "_"};
    default:
      return {"", "", "", ""};
  }
}

// A stamp read back by its fixed positions: yyyy?mm?dd hh?nn?ss. The date separators must be
// ones a date text may use; the hour may run past 23 and is taken as it stands.
struct StampFields {
  int64_t dayNumber = 0;
  int64_t seconds = 0;  // hour * 3600 + minute * 60 + second
};

bool ReadStamp(const std::string& stamp, StampFields& out) {
  if (stamp.size() < 19) return false;
  auto isDateSep = [](char c) { return c == '/' || c == '-' || c == '.'; };
  if (!isDateSep(stamp[4]) || stamp[7] != stamp[4]) return false;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(stamp, 0, 4, year) || !ReadDigits(stamp, 5, 2, month) ||
      !ReadDigits(stamp, 8, 2, day) || !ReadDigits(stamp, 11, 2, hour) ||
      !ReadDigits(stamp, 14, 2, minute) || !ReadDigits(stamp, 17, 2, second)) {
    return false;
  }
  if (!IsValidDate(year, month, day)) return false;
  out.dayNumber = DayNumber(CalendarDate{year, month, day});
  out.seconds = hour * 3600LL + minute * 60LL + second;
  return true;
}

}  // namespace

std::string FormatDateStamp(int32_t dayStartSec, int32_t dayOffset, int32_t sepMode, int32_t parts,
                            int32_t timeSource, int32_t yearMode, double addSec) {
  // One reading gives both the date and the time of day, so a stamp taken at midnight never
  // pairs one day's date with the next day's time.
  return FormatDateStampAt(platform::CurrentClock().Now(), dayStartSec, dayOffset, sepMode, parts,
                           timeSource, yearMode, addSec);
}

std::string FormatDateStampAt(const platform::WallTime& now, int32_t dayStartSec, int32_t dayOffset,
                              int32_t sepMode, int32_t parts, int32_t timeSource, int32_t yearMode,
                              double addSec) {
  if (parts == 0) parts = 3;
  if (!std::isfinite(addSec) || std::fabs(addSec) > kMaxShiftSec) return "";

  if (!IsValidDate(now.year, now.month, now.day)) return "";
  int64_t day = DayNumber(CalendarDate{now.year, now.month, now.day});
  int64_t timeMs = static_cast<int64_t>(now.hour) * 3600000 + now.minute * 60000LL +
                   now.second * 1000LL + now.millisecond;
  if (timeMs > kMsPerDay - 1) timeMs = kMsPerDay - 1;
  if (timeMs < 0) timeMs = 0;

  // The shift is carried over as many whole days as it spans, so the time of day always ends
  // in [0, 86400) however large addSec is.
  timeMs += static_cast<int64_t>(std::nearbyint(addSec * 1000.0));
  day += FloorDiv(timeMs, kMsPerDay) + dayOffset;
  timeMs = FloorMod(timeMs, kMsPerDay);

  int64_t h = 0, m = 0, s = 0, ms = 0;
  switch (timeSource) {
    case 0: {
      const int64_t whole = timeMs / 1000;
      h = whole / 3600;
      m = whole % 3600 / 60;
      s = whole % 60;
      ms = timeMs % 1000;
      break;
    }
    case 2:
      h = 23;
      m = 59;
      s = 59;
      break;
    case 3:
      // A negative day start gives no sensible clock fields; it reads as midnight.
      if (dayStartSec > 0) {
        h = dayStartSec / 3600;
        m = dayStartSec % 3600 / 60;
        s = dayStartSec % 60;
      }
      break;
    default:
      break;
  }

  // The broadcast day: a moment before the day start belongs to the previous date, with its
  // hour counted on from 24. A day start of 0 or less never shifts.
  if (h * 3600 + m * 60 + s < dayStartSec) {
    h += 24;
    day -= 1;
  }

  CalendarDate date;
  if (!DateOfDayNumber(day, date)) return "";

  std::string year = PadNumber(date.year, 4);
  if (yearMode == 1) {
    year = year.substr(year.size() - 2);
  } else if (yearMode == 2) {
    year.clear();
  }

  const Separators sep = SeparatorsOf(sepMode);
  std::string text;
  if (parts & 1) {
    text += year + sep.date + PadNumber(date.month, 2) + sep.date + PadNumber(date.day, 2);
  }
  if (parts & 2) {
    if (!text.empty()) text += sep.dateTime;
    text += PadNumber(h, 2) + sep.time + PadNumber(m, 2) + sep.time + PadNumber(s, 2);
  }
  if (parts & 4) text += sep.millis + PadNumber(ms, 3);
  return text;
}

std::string AddSecondsToStamp(const std::string& stamp, double addSec, int32_t dayStartSec,
                              bool compact) {
  StampFields fields;
  if (!ReadStamp(stamp, fields)) return "";
  if (!std::isfinite(addSec) || std::fabs(addSec) > kMaxShiftSec) return "";

  // A negative day start would put hours below zero; like FormatDateStamp it never shifts.
  const int64_t dayStart = dayStartSec > 0 ? dayStartSec : 0;
  int64_t x = fields.seconds + static_cast<int64_t>(std::nearbyint(addSec));
  // Bring x into the broadcast day [dayStart, dayStart + 86400) in one step.
  const int64_t days = FloorDiv(x - dayStart, kSecPerDay);
  x -= days * kSecPerDay;
  CalendarDate date;
  if (!DateOfDayNumber(fields.dayNumber + days, date)) return "";

  const char* dateSep = compact ? "" : "/";
  const char* timeSep = compact ? "" : ":";
  const char* dateTimeSep = compact ? "" : " ";
  return PadNumber(date.year, 4) + dateSep + PadNumber(date.month, 2) + dateSep +
         PadNumber(date.day, 2) + dateTimeSep + PadNumber(x / 3600, 2) + timeSep +
         PadNumber(x / 60 % 60, 2) + timeSep + PadNumber(x % 60, 2);
}

int32_t DiffDateStamps(const std::string& a, const std::string& b) {
  StampFields fa, fb;
  if (!ReadStamp(a, fa) || !ReadStamp(b, fb)) return 0;
  // Years 1 to 9999 keep this far inside 64 bits.
  const int64_t diff = (fb.dayNumber - fa.dayNumber) * kSecPerDay + (fb.seconds - fa.seconds);
  if (diff > 2147483647) return 2147483647;
  if (diff < -2147483647) return -2147483647;
  return static_cast<int32_t>(diff);
}

}  // namespace foundation
