#pragma once

#include <cstdint>
#include <future>
#include <optional>

#include "foundation/station_settings.h"
#include "platform/clock.h"
#include "playout/engine_ports.h"

namespace playout {

// The current server's reachability for the pass. It answers from the last echo at once; an
// answer older than five minutes is renewed by an echo on a worker thread, so no pass waits for
// the network. Until the first echo is back it answers with what start-up's CheckServerAlive
// left in ServerAlive. "サーバー迷子" is logged by the pass that reads a "no". A host that
// answers counts only while the server's root is there (foundation::CheckServerRoot, looked at
// on every call and logged when it changes).
class CachedServerProbe final : public ServerProbe {
 public:
  CachedServerProbe(foundation::StationSettings& station, platform::Clock& clock,
                    platform::LogSink& log);
  ~CachedServerProbe() override;

  int32_t CheckServerAlive() override;

 private:
  foundation::StationSettings& station_;
  platform::Clock& clock_;
  platform::LogSink& log_;
  std::future<int32_t> pending_;
  bool answered_ = false;
  int32_t echoAnswer_ = 0;              // the last echo's answer, once answered_
  std::optional<int32_t> startAnswer_;  // ServerAlive as start-up left it
  int64_t answeredAtMs_ = 0;
};

}  // namespace playout
