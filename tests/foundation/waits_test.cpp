// Test labels: threads (pending work run from a thread that does not own it)
#include "foundation/waits.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "platform/clock.h"
#include "tests/fakes/platform/simulated_clock.h"

namespace {

using foundation::ElapsedSince;
using foundation::RunPendingWork;
using foundation::SetPendingWorkHook;
using foundation::TickSeconds;
using foundation::WaitMilliseconds;

constexpr int64_t kMsPerDay = 86400000;

// A simulated clock (its Sleep advances time, so waits finish at once) and no pending-work
// hook; both are put back afterwards.
class WaitsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetCurrentClock(&clock_); }
  void TearDown() override {
    SetPendingWorkHook(nullptr);
    platform::SetCurrentClock(nullptr);
  }
  // Moves the clock forward until the folded tick reads `tickMs`.
  void AdvanceToTick(int64_t tickMs) {
    const int64_t now = clock_.MonotonicMs() % kMsPerDay;
    clock_.Advance((tickMs - now + kMsPerDay) % kMsPerDay);
  }
  platform::SimulatedClock clock_;
};

TEST_F(WaitsTest, TickFoldsMonotonicTimeIntoOneDay) {
  AdvanceToTick(86399500);
  EXPECT_DOUBLE_EQ(TickSeconds(), 86399.5);
  clock_.Advance(1000);
  EXPECT_DOUBLE_EQ(TickSeconds(), 0.5);
  // Setting the wall clock (here back by years) moves neither the tick nor what has elapsed.
  clock_.SetNow(platform::WallTime{2020, 1, 1, 12, 0, 0, 0});
  EXPECT_DOUBLE_EQ(TickSeconds(), 0.5);
  EXPECT_DOUBLE_EQ(ElapsedSince(86399.5), 1.0);
}

TEST_F(WaitsTest, ElapsedSinceAcrossTheFoldAndIntoTheFuture) {
  AdvanceToTick(5000);
  EXPECT_DOUBLE_EQ(ElapsedSince(86390.0), 15.0);  // 10 s before the fold, read 5 s after
  EXPECT_DOUBLE_EQ(ElapsedSince(2.0), 3.0);
  EXPECT_DOUBLE_EQ(ElapsedSince(5.5), 0.0);  // a start 0.5 s ahead
  EXPECT_DOUBLE_EQ(ElapsedSince(5.5, true), -0.5);
  EXPECT_DOUBLE_EQ(ElapsedSince(6.0), 0.0);      // up to 1 s ahead still reads 0
  EXPECT_DOUBLE_EQ(ElapsedSince(7.0), 86398.0);  // further ahead counts as before the fold
  EXPECT_DOUBLE_EQ(ElapsedSince(86390.0, true), -86385.0);
}

TEST_F(WaitsTest, WaitAcrossTheFoldRunsPendingWorkEachRound) {
  AdvanceToTick(86399500);
  const double startTick = TickSeconds();
  const int64_t startMono = clock_.MonotonicMs();
  int rounds = 0;
  SetPendingWorkHook([&] {
    ++rounds;
    // A wall clock set back while waiting does not stretch or cut the wait.
    clock_.SetNow(platform::WallTime{2026, 12, 8, 1, 0, 0, 0});
  });
  WaitMilliseconds(1000, 10);
  const int64_t waited = clock_.MonotonicMs() - startMono;
  EXPECT_GT(waited, 1000);
  EXPECT_LE(waited, 1010);
  EXPECT_GE(rounds, 100);
  EXPECT_LE(rounds, 102);
  EXPECT_GT(ElapsedSince(startTick), 1.0);
  EXPECT_LT(TickSeconds(), 1.0);  // past the fold
}

TEST_F(WaitsTest, WaitSlicesAndShortDurations) {
  int rounds = 0;
  SetPendingWorkHook([&] { ++rounds; });
  const int64_t start = clock_.MonotonicMs();
  WaitMilliseconds(0, 10);
  WaitMilliseconds(-5, 10);
  EXPECT_EQ(rounds, 2);
  EXPECT_EQ(clock_.MonotonicMs(), start);

  // No slice sleeps 1 ms per round; a long slice stops just past the limit.
  WaitMilliseconds(20, 0);
  EXPECT_EQ(clock_.MonotonicMs() - start, 21);
  WaitMilliseconds(20, 100000);
  EXPECT_EQ(clock_.MonotonicMs() - start, 42);
}

TEST_F(WaitsTest, PendingWorkHookStaysOnItsThreadAndContainsThrows) {
  int calls = 0;
  SetPendingWorkHook([&] {
    ++calls;
    throw std::runtime_error("handler fault");
  });
  EXPECT_NO_THROW(RunPendingWork());
  EXPECT_EQ(calls, 1);
  std::thread worker([] { RunPendingWork(); });
  worker.join();
  EXPECT_EQ(calls, 1);
  SetPendingWorkHook(nullptr);
  RunPendingWork();
  EXPECT_EQ(calls, 1);
}

}  // namespace
