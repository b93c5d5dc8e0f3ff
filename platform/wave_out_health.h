#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/log_sink.h"
#include "platform/wave_out_device.h"

namespace platform {

// One stream's health as a backend keeps it, and the backend's lines about it: an error line for
// every underrun and one for the failure (only the first), each naming the device, written to
// `log` from the stream's thread. Safe to call from the stream's thread while the caller's
// thread reads it.
class WaveHealthMonitor {
 public:
  WaveHealthMonitor(std::string device_name, LogSink& log);

  // The device ran dry while pages were due and was restarted.
  void NoteUnderrun();
  // The device failed; the first call stamps the time (monotonic clock) and logs `reason`.
  void NoteFailure(const std::string& reason);
  // Frames counted as heard that the device never played.
  void NoteDropped(uint64_t frames);

  WaveHealth Get() const;

 private:
  const std::string device_name_;
  LogSink& log_;
  mutable std::mutex mutex_;
  WaveHealth health_;  // guarded by mutex_
};

}  // namespace platform
