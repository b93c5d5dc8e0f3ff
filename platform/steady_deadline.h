#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// Milliseconds on the monotonic clock, for deadlines and ages kept as plain numbers.
inline int64_t SteadyNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Whole milliseconds left before `deadline` for poll(2), rounded up so a wait never ends just
// short of the deadline; 0 once it has passed. Meant for deadlines an int32 millisecond timeout
// away, so the result fits an int.
inline int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
  if (left <= 0) return 0;
  return static_cast<int>((left + 999) / 1000);
}

}  // namespace platform
