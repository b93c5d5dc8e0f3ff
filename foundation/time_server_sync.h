#pragma once

#include <future>
#include <memory>

#include "platform/clock_setter.h"
#include "platform/sntp_client.h"
#include "platform/time_sync.h"

namespace foundation {

// Sets the PC clock from the station's time server (TimeSrv of conf.ini) once asked; the clock
// tick asks once an hour when time sync is on.

// Does nothing when TimeSrv is empty or names this computer (ASCII case ignored). A TimeSrv
// that is not a valid host name is refused and logged as an error; nothing is sent. Otherwise
// one SNTP query and one clock correction run on a worker thread, and the outcome is written
// to the debug log (kind 0 when the clock was corrected or a dry run reported it, kind 1 on
// failure). Returns at once; while an earlier sync is still running no second one starts. The
// returned future (which may be dropped) holds the outcome once the log line is written; it
// is not valid when no sync was started.
std::future<platform::TimeSyncOutcome> SyncClockWithTimeServer();

// Test seams: the clock setter and the SNTP options (port, time-out, resolver) used from now
// on. A null setter goes back to the system's (which only reports while a dry run is asked
// for by the environment).
void SetTimeSyncSeams(std::shared_ptr<platform::ClockSetter> setter,
                      platform::SntpOptions options = {});

}  // namespace foundation
