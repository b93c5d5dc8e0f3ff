#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include "platform/clock_setter.h"

namespace platform {

// A setter for tests: records every correction asked for and answers with a chosen status
// (applied unless changed); never touches the clock.
class FakeClockSetter final : public ClockSetter {
 public:
  ClockSetResult Correct(std::chrono::nanoseconds correction) override;

  void SetStatus(ClockSetStatus status);
  std::vector<std::chrono::nanoseconds> Corrections() const;

 private:
  mutable std::mutex mutex_;
  ClockSetStatus status_ = ClockSetStatus::kApplied;
  std::vector<std::chrono::nanoseconds> corrections_;
};

}  // namespace platform
