#pragma once

#include <cstdint>
#include <functional>

namespace foundation {

// Seconds on the monotonic clock folded into one day, [0, 86400) with milliseconds: the
// "seconds since midnight" timer that ElapsedSince expects its start from. It never steps when
// the PC clock is set.
double TickSeconds();

// Seconds since `start` (a TickSeconds() value). Without keepSign a start up to 1 s in the
// future gives 0 and an older wrap across the fold counts as a day boundary; with keepSign the
// raw difference is returned.
double ElapsedSince(double start, bool keepSign = false);

// Waits until more than `durationMs` has passed on the monotonic clock, calling the pending-work
// hook on every round and sleeping `sliceMs` between rounds (0 or less: 1 ms). A duration of 0
// or less calls the hook once and returns. Never runs an event loop by itself.
void WaitMilliseconds(int32_t durationMs, int32_t sliceMs = 0);

// The hook WaitMilliseconds (and other long routines) call to let pending work run; the GUI
// sets it to process its events, engine code and tests leave it empty. It runs only on the
// thread that set it (waits on worker threads never process the window's events); nullptr
// removes it.
void SetPendingWorkHook(std::function<void()> hook);
// Calls the hook once when set (and on its thread); anything it throws stays inside.
void RunPendingWork();

}  // namespace foundation
