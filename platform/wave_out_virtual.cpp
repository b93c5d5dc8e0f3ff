#include "platform/wave_out_virtual.h"

#include <algorithm>
#include <chrono>

#include "platform/wave_out_gain.h"
#include "platform/wave_out_health.h"
#include "platform/wave_page_queue.h"

namespace platform {

namespace {

constexpr auto kTickStep = std::chrono::milliseconds(5);
constexpr uint64_t kMicrosPerSecond = 1000000;
// Frames played per step when a stream plays a long stretch at once.
constexpr uint64_t kConsumeStep = 4096;

int64_t SteadyMicros(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

}  // namespace

struct VirtualWaveOut::Live {
  Live(size_t record_index, int32_t device_id, std::string device_name, const WaveFormat& format,
       LogSink& log)
      : record(record_index),
        device_id(device_id),
        format(format),
        queue(format.block_align),
        health(std::move(device_name), log) {}

  size_t record;  // index into records_
  int32_t device_id;
  WaveFormat format;
  WavePageQueue queue;
  bool paused = false;
  uint64_t position = 0;
  uint64_t carry = 0;  // microseconds x rate not yet worth a whole frame
  bool failed = false;
  WaveHealthMonitor health;
};

VirtualWaveOut::VirtualWaveOut(LogSink& log, VirtualWaveOutOptions options)
    : log_(log), options_(std::move(options)), clock_(options_.clock) {
  std::lock_guard lock(mutex_);
  if (clock_ == VirtualClockMode::kRealTime) StartTickerLocked();
}

VirtualWaveOut::~VirtualWaveOut() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    ticker_wake_.notify_all();
  }
  if (ticker_.joinable()) ticker_.join();
  std::lock_guard lock(mutex_);
  for (auto& [handle, live] : live_) live->queue.Clear();
}

void VirtualWaveOut::StartTickerLocked() {
  if (ticker_.joinable()) return;
  ticker_ = std::thread([this] { Tick(); });
}

void VirtualWaveOut::Tick() {
  auto last = std::chrono::steady_clock::now();
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    ticker_wake_.wait_for(lock, kTickStep);
    const auto now = std::chrono::steady_clock::now();
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now - last);
    const int64_t from_us = SteadyMicros(last);
    last = now;
    if (clock_ == VirtualClockMode::kRealTime && micros.count() > 0) {
      AdvanceMicrosLocked(static_cast<uint64_t>(micros.count()), from_us);
    }
  }
}

int32_t VirtualWaveOut::NumDevs() { return static_cast<int32_t>(options_.outputs.size()); }

WaveResult VirtualWaveOut::GetDevCaps(int32_t device_id, WaveDeviceCaps* caps) {
  if (caps == nullptr) return kWaveInvalidParam;
  if (!ValidDevice(device_id)) return kWaveBadDeviceId;
  caps->name = device_id == kWaveMapper ? "default" : options_.outputs[size_t(device_id)];
  return kWaveNoError;
}

int32_t VirtualWaveOut::InNumDevs() { return static_cast<int32_t>(options_.inputs.size()); }

WaveResult VirtualWaveOut::GetInDevCaps(int32_t device_id, WaveDeviceCaps* caps) {
  if (caps == nullptr) return kWaveInvalidParam;
  if (device_id < 0 || size_t(device_id) >= options_.inputs.size()) return kWaveBadDeviceId;
  caps->name = options_.inputs[size_t(device_id)];
  return kWaveNoError;
}

bool VirtualWaveOut::ValidDevice(int32_t device_id) const {
  return device_id == kWaveMapper ||
         (device_id >= 0 && size_t(device_id) < options_.outputs.size());
}

WaveResult VirtualWaveOut::ScriptedResult(WaveCall call, int32_t device_id) {
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->call != call) continue;
    if (it->device_id != kAnyWaveDevice && it->device_id != device_id) continue;
    const WaveResult result = it->result;
    if (it->times > 0 && --it->times == 0) failures_.erase(it);
    return result;
  }
  return kWaveNoError;
}

WaveResult VirtualWaveOut::Note(WaveCall call, WaveHandle handle, int32_t device_id, int64_t value,
                                WaveResult result) {
  if (!options_.record) return result;
  const VirtualWaveCall entry{call, handle, device_id, value, result};
  calls_.push_back(entry);
  if (Live* live = FindLive(handle)) records_[live->record].calls.push_back(entry);
  return result;
}

VirtualWaveOut::Live* VirtualWaveOut::FindLive(WaveHandle handle) {
  auto it = live_.find(handle);
  return it == live_.end() ? nullptr : it->second.get();
}

void VirtualWaveOut::Consume(Live& live, uint64_t frames, int64_t at_us) {
  const uint32_t volume =
      volumes_.count(live.device_id) ? volumes_[live.device_id] : kWaveFullVolume;
  const WaveGain gain = WaveVolumeToGain(volume);
  while (frames > 0 && !live.paused && live.queue.untaken_frames() > 0) {
    const size_t step = static_cast<size_t>(std::min({frames, kConsumeStep, MeetFaults(live)}));
    scratch_.resize(step * live.format.block_align);
    const size_t n = live.queue.Take(scratch_.data(), step);
    if (n == 0) break;
    ApplyWaveGain(scratch_.data(), n, live.format, gain);
    if (live.failed) {
      live.health.NoteDropped(n);
    } else if (options_.record) {
      VirtualWaveStream& record = records_[live.record];
      const uint64_t first = record.played.size() / live.format.block_align;
      // Frames of one call follow each other without a break: they make one run.
      if (record.runs.empty() || at_us != record.runs.back().at_us ||
          first != record.runs.back().first_frame + record.runs.back().frames) {
        record.runs.push_back(VirtualPlayedRun{first, 0, at_us});
      }
      record.runs.back().frames += n;
      record.played.insert(record.played.end(), scratch_.begin(),
                           scratch_.begin() + n * live.format.block_align);
    }
    live.position += n;
    frames -= n;
  }
  // Zero-length pages behind the last frame are done too.
  live.queue.MarkPlayed(live.position);
  records_[live.record].position_frames = live.position;
}

void VirtualWaveOut::ConsumeAll(Live& live) {
  Consume(live, live.queue.untaken_frames(), NowUsLocked());
}

int64_t VirtualWaveOut::NowUsLocked() const {
  return clock_ == VirtualClockMode::kManual ? manual_us_
                                             : SteadyMicros(std::chrono::steady_clock::now());
}

uint64_t VirtualWaveOut::MeetFaults(Live& live) {
  uint64_t until_next = UINT64_MAX;
  for (auto it = faults_.begin(); it != faults_.end();) {
    if (it->device_id != kAnyWaveDevice && it->device_id != live.device_id) {
      ++it;
      continue;
    }
    if (it->at_frame > live.position) {
      until_next = std::min(until_next, it->at_frame - live.position);
      ++it;
      continue;
    }
    if (it->fault == VirtualFault::kUnderrun) {
      live.health.NoteUnderrun();
    } else {
      live.failed = true;
      live.health.NoteFailure("scripted failure");
    }
    it = faults_.erase(it);
  }
  return until_next;
}

WaveResult VirtualWaveOut::Open(WaveHandle* handle, int32_t device_id, const WaveFormat& format) {
  std::lock_guard lock(mutex_);
  if (handle == nullptr) return Note(WaveCall::kOpen, 0, device_id, 0, kWaveInvalidParam);
  *handle = 0;
  WaveResult r = ValidDevice(device_id) ? CheckWaveFormat(format) : kWaveBadDeviceId;
  if (r == kWaveNoError) r = ScriptedResult(WaveCall::kOpen, device_id);
  if (r != kWaveNoError) return Note(WaveCall::kOpen, 0, device_id, 0, r);

  const WaveHandle h = NextWaveHandle();
  VirtualWaveStream record;
  record.handle = h;
  record.device_id = device_id;
  record.format = format;
  record.open = true;
  records_.push_back(std::move(record));
  const std::string name =
      device_id == kWaveMapper ? "default" : options_.outputs[size_t(device_id)];
  live_[h] = std::make_unique<Live>(records_.size() - 1, device_id, name, format, log_);
  *handle = h;
  return Note(WaveCall::kOpen, h, device_id, 0, kWaveNoError);
}

template <typename Check, typename Apply>
WaveResult VirtualWaveOut::StreamCall(WaveCall call, WaveHandle handle, int64_t value, Check check,
                                      Apply apply) {
  std::lock_guard lock(mutex_);
  Live* live = FindLive(handle);
  if (live == nullptr) return Note(call, handle, 0, value, kWaveInvalidHandle);
  WaveResult r = ScriptedResult(call, live->device_id);
  if (r == kWaveNoError) r = check();
  Note(call, handle, live->device_id, value, r);
  if (r == kWaveNoError) apply(*live);
  return r;
}

namespace {

// The buffer length a header call is recorded with.
int64_t LengthOf(const WaveHeader* header) { return header != nullptr ? header->buffer_length : 0; }

WaveResult NoCheck() { return kWaveNoError; }

constexpr auto kNoAction = [](auto&) {};

}  // namespace

WaveResult VirtualWaveOut::Close(WaveHandle handle) {
  return StreamCall(WaveCall::kClose, handle, 0, NoCheck, [this, handle](Live& live) {
    live.queue.Clear();
    records_[live.record].open = false;
    live_.erase(handle);
  });
}

WaveResult VirtualWaveOut::PrepareHeader(WaveHandle handle, WaveHeader* header) {
  return StreamCall(
      WaveCall::kPrepare, handle, LengthOf(header), [header] { return PrepareWaveHeader(header); },
      kNoAction);
}

WaveResult VirtualWaveOut::UnprepareHeader(WaveHandle handle, WaveHeader* header) {
  return StreamCall(
      WaveCall::kUnprepare, handle, LengthOf(header),
      [header] { return UnprepareWaveHeader(header); }, kNoAction);
}

WaveResult VirtualWaveOut::Write(WaveHandle handle, WaveHeader* header) {
  return StreamCall(
      WaveCall::kWrite, handle, LengthOf(header), [header] { return CheckWaveWrite(header); },
      [this, header](Live& live) {
        live.queue.Push(header);
        if (clock_ == VirtualClockMode::kInstant) ConsumeAll(live);
      });
}

WaveResult VirtualWaveOut::Reset(WaveHandle handle) {
  return StreamCall(WaveCall::kReset, handle, 0, NoCheck, [this](Live& live) {
    live.queue.Clear();
    live.position = 0;
    live.paused = false;
    records_[live.record].position_frames = 0;
    records_[live.record].paused = false;
  });
}

WaveResult VirtualWaveOut::Pause(WaveHandle handle) {
  return StreamCall(WaveCall::kPause, handle, 0, NoCheck, [this](Live& live) {
    live.paused = true;
    records_[live.record].paused = true;
  });
}

WaveResult VirtualWaveOut::Restart(WaveHandle handle) {
  return StreamCall(WaveCall::kRestart, handle, 0, NoCheck, [this](Live& live) {
    live.paused = false;
    records_[live.record].paused = false;
    if (clock_ == VirtualClockMode::kInstant) ConsumeAll(live);
  });
}

WaveResult VirtualWaveOut::GetPosition(WaveHandle handle, WavePosition* position) {
  std::lock_guard lock(mutex_);
  Live* live = FindLive(handle);
  if (live == nullptr) return Note(WaveCall::kGetPosition, handle, 0, 0, kWaveInvalidHandle);
  WaveResult r = ScriptedResult(WaveCall::kGetPosition, live->device_id);
  if (r == kWaveNoError && position == nullptr) r = kWaveInvalidParam;
  if (r == kWaveNoError) {
    position->frames = live->position;
    position->bytes = live->position * live->format.block_align;
  }
  return Note(WaveCall::kGetPosition, handle, live->device_id, static_cast<int64_t>(live->position),
              r);
}

WaveResult VirtualWaveOut::GetHealth(WaveHandle handle, WaveHealth* health) {
  std::lock_guard lock(mutex_);
  Live* live = FindLive(handle);
  if (live == nullptr) return kWaveInvalidHandle;
  if (health == nullptr) return kWaveInvalidParam;
  *health = live->health.Get();
  return kWaveNoError;
}

WaveResult VirtualWaveOut::SetVolume(int32_t device_id, uint32_t volume) {
  std::lock_guard lock(mutex_);
  WaveResult r =
      ValidDevice(device_id) ? ScriptedResult(WaveCall::kSetVolume, device_id) : kWaveBadDeviceId;
  if (r == kWaveNoError) volumes_[device_id] = volume;
  return Note(WaveCall::kSetVolume, 0, device_id, volume, r);
}

WaveResult VirtualWaveOut::GetVolume(int32_t device_id, uint32_t* volume) {
  std::lock_guard lock(mutex_);
  WaveResult r =
      ValidDevice(device_id) ? ScriptedResult(WaveCall::kGetVolume, device_id) : kWaveBadDeviceId;
  if (r == kWaveNoError && volume == nullptr) r = kWaveInvalidParam;
  uint32_t value = 0;
  if (r == kWaveNoError) {
    value = volumes_.count(device_id) ? volumes_[device_id] : kWaveFullVolume;
    *volume = value;
  }
  return Note(WaveCall::kGetVolume, 0, device_id, value, r);
}

void VirtualWaveOut::SetClockMode(VirtualClockMode mode) {
  std::lock_guard lock(mutex_);
  clock_ = mode;
  if (mode == VirtualClockMode::kInstant) {
    for (auto& [handle, live] : live_) ConsumeAll(*live);
  }
  if (mode == VirtualClockMode::kRealTime) StartTickerLocked();
}

void VirtualWaveOut::ScriptFailure(WaveCall call, WaveResult result, int times, int32_t device_id) {
  if (times == 0) return;
  std::lock_guard lock(mutex_);
  failures_.push_back(Failure{call, result, times, device_id});
}

void VirtualWaveOut::ScriptFault(VirtualFault fault, uint64_t at_frame, int32_t device_id) {
  std::lock_guard lock(mutex_);
  faults_.push_back(Fault{fault, at_frame, device_id});
}

void VirtualWaveOut::ClearFailures() {
  std::lock_guard lock(mutex_);
  failures_.clear();
  faults_.clear();
}

void VirtualWaveOut::AdvanceMicrosLocked(uint64_t micros, int64_t from_us) {
  for (auto& [handle, live] : live_) {
    if (live->paused) continue;
    live->carry += micros * live->format.samples_per_sec;
    const uint64_t frames = live->carry / kMicrosPerSecond;
    live->carry %= kMicrosPerSecond;
    Consume(*live, frames, from_us);
  }
}

void VirtualWaveOut::AdvanceMs(int64_t ms) {
  if (ms <= 0) return;
  std::lock_guard lock(mutex_);
  const int64_t from_us = manual_us_;
  manual_us_ += ms * 1000;
  AdvanceMicrosLocked(static_cast<uint64_t>(ms) * 1000, from_us);
}

void VirtualWaveOut::AdvanceFrames(uint64_t frames) {
  std::lock_guard lock(mutex_);
  for (auto& [handle, live] : live_) Consume(*live, frames, manual_us_);
}

std::vector<VirtualWaveStream> VirtualWaveOut::Streams() const {
  std::lock_guard lock(mutex_);
  return records_;
}

VirtualWaveStream VirtualWaveOut::Stream(WaveHandle handle) const {
  std::lock_guard lock(mutex_);
  for (const VirtualWaveStream& s : records_) {
    if (s.handle == handle) return s;
  }
  return {};
}

std::vector<VirtualWaveCall> VirtualWaveOut::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

int32_t VirtualWaveOut::OpenStreamCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int32_t>(live_.size());
}

}  // namespace platform
