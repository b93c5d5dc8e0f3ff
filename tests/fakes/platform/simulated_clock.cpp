#include "tests/fakes/platform/simulated_clock.h"

namespace platform {

SimulatedClock::SimulatedClock() : SimulatedClock(WallTime{2026, 12, 8, 3, 15, 20, 250}) {}

SimulatedClock::SimulatedClock(const WallTime& start)
    : wallMs_(WallTimeToLocalMs(start)), monoMs_(1000000) {}

WallTime SimulatedClock::Now() const { return LocalMsToWallTime(wallMs_); }
int64_t SimulatedClock::MonotonicMs() const { return monoMs_; }
void SimulatedClock::Sleep(int64_t ms) { Advance(ms > 0 ? ms : 0); }
void SimulatedClock::SetNow(const WallTime& t) { wallMs_ = WallTimeToLocalMs(t); }
void SimulatedClock::Advance(int64_t ms) {
  wallMs_ += ms;
  monoMs_ += ms;
}

}  // namespace platform
