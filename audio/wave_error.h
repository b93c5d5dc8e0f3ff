#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace audio {

// Reports a failed wave call. A code of 0 does nothing and gives 0; any other code gives 1.
// The text is the device layer's text for the code (output texts when outputFlag is non-zero,
// input texts otherwise). logFlag non-zero: the text goes to the debug log as an error line.
// logFlag 0: the text goes to the debug log as well and is handed to the notifier, which shows
// it without holding up the caller (the player reports from inside the playout's tick, and
// automation must go on behind the message). With no notifier installed only the log has it.
int32_t ShowWaveError(int32_t code, int32_t outputFlag, int32_t logFlag);

// Receives the text and the box title (the program's title) of a wave error to show. The
// window installs one that queues a non-modal box; it must return at once. Null removes it.
// UI thread only.
using WaveErrorNotifier = std::function<void(const std::string& text, const std::string& title)>;
void SetWaveErrorNotifier(WaveErrorNotifier notifier);

}  // namespace audio
