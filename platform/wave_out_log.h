#pragma once

#include <functional>
#include <string>

namespace platform {

// Where the wave output backends write what their streams go through (an underrun, a failed
// device). The lines come from a stream's own thread, so a sink must be safe to call from any
// thread and must not call back into the device. Without a sink they go to standard error;
// the program installs one to put them into its own log.
using WaveOutLogSink = std::function<void(const std::string& line)>;

// nullptr goes back to standard error.
void SetWaveOutLogSink(WaveOutLogSink sink);

// Hands one line (without a line end) to the sink.
void WriteWaveOutLog(const std::string& line);

}  // namespace platform
