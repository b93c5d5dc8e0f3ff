#pragma once

#include <time.h>

#include <chrono>
#include <functional>
#include <string>

namespace platform {

// The largest step the clock may be moved by: a bigger one means a wrong server or a wrong
// time zone, not a drifting clock.
inline constexpr std::chrono::hours kMaxClockCorrection{13};

// Setting the clock while this variable holds anything but "" or "0" is only reported, never
// done. The test environment always sets it.
inline constexpr const char* kClockDryRunVariable = "ONDRAKE_CLOCK_DRY_RUN";
bool ClockDryRunRequested();

enum class ClockSetStatus {
  kApplied,  // the clock was moved
  kDryRun,   // it would have been moved; dry run in force
  kRefused,  // the correction is over kMaxClockCorrection
  kFailed,   // the system refused (no CAP_SYS_TIME, ...)
};

struct ClockSetResult {
  ClockSetStatus status = ClockSetStatus::kFailed;
  std::string message;  // one line for the log, in every case
};

// A signed span as seconds with milliseconds and a unit, e.g. "+1.250 s", "-0.004 s"; always
// with '.', whatever the locale.
std::string FormatCorrection(std::chrono::nanoseconds span);

// Moves the wall clock.
class ClockSetter {
 public:
  virtual ~ClockSetter() = default;
  // Moves the clock forward by `correction` (backward when negative). Safe to call from a
  // worker thread.
  virtual ClockSetResult Correct(std::chrono::nanoseconds correction) = 0;
};

// The real setter: clock_settime(CLOCK_REALTIME), which needs CAP_SYS_TIME. Corrections over
// 13 hours are refused. Under a dry run (ClockDryRunRequested, read on every call) it reports
// what it would do and never touches the clock.
class SystemClockSetter final : public ClockSetter {
 public:
  // Sets the clock to an absolute Unix time; returns 0 or an errno value.
  using SetTimeFunction = std::function<int(const timespec&)>;

  SystemClockSetter();
  // Replaces clock_settime (tests of the refusal and error texts). The dry run guards the
  // machine's clock only, so a replacement is always called.
  explicit SystemClockSetter(SetTimeFunction setTime);

  ClockSetResult Correct(std::chrono::nanoseconds correction) override;

 private:
  SetTimeFunction setTime_;  // empty: the real clock_settime
};

}  // namespace platform
