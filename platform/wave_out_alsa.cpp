#include "platform/wave_out_alsa.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <thread>

#include "platform/wave_out_gain.h"
#include "platform/wave_out_health.h"
#include "platform/wave_page_queue.h"

namespace platform {

namespace {

using std::chrono::milliseconds;

// Requested ALSA buffer and period: the buffer bounds how late a volume change is heard.
constexpr unsigned kBufferMicroseconds = 80000;
constexpr unsigned kPeriodMicroseconds = 20000;
// Longest a caller waits for the feeder to let go of a reset stream.
constexpr milliseconds kResetWait{2000};
// Poll step of the feeder while frames it wrote are still sounding.
constexpr milliseconds kPlayPoll{10};
// Longest the feeder sleeps with nothing to do (a Write wakes it at once).
constexpr milliseconds kIdleWait{200};

snd_pcm_format_t AlsaFormat(uint16_t bits) {
  switch (bits) {
    case 8:
      return SND_PCM_FORMAT_U8;
    case 16:
      return SND_PCM_FORMAT_S16_LE;
    default:
      return SND_PCM_FORMAT_S24_3LE;
  }
}

WaveResult OpenErrorResult(int err) {
  switch (-err) {
    case EBUSY:
    case EAGAIN:
      return kWaveAllocated;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return kWaveNoDriver;
    case ENOMEM:
      return kWaveNoMemory;
    default:
      return kWaveError;
  }
}

// Sets up an opened PCM for `format`; false when it cannot take the format.
bool ConfigurePcm(snd_pcm_t* pcm, const WaveFormat& format, snd_pcm_uframes_t* period,
                  bool* can_pause) {
  snd_pcm_hw_params_t* hw = nullptr;
  snd_pcm_hw_params_alloca(&hw);
  if (snd_pcm_hw_params_any(pcm, hw) < 0) return false;
  if (snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0) return false;
  if (snd_pcm_hw_params_set_format(pcm, hw, AlsaFormat(format.bits_per_sample)) < 0) {
    return false;
  }
  if (snd_pcm_hw_params_set_channels(pcm, hw, format.channels) < 0) return false;
  snd_pcm_hw_params_set_rate_resample(pcm, hw, 1);
  if (snd_pcm_hw_params_set_rate(pcm, hw, format.samples_per_sec, 0) < 0) return false;
  unsigned period_us = kPeriodMicroseconds;
  unsigned buffer_us = kBufferMicroseconds;
  int dir = 0;
  snd_pcm_hw_params_set_period_time_near(pcm, hw, &period_us, &dir);
  dir = 0;
  snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &buffer_us, &dir);
  if (snd_pcm_hw_params(pcm, hw) < 0) return false;
  *can_pause = snd_pcm_hw_params_can_pause(hw) != 0;
  snd_pcm_uframes_t buffer_size = 0;
  if (snd_pcm_get_params(pcm, &buffer_size, period) < 0 || *period == 0) return false;

  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  if (snd_pcm_sw_params_current(pcm, sw) == 0) {
    snd_pcm_sw_params_set_start_threshold(pcm, sw, *period);
    snd_pcm_sw_params_set_avail_min(pcm, sw, *period);
    snd_pcm_sw_params(pcm, sw);
  }
  return snd_pcm_prepare(pcm) == 0;
}

}  // namespace

// One open PCM and its feeder thread. The caller's side (Write, Reset, ...) and the feeder
// meet under `mutex_`; only the feeder calls ALSA on the PCM between construction and
// Shutdown.
class AlsaWaveOut::Stream {
 public:
  Stream(snd_pcm_t* pcm, int32_t device_id, std::string device_name, const WaveFormat& format,
         snd_pcm_uframes_t period, bool can_pause, uint32_t volume, LogSink& log)
      : pcm_(pcm),
        device_id_(device_id),
        format_(format),
        chunk_frames_(std::clamp<snd_pcm_uframes_t>(period, 256, 8192)),
        can_pause_(can_pause),
        queue_(format.block_align),
        volume_(volume),
        health_(std::move(device_name), log) {}

  ~Stream() { Shutdown(); }

  void Start() {
    feeder_ = std::thread([this] { Feed(); });
  }

  int32_t device_id() const { return device_id_; }
  void set_volume(uint32_t volume) { volume_.store(volume); }

  // False once the stream is shutting down: the page is left as it was, never queued on a
  // stream that will not mark it done.
  bool Write(WaveHeader* header) {
    std::lock_guard lock(mutex_);
    if (closing_) return false;
    queue_.Push(header);
    wake_.notify_all();
    return true;
  }

  void Reset() {
    std::unique_lock lock(mutex_);
    queue_.Clear();
    played_ = 0;
    paused_ = false;
    const uint64_t generation = ++reset_requested_;
    wake_.notify_all();
    // The pages are already free; waiting lets the sound stop before the caller goes on.
    wake_.wait_for(lock, kResetWait, [&] { return reset_done_ >= generation || !feeder_alive_; });
  }

  void SetPaused(bool paused) {
    std::lock_guard lock(mutex_);
    paused_ = paused;
    wake_.notify_all();
  }

  WavePosition Position() {
    std::lock_guard lock(mutex_);
    return WavePosition{played_, played_ * format_.block_align};
  }

  WaveHealth Health() const { return health_.Get(); }

  // Drops the queued pages (marked done), ends the feeder and closes the PCM. Idempotent.
  void Shutdown() {
    {
      std::lock_guard lock(mutex_);
      queue_.Clear();
      closing_ = true;
      wake_.notify_all();
    }
    if (feeder_.joinable()) feeder_.join();
    if (pcm_ != nullptr) {
      snd_pcm_drop(pcm_);
      snd_pcm_close(pcm_);
      pcm_ = nullptr;
    }
  }

 private:
  void Feed();
  // Writes what is left of the chunk; false when the device failed for good on it (the reason
  // is left in failure_).
  bool WriteChunk();
  // Frames written that the PCM has not played yet.
  uint64_t Delay();

  snd_pcm_t* pcm_;
  const int32_t device_id_;
  const WaveFormat format_;
  const size_t chunk_frames_;
  const bool can_pause_;

  std::mutex mutex_;
  std::condition_variable wake_;
  WavePageQueue queue_;           // guarded by mutex_
  uint64_t played_ = 0;           // guarded by mutex_: the caller's frames heard since reset
  bool paused_ = false;           // guarded by mutex_
  bool closing_ = false;          // guarded by mutex_
  bool feeder_alive_ = true;      // guarded by mutex_
  uint64_t reset_requested_ = 0;  // guarded by mutex_
  uint64_t reset_done_ = 0;       // guarded by mutex_
  std::atomic<uint32_t> volume_;
  WaveHealthMonitor health_;
  std::thread feeder_;

  // Feeder-only state.
  std::vector<uint8_t> chunk_;
  size_t chunk_count_ = 0;  // frames in chunk_
  size_t chunk_pos_ = 0;    // frames of chunk_ already written
  uint64_t written_ = 0;    // caller's frames handed to the PCM since reset
  std::string failure_;     // why the last chunk could not be written
};

uint64_t AlsaWaveOut::Stream::Delay() {
  const snd_pcm_state_t state = snd_pcm_state(pcm_);
  if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_PAUSED &&
      state != SND_PCM_STATE_PREPARED && state != SND_PCM_STATE_DRAINING) {
    return 0;  // underrun or stopped: nothing left to sound
  }
  snd_pcm_sframes_t delay = 0;
  if (snd_pcm_delay(pcm_, &delay) < 0 || delay < 0) return 0;
  return std::min<uint64_t>(static_cast<uint64_t>(delay), written_);
}

bool AlsaWaveOut::Stream::WriteChunk() {
  const uint8_t* from = chunk_.data() + chunk_pos_ * format_.block_align;
  const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, from, chunk_count_ - chunk_pos_);
  if (n > 0) {
    chunk_pos_ += static_cast<size_t>(n);
    written_ += static_cast<uint64_t>(n);
    return true;
  }
  if (n == 0 || n == -EAGAIN) {
    snd_pcm_wait(pcm_, static_cast<int>(kPlayPoll.count()) * 2);
    return true;
  }
  // The PCM ran dry while this chunk was due (the caller or this thread came late), or the
  // machine was suspended: restart it and write the chunk again. An error the PCM cannot be
  // restarted from is a failed device.
  const int err = static_cast<int>(n);
  if (snd_pcm_recover(pcm_, err, 1) == 0) {
    if (err != -EINTR) health_.NoteUnderrun();
    return true;
  }
  failure_ = snd_strerror(err);
  return false;
}

void AlsaWaveOut::Stream::Feed() {
  chunk_.resize(chunk_frames_ * format_.block_align);
  uint64_t seen_reset = 0;
  bool pcm_paused = false;
  for (;;) {
    bool want_pause = false;
    {
      std::unique_lock lock(mutex_);
      if (closing_) break;
      if (reset_requested_ != seen_reset) {
        seen_reset = reset_requested_;
        lock.unlock();
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
        chunk_count_ = chunk_pos_ = 0;
        written_ = 0;
        pcm_paused = false;
        lock.lock();
        reset_done_ = seen_reset;
        wake_.notify_all();
        continue;
      }
      want_pause = paused_;
      if (!want_pause && chunk_pos_ == chunk_count_) {
        chunk_count_ = queue_.Take(chunk_.data(), chunk_frames_);
        chunk_pos_ = 0;
        if (chunk_count_ > 0) {
          ApplyWaveGain(chunk_.data(), chunk_count_, format_, WaveVolumeToGain(volume_.load()));
        }
      }
    }

    if (want_pause != pcm_paused) {
      const snd_pcm_state_t state = snd_pcm_state(pcm_);
      if (want_pause && can_pause_ && state == SND_PCM_STATE_RUNNING) snd_pcm_pause(pcm_, 1);
      if (!want_pause && state == SND_PCM_STATE_PAUSED) snd_pcm_pause(pcm_, 0);
      // Without hardware pause the feeder simply stops writing: the buffer plays out and the
      // PCM runs dry. That gap was asked for, so it is no underrun: start afresh.
      if (!want_pause && state == SND_PCM_STATE_XRUN) snd_pcm_prepare(pcm_);
      pcm_paused = want_pause;
    }

    bool device_failed = false;
    if (!pcm_paused && chunk_pos_ < chunk_count_) device_failed = !WriteChunk();
    if (device_failed) {
      // The device is gone or broken: count the chunk as heard at the pace it would have
      // played, so the caller's pages still finish and nothing waits forever.
      const size_t left = chunk_count_ - chunk_pos_;
      health_.NoteFailure(failure_);
      health_.NoteDropped(left);
      written_ += left;
      chunk_pos_ = chunk_count_;
      snd_pcm_drop(pcm_);
      snd_pcm_prepare(pcm_);
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, milliseconds(left * 1000 / format_.samples_per_sec + 1),
                     [&] { return closing_ || reset_requested_ != seen_reset; });
    }

    const bool chunk_pending = chunk_pos_ < chunk_count_;
    if (!chunk_pending && !pcm_paused && written_ > 0 &&
        snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) {
      // Less than the start threshold was written and no more is coming for now.
      bool more = false;
      {
        std::lock_guard lock(mutex_);
        more = !paused_ && queue_.untaken_frames() > 0;
      }
      if (!more) snd_pcm_start(pcm_);
    }
    const uint64_t played = written_ - Delay();

    std::unique_lock lock(mutex_);
    if (reset_requested_ != seen_reset) continue;  // these counts belong to dropped pages
    played_ = std::max(played_, played);
    queue_.MarkPlayed(played_);
    const bool more_to_write = chunk_pending || (!paused_ && queue_.untaken_frames() > 0);
    if (more_to_write && !pcm_paused) continue;  // the PCM write paces this loop
    const milliseconds wait = played_ < written_ ? kPlayPoll : kIdleWait;
    wake_.wait_for(lock, wait);
  }
  std::lock_guard lock(mutex_);
  feeder_alive_ = false;
  wake_.notify_all();
}

AlsaWaveOut::AlsaWaveOut(LogSink& log)
    : AlsaWaveOut(log, AlsaPlaybackDevices(), AlsaCaptureDevices()) {}

AlsaWaveOut::AlsaWaveOut(LogSink& log, std::vector<WaveDeviceEntry> outputs,
                         std::vector<WaveDeviceEntry> inputs, std::string config_text)
    : log_(log), outputs_(std::move(outputs)), inputs_(std::move(inputs)) {
  if (config_text.empty()) return;
  snd_config_t* top = nullptr;
  snd_input_t* in = nullptr;
  if (snd_config_top(&top) < 0) return;
  if (snd_input_buffer_open(&in, config_text.data(), static_cast<ssize_t>(config_text.size())) <
      0) {
    snd_config_delete(top);
    return;
  }
  const int err = snd_config_load(top, in);
  snd_input_close(in);
  if (err < 0) {
    // A broken configuration defines nothing: every open then fails cleanly.
    snd_config_delete(top);
    snd_config_top(&top);
  }
  config_ = top;
}

AlsaWaveOut::~AlsaWaveOut() {
  std::map<WaveHandle, std::shared_ptr<Stream>> streams;
  {
    std::lock_guard lock(mutex_);
    streams.swap(streams_);
  }
  for (auto& [handle, stream] : streams) stream->Shutdown();
  streams.clear();
  if (config_ != nullptr) snd_config_delete(static_cast<snd_config_t*>(config_));
}

int32_t AlsaWaveOut::NumDevs() { return static_cast<int32_t>(outputs_.size()); }

WaveResult AlsaWaveOut::GetDevCaps(int32_t device_id, WaveDeviceCaps* caps) {
  if (caps == nullptr) return kWaveInvalidParam;
  if (device_id == kWaveMapper) {
    caps->name = "default";
    return kWaveNoError;
  }
  if (!ValidDevice(device_id)) return kWaveBadDeviceId;
  caps->name = outputs_[static_cast<size_t>(device_id)].name;
  return kWaveNoError;
}

int32_t AlsaWaveOut::InNumDevs() { return static_cast<int32_t>(inputs_.size()); }

WaveResult AlsaWaveOut::GetInDevCaps(int32_t device_id, WaveDeviceCaps* caps) {
  if (caps == nullptr) return kWaveInvalidParam;
  if (device_id < 0 || static_cast<size_t>(device_id) >= inputs_.size()) return kWaveBadDeviceId;
  caps->name = inputs_[static_cast<size_t>(device_id)].name;
  return kWaveNoError;
}

bool AlsaWaveOut::ValidDevice(int32_t device_id) const {
  return device_id == kWaveMapper ||
         (device_id >= 0 && static_cast<size_t>(device_id) < outputs_.size());
}

WaveResult AlsaWaveOut::Open(WaveHandle* handle, int32_t device_id, const WaveFormat& format) {
  if (handle == nullptr) return kWaveInvalidParam;
  *handle = 0;
  if (!ValidDevice(device_id)) return kWaveBadDeviceId;
  if (CheckWaveFormat(format) != kWaveNoError) return kWaveBadFormat;
  const std::string name =
      device_id == kWaveMapper ? std::string("default") : outputs_[size_t(device_id)].pcm;
  const std::string label =
      device_id == kWaveMapper ? std::string("default") : outputs_[size_t(device_id)].name;

  snd_pcm_t* pcm = nullptr;
  const int err = config_ != nullptr
                      ? snd_pcm_open_lconf(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK,
                                           SND_PCM_NONBLOCK, static_cast<snd_config_t*>(config_))
                      : snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (err < 0) return OpenErrorResult(err);
  snd_pcm_uframes_t period = 0;
  bool can_pause = false;
  if (!ConfigurePcm(pcm, format, &period, &can_pause)) {
    snd_pcm_close(pcm);
    return kWaveBadFormat;
  }

  std::shared_ptr<Stream> stream;
  {
    std::lock_guard lock(mutex_);
    auto v = volumes_.find(device_id);
    const uint32_t volume = v == volumes_.end() ? kWaveFullVolume : v->second;
    stream =
        std::make_shared<Stream>(pcm, device_id, label, format, period, can_pause, volume, log_);
  }
  try {
    stream->Start();
  } catch (const std::system_error&) {
    return kWaveNoMemory;  // the stream's destructor closes the PCM
  }
  const WaveHandle h = NextWaveHandle();
  std::lock_guard lock(mutex_);
  streams_[h] = std::move(stream);
  *handle = h;
  return kWaveNoError;
}

std::shared_ptr<AlsaWaveOut::Stream> AlsaWaveOut::Find(WaveHandle handle) {
  std::lock_guard lock(mutex_);
  auto it = streams_.find(handle);
  return it == streams_.end() ? nullptr : it->second;
}

WaveResult AlsaWaveOut::Close(WaveHandle handle) {
  std::shared_ptr<Stream> stream;
  {
    std::lock_guard lock(mutex_);
    auto it = streams_.find(handle);
    if (it == streams_.end()) return kWaveInvalidHandle;
    stream = std::move(it->second);
    streams_.erase(it);
  }
  stream->Shutdown();
  return kWaveNoError;
}

WaveResult AlsaWaveOut::PrepareHeader(WaveHandle handle, WaveHeader* header) {
  if (!Find(handle)) return kWaveInvalidHandle;
  return PrepareWaveHeader(header);
}

WaveResult AlsaWaveOut::UnprepareHeader(WaveHandle handle, WaveHeader* header) {
  if (!Find(handle)) return kWaveInvalidHandle;
  return UnprepareWaveHeader(header);
}

WaveResult AlsaWaveOut::Write(WaveHandle handle, WaveHeader* header) {
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  if (const WaveResult r = CheckWaveWrite(header); r != kWaveNoError) return r;
  // Closed meanwhile by another thread.
  return stream->Write(header) ? kWaveNoError : kWaveInvalidHandle;
}

WaveResult AlsaWaveOut::Reset(WaveHandle handle) {
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  stream->Reset();
  return kWaveNoError;
}

WaveResult AlsaWaveOut::Pause(WaveHandle handle) {
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  stream->SetPaused(true);
  return kWaveNoError;
}

WaveResult AlsaWaveOut::Restart(WaveHandle handle) {
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  stream->SetPaused(false);
  return kWaveNoError;
}

WaveResult AlsaWaveOut::GetPosition(WaveHandle handle, WavePosition* position) {
  if (position == nullptr) return kWaveInvalidParam;
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  *position = stream->Position();
  return kWaveNoError;
}

WaveResult AlsaWaveOut::GetHealth(WaveHandle handle, WaveHealth* health) {
  if (health == nullptr) return kWaveInvalidParam;
  auto stream = Find(handle);
  if (!stream) return kWaveInvalidHandle;
  *health = stream->Health();
  return kWaveNoError;
}

WaveResult AlsaWaveOut::SetVolume(int32_t device_id, uint32_t volume) {
  if (!ValidDevice(device_id)) return kWaveBadDeviceId;
  std::lock_guard lock(mutex_);
  volumes_[device_id] = volume;
  for (auto& [handle, stream] : streams_) {
    if (stream->device_id() == device_id) stream->set_volume(volume);
  }
  return kWaveNoError;
}

WaveResult AlsaWaveOut::GetVolume(int32_t device_id, uint32_t* volume) {
  if (volume == nullptr) return kWaveInvalidParam;
  if (!ValidDevice(device_id)) return kWaveBadDeviceId;
  std::lock_guard lock(mutex_);
  auto it = volumes_.find(device_id);
  *volume = it == volumes_.end() ? kWaveFullVolume : it->second;
  return kWaveNoError;
}

}  // namespace platform
