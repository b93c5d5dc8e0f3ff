#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/log_sink.h"

namespace audio {

// Reports a failed output call from code that must not wait for the user (the player runs
// inside the playout's tick, and automation goes on behind the message): the error text goes to
// `log` as an error line (ShowWaveError with its log flag) and to the notifier, which shows it
// without holding up the caller. With no notifier only the log has it. Code 0 does nothing and
// gives 0; any other code gives 1.
int32_t NotifyWaveError(platform::LogSink& log, int32_t code);

// Receives the text and the box title (the program's title) of a wave error to show. The window
// installs one that queues a non-modal box; it must return at once. Null removes it. UI thread
// only.
using WaveErrorNotifier = std::function<void(const std::string& text, const std::string& title)>;
void SetWaveErrorNotifier(WaveErrorNotifier notifier);

}  // namespace audio
