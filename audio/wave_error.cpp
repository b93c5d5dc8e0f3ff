#include "audio/wave_error.h"

#include <utility>

#include "audio/wave_devices.h"
#include "foundation/app_globals.h"
#include "platform/wave_out_device.h"

namespace audio {
namespace {

WaveErrorNotifier& Notifier() {
  static WaveErrorNotifier notifier;
  return notifier;
}

}  // namespace

void SetWaveErrorNotifier(WaveErrorNotifier notifier) { Notifier() = std::move(notifier); }

int32_t NotifyWaveError(platform::LogSink& log, int32_t code) {
  if (ShowWaveError(log, code, 1, 1) == 0) return 0;
  if (Notifier()) {
    // A copy: the handler may replace the notifier while it runs.
    const WaveErrorNotifier notify = Notifier();
    notify(platform::WaveOutErrorText(code), foundation::Globals().ProgramTitle);
  }
  return 1;
}

}  // namespace audio
