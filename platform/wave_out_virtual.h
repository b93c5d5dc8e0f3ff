#pragma once

#include <climits>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/log_sink.h"
#include "platform/wave_out_device.h"

namespace platform {

// How a virtual stream consumes (plays) its queued frames.
enum class VirtualClockMode {
  kManual,    // only when the test calls AdvanceMs / AdvanceFrames
  kInstant,   // at once: a page is done as soon as it is written (unless paused)
  kRealTime,  // at the stream's sample rate, by the monotonic clock, on a thread of its own
};

// The calls a virtual device records and can be told to fail.
enum class WaveCall {
  kOpen,
  kClose,
  kPrepare,
  kUnprepare,
  kWrite,
  kReset,
  kPause,
  kRestart,
  kGetPosition,
  kSetVolume,
  kGetVolume,
};

// What a test can make happen to a stream in the middle of a play (ScriptFault).
enum class VirtualFault {
  kUnderrun,       // the device runs dry once and restarts: counted and logged, nothing lost
  kDeviceFailure,  // the device fails for good: from there on its frames go unheard (dropped)
};

// One recorded call. `value`: the buffer length for Prepare/Unprepare/Write, the volume for
// SetVolume/GetVolume, the frame position for GetPosition, else 0.
struct VirtualWaveCall {
  WaveCall call = WaveCall::kOpen;
  WaveHandle handle = 0;  // 0 for device calls and failed opens
  int32_t device_id = 0;
  int64_t value = 0;
  WaveResult result = kWaveNoError;
};

// Frames that went out in one go: where they start in the stream's `played` bytes (in frames)
// and when the first of them went out, in microseconds on the device's clock; the others follow
// at the stream's sample rate. In real time that clock is CLOCK_MONOTONIC and a run starts at
// the start of the 5 ms step that played it; on the manual clock it is the time advanced so far
// (AdvanceFrames takes none); in instant mode it is the moment the frames were taken.
struct VirtualPlayedRun {
  uint64_t first_frame = 0;
  uint64_t frames = 0;
  int64_t at_us = 0;

  bool operator==(const VirtualPlayedRun&) const = default;
};

// What a test can see of one stream, open or closed.
struct VirtualWaveStream {
  WaveHandle handle = 0;
  int32_t device_id = 0;
  WaveFormat format;
  bool open = false;
  bool paused = false;
  uint64_t position_frames = 0;        // since open or the last reset
  std::vector<uint8_t> played;         // every frame that went out, after the volume, in order
  std::vector<VirtualPlayedRun> runs;  // when the frames of `played` went out, in order
  std::vector<VirtualWaveCall> calls;  // this stream's calls, Open first
};

struct VirtualWaveOutOptions {
  std::vector<std::string> outputs{"virtual"};
  std::vector<std::string> inputs;
  VirtualClockMode clock = VirtualClockMode::kInstant;
  // Off for long-running use (a machine without a sound card): nothing is kept then.
  bool record = true;
};

inline constexpr int32_t kAnyWaveDevice = INT32_MIN;

// A wave output device without sound: scripted device names and failures, a clock the test
// controls, and a recording of every frame and call. Same page, volume, pause and reset rules
// as the ALSA backend, with frames consumed by the clock instead of a sound card.
class VirtualWaveOut final : public WaveOutDevice {
 public:
  // The streams' underruns and failures go to `log`, from the thread that meets them.
  explicit VirtualWaveOut(LogSink& log, VirtualWaveOutOptions options = {});
  ~VirtualWaveOut() override;
  VirtualWaveOut(const VirtualWaveOut&) = delete;
  VirtualWaveOut& operator=(const VirtualWaveOut&) = delete;

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

  // Switching to kInstant plays everything queued at once.
  void SetClockMode(VirtualClockMode mode);
  // The next `times` calls of `call` (times < 0: every call from now on) on `device_id`
  // (kAnyWaveDevice: on any) fail with `result` and do nothing else. A failing Open gives no
  // handle.
  void ScriptFailure(WaveCall call, WaveResult result, int times = 1,
                     int32_t device_id = kAnyWaveDevice);
  // The first open stream on `device_id` (kAnyWaveDevice: any) whose position (frames since
  // open or reset) reaches `at_frame` meets `fault` there, once. Its health and the log lines
  // are those of the ALSA backend; a failed stream goes on taking frames at the clock's pace,
  // so its pages still finish.
  void ScriptFault(VirtualFault fault, uint64_t at_frame, int32_t device_id = kAnyWaveDevice);
  // Forgets the scripted failures and faults not met yet.
  void ClearFailures();
  // Manual clock: every open, unpaused stream plays `ms` milliseconds at its own rate (the
  // fractions carry over between calls), or `frames` frames. Frames with no page to play are
  // lost time, as on a real device.
  void AdvanceMs(int64_t ms);
  void AdvanceFrames(uint64_t frames);

  // Every stream ever opened, in open order.
  std::vector<VirtualWaveStream> Streams() const;
  // One stream's record; a record with handle 0 when unknown.
  VirtualWaveStream Stream(WaveHandle handle) const;
  // Every call of every stream and device, in order.
  std::vector<VirtualWaveCall> Calls() const;
  int32_t OpenStreamCount() const;

 private:
  struct Live;
  struct Failure {
    WaveCall call;
    WaveResult result;
    int times;
    int32_t device_id;
  };
  struct Fault {
    VirtualFault fault;
    uint64_t at_frame;
    int32_t device_id;
  };

  // Takes a scripted failure for this call, or kWaveNoError. Caller holds mutex_.
  WaveResult ScriptedResult(WaveCall call, int32_t device_id);
  // Records a call (when recording) and returns its result. Caller holds mutex_.
  WaveResult Note(WaveCall call, WaveHandle handle, int32_t device_id, int64_t value,
                  WaveResult result);
  Live* FindLive(WaveHandle handle);
  // The course every call on an open stream takes, under mutex_: an unknown handle fails with
  // kWaveInvalidHandle; else a scripted failure, else `check()`, gives the result. The call is
  // recorded with `value` either way, and `apply(live)` runs, after that, only on success.
  template <typename Check, typename Apply>
  WaveResult StreamCall(WaveCall call, WaveHandle handle, int64_t value, Check check, Apply apply);
  bool ValidDevice(int32_t device_id) const;
  // Plays up to `frames` frames of one stream, the first at `at_us` on the device's clock.
  // Caller holds mutex_.
  void Consume(Live& live, uint64_t frames, int64_t at_us);
  void ConsumeAll(Live& live);
  // The device's clock (see VirtualPlayedRun). Caller holds mutex_.
  int64_t NowUsLocked() const;
  // Applies the scripted faults due at the stream's position; returns how many frames it may
  // play before the next one is due (UINT64_MAX when none is). Caller holds mutex_.
  uint64_t MeetFaults(Live& live);
  // Plays `micros` of time that began at `from_us` on the device's clock.
  void AdvanceMicrosLocked(uint64_t micros, int64_t from_us);
  void StartTickerLocked();
  void Tick();

  LogSink& log_;
  const VirtualWaveOutOptions options_;
  mutable std::mutex mutex_;
  VirtualClockMode clock_;
  std::vector<Failure> failures_;
  std::vector<Fault> faults_;
  std::map<WaveHandle, std::unique_ptr<Live>> live_;
  std::vector<VirtualWaveStream> records_;  // one per opened stream; Live points into it by index
  std::vector<VirtualWaveCall> calls_;
  std::map<int32_t, uint32_t> volumes_;
  std::vector<uint8_t> scratch_;
  int64_t manual_us_ = 0;  // time advanced by hand

  std::thread ticker_;
  std::condition_variable ticker_wake_;
  bool stopping_ = false;
};

}  // namespace platform
