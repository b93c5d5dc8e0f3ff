#include "foundation/ms_time.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using foundation::FormatMsTime;
using foundation::IsClockInBroadcastDay;
using foundation::ParseTimeToMs;

TEST(MsTimeTest, FormatMsTimeLayouts) {
  const char* expected[] = {"062'03.456", "62'03.4",     "01:02:03",     "1:02:03.4",
                            "62:03",      "3723.456",    "3723.45",      "62:03.456",
                            "01:02:03.4", "01:02:03.45", "01:02:03.456", "01時02分03秒",
                            "010203"};
  for (int32_t mode = 0; mode <= 12; ++mode) {
    EXPECT_EQ(FormatMsTime(3723456, mode), expected[mode]) << "mode " << mode;
  }
  EXPECT_EQ(FormatMsTime(3723456, 13), "");
  EXPECT_EQ(FormatMsTime(3723456, -1), "");
  // Hours and leading minutes are never wrapped.
  EXPECT_EQ(FormatMsTime(100LL * 3600000, 2), "100:00:00");
  EXPECT_EQ(FormatMsTime(100LL * 3600000, 4), "6000:00");

  // Negatives: shown only when asked; the 64-bit ends neither overflow nor wrap.
  EXPECT_EQ(FormatMsTime(-1500, 4), "00:00");
  EXPECT_EQ(FormatMsTime(-1500, 4, true), "-00:01");
  EXPECT_EQ(FormatMsTime(std::numeric_limits<int64_t>::max(), 5), "9223372036854775.807");
  EXPECT_EQ(FormatMsTime(-std::numeric_limits<int64_t>::max(), 12, true), "-25620477880151255");
  EXPECT_EQ(FormatMsTime(std::numeric_limits<int64_t>::min(), 4, true), "");
  EXPECT_EQ(FormatMsTime(std::numeric_limits<int64_t>::min(), 4), "00:00");
}

TEST(MsTimeTest, ParseTimeToMsSeparatorGrammar) {
  struct Case {
    std::string text;
    bool ok;
    int32_t ms;
  } cases[] = {
      {"1:02:03.5", true, 3723500},
      {"-2'03.5", true, -123500},
      {"2'03\"5", true, 123500},  // three separators: hours, minutes, seconds
      {"1:30", true, 5400000},
      {"1'30", true, 90000},
      {"1:02:03:456", true, 3723456},
      {"1:02:03.456.9", true, 3723456},  // fields past milliseconds are ignored
      {"0:00.05", true, 50},
      {"83.5", true, 83500},
      {"+.5", true, 500},
      {" 7. ", true, 7000},
      {"0.0025", true, 2},  // half to even
      {"596:31:23.647", true, 2147483647},
      {"-596:31:23.647", true, -2147483647},
      {"1:" + std::string(20, '0') + "5", true, 3900000},
      {"1:", false, 0},
      {"1::2", false, 0},
      {"1:2a", false, 0},
      {"1 :2", false, 0},
      {"１:30", false, 0},
      {"--1:2", false, 0},
      {"2147483.648", false, 0},
      {"596:31:23.648", false, 0},
      {"99999999999999999999:00", false, 0},
      {std::string(100, '1'), false, 0},
      {"1e3", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t ok = 0;
    const int32_t result = ParseTimeToMs(c.text, true, &ok);
    EXPECT_EQ(result, c.ok ? c.ms : -1);
    EXPECT_EQ(ok, c.ok ? 1 : 0);
    if (!c.ok) {
      EXPECT_EQ(ParseTimeToMs(c.text, false), 0);
    }
  }
  // Texts too short to hold a time are 0, not a failure.
  for (const char* text : {"", ":", "分"}) {
    int32_t ok = 7;
    EXPECT_EQ(ParseTimeToMs(text, true, &ok), 0) << text;
    EXPECT_EQ(ok, 7) << text;
  }
}

TEST(MsTimeTest, IsClockInBroadcastDay) {
  struct Case {
    const char* text;
    int32_t dayStart;
    bool digitsOnly;
    int32_t expected;
  } cases[] = {
      {"05:00:00", 18000, false, 1},    {"29:00:00", 18000, false, 1},
      {"27:15:20.25", 18000, false, 1}, {"04:59:59", 18000, false, 0},
      {"29:00:00.5", 18000, false, 0},  {"05:60:00", 18000, false, 0},
      {"7:15:20", 18000, false, 0},     {"05:00:00.1234", 18000, false, 0},
      {"０５:00:00", 18000, false, 0},  {"051520", 18000, true, 1},
      {"051520", 18000, false, 0},      {"05:15:20", 18000, true, 0},
      {"99:59:59", -5, false, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsClockInBroadcastDay(c.text, c.dayStart, c.digitsOnly), c.expected)
        << c.text << " day start " << c.dayStart << " digitsOnly " << c.digitsOnly;
  }
}

}  // namespace
