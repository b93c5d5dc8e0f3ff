#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/log_sink.h"
#include "platform/wave_out_device.h"

namespace audio {

// The text shown when a device named in the settings is not there.
inline constexpr const char* kDeviceNotFoundText = "この名前のデバイスを検出できませんでした";

// Names of the output devices (input nonzero: the input devices) of `device`, entry i being
// device i: each name cut at its first NUL and trimmed. A device whose capabilities cannot be
// read keeps its place with an empty name.
std::vector<std::string> WaveDeviceNames(platform::WaveOutDevice& device, int32_t input);

// The device number a name from the settings stands for, on the process's wave device (see
// DeviceNumberForName): 0 for a blank name or when there are no devices, the number for a
// numeric name, else the device whose name equals it (case and blanks ignored) or, failing
// that, matches it without numbering. Nothing found: -1 (the default device), a line in `log`,
// and with messageFlag 1 a message box naming the device.
int32_t FindWaveDeviceByName(platform::LogSink& log, int32_t input, const std::string& name,
                             int32_t messageFlag);

// Reports a failed wave call: nothing for code 0 (result 0); else the call's error text
// (output nonzero: output texts, 0: input texts) goes to `sink` as an error line (log nonzero)
// or into a message box titled with the program's name (log 0), and the result is 1. The box
// is modal: callers inside the playout's timer pass log instead.
int32_t ShowWaveError(platform::LogSink& sink, int32_t code, int32_t output, int32_t log);

}  // namespace audio
