#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Reads a date text (see the grammar in date_text.cpp) or a plain number (yyyymmdd, yymmdd,
// yyyymmddhhnnss), adds dayOffset days and formats it: mode 0 yyyy/mm/dd, 1 yyyy-mm-dd,
// 2 yyyymmdd, other "". "" when the text is no date.
std::string ParseDateText(const std::string& text, int32_t mode = 0, int32_t dayOffset = 0);

// Cuts a digit string of 6 (yymmdd), 8 (yyyymmdd) or 14 (yyyymmddhhnnss) ASCII digits into a
// date (and time) text. mode 0 "/" "/" "" ":" ":" "", 1 年月日時分秒, 2 "-" "-" " " "_" "_" "",
// other no units. parts (14 digits only): bit 1 date, bit 2 time. "" for anything else.
std::string FormatDateJapanese(const std::string& digits, int32_t mode = 0, int32_t parts = 3);

// 1 when the text has at least 8 characters, is not a plain number and reads as a date; else 0.
int32_t IsDateText(const std::string& text);

// One-character day-of-week name. column 0: the weekday of `date` (yyyy/mm/dd or any date text
// ParseDateText reads; Sunday = 1); otherwise index firstDay + column - 1. 1 and 8 "日" ... 7
// and 14 "土"; any other index "".
std::string WeekdayKanji(const std::string& date, int32_t column = 0, int16_t firstDay = 1);

}  // namespace foundation
