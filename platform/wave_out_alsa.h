#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/log_sink.h"
#include "platform/wave_device_list.h"
#include "platform/wave_out_device.h"

namespace platform {

// The wave output device over ALSA PCMs.
//
// Every Open opens its own PCM in shared (non-exclusive, non-blocking) mode, so one device can
// carry several streams where its PCM mixes (default, dmix, sound servers). One feeder thread
// per stream copies queued pages into the PCM in period-sized chunks, applying the device
// volume as a software gain to each chunk as it goes out, so a volume change is heard after
// the ALSA buffer (about 80 ms) and never reaches the system mixer. A page is done once its
// last frame has been played (frames written minus the PCM's delay). When the pages run out
// the PCM runs dry and restarts with the next page; the position counts only the caller's
// frames. A restart while pages were due counts as an underrun, and a PCM that cannot be
// restarted marks the stream failed: its chunks are then counted as heard at the pace they
// would have played (dropped frames), so pages still finish. Both go to the log given at
// construction, from the feeder thread, with the device's name, and are kept for GetHealth. Every
// wait inside is bounded, so a stuck device never hangs a caller.
//
// Formats: U8, S16_LE and S24_3LE; 1, 2, 6 or 8 channels; any rate the PCM accepts
// (resampling allowed).
class AlsaWaveOut final : public WaveOutDevice {
 public:
  // The machine's playback and capture PCMs (AlsaPlaybackDevices, AlsaCaptureDevices).
  explicit AlsaWaveOut(LogSink& log);
  // Given device lists. With a non-empty `config_text` (ALSA configuration syntax) the PCMs
  // are looked up in that configuration instead of the system's; kWaveMapper opens the PCM
  // named "default" there too.
  AlsaWaveOut(LogSink& log, std::vector<WaveDeviceEntry> outputs,
              std::vector<WaveDeviceEntry> inputs, std::string config_text = {});
  ~AlsaWaveOut() override;
  AlsaWaveOut(const AlsaWaveOut&) = delete;
  AlsaWaveOut& operator=(const AlsaWaveOut&) = delete;

  int32_t NumDevs() override;
  WaveResult GetDevCaps(int32_t device_id, WaveDeviceCaps* caps) override;
  int32_t InNumDevs() override;
  WaveResult GetInDevCaps(int32_t device_id, WaveDeviceCaps* caps) override;
  WaveResult Open(WaveHandle* handle, int32_t device_id, const WaveFormat& format) override;
  WaveResult Close(WaveHandle handle) override;
  WaveResult PrepareHeader(WaveHandle handle, WaveHeader* header) override;
  WaveResult UnprepareHeader(WaveHandle handle, WaveHeader* header) override;
  WaveResult Write(WaveHandle handle, WaveHeader* header) override;
  WaveResult Reset(WaveHandle handle) override;
  WaveResult Pause(WaveHandle handle) override;
  WaveResult Restart(WaveHandle handle) override;
  WaveResult GetPosition(WaveHandle handle, WavePosition* position) override;
  WaveResult GetHealth(WaveHandle handle, WaveHealth* health) override;
  WaveResult SetVolume(int32_t device_id, uint32_t volume) override;
  WaveResult GetVolume(int32_t device_id, uint32_t* volume) override;

 private:
  class Stream;

  std::shared_ptr<Stream> Find(WaveHandle handle);
  bool ValidDevice(int32_t device_id) const;

  LogSink& log_;
  std::vector<WaveDeviceEntry> outputs_;
  std::vector<WaveDeviceEntry> inputs_;
  void* config_ = nullptr;  // snd_config_t of config_text, or null for the system's

  std::mutex mutex_;  // guards streams_ and volumes_
  std::map<WaveHandle, std::shared_ptr<Stream>> streams_;
  std::map<int32_t, uint32_t> volumes_;  // device number -> volume; absent = full
};

}  // namespace platform
