#include "foundation/date_stamp.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/clock.h"
#include "tests/fakes/platform/simulated_clock.h"

namespace {

using foundation::AddSecondsToStamp;
using foundation::DiffDateStamps;
using foundation::FormatDateStamp;

// Every test reads a simulated clock set to 8 December 2026, 03:15:20.250 unless it sets
// another time, and puts the system clock back afterwards.
class DateStampTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetCurrentClock(&clock_); }
  void TearDown() override { platform::SetCurrentClock(nullptr); }
  void SetTime(int hour, int minute, int second, int ms = 0) {
    clock_.SetNow(platform::WallTime{2026, 12, 8, hour, minute, second, ms});
  }
  platform::SimulatedClock clock_{platform::WallTime{2026, 12, 8, 3, 15, 20, 250}};
};

TEST_F(DateStampTest, FormatsEveryModeAtOneMoment) {
  struct Case {
    int32_t dayStart, dayOffset, sepMode, parts, timeSource, yearMode;
    double addSec;
    const char* expected;
  };
  const Case cases[] = {
      {18000, 0, 0, 0, 0, 0, 0, "2026/12/07 27:15:20"},
      {18000, 3, 1, 1, 0, 0, 0, "20261210"},
      {18000, 0, 0, 2, 0, 0, 0, "27:15:20"},
      {18000, 0, 0, 0, 0, 0, 61, "2026/12/07 27:16:21"},
      {0, -30, 0, 0, 0, 0, 0, "2026/11/08 03:15:20"},
      {0, 0, 0, 7, 0, 0, 0, "2026/12/08 03:15:20.250"},
      {0, 0, 2, 7, 0, 0, 0, "2026-12-08 03_15_20_250"},
      {0, 0, 1, 3, 0, 0, 0, "20261208031520"},
      {0, 0, 0, 1, 0, 1, 0, "26/12/08"},
      {0, 0, 0, 1, 0, 2, 0, "/12/08"},
      {0, 0, 0, 4, 0, 0, 0, ".250"},
      {18000, 0, 0, 0, 2, 0, 0, "2026/12/08 23:59:59"},
      {18000, 0, 0, 0, 3, 0, 0, "2026/12/08 05:00:00"},
      {18000, 0, 0, 0, 1, 0, 0, "2026/12/07 24:00:00"},
      {-3600, 0, 0, 0, 0, 0, 0, "2026/12/08 03:15:20"},  // a negative day start never shifts
      {-3600, 0, 0, 0, 3, 0, 0, "2026/12/08 00:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateStamp(c.dayStart, c.dayOffset, c.sepMode, c.parts, c.timeSource, c.yearMode,
                              c.addSec),
              c.expected)
        << c.dayStart << " " << c.dayOffset << " " << c.sepMode << " " << c.parts << " "
        << c.timeSource << " " << c.yearMode << " " << c.addSec;
  }
}

TEST_F(DateStampTest, BroadcastDayTurnsAtTheDayStart) {
  SetTime(4, 59, 59, 999);
  EXPECT_EQ(FormatDateStamp(18000), "2026/12/07 28:59:59");
  SetTime(5, 0, 0);
  EXPECT_EQ(FormatDateStamp(18000), "2026/12/08 05:00:00");
  SetTime(0, 0, 0);
  EXPECT_EQ(FormatDateStamp(18000), "2026/12/07 24:00:00");
  EXPECT_EQ(FormatDateStamp(0), "2026/12/08 00:00:00");
}

TEST_F(DateStampTest, AddSecondsPastMidnightNormalisesFully) {
  SetTime(23, 59, 50);
  // Into the next date, then back with hour 24 because 00:00:05 is before the day start.
  EXPECT_EQ(FormatDateStamp(18000, 0, 0, 0, 0, 0, 15), "2026/12/08 24:00:05");
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 0, 0, 0, 15), "2026/12/09 00:00:05");
  // Several days at once still leave a time within the day.
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 0, 0, 0, 3 * 86400.0 + 15), "2026/12/12 00:00:05");
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 0, 0, 0, -2 * 86400.0 - 86391), "2026/12/05 23:59:59");
  // Beyond the years a stamp holds, or no number at all: no stamp.
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 0, 0, 0, 1e12), "");
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 0, 0, 0, std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(FormatDateStamp(0, 2147483647), "");

  // Milliseconds never reach a thousand.
  SetTime(23, 59, 59, 999);
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 7, 0, 0, 0.0004), "2026/12/08 23:59:59.999");
  EXPECT_EQ(FormatDateStamp(0, 0, 0, 7, 0, 0, 0.0006), "2026/12/09 00:00:00.000");
}

TEST(StampArithmeticTest, AddSecondsToStampNormalisesToTheBroadcastDay) {
  struct Case {
    const char* stamp;
    double addSec;
    int32_t dayStart;
    bool compact;
    const char* expected;
  } cases[] = {
      {"2026/12/07 27:15:20", 3600, 18000, false, "2026/12/07 28:15:20"},
      {"2026/12/08 04:59:59", 0, 18000, true, "20261207285959"},
      {"2026/12/08 05:00:00", 0, 18000, false, "2026/12/08 05:00:00"},
      {"2026/12/07 27:15:20", 3600, 0, false, "2026/12/08 04:15:20"},
      {"2026/12/07 27:15:20", 0, -100, false, "2026/12/08 03:15:20"},
      {"2024/03/01 00:00:00", -1, 0, false, "2024/02/29 23:59:59"},
      {"2026-12-07 10:00:00", 0.5, 0, false, "2026/12/07 10:00:00"},  // half to even
      {"2026/12/07 10:00:00", 1.5, 0, false, "2026/12/07 10:00:02"},
      {"2026/12/07 10:00:00.250 trailing", 0, 0, false, "2026/12/07 10:00:00"},
      {"2026/12/07 10:00:00", -1e9 * 86400, 0, false, ""},
      {"2026/12/07 10:00:0", 0, 0, false, ""},
      {"2026/02/30 10:00:00", 0, 0, false, ""},
      {"２０２６/12/07 10:00:00", 0, 0, false, ""},
      {"2026x12x07 10:00:00", 0, 0, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddSecondsToStamp(c.stamp, c.addSec, c.dayStart, c.compact), c.expected)
        << c.stamp << " + " << c.addSec << " day start " << c.dayStart;
  }
}

TEST(StampArithmeticTest, DiffDateStampsReadsBroadcastAndCalendarStampsAlike) {
  EXPECT_EQ(DiffDateStamps("2026/12/07 27:15:20", "2026/12/08 03:15:30"), 10);
  EXPECT_EQ(DiffDateStamps("2026/12/31 23:00:00", "2027/01/01 01:00:00"), 7200);
  EXPECT_EQ(DiffDateStamps("1990/01/01 00:00:00", "2090/01/01 00:00:00"), 2147483647);
  EXPECT_EQ(DiffDateStamps("2090/01/01 00:00:00", "1990/01/01 00:00:00"), -2147483647);
  EXPECT_EQ(DiffDateStamps("2026/12/07 27:15", "2026/12/08 03:15:30"), 0);
  EXPECT_EQ(DiffDateStamps("2026/12/07 27:15:20", "garbage garbage gar"), 0);
  // Moving a broadcast stamp and back gives it again, the difference the seconds moved.
  for (double add : {-200000.0, -1.0, 86400.0, 1e6}) {
    const std::string moved = AddSecondsToStamp("2026/12/07 27:15:20", add, 18000);
    EXPECT_EQ(DiffDateStamps("2026/12/07 27:15:20", moved), static_cast<int32_t>(add)) << moved;
    EXPECT_EQ(AddSecondsToStamp(moved, -add, 18000), "2026/12/07 27:15:20") << moved;
  }
}

}  // namespace
