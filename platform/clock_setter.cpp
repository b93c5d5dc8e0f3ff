#include "platform/clock_setter.h"

#include <errno.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

namespace {

constexpr int64_t kNsPerSecond = 1000000000;

}  // namespace

bool ClockDryRunRequested() {
  const char* value = std::getenv(kClockDryRunVariable);
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

std::string FormatCorrection(std::chrono::nanoseconds span) {
  const auto ms = static_cast<int64_t>(std::nearbyint(static_cast<double>(span.count()) / 1e6));
  const uint64_t magnitude = ms < 0 ? 0 - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
  std::string fraction = std::to_string(magnitude % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return std::string(ms < 0 ? "-" : "+") + std::to_string(magnitude / 1000) + "." + fraction + " s";
}

SystemClockSetter::SystemClockSetter() = default;

SystemClockSetter::SystemClockSetter(SetTimeFunction setTime) : setTime_(std::move(setTime)) {}

ClockSetResult SystemClockSetter::Correct(std::chrono::nanoseconds correction) {
  ClockSetResult r;
  const std::string amount = FormatCorrection(correction);
  if (correction > kMaxClockCorrection || correction < -kMaxClockCorrection) {
    r.status = ClockSetStatus::kRefused;
    r.message = "clock not set: a correction of " + amount + " is over the 13-hour limit";
    return r;
  }
  if (!setTime_ && ClockDryRunRequested()) {
    r.status = ClockSetStatus::kDryRun;
    r.message = std::string("clock not set (dry run, ") + kClockDryRunVariable +
                "): would correct it by " + amount;
    return r;
  }

  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
    r.message = std::string("cannot read the clock: ") + std::strerror(errno);
    return r;
  }
  // Within 13 hours of a clock that reads a sane year this cannot overflow.
  const int64_t target = static_cast<int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec +
                         static_cast<int64_t>(correction.count());
  if (target < 0) {
    r.message = "clock not set: the corrected time would be before 1970";
    return r;
  }
  timespec wanted{};
  wanted.tv_sec = static_cast<time_t>(target / kNsPerSecond);
  wanted.tv_nsec = static_cast<long>(target % kNsPerSecond);

  const int err =
      setTime_ ? setTime_(wanted) : (clock_settime(CLOCK_REALTIME, &wanted) == 0 ? 0 : errno);
  if (err == 0) {
    r.status = ClockSetStatus::kApplied;
    r.message = "clock corrected by " + amount;
  } else if (err == EPERM) {
    r.message = "cannot set the clock: this process lacks the CAP_SYS_TIME capability (" + amount +
                " not applied)";
  } else {
    r.message = "cannot set the clock: " + std::string(std::strerror(err)) + " (" + amount +
                " not applied)";
  }
  return r;
}

}  // namespace platform
