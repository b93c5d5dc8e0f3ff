#include "platform/wave_out_health.h"

#include "platform/clock.h"

namespace platform {

WaveHealthMonitor::WaveHealthMonitor(std::string device_name, LogSink& log)
    : device_name_(std::move(device_name)), log_(log) {}

void WaveHealthMonitor::NoteUnderrun() {
  uint64_t count = 0;
  {
    std::lock_guard lock(mutex_);
    count = ++health_.underruns;
  }
  log_.Write("wave output \"" + device_name_ + "\": underrun, restarted (" + std::to_string(count) +
                 " so far)",
             LogSeverity::kError);
}

void WaveHealthMonitor::NoteFailure(const std::string& reason) {
  {
    std::lock_guard lock(mutex_);
    if (health_.failed) return;
    health_.failed = true;
    health_.failed_at_ms = CurrentClock().MonotonicMs();
  }
  log_.Write("wave output \"" + device_name_ + "\": device failed (" + reason +
                 "); its pages are dropped from now on",
             LogSeverity::kError);
}

void WaveHealthMonitor::NoteDropped(uint64_t frames) {
  std::lock_guard lock(mutex_);
  health_.dropped_frames += frames;
}

WaveHealth WaveHealthMonitor::Get() const {
  std::lock_guard lock(mutex_);
  return health_;
}

}  // namespace platform
