#include "foundation/calendar.h"

#include <string_view>

#include "platform/ascii_text.h"
#include "platform/clock.h"

namespace foundation {

namespace {

constexpr int64_t kMsPerDay = 86400000;

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int64_t DaysInMonth(int64_t year, int64_t month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

// Day numbers of 0001/01/01 and 9999/12/31.
int64_t FirstDay() { return DayNumber(CalendarDate{kFirstYear, 1, 1}); }
int64_t LastDay() { return DayNumber(CalendarDate{kLastYear, 12, 31}); }

}  // namespace

bool IsValidDate(int64_t year, int64_t month, int64_t day) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > 12) return false;
  return day >= 1 && day <= DaysInMonth(year, month);
}

// The platform clock already converts between calendar fields and a linear count of local
// milliseconds; a day number is that count at midnight divided by the length of a day.
int64_t DayNumber(const CalendarDate& date) {
  platform::WallTime t;
  t.year = date.year;
  t.month = date.month;
  t.day = date.day;
  return FloorDiv(platform::WallTimeToLocalMs(t), kMsPerDay);
}

bool DateOfDayNumber(int64_t dayNumber, CalendarDate& date) {
  if (dayNumber < FirstDay() || dayNumber > LastDay()) return false;
  const platform::WallTime t = platform::LocalMsToWallTime(dayNumber * kMsPerDay);
  date = CalendarDate{t.year, t.month, t.day};
  return true;
}

int WeekdayOfDayNumber(int64_t dayNumber) {
  // 1970-01-01 was a Thursday (5).
  return static_cast<int>(FloorMod(dayNumber + 4, 7)) + 1;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

std::string PadNumber(int64_t value, int width) {
  std::string digits;
  // Work on the magnitude digit by digit so that even INT64_MIN prints without overflow.
  const bool negative = value < 0;
  do {
    const int64_t rest = value % 10;
    digits.insert(digits.begin(), static_cast<char>('0' + (rest < 0 ? -rest : rest)));
    value /= 10;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(digits.begin(), static_cast<size_t>(width) - digits.size(), '0');
  }
  return negative ? "-" + digits : digits;
}

bool IsAsciiDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

bool ReadDigits(const std::string& text, size_t pos, size_t count, int& value) {
  if (count == 0 || count > 9 || pos > text.size() || text.size() - pos < count) return false;
  int v = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!IsAsciiDigit(text[i])) return false;
    v = v * 10 + (text[i] - '0');
  }
  value = v;
  return true;
}

bool IsPlainNumber(const std::string& text) {
  std::string_view number = platform::TrimBlanks(text);
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) number.remove_prefix(1);
  bool digit = false;
  bool dot = false;
  for (const char c : number) {
    if (IsAsciiDigit(c)) {
      digit = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace foundation
