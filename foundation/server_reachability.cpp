#include "foundation/server_reachability.h"

#include <mutex>
#include <utility>

#include "foundation/debug_log.h"
#include "foundation/error_traps.h"
#include "platform/ascii_text.h"
#include "platform/clock.h"

namespace foundation {

namespace {

struct PingRecord {
  std::string server;   // lower-cased host name
  int32_t result = 0;   // 1 answered, 0 not, as of the last echo
  int64_t stampMs = 0;  // monotonic time of the last echo
};

struct ReachabilityState {
  std::mutex mutex;
  std::vector<PingRecord> cache;
  platform::Pinger* pinger = nullptr;  // nullptr: the real echo
  std::function<std::vector<platform::MountEntry>()> mounts;
};

ReachabilityState& State() {
  static ReachabilityState* state = new ReachabilityState();  // outlives static destructors
  return *state;
}

platform::Pinger& RealPinger() {
  static platform::IcmpPinger* pinger = new platform::IcmpPinger();
  return *pinger;
}

}  // namespace

std::vector<platform::MountEntry> CurrentMountTable() {
  std::function<std::vector<platform::MountEntry>()> source;
  {
    std::lock_guard<std::mutex> lock(State().mutex);
    source = State().mounts;
  }
  return source ? source() : platform::ReadMountTable();
}

std::string ServerHostOfPath(const std::string& path,
                             const std::vector<platform::MountEntry>& mounts) {
  const std::string unc = platform::UncHost(path);
  if (!unc.empty()) return platform::LowerAscii(unc);
  const std::string native = platform::LexicalAbsolutePath(path);
  if (native.empty()) return {};
  return platform::LowerAscii(platform::NetworkSourceHost(native, mounts));
}

int32_t PingHost(const std::string& host, int32_t timeoutMs) {
  int32_t answered = 0;
  RunTrapped("PingHost " + host, [&] {
    platform::Pinger* pinger;
    {
      std::lock_guard<std::mutex> lock(State().mutex);
      pinger = State().pinger;
    }
    if (pinger == nullptr) pinger = &RealPinger();
    const platform::PingResult result = pinger->Ping(host, timeoutMs);
    // Silence is an answer; an echo that could not be sent at all is a failure of this PC.
    if (!result.success && result.error_code != 0)
      WriteLog("PingHost " + host + ": " + result.error, platform::LogSeverity::kError);
    answered = result.success ? 1 : 0;
  });
  return answered;
}

namespace {

// The answer for `path` from the cache or one echo; may throw (the caller traps it).
int32_t CheckReachable(const std::string& path, int32_t timeoutMs, int32_t maxAgeSec) {
  const std::string server = ServerHostOfPath(path, CurrentMountTable());
  if (server.empty()) return 1;

  ReachabilityState& state = State();
  const int64_t maxAgeMs = static_cast<int64_t>(maxAgeSec) * 1000;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    const int64_t now = platform::CurrentClock().MonotonicMs();
    for (const PingRecord& r : state.cache) {
      if (r.server != server) continue;
      if (now - r.stampMs <= maxAgeMs) return r.result;
      break;
    }
  }

  // The echo runs outside the lock: it may take the whole time-out.
  const int32_t result = PingHost(server, timeoutMs);

  std::lock_guard<std::mutex> lock(state.mutex);
  const int64_t now = platform::CurrentClock().MonotonicMs();
  for (PingRecord& r : state.cache) {
    if (r.server == server) {
      r.result = result;
      r.stampMs = now;
      return result;
    }
  }
  if (state.cache.size() >= kPingCacheCapacity) {
    // Full: the record echoed longest ago makes room.
    size_t oldest = 0;
    for (size_t i = 1; i < state.cache.size(); ++i)
      if (state.cache[i].stampMs < state.cache[oldest].stampMs) oldest = i;
    state.cache.erase(state.cache.begin() + static_cast<std::ptrdiff_t>(oldest));
  }
  state.cache.push_back(PingRecord{server, result, now});
  return result;
}

}  // namespace

int32_t IsServerReachable(const std::string& path, int32_t timeoutMs, int32_t maxAgeSec) {
  int32_t reachable = 0;
  RunTrapped("IsServerReachable " + path,
             [&] { reachable = CheckReachable(path, timeoutMs, maxAgeSec); });
  return reachable;
}

void SetPinger(platform::Pinger* pinger) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().pinger = pinger;
}

void SetMountTableSource(std::function<std::vector<platform::MountEntry>()> source) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().mounts = std::move(source);
}

void ClearPingCache() {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().cache.clear();
}

size_t PingCacheSize() {
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().cache.size();
}

}  // namespace foundation
