#pragma once

#include <cstdint>

namespace platform {

// Local calendar time of one clock reading.
struct WallTime {
  int year = 2000;
  int month = 1;        // 1-12
  int day = 1;          // 1-31
  int hour = 0;         // 0-23
  int minute = 0;       // 0-59
  int second = 0;       // 0-59 (a leap second reads as 59)
  int millisecond = 0;  // 0-999, never 1000

  // Seconds since local midnight with the milliseconds as fraction, in [0, 86399.999].
  double SecondsSinceMidnight() const {
    return hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0;
  }
};

// The one source of time for the whole program. Wall time is for stamps, file names and log
// texts; monotonic time is for every elapsed time, wait, timer and cache age, because this
// system sets the PC clock itself and a step of the wall clock must not fire every timer.
class Clock {
 public:
  virtual ~Clock() = default;
  // Local date and time from a single reading (a stamp taken at midnight never mixes days).
  virtual WallTime Now() const = 0;
  // Milliseconds on a clock that never steps back; its zero is arbitrary.
  virtual int64_t MonotonicMs() const = 0;
  // Blocks the calling thread for about `ms` milliseconds (0 or less: yields at most).
  virtual void Sleep(int64_t ms) = 0;
};

// The system clock: CLOCK_REALTIME through localtime_r, CLOCK_MONOTONIC, nanosleep.
class SystemClock final : public Clock {
 public:
  WallTime Now() const override;
  int64_t MonotonicMs() const override;
  void Sleep(int64_t ms) override;
};

// The clock every routine reads. Defaults to a process-wide SystemClock.
Clock& CurrentClock();
// Replaces the clock (tests); nullptr restores the system clock. Not thread-safe against
// concurrent readers: set it before the code under test runs.
void SetCurrentClock(Clock* clock);

// Converts between a local calendar time and milliseconds since 1970-01-01 00:00 of the same
// local calendar (no time zone involved; proleptic Gregorian calendar).
int64_t WallTimeToLocalMs(const WallTime& t);
WallTime LocalMsToWallTime(int64_t localMs);

}  // namespace platform
