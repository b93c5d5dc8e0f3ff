#include "foundation/ms_time.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "foundation/calendar.h"
#include "foundation/text_fields.h"
#include "platform/ascii_text.h"

namespace foundation {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
// A duration text longer than this is no duration an operator typed.
constexpr size_t kMaxTimeText = 64;
// No field of a duration that fits 32 bits needs more digits than this (leading zeros aside).
constexpr int kMaxFieldDigits = 12;

bool IsSeparator(char c) { return c == '.' || c == ':' || c == '\'' || c == '"'; }

// A plain number of seconds; false when it leaves the 32-bit range in ms. Read without the
// C locale, which a GUI may have set to one with a decimal comma.
bool SecondsTextToMs(const std::string& text, int64_t& ms) {
  std::string_view number = platform::TrimBlanks(text);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  const char* const end = number.data() + number.size();
  double seconds = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), end, seconds);
  if (ec != std::errc() || ptr != end) return false;
  const double value = std::nearbyint(seconds * 1000.0);
  if (!std::isfinite(value) || value > static_cast<double>(kInt32Max) ||
      value < static_cast<double>(kInt32Min)) {
    return false;
  }
  ms = static_cast<int64_t>(value);
  return true;
}

// The separator grammar: [-] field (sep field)*, where the fields fill hours (only when the
// separators say hours are there), minutes, seconds and milliseconds in that order.
bool SeparatedTextToMs(const std::string& input, int64_t& ms) {
  std::string text = input;
  bool negative = false;
  if (!text.empty() && text[0] == '-') {
    negative = true;
    text.erase(0, 1);
  }
  int separators = 0, colons = 0, dots = 0;
  for (char c : text) {
    if (IsSeparator(c)) {
      ++separators;
      if (c == ':') ++colons;
      if (c == '.') ++dots;
    } else if (!IsAsciiDigit(c)) {
      return false;
    }
  }
  const bool hoursExpected =
      separators >= 3 || colons >= 2 || (colons == 1 && dots == 0 && separators == 1);

  // Fields: 0 hours, 1 minutes, 2 seconds, 3 milliseconds.
  int64_t fields[4] = {0, 0, 0, 0};
  bool filled[4] = {false, false, false, false};
  int next = hoursExpected ? 0 : 1;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsSeparator(text[i])) continue;
    // Every field between separators must hold digits: two separators in a row, or one at
    // either end, is no duration.
    const size_t len = i - start;
    if (len == 0) return false;
    int64_t value = 0;
    int significant = 0;
    for (size_t k = start; k < i; ++k) {
      if (significant > 0 || text[k] != '0') ++significant;
      if (significant > kMaxFieldDigits) return false;
      value = value * 10 + (text[k] - '0');
    }
    if (next <= 3) {
      if (next == 3) {
        if (len == 1) value *= 100;
        if (len == 2) value *= 10;
      }
      fields[next] = value;
      filled[next] = true;
      ++next;
    }
    start = i + 1;
  }
  if (!filled[1] && !filled[2] && !filled[3]) return false;
  // Each field is below 10^12, so the sum stays far inside 64 bits before the range check.
  const int64_t total = fields[0] * 3600000 + fields[1] * 60000 + fields[2] * 1000 + fields[3];
  if (total > kInt32Max) return false;
  ms = negative ? -total : total;
  return true;
}

}  // namespace

std::string FormatMsTime(int64_t ms, int32_t mode, bool allowNegative) {
  if (mode < 0 || mode > 12) return "";
  std::string sign;
  if (ms < 0) {
    if (!allowNegative) {
      ms = 0;
    } else if (ms == std::numeric_limits<int64_t>::min()) {
      return "";  // its magnitude has no 64-bit value
    } else {
      ms = -ms;
      sign = "-";
    }
  }
  const int64_t h = ms / 3600000;
  const int64_t m = ms / 60000;
  const int64_t s = ms / 1000;
  const std::string mm = PadNumber(m % 60, 2);
  const std::string ss = PadNumber(s % 60, 2);
  const std::string tenths = PadNumber(ms / 100 % 10, 1);
  const std::string hundredths = PadNumber(ms / 10 % 100, 2);
  const std::string thousandths = PadNumber(ms % 1000, 3);
  const std::string hms = PadNumber(h, 2) + ":" + mm + ":" + ss;
  std::string text;
  switch (mode) {
    case 0:
      text = PadNumber(m, 3) + "'" + ss + "." + thousandths;
      break;
    case 1:
      text = PadNumber(m, 2) + "'" + ss + "." + tenths;
      break;
    case 2:
      text = hms;
      break;
    case 3:
      text = PadNumber(h, 1) + ":" + mm + ":" + ss + "." + tenths;
      break;
    case 4:
      text = PadNumber(m, 2) + ":" + ss;
      break;
    case 5:
      text = PadNumber(s, 3) + "." + thousandths;
      break;
    case 6:
      text = PadNumber(s, 3) + "." + hundredths;
      break;
    case 7:
      text = PadNumber(m, 2) + ":" + ss + "." + thousandths;
      break;
    case 8:
      text = hms + "." + tenths;
      break;
    case 9:
      text = hms + "." + hundredths;
      break;
    case 10:
      text = hms + "." + thousandths;
      break;
    case 11:
      text = PadNumber(h, 2) + "時" + mm + "分" + ss + "秒";
      break;
    case 12:
      text = PadNumber(h, 2) + mm + ss;
      break;
  }
  return sign + text;
}

int32_t ParseTimeToMs(const std::string& text, bool failIsMinusOne, int32_t* okFlag) {
  int64_t ms = 0;
  bool ok = false;
  if (text.size() <= kMaxTimeText && IsPlainNumber(text)) {
    ok = SecondsTextToMs(text, ms);
  } else if (CharCount(text) < 2) {
    return 0;  // too short to be a duration; not reported as a failure
  } else if (text.size() <= kMaxTimeText) {
    ok = SeparatedTextToMs(text, ms);
  }
  if (!ok) return failIsMinusOne ? -1 : 0;
  if (okFlag) *okFlag = 1;
  return static_cast<int32_t>(ms);
}

int32_t IsClockInBroadcastDay(const std::string& text, int32_t dayStartSec, bool digitsOnly) {
  std::string digits = text;
  if (!digitsOnly) {
    const size_t n = text.size();
    const bool hms = (n == 8 || (n >= 10 && n <= 12)) && text[2] == ':' && text[5] == ':';
    if (!hms || (n >= 10 && text[8] != '.')) return 0;
    digits = text.substr(0, 2) + text.substr(3, 2) + text.substr(6, 2);
    if (n >= 10) digits += text.substr(9);
  }
  if (!IsAsciiDigits(digits) || digits.size() > 9) return 0;
  digits.resize(9, '0');
  int hours = 0, minutes = 0, seconds = 0, millis = 0;
  ReadDigits(digits, 0, 2, hours);
  ReadDigits(digits, 2, 2, minutes);
  ReadDigits(digits, 4, 2, seconds);
  ReadDigits(digits, 6, 3, millis);
  if (minutes >= 60 || seconds >= 60) return 0;
  const int64_t t = hours * 3600000LL + minutes * 60000LL + seconds * 1000LL + millis;
  if (dayStartSec > 0) {
    const int64_t start = dayStartSec * 1000LL;
    if (t < start || t > start + 86400000LL) return 0;
  }
  return 1;
}

}  // namespace foundation
