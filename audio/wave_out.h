#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/player.h"
#include "audio/sample_processing.h"
#include "audio/wave_header.h"
#include "foundation/file_handles.h"
#include "platform/log_sink.h"
#include "platform/wave_out_device.h"

namespace audio {

// Plays one PCM RIFF WAVE file at a time through the wave output device. Up to four outputs are
// opened (six- and eight-channel files are split into stereo pairs unless UseExtensible is set);
// each keeps a ring of pages that the owner refills by polling ProgressionPlay from its tick.
// Attenuation goes either to the device volume (UseMixer 1) or to a software gain with pan;
// peak and RMS are measured per page when the software path runs.
//
// Property reads carry the property's name, writes are Set<Name> (see Player). Every member is
// called on one thread (the UI thread) and never throws; failures go to the log as error
// lines and show as results (Play false, an empty FileName). What the outputs report of their
// health (underruns, a failed device, dropped frames) is read on every poll and a change goes
// to the log as it happens.
//
// Fields keep the system's names. Where a field is the stored value of a property of the same
// name, it is c_<Name> (c_Attenuation, c_VolMinLevel, c_WhileMute, c_PanValue).
class C_WaveOut final : public Player {
 public:
  // Writes its lines to `log` and plays through `device`; null takes the process's device
  // (platform::CurrentWaveOut()).
  explicit C_WaveOut(platform::LogSink& log,
                     std::shared_ptr<platform::WaveOutDevice> device = nullptr);
  // Stops at once and closes every output, whatever NoClose says.
  ~C_WaveOut() override;
  C_WaveOut(const C_WaveOut&) = delete;
  C_WaveOut& operator=(const C_WaveOut&) = delete;

  // ---- set-up -----------------------------------------------------------------------------
  // 1: six- and eight-channel files open one output with the extensible format.
  void SetUseExtensible(int32_t value) { UseExtensible = value; }
  // 1: Attenuation sets the device volume of every output instead of the software gain.
  void SetUseMixer(int32_t value) { UseMixer = value; }
  // 1: software gain, pan and metering run for mono and stereo files too.
  void SetUsePeakVol(int32_t value) { UsePeakVol = value; }
  int32_t VolMinLevel() const { return c_VolMinLevel; }
  void SetVolMinLevel(int32_t value) override { c_VolMinLevel = value; }
  // Device number of output 0 (-1 = the default device).
  int32_t DeviceID() const { return c_DeviceID[0]; }
  void SetDeviceID(int32_t value) { c_DeviceID[0] = value; }
  // Device number of output pCh (0 to 3; others are ignored).
  void SetExtDeviceID(int32_t pCh, int32_t pValue);
  // Sizes taken by Init (pages) and FileName (page length).
  void SetBufferPagemsec(int32_t value) { BufferPagemsec = value; }
  void SetNumBufferPages(int32_t value) { NumBufferPages = value < 2 ? 2 : value; }
  void SetNumDiskBufferPages(int32_t value) { NumDiskBufferPages = value; }
  void SetNumBufferToPlay(int32_t value) { NumBufferToPlay = value; }
  // A handle value no output may take (an open giving it fails like a refused open).
  void SetHaitahWave(platform::WaveHandle value) { HaitahWave = value; }
  // 1: StopIO leaves the outputs open and a file of the same format reuses them.
  void SetNoClose(int32_t value) { NoClose = value; }
  // Silence played by a normal stop before the reset; leading silence before the audio.
  void SetMuteMS(int32_t value) { MuteMS = value; }
  void SetDelayMS(int32_t value) { DelayMS = value; }
  // 1 ends a running stop silence at the next poll (or at once from the MuteTick handler).
  void SetCancelMute(int32_t value) { CancelMute = value; }
  // 1 while StopIO's closing silence runs.
  int32_t WhileMute() const { return c_WhileMute; }
  // Raised every 10 ms of the closing silence, from inside the poll (ProgressionPlay) that
  // finds them passed.
  void SetMuteTick(std::function<void()> handler) { MuteTick = std::move(handler); }

  // Builds the page ring for NumBufferPages pages and unloads the file; stops first (at once)
  // when playing, so no page held by a device is ever freed.
  void Init() override;
  // Re-reads the loaded file's header: a valid file updates Length, Frames and the end point;
  // anything else empties the player.
  void UpdateLength();

  // ---- per item ---------------------------------------------------------------------------
  std::string FileName() const override { return c_FileName; }
  // Loads a file (stops a running play, or ends a closing silence, first). A file that is not
  // a PCM wave whose format an output can take (rate, channels, sample width) leaves the
  // player empty with an empty name and the line "C_WaveOut Let FileName Fail <name>"; a
  // header that was read but refused adds a line with the reason.
  void SetFileName(const std::string& name) override;
  // True only when pages were queued on every output. A failure leaves nothing queued and
  // closes the outputs this call opened. A running closing silence ends first; an output whose
  // device failed is opened anew, NoClose or not.
  bool Play() override;
  // Handle of output pDev, 0 when not open.
  platform::WaveHandle hWave(int32_t pDev = 0) const;
  int32_t Freq() const { return c_Wave.SamplesPerSec; }
  void Pause() override;
  // pNoMute 1: stops at once. pNoMute 0 (with MuteMS above 0): the outputs play MuteMS of
  // silence before the reset, without holding this thread: StopIO queues the silence and
  // returns with the player still busy (WhileMute 1, mode 3, Position as for the silence);
  // the owner's polls (ProgressionPlay) raise MuteTick and finish the stop once MuteMS have
  // passed or CancelMute is 1. Until then the setters that check c_Busy, Pause and the feed do
  // nothing; FileName, Play, Init, CloseWave and StopIO(1) finish the stop at once and go on;
  // another StopIO(0) lets the silence run on.
  void StopIO(int32_t pNoMute = 0) override;
  // Stops at once (a closing silence would need polls that no longer come) and releases the
  // file and the page ring. With NoClose 1 the outputs stay open.
  void CloseWave() override;
  // The owner's poll (every 50 ms): reads the outputs' health, runs a closing silence on,
  // refills finished pages and stops (with the closing silence) once the range has been
  // played. 0, or -1 when nothing was playing.
  int32_t ProgressionPlay();
  // Health of output pDev (0 to 3) as the last poll or stop read it; it stays after the
  // output closes, until the output is opened again. All zero for an output never opened.
  platform::WaveHealth Health(int32_t pDev = 0) const;
  // Meter of channel pCh (0 to 7) for the page sounding now, 0 to 128; 0 unless UsePeakVol.
  int32_t Peak(int32_t pCh) const;
  int32_t RMS(int32_t pCh) const;

  int32_t FromMS() const override;
  void SetFromMS(int32_t ms) override;
  int32_t ToMS() const override;
  void SetToMS(int32_t ms) override;
  int32_t FromSample() const { return c_FromSample; }
  void SetFromSample(int32_t value);
  int32_t ToSample() const { return c_PlayEnd; }
  void SetToSample(int32_t value);
  // Loop-back point used when LoopOn is 1.
  void SetStbyPoint(int32_t value);
  void SetLoopOn(int32_t value);
  int32_t Length() const override { return c_Wave.LengthMS; }
  // Kept between VolMinLevel and 0; reads back the value stored.
  int32_t Attenuation() override { return c_Attenuation; }
  void SetAttenuation(int32_t value) override;
  int32_t PanValue() override { return c_PanValue; }
  void SetPanValue(int32_t value) override;
  // ms: 0 elapsed position, 1 to the end of the file, 2 to the end point, 3 start + position.
  int32_t Position(int32_t pMode = 0) override;
  // See PlayMode.
  int32_t mode() override;

 private:
  static constexpr int32_t kMaxOutputs = 4;

  // What ProgPlay answers when it answers no page index (>= 0).
  enum FeedResult : int32_t {
    kFeedGoesOn = -1,      // playback goes on
    kFeedNotPlaying = -2,  // nothing is playing
    kFeedEndQueued = -3,   // the end of the range is reached; a filled page is still queued
    kFeedEnded = -4,       // the end is reached and every filled page has been played
  };
  // A page of the ring.
  enum class PageState : int32_t {
    kFree = 0,    // free to fill
    kQueued = 1,  // filled and queued on every output
  };

  // Page ring and feed (wave_out_feed.cpp).
  int32_t ProgPlay();
  bool AddPlayBuffer(int32_t page, int32_t pFrom, int32_t pDirect, int32_t pIgnoreReadError);
  bool ReadBufferToMem(uint8_t* destination, int64_t byteCount, int64_t offset);
  // Reads the page's frames from the file; false on a failed read (the bytes not read are
  // silence either way).
  bool ReadPageFrames(int32_t page, int32_t pFrom, int32_t frames, int32_t pDirect);
  void ClearSampleArrays();
  // Makes the page, split and silence buffers for the loaded format and points every output's
  // headers at them.
  void MakeSampleArrays();
  int32_t OutputCount() const { return c_LastOutput + 1; }
  uint32_t OutputBlockAlign() const { return c_Format.block_align; }
  // The byte of silence: 8-bit samples are unsigned, centred on 128.
  uint8_t SilenceByte() const { return c_Wave.BitsPerSample == 8 ? 0x80 : 0x00; }

  // Queues a page on one output. A refused write is logged with `step` and the header marked
  // done: no device holds it, so nothing may wait for it.
  void WritePage(int32_t output, platform::WaveHeader& header, const char* step);
  // Reads the health of every open output. A new underrun or failure is logged at once; with
  // `stopping`, so are frames dropped since the last line.
  void ReadOutputHealth(bool stopping);
  // True when the device of `output` reports the stream failed.
  bool OutputFailed(int32_t output);

  // The stop (wave_out_stop.cpp).
  // Resets the outputs and queues the closing silence; false when no output is open (nothing
  // to wait for).
  bool StartMute(int32_t muteLength);
  // The waits of the closing silence that have passed by the clock, then the end of the stop
  // when its time is up or CancelMute is 1.
  void RunMute();
  // Finishes a stop whose silence is running (nothing otherwise): what StopIO does after the
  // wait, and the player is no longer busy.
  void EndMute();
  // The rest of a stop: with `releasePages` every output is reset and the pages freed; then the
  // outputs close unless NoClose is 1 and the player is stopped.
  void FinishStop(bool releasePages);
  void ResetAllOutputs(const char* step);

  // Player (wave_out.cpp).
  void UpdatePanGains();
  // The format every output opens with for `info`, and the index of the last output in use.
  platform::WaveFormat OutputFormat(const WaveInfo& info, int32_t* lastOutput) const;
  void CloseOutput(int32_t output, const char* step);
  // Undoes a Play that failed part-way: nothing stays queued and the outputs it opened close.
  void AbandonPlay(const std::array<bool, kMaxOutputs>& openedHere);
  void LogWaveFailure(const char* call, const char* step, platform::WaveResult r) const;
  int32_t SamplesToMs(int64_t samples) const;
  int32_t MsToSamples(int64_t ms) const;
  void ZeroMeters();

  platform::LogSink& log_;
  std::shared_ptr<platform::WaveOutDevice> c_Device;

  std::array<int32_t, kMaxOutputs> c_DeviceID{-1, 0, 0, 0};
  std::array<int32_t, kMaxOutputs> c_OpenDeviceID{};
  std::array<platform::WaveHandle, kMaxOutputs> c_hWave{};
  int32_t c_LastOutput = 0;
  int32_t UseExtensible = 0;
  int32_t UseMixer = 0;
  int32_t UsePeakVol = 0;
  int32_t NoClose = 0;
  int32_t LoopOn = 0;
  int32_t c_VolMinLevel = -4000;
  int32_t BufferPagemsec = 200;
  int32_t NumBufferPages = 7;
  int32_t NumDiskBufferPages = 0;
  int32_t NumBufferToPlay = 2;
  platform::WaveHandle HaitahWave = 0;
  int32_t MuteMS = 0;
  int32_t DelayMS = 0;
  int32_t CancelMute = 0;
  int32_t c_WhileMute = 0;
  int32_t c_MuteTicks = 0;
  std::function<void()> MuteTick;
  // The running closing silence: its length, when it began (monotonic ms) and the 1 ms waits
  // counted so far.
  int32_t c_MuteLength = 0;
  int64_t c_MuteStart = 0;
  int32_t c_MutePasses = 0;
  // Per output: the health as last read, and as last written to the log.
  std::array<platform::WaveHealth, kMaxOutputs> c_Health{};
  std::array<platform::WaveHealth, kMaxOutputs> c_HealthLogged{};

  WaveInfo c_Wave;
  struct OpenFormat {
    int32_t rate = 0;
    int16_t bits = 0;
    int16_t channels = 0;
  } c_OpenFormat;
  platform::WaveFormat c_Format;
  std::string c_FileName;
  foundation::FileHandleId c_FileHnd = 0;
  int32_t c_FileLoaded = 0;
  int32_t c_PlayFrom = 0;
  int32_t c_FromSample = 0;
  int32_t c_PlayEnd = 0;
  int32_t c_LoopStart = 0;
  int32_t c_Playing = 0;
  int32_t c_Paused = 0;
  int32_t c_PlayStart = 0;
  int32_t c_NextSample = 0;
  int32_t c_Busy = 0;
  int32_t c_Restarting = 0;
  int32_t c_Attenuation = 0;
  float c_Gain = 1.0f;
  std::array<float, 2> c_PanGain{1.0f, 1.0f};
  int32_t c_PanValue = 0;

  // The ring: its size is fixed by Init (NumBufferPages at that time).
  int32_t c_NumPages = 0;
  std::array<std::vector<platform::WaveHeader>, kMaxOutputs> c_PageHeaders;
  std::array<platform::WaveHeader, kMaxOutputs> c_LeadHeaders;
  std::vector<PageState> c_PageState;
  std::vector<int32_t> c_PageSeq;
  std::vector<int32_t> c_PageStart;
  std::vector<PageMeters> c_Meters;
  int32_t c_NextSeq = 0;
  int32_t c_PageFrames = 0;
  int32_t c_PagesPerCall = 1;
  int32_t c_LastPage = 0;
  int32_t c_CurrentPage = 0;
  // One buffer per page holding the file's frames; for split layouts one more per page and
  // output holding that output's channel pair.
  std::vector<std::vector<uint8_t>> c_Pages;
  std::vector<std::array<std::vector<uint8_t>, kMaxOutputs>> c_SplitPages;
  bool c_SplitLayout = false;
  // Zeros for the leading silence (DelayMS), sized when a file is loaded, and the bytes of it
  // each output plays.
  std::vector<uint8_t> c_SilenceLine;
  uint32_t c_LeadBytes = 0;
  // Read-ahead buffer and the file offsets of its first and last byte.
  std::vector<uint8_t> c_DiskBuffer;
  int64_t c_DiskFirst = 0;
  int64_t c_DiskLast = 0;
  bool c_DiskFilled = false;
};

}  // namespace audio
