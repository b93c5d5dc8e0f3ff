#include "platform/time_sync.h"

#include <thread>
#include <utility>

namespace platform {

namespace {

TimeSyncStatus FromSetStatus(ClockSetStatus status) {
  switch (status) {
    case ClockSetStatus::kApplied:
      return TimeSyncStatus::kApplied;
    case ClockSetStatus::kDryRun:
      return TimeSyncStatus::kDryRun;
    case ClockSetStatus::kRefused:
      return TimeSyncStatus::kRefused;
    case ClockSetStatus::kFailed:
      break;
  }
  return TimeSyncStatus::kSetFailed;
}

// Delivers one outcome to both receivers; a throwing callback must not take the worker down.
void Deliver(std::promise<TimeSyncOutcome>& promise, const TimeSyncCallback& onDone,
             TimeSyncOutcome outcome) {
  if (onDone) {
    try {
      onDone(outcome);
    } catch (...) {
    }
  }
  promise.set_value(std::move(outcome));
}

}  // namespace

TimeSyncOutcome RunTimeSync(const std::string& host, ClockSetter& setter,
                            const SntpOptions& options) {
  TimeSyncOutcome outcome;
  const std::string prefix = "time sync with " + host + ": ";
  if (!IsValidHostName(host)) {
    outcome.status = TimeSyncStatus::kInvalidHost;
    outcome.message = "time sync: not a valid server name: " + HostForLog(host);
    return outcome;
  }
  const SntpResult answer = QuerySntp(host, options);
  if (!answer.ok) {
    outcome.status = TimeSyncStatus::kQueryFailed;
    outcome.message = prefix + answer.error;
    return outcome;
  }
  outcome.offset = answer.offset;
  const ClockSetResult set = setter.Correct(answer.offset);
  outcome.status = FromSetStatus(set.status);
  outcome.message = prefix + "offset " + FormatCorrection(answer.offset) + "; " + set.message;
  return outcome;
}

std::future<TimeSyncOutcome> StartTimeSync(const std::string& host,
                                           std::shared_ptr<ClockSetter> setter, SntpOptions options,
                                           TimeSyncCallback onDone) {
  auto promise = std::make_shared<std::promise<TimeSyncOutcome>>();
  std::future<TimeSyncOutcome> future = promise->get_future();
  if (!setter) {
    TimeSyncOutcome outcome;
    outcome.status = TimeSyncStatus::kSetFailed;
    outcome.message = "time sync with " + HostForLog(host) + ": no clock setter";
    Deliver(*promise, onDone, std::move(outcome));
    return future;
  }
  try {
    std::thread([promise, host, setter, options = std::move(options), onDone]() mutable {
      TimeSyncOutcome outcome;
      try {
        outcome = RunTimeSync(host, *setter, options);
      } catch (...) {
        outcome.status = TimeSyncStatus::kQueryFailed;
        outcome.message = "time sync with " + HostForLog(host) + ": failed unexpectedly";
      }
      Deliver(*promise, onDone, std::move(outcome));
    }).detach();
  } catch (...) {
    TimeSyncOutcome outcome;
    outcome.status = TimeSyncStatus::kQueryFailed;
    outcome.message = "time sync with " + HostForLog(host) + ": no thread to run it";
    Deliver(*promise, onDone, std::move(outcome));
  }
  return future;
}

}  // namespace platform
