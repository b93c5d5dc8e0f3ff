#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Calendar arithmetic and the ASCII digit fields that date and time texts are built from.
// Dates are whole day numbers (days since 1970-01-01, proleptic Gregorian calendar); the years
// this system handles run from 1 to 9999, the range a four-digit stamp can hold.

struct CalendarDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// True for a real date between 0001/01/01 and 9999/12/31 (no 30 February, no month 13).
bool IsValidDate(int64_t year, int64_t month, int64_t day);

// Day number of a date; the date must be valid.
int64_t DayNumber(const CalendarDate& date);

// The date of a day number; false (date untouched) when it falls outside years 1 to 9999.
bool DateOfDayNumber(int64_t dayNumber, CalendarDate& date);

// Day of the week of a day number, Sunday = 1 to Saturday = 7.
int WeekdayOfDayNumber(int64_t dayNumber);

// Floor division and its non-negative remainder; the divisor must be positive.
int64_t FloorDiv(int64_t a, int64_t b);
int64_t FloorMod(int64_t a, int64_t b);

// The value zero-padded on the left to `width` digits; a wider value prints all its digits
// (27 with width 2 is "27", 7 is "07"). A negative value gets its "-" in front of the digits.
std::string PadNumber(int64_t value, int width);

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// True when the text is not empty and every byte is an ASCII digit '0'-'9' (full-width and
// other Unicode digits do not count).
bool IsAsciiDigits(const std::string& text);

// Reads `count` ASCII digits starting at byte `pos` into `value`; false when the text is too
// short or any of those bytes is not an ASCII digit. count must be 1 to 9.
bool ReadDigits(const std::string& text, size_t pos, size_t count, int& value);

// A plain decimal number: optional '+' or '-', ASCII digits with at most one '.', at least one
// digit, optional blanks around it. The numbers operators type as counts and seconds.
bool IsPlainNumber(const std::string& text);

}  // namespace foundation
