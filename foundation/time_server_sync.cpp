#include "foundation/time_server_sync.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "foundation/debug_log.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "platform/ascii_case.h"
#include "platform/host_name.h"

namespace foundation {

namespace {

struct SyncState {
  std::mutex mutex;
  std::shared_ptr<platform::ClockSetter> setter;  // null: the system's
  platform::SntpOptions options;
  std::atomic<bool> running{false};
};

SyncState& State() {
  static SyncState* state = new SyncState();  // the worker may outlive static destructors
  return *state;
}

bool Succeeded(platform::TimeSyncStatus status) {
  return status == platform::TimeSyncStatus::kApplied ||
         status == platform::TimeSyncStatus::kDryRun;
}

}  // namespace

std::future<platform::TimeSyncOutcome> SyncClockWithTimeServer() {
  const std::string server = Conf().TimeSrv;
  if (server.empty() || platform::EqualsIgnoringAsciiCase(server, GetComputerNameText())) return {};
  // The name comes from a file on the server: it reaches the resolver only when it is a plain
  // host name or address.
  if (!platform::IsValidHostName(server)) {
    WriteLog("time sync: not a valid server name: " + platform::HostForLog(server),
             platform::LogSeverity::kError);
    return {};
  }

  SyncState& state = State();
  bool idle = false;
  if (!state.running.compare_exchange_strong(idle, true)) return {};

  std::shared_ptr<platform::ClockSetter> setter;
  platform::SntpOptions options;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    setter = state.setter;
    options = state.options;
  }
  if (!setter) setter = std::make_shared<platform::SystemClockSetter>();

  return platform::StartTimeSync(
      server, std::move(setter), std::move(options), [](const platform::TimeSyncOutcome& outcome) {
        struct Done {
          ~Done() { State().running = false; }
        } done;
        WriteLog(outcome.message, Succeeded(outcome.status) ? platform::LogSeverity::kInfo
                                                            : platform::LogSeverity::kError);
      });
}

void SetTimeSyncSeams(std::shared_ptr<platform::ClockSetter> setter,
                      platform::SntpOptions options) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().setter = std::move(setter);
  State().options = std::move(options);
}

}  // namespace foundation
