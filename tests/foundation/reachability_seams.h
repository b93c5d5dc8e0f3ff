#pragma once

#include <vector>

#include "foundation/server_reachability.h"
#include "platform/clock.h"
#include "platform/icmp_echo.h"
#include "tests/fakes/platform/fake_pinger.h"
#include "tests/fakes/platform/simulated_clock.h"

namespace testsupport {

// Server reachability on a simulated clock with a fake pinger and the mount table in `mounts`;
// the real ones are back, and the cache empty, when the object goes.
struct ReachabilitySeams {
  ReachabilitySeams() {
    platform::SetCurrentClock(&clock);
    foundation::SetPinger(&pinger);
    foundation::SetMountTableSource([this] { return mounts; });
    foundation::ClearPingCache();
  }
  ~ReachabilitySeams() {
    foundation::ClearPingCache();
    foundation::SetMountTableSource({});
    foundation::SetPinger(nullptr);
    platform::SetCurrentClock(nullptr);
  }
  ReachabilitySeams(const ReachabilitySeams&) = delete;
  ReachabilitySeams& operator=(const ReachabilitySeams&) = delete;

  platform::SimulatedClock clock;
  platform::FakePinger pinger;
  std::vector<platform::MountEntry> mounts;
};

}  // namespace testsupport
