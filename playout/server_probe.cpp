#include "playout/server_probe.h"

#include <chrono>

#include "foundation/server_reachability.h"
#include "foundation/server_root.h"

namespace playout {

namespace {

// The echo's wait and how long its answer serves, as the foundation's check uses them.
constexpr int32_t kEchoTimeoutMs = 500;
constexpr int64_t kAnswerMaxAgeMs = 300 * 1000;

}  // namespace

CachedServerProbe::CachedServerProbe(foundation::StationSettings& station, platform::Clock& clock,
                                     platform::LogSink& log)
    : station_(station), clock_(clock), log_(log) {}

CachedServerProbe::~CachedServerProbe() {
  // An echo still under way ends within its time-out.
  if (pending_.valid()) pending_.wait();
}

int32_t CachedServerProbe::CheckServerAlive() {
  const int32_t index =
      station_.CurrentServer >= 0 && station_.CurrentServer < foundation::kServerCount
          ? station_.CurrentServer
          : 0;
  const std::string server = station_.SrvPath[static_cast<size_t>(index)];
  if (server.empty()) {
    station_.ServerAlive = 0;
    return 0;
  }
  // Until the first echo is back, start-up's answer stands.
  if (!startAnswer_) startAnswer_ = station_.ServerAlive;
  const int64_t now = clock_.MonotonicMs();
  if (pending_.valid() && pending_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    echoAnswer_ = pending_.get() != 0 ? 1 : 0;
    answered_ = true;
    answeredAtMs_ = now;
  }
  if (!pending_.valid() && (!answered_ || now - answeredAtMs_ > kAnswerMaxAgeMs)) {
    // Always a fresh echo: the answer is kept here, not in the foundation's cache.
    pending_ = std::async(std::launch::async, [server] {
      return foundation::IsServerReachable(server, kEchoTimeoutMs, 0);
    });
  }
  station_.ServerAlive = answered_ ? echoAnswer_ : *startAnswer_;
  if (station_.ServerAlive == 0) {
    log_.Write("サーバー迷子", platform::LogSeverity::kInfo);
    return 0;
  }
  // The root is looked at on every call, and only for a host that answers (a stat on a dead
  // mount could hang); a missing one is logged when it goes and when it is back.
  if (foundation::CheckServerRoot(server, [this](const std::string& line) {
        log_.Write(line, platform::LogSeverity::kInfo);
      }) == 0) {
    station_.ServerAlive = 0;
  }
  return station_.ServerAlive;
}

}  // namespace playout
