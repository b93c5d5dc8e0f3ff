#include "foundation/waits.h"

#include <mutex>
#include <thread>

#include "foundation/calendar.h"
#include "platform/clock.h"

namespace foundation {

namespace {

constexpr int64_t kMsPerDay = 86400000;

struct PendingWorkHook {
  std::mutex mutex;
  std::function<void()> hook;
  std::thread::id owner;
};

PendingWorkHook& TheHook() {
  static PendingWorkHook h;
  return h;
}

}  // namespace

double TickSeconds() {
  const int64_t mono = platform::CurrentClock().MonotonicMs();
  return static_cast<double>(FloorMod(mono, kMsPerDay)) / 1000.0;
}

double ElapsedSince(double start, bool keepSign) {
  double d = TickSeconds() - start;
  if (!keepSign) {
    if (d < -1.0) {
      d += 86400.0;  // the start was before the tick folded over
    } else if (d < 0.0) {
      d = 0.0;
    }
  }
  return d;
}

void WaitMilliseconds(int32_t durationMs, int32_t sliceMs) {
  platform::Clock& clock = platform::CurrentClock();
  if (durationMs <= 0) {
    RunPendingWork();
    return;
  }
  // The unfolded monotonic count has no midnight and never steps when the PC clock is set.
  const int64_t start = clock.MonotonicMs();
  const int64_t slice = sliceMs > 0 ? sliceMs : 1;
  for (;;) {
    RunPendingWork();
    const int64_t elapsed = clock.MonotonicMs() - start;
    if (elapsed > durationMs) return;
    // Sleep no further than just past the limit, so a long slice does not overshoot it.
    const int64_t remaining = durationMs - elapsed + 1;
    clock.Sleep(remaining < slice ? remaining : slice);
  }
}

void SetPendingWorkHook(std::function<void()> hook) {
  PendingWorkHook& h = TheHook();
  std::lock_guard<std::mutex> lock(h.mutex);
  h.hook = std::move(hook);
  h.owner = std::this_thread::get_id();
}

void RunPendingWork() {
  std::function<void()> hook;
  {
    PendingWorkHook& h = TheHook();
    std::lock_guard<std::mutex> lock(h.mutex);
    // The hook processes the window's events; only the thread that installed it (the GUI
    // thread) may run it. Waits on worker threads simply sleep.
    if (!h.hook || h.owner != std::this_thread::get_id()) return;
    hook = h.hook;
  }
  try {
    hook();
  } catch (...) {
    // Whatever the pending work throws belongs to its own handlers, not to the waiting caller.
  }
}

}  // namespace foundation
