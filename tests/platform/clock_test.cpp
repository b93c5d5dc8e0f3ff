#include "platform/clock.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/fakes/platform/simulated_clock.h"

namespace platform {
namespace {

auto Fields(const WallTime& t) {
  return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
}

TEST(SimulatedClock, AdvanceCarriesAcrossDayMonthAndYearEnds) {
  struct Case {
    WallTime start;
    int64_t advanceMs;
    WallTime expected;
  };
  const Case cases[] = {
      {{2026, 12, 8, 23, 59, 59, 900}, 200, {2026, 12, 9, 0, 0, 0, 100}},
      {{2026, 4, 30, 23, 59, 59, 999}, 1, {2026, 5, 1, 0, 0, 0, 0}},
      {{2026, 12, 31, 23, 59, 59, 500}, 600, {2027, 1, 1, 0, 0, 0, 100}},
      {{2028, 2, 28, 12, 0, 0, 0}, 86400000, {2028, 2, 29, 12, 0, 0, 0}},  // leap year
      {{2100, 2, 28, 12, 0, 0, 0}, 86400000, {2100, 3, 1, 12, 0, 0, 0}},   // century, no leap
      {{2026, 1, 1, 0, 0, 0, 0}, 366LL * 86400000, {2027, 1, 2, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SimulatedClock clock(c.start);
    const int64_t mono = clock.MonotonicMs();
    clock.Advance(c.advanceMs);
    EXPECT_EQ(Fields(clock.Now()), Fields(c.expected));
    EXPECT_EQ(clock.MonotonicMs() - mono, c.advanceMs);
  }
}

TEST(SimulatedClock, SetNowMovesOnlyWallTimeAndSleepMovesBoth) {
  SimulatedClock clock(WallTime{2026, 12, 8, 10, 0, 0, 0});
  const int64_t mono = clock.MonotonicMs();
  clock.SetNow(WallTime{2026, 12, 8, 9, 0, 0, 0});  // the PC clock corrected backwards
  EXPECT_EQ(clock.MonotonicMs(), mono);
  clock.Sleep(1500);
  EXPECT_EQ(Fields(clock.Now()), Fields({2026, 12, 8, 9, 0, 1, 500}));
  EXPECT_EQ(clock.MonotonicMs(), mono + 1500);
  clock.Sleep(-5);  // never goes back
  EXPECT_EQ(clock.MonotonicMs(), mono + 1500);
}

TEST(Clock, LocalMillisecondsRoundTripIncludingBefore1970) {
  const WallTime times[] = {{1970, 1, 1, 0, 0, 0, 0},
                            {1969, 12, 31, 23, 59, 59, 999},
                            {1900, 3, 1, 1, 2, 3, 4},
                            {2000, 2, 29, 12, 30, 0, 1},
                            {9999, 12, 31, 23, 59, 59, 999}};
  for (const WallTime& t : times)
    EXPECT_EQ(Fields(LocalMsToWallTime(WallTimeToLocalMs(t))), Fields(t));
  EXPECT_EQ(WallTimeToLocalMs({1970, 1, 1, 0, 0, 0, 0}), 0);
  EXPECT_EQ(WallTimeToLocalMs({1969, 12, 31, 23, 59, 59, 999}), -1);
}

}  // namespace
}  // namespace platform
