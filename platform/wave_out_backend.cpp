#include "platform/wave_out_backend.h"

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/wave_device_list.h"
#include "platform/wave_out_alsa.h"
#include "platform/wave_out_virtual.h"

namespace platform {

namespace {

std::mutex g_mutex;
std::shared_ptr<WaveOutDevice> g_device;  // guarded by g_mutex

}  // namespace

std::shared_ptr<WaveOutDevice> ChooseWaveOut(LogSink& log) {
  const char* env = std::getenv("ONDRAKE_AUDIO_BACKEND");
  const std::string choice = env != nullptr ? env : "";
  if (choice == "alsa" || (choice != "virtual" && HasSoundCard())) {
    return std::make_shared<AlsaWaveOut>(log);
  }
  VirtualWaveOutOptions options;
  options.clock = VirtualClockMode::kRealTime;
  options.record = false;
  return std::make_shared<VirtualWaveOut>(log, std::move(options));
}

std::shared_ptr<WaveOutDevice> CurrentWaveOut() {
  std::lock_guard lock(g_mutex);
  if (!g_device) g_device = ChooseWaveOut(StandardErrorLog());
  return g_device;
}

void SetCurrentWaveOut(std::shared_ptr<WaveOutDevice> device) {
  std::lock_guard lock(g_mutex);
  g_device = std::move(device);
}

}  // namespace platform
