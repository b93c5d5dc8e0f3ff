#include "audio/wave_error.h"

#include <utility>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/wave_out_device.h"

namespace audio {
namespace {

WaveErrorNotifier& Notifier() {
  static WaveErrorNotifier notifier;
  return notifier;
}

}  // namespace

void SetWaveErrorNotifier(WaveErrorNotifier notifier) { Notifier() = std::move(notifier); }

int32_t ShowWaveError(int32_t code, int32_t outputFlag, int32_t logFlag) {
  if (code == 0) return 0;
  const std::string text =
      outputFlag != 0 ? platform::WaveOutErrorText(code) : platform::WaveInErrorText(code);
  foundation::WriteLog(text, 1);
  if (logFlag == 0 && Notifier()) {
    // A copy: the handler may replace the notifier while it runs.
    const WaveErrorNotifier notify = Notifier();
    notify(text, foundation::Globals().ProgramTitle);
  }
  return 1;
}

}  // namespace audio
