#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "platform/clock_setter.h"
#include "platform/host_name.h"
#include "platform/sntp_client.h"

namespace platform {

// Setting the PC clock from a time server: one SNTP query, then one correction through a
// ClockSetter.

enum class TimeSyncStatus {
  kApplied,      // the clock was corrected
  kDryRun,       // the correction was only reported (dry run in force)
  kInvalidHost,  // the server name failed IsValidHostName; nothing was sent
  kQueryFailed,  // no usable answer from the server
  kRefused,      // the correction was over the 13-hour limit
  kSetFailed,    // the system would not set the clock (no CAP_SYS_TIME, ...)
};

struct TimeSyncOutcome {
  TimeSyncStatus status = TimeSyncStatus::kQueryFailed;
  std::chrono::nanoseconds offset{0};  // the server's lead over our clock, when it answered
  // One line for the log, naming the server, e.g.
  // "time sync with ntp1: offset +0.250 s; clock corrected by +0.250 s".
  std::string message;
};

using TimeSyncCallback = std::function<void(const TimeSyncOutcome&)>;

// Does the whole sync on the calling thread: validates `host`, queries it and hands the
// offset to `setter`. Blocks for up to options.timeout_ms plus the setter's time.
TimeSyncOutcome RunTimeSync(const std::string& host, ClockSetter& setter,
                            const SntpOptions& options = {});

// Starts RunTimeSync on a detached worker thread and returns at once; never blocks the
// caller. The outcome arrives through the returned future (which, unlike std::async's, does
// not wait in its destructor, so it may simply be dropped) and, when given, through `onDone`,
// called exactly once on the worker thread (on the caller's thread only when no thread could be
// started). The worker shares ownership of `setter`; `onDone` must stay valid until called.
// A null setter gives kSetFailed.
std::future<TimeSyncOutcome> StartTimeSync(const std::string& host,
                                           std::shared_ptr<ClockSetter> setter,
                                           SntpOptions options = {}, TimeSyncCallback onDone = {});

}  // namespace platform
