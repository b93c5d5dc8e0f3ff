#include "foundation/date_text.h"

#include "foundation/calendar.h"
#include "foundation/text_fields.h"

namespace foundation {

// The date texts this system reads (ParseDateText, IsDateText, WeekdayKanji):
//
//   text   := blank* date [time] blank*
//   date   := year sep month sep day              sep is '/', '-' or '.', the same both times
//           | year "年" month "月" day "日"
//   year   := 4 digits | 2 digits                 a 2-digit year yy is 20yy
//   month  := 1 or 2 digits (1-12)
//   day    := 1 or 2 digits (a day of that month)
//   time   := blank+ clock                        after a separated date
//           | blank* clock                        after "日"
//   clock  := hour ":" minute [":" second]        1 or 2 digits each; 0-23, 0-59, 0-59
//
// Digits are ASCII '0'-'9' only. The time, when present, must be valid but is not part of the
// result: these routines deal in dates. Anything else (2026/13/45, 2026/2/30, 2026/12/07 27:00,
// trailing text) is no date. A plain number (yyyymmdd, yymmdd, yyyymmddhhnnss) is first cut
// into a date text by FormatDateJapanese(text, 0, 3).

namespace {

class Cursor {
 public:
  explicit Cursor(const std::string& text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  // Reads 1 to maxDigits ASCII digits (as many as there are, up to maxDigits).
  bool Number(size_t minDigits, size_t maxDigits, int& value, size_t* count = nullptr) {
    size_t n = 0;
    int v = 0;
    while (n < maxDigits && pos_ + n < text_.size() && IsAsciiDigit(text_[pos_ + n])) {
      v = v * 10 + (text_[pos_ + n] - '0');
      ++n;
    }
    if (n < minDigits) return false;
    pos_ += n;
    value = v;
    if (count) *count = n;
    return true;
  }

  bool Literal(const char* lit) {
    const std::string l(lit);
    if (text_.compare(pos_, l.size(), l) != 0) return false;
    pos_ += l.size();
    return true;
  }

  // Skips blanks and tells how many there were.
  size_t Blanks() {
    size_t n = 0;
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_, ++n;
    return n;
  }

  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  void Skip() { ++pos_; }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

bool ReadYear(Cursor& c, int& year) {
  size_t digits = 0;
  if (!c.Number(2, 4, year, &digits)) return false;
  if (digits == 3) return false;
  if (digits == 2) year += 2000;
  return true;
}

bool ReadClock(Cursor& c) {
  int hour = 0, minute = 0, second = 0;
  if (!c.Number(1, 2, hour) || !c.Literal(":") || !c.Number(1, 2, minute)) return false;
  if (c.Literal(":") && !c.Number(1, 2, second)) return false;
  return hour <= 23 && minute <= 59 && second <= 59;
}

// Day number of a text of the grammar above.
bool ReadDateGrammar(const std::string& text, int64_t& dayNumber) {
  Cursor c(text);
  c.Blanks();
  int year = 0, month = 0, day = 0;
  if (!ReadYear(c, year)) return false;
  bool kanji = false;
  const char sep = c.Peek();
  if (sep == '/' || sep == '-' || sep == '.') {
    c.Skip();
    if (!c.Number(1, 2, month) || c.Peek() != sep) return false;
    c.Skip();
    if (!c.Number(1, 2, day)) return false;
  } else {
    kanji = true;
    if (!c.Literal("年") || !c.Number(1, 2, month) || !c.Literal("月") || !c.Number(1, 2, day) ||
        !c.Literal("日")) {
      return false;
    }
  }
  const size_t blanks = c.Blanks();
  if (!c.AtEnd()) {
    if (!kanji && blanks == 0) return false;
    if (!ReadClock(c)) return false;
    c.Blanks();
    if (!c.AtEnd()) return false;
  }
  if (!IsValidDate(year, month, day)) return false;
  dayNumber = DayNumber(CalendarDate{year, month, day});
  return true;
}

// A date text or a plain digit string, as ParseDateText reads it.
bool ReadDateText(const std::string& text, int64_t& dayNumber) {
  if (IsAsciiDigits(text)) return ReadDateGrammar(FormatDateJapanese(text, 0, 3), dayNumber);
  return ReadDateGrammar(text, dayNumber);
}

struct Units {
  const char* unit[6];  // after year, month, day, hour, minute, second
};

Units UnitsOf(int32_t mode) {
  switch (mode) {
    case 0:
      return {{"/", "/", "", ":", ":", ""}};
    case 1:
      return {{"年", "月", "日", "時", "分", "秒"}};
    case 2:
      return {{"-", "-", " ", "_", "_", ""}};
    default:
      return {{"", "", "", "", "", ""}};
  }
}

}  // namespace

std::string ParseDateText(const std::string& text, int32_t mode, int32_t dayOffset) {
  if (mode < 0 || mode > 2) return "";
  int64_t day = 0;
  if (!ReadDateText(text, day)) return "";
  CalendarDate date;
  if (!DateOfDayNumber(day + dayOffset, date)) return "";
  const char* sep = mode == 0 ? "/" : mode == 1 ? "-" : "";
  return PadNumber(date.year, 4) + sep + PadNumber(date.month, 2) + sep + PadNumber(date.day, 2);
}

std::string FormatDateJapanese(const std::string& digits, int32_t mode, int32_t parts) {
  if (!IsAsciiDigits(digits)) return "";
  const Units u = UnitsOf(mode);
  auto field = [&](size_t pos, size_t len, int unit) {
    return digits.substr(pos, len) + u.unit[unit];
  };
  switch (digits.size()) {
    case 6:
      return field(0, 2, 0) + field(2, 2, 1) + field(4, 2, 2);
    case 8:
      return field(0, 4, 0) + field(4, 2, 1) + field(6, 2, 2);
    case 14: {
      std::string text;
      if (parts & 1) text = field(0, 4, 0) + field(4, 2, 1) + field(6, 2, 2);
      if (parts & 2) {
        if (!text.empty()) text += ' ';
        text += field(8, 2, 3) + field(10, 2, 4) + field(12, 2, 5);
      }
      return text;
    }
    default:
      return "";
  }
}

int32_t IsDateText(const std::string& text) {
  if (CharCount(text) < 8 || IsPlainNumber(text)) return 0;
  int64_t day = 0;
  return ReadDateGrammar(text, day) ? 1 : 0;
}

std::string WeekdayKanji(const std::string& date, int32_t column, int16_t firstDay) {
  static constexpr const char* kNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
  int64_t index = 0;
  if (column == 0) {
    int64_t day = 0;
    if (!ReadDateText(date, day)) return "";
    index = WeekdayOfDayNumber(day);
  } else {
    index = static_cast<int64_t>(firstDay) + column - 1;
  }
  if (index < 1 || index > 14) return "";
  return kNames[(index - 1) % 7];
}

}  // namespace foundation
