#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

// The wave output device: a page-queue interface in the manner of the classic waveOut calls.
// A caller opens a stream on a device with a PCM format, prepares page headers, writes pages
// and polls each page's done flag; the device plays the pages in write order and sets the flag
// once a page's last frame has been played. No callbacks: the caller's own tick refills.

// Result of every call: 0 on success, else one of the numbers below (the numbers are the ones
// the log lines of the player print, "r=32" and so on).
using WaveResult = int32_t;

inline constexpr WaveResult kWaveNoError = 0;
inline constexpr WaveResult kWaveError = 1;        // unspecified failure
inline constexpr WaveResult kWaveBadDeviceId = 2;  // device number out of range
inline constexpr WaveResult kWaveNotEnabled = 3;
inline constexpr WaveResult kWaveAllocated = 4;      // device busy
inline constexpr WaveResult kWaveInvalidHandle = 5;  // not an open stream
inline constexpr WaveResult kWaveNoDriver = 6;       // no device at all / device gone
inline constexpr WaveResult kWaveNoMemory = 7;
inline constexpr WaveResult kWaveNotSupported = 8;
inline constexpr WaveResult kWaveBadErrorNumber = 9;
inline constexpr WaveResult kWaveInvalidFlag = 10;
inline constexpr WaveResult kWaveInvalidParam = 11;  // null header, null handle pointer
inline constexpr WaveResult kWaveBadFormat = 32;     // format not playable
inline constexpr WaveResult kWaveStillPlaying = 33;  // header still queued
inline constexpr WaveResult kWaveUnprepared = 34;    // header written without preparing
inline constexpr WaveResult kWaveSync = 35;

// The text a message box or log line shows for a result of an output call (waveOut texts) or
// of an input call (waveIn texts). An unknown number gives the text of kWaveBadErrorNumber;
// 0 gives the success text.
std::string WaveOutErrorText(WaveResult code);
std::string WaveInErrorText(WaveResult code);

// Device number that means "the default device" (the wave mapper).
inline constexpr int32_t kWaveMapper = -1;

// A stream handle; 0 is never a valid handle. Handles are unique within the process for its
// whole life, so a stale handle is never mistaken for a newer stream.
using WaveHandle = uint32_t;

// A fresh handle value for a backend's new stream: never 0, never handed out twice.
WaveHandle NextWaveHandle();

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// The PCM format a stream is opened with. Playable: tag kWaveFormatPcm, or
// kWaveFormatExtensible with sub_format_pcm; 8-bit unsigned, 16-bit or packed 24-bit signed
// little-endian samples; 1, 2, 6 or 8 channels; block_align = channels x bits / 8; a sample
// rate of 1 to 768,000. avg_bytes_per_sec, valid_bits_per_sample and channel_mask are carried
// but not checked (the channel order is the file's).
struct WaveFormat {
  uint16_t format_tag = kWaveFormatPcm;
  uint16_t channels = 0;
  uint32_t samples_per_sec = 0;
  uint32_t avg_bytes_per_sec = 0;
  uint16_t block_align = 0;
  uint16_t bits_per_sample = 0;
  // Extensible formats only.
  uint16_t valid_bits_per_sample = 0;
  uint32_t channel_mask = 0;
  bool sub_format_pcm = true;
};

// kWaveNoError when the format is playable (see WaveFormat), else kWaveBadFormat.
WaveResult CheckWaveFormat(const WaveFormat& format);
// Why no device plays the format, as one short text for a log line ("sample rate 2147483647
// outside 1 to 768000"); "" when it is playable. The same rules as CheckWaveFormat.
std::string WaveFormatProblem(const WaveFormat& format);

// Page header flags (the classic bit values).
inline constexpr uint32_t kWaveHeaderDone = 0x01;      // set by the device when played
inline constexpr uint32_t kWaveHeaderPrepared = 0x02;  // set by PrepareHeader
inline constexpr uint32_t kWaveHeaderBeginLoop = 0x04;
inline constexpr uint32_t kWaveHeaderEndLoop = 0x08;
inline constexpr uint32_t kWaveHeaderInQueue = 0x10;  // set while the device holds the page

// One page. The caller owns the header and its buffer and keeps both at a fixed address
// while the page is queued (from Write until the done flag is set). The device takes `data`
// and `buffer_length` at Write; the bytes themselves are read as the page is fed to the
// sound device, not copied at Write, so the caller must leave them alone until the done flag
// is set. The device changes only `flags`. Only whole frames are played: a trailing partial
// frame is ignored.
//
// `flags` is atomic because the device's thread sets kWaveHeaderDone while the caller polls
// it: once the caller reads the done flag (acquire), the device no longer touches the buffer
// and the caller may refill it.
struct WaveHeader {
  uint8_t* data = nullptr;
  uint32_t buffer_length = 0;  // bytes
  uint32_t loops = 0;          // carried, not used: looping is the caller's business
  std::atomic<uint32_t> flags{0};

  WaveHeader() = default;
  // A copy keeps the data, length, loops and flags, but is never in a device's queue: the
  // in-queue flag is left out, so the copy can be prepared and written on its own.
  WaveHeader(const WaveHeader& other)
      : data(other.data),
        buffer_length(other.buffer_length),
        loops(other.loops),
        flags(other.flags.load() & ~kWaveHeaderInQueue) {}
  WaveHeader& operator=(const WaveHeader& other) {
    if (this == &other) return *this;
    data = other.data;
    buffer_length = other.buffer_length;
    loops = other.loops;
    flags.store(other.flags.load() & ~kWaveHeaderInQueue);
    return *this;
  }

  // True once the device has played the page (or dropped it by Reset/Close).
  bool done() const { return (flags.load(std::memory_order_acquire) & kWaveHeaderDone) != 0; }
};

// Marks a header prepared (kWaveInvalidParam for null). Shared by the backends.
WaveResult PrepareWaveHeader(WaveHeader* header);
// Clears the prepared flag; kWaveStillPlaying while the page is queued.
WaveResult UnprepareWaveHeader(WaveHeader* header);
// The checks of a Write: kWaveInvalidParam for null, kWaveUnprepared when not prepared,
// kWaveStillPlaying when the page is already queued.
WaveResult CheckWaveWrite(const WaveHeader* header);

// A device's capabilities. `name` is the name the device list shows and the settings match.
struct WaveDeviceCaps {
  std::string name;
};

// Played amount of a stream since it was opened or last reset: frames of the caller's pages
// that have been heard, and the same in bytes. Frames never count silence the device adds when
// the caller runs out of pages.
struct WavePosition {
  uint64_t frames = 0;
  uint64_t bytes = 0;
};

// What went wrong on a stream since it was opened (Reset keeps the counts). A caller that polls
// it can log a dropout when it happened instead of finding silence later.
struct WaveHealth {
  // The device ran dry (or was suspended) while pages were due and was restarted: each one is
  // a gap the listener heard.
  uint64_t underruns = 0;
  // The device failed and could not be restarted. It stays set for the stream's life; the
  // pages written still finish (see dropped_frames), so nothing waits for them forever.
  bool failed = false;
  // Monotonic milliseconds (platform::CurrentClock) of the failure; only meaningful once
  // `failed` is set.
  int64_t failed_at_ms = 0;
  // The caller's frames counted as heard (position and done flags move on at the pace they
  // would have played) although the device never played them.
  uint64_t dropped_frames = 0;

  bool operator==(const WaveHealth&) const = default;
};

// Full volume: left in the low word, right in the high word, 0xFFFF each = unity gain; the
// gain of a word is word / 65535 (linear amplitude).
inline constexpr uint32_t kWaveFullVolume = 0xFFFFFFFFu;

// The device layer. One object serves every stream of the process; each backend is safe to
// call from any thread, though the player calls it from the UI thread only.
class WaveOutDevice {
 public:
  virtual ~WaveOutDevice() = default;

  // Output devices 0 to NumDevs()-1, in a fixed order for the life of the object.
  virtual int32_t NumDevs() = 0;
  // kWaveBadDeviceId for a number outside 0..NumDevs()-1. kWaveMapper names the default.
  virtual WaveResult GetDevCaps(int32_t device_id, WaveDeviceCaps* caps) = 0;
  // Input (capture) devices, for device lists only; nothing here records.
  virtual int32_t InNumDevs() = 0;
  virtual WaveResult GetInDevCaps(int32_t device_id, WaveDeviceCaps* caps) = 0;

  // Opens a new stream on device_id (kWaveMapper = the default device). A device can be
  // opened any number of times; each open is an independent stream. On failure *handle is 0.
  // Results: kWaveBadDeviceId, kWaveBadFormat, kWaveAllocated (device busy), kWaveNoDriver,
  // kWaveError, kWaveInvalidParam (null handle pointer).
  virtual WaveResult Open(WaveHandle* handle, int32_t device_id, const WaveFormat& format) = 0;
  // Stops the stream and releases it. Pages still queued are dropped and marked done first,
  // so closing never leaves the device holding a caller's buffer. A Write racing the Close
  // either queues its page before the close (then marked done by it) or fails with
  // kWaveInvalidHandle, leaving the page untouched.
  virtual WaveResult Close(WaveHandle handle) = 0;

  virtual WaveResult PrepareHeader(WaveHandle handle, WaveHeader* header) = 0;
  virtual WaveResult UnprepareHeader(WaveHandle handle, WaveHeader* header) = 0;
  // Queues a page behind the pages already queued; it clears the done flag and sets the
  // in-queue flag. Running out of pages is not an error: the stream waits for more, and the
  // position does not move meanwhile (a page that arrives after the device ran dry counts as
  // an underrun, see WaveHealth). A failed Write leaves the header's flags as they were.
  virtual WaveResult Write(WaveHandle handle, WaveHeader* header) = 0;
  // Stops at once, marks every queued page done, sets the position back to 0 and un-pauses.
  // When it returns the device touches none of the pages queued before it; a page written
  // while it runs is either among them or queued afresh behind it.
  virtual WaveResult Reset(WaveHandle handle) = 0;
  // Holds playback where it is; writes are queued meanwhile. Pausing twice is harmless.
  virtual WaveResult Pause(WaveHandle handle) = 0;
  // Resumes after Pause; harmless when not paused.
  virtual WaveResult Restart(WaveHandle handle) = 0;
  virtual WaveResult GetPosition(WaveHandle handle, WavePosition* position) = 0;
  // The stream's health (see WaveHealth); kWaveInvalidHandle once it is closed.
  virtual WaveResult GetHealth(WaveHandle handle, WaveHealth* health) = 0;

  // Volume of a device (not of a handle), kWaveMapper included; see kWaveFullVolume. It is a
  // software gain applied to the frames of every stream on that device as they go out, so a
  // change is heard within about 100 ms even on pages queued long before; the system mixer is
  // never touched. The value stays for streams opened later on the same device number.
  virtual WaveResult SetVolume(int32_t device_id, uint32_t volume) = 0;
  virtual WaveResult GetVolume(int32_t device_id, uint32_t* volume) = 0;
};

}  // namespace platform
