#include "tests/fakes/platform/fake_clock_setter.h"

namespace platform {

ClockSetResult FakeClockSetter::Correct(std::chrono::nanoseconds correction) {
  std::lock_guard<std::mutex> lock(mutex_);
  corrections_.push_back(correction);
  ClockSetResult r;
  r.status = status_;
  r.message = "fake clock correction by " + FormatCorrection(correction);
  return r;
}

void FakeClockSetter::SetStatus(ClockSetStatus status) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = status;
}

std::vector<std::chrono::nanoseconds> FakeClockSetter::Corrections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return corrections_;
}

}  // namespace platform
