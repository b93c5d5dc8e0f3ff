#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace platform {

// A clock for tests: wall and monotonic time stand still until advanced by hand. Sleep
// advances both by the time slept, so waits finish at once in real time.
class SimulatedClock final : public Clock {
 public:
  SimulatedClock();
  explicit SimulatedClock(const WallTime& start);

  WallTime Now() const override;
  int64_t MonotonicMs() const override;
  void Sleep(int64_t ms) override;

  // Sets the wall clock without moving monotonic time (as when the PC clock is corrected).
  void SetNow(const WallTime& t);
  // Moves wall and monotonic time forward together; wall time carries across midnight,
  // month and year ends.
  void Advance(int64_t ms);

 private:
  int64_t wallMs_ = 0;  // milliseconds since 1970-01-01 00:00 of the local calendar
  int64_t monoMs_ = 0;
};

}  // namespace platform
