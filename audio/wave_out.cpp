#include "audio/wave_out.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "audio/volume_curve.h"
#include "audio/wave_error.h"
#include "foundation/conversions.h"
#include "platform/wave_out_backend.h"

namespace audio {
namespace {

// Sets a busy flag for one member and puts back what it was, so a member called from inside
// another (FileName stopping a play) leaves the outer one still busy.
class BusyScope {
 public:
  explicit BusyScope(int32_t& flag) : flag_(flag), saved_(flag) { flag_ = 1; }
  ~BusyScope() { flag_ = saved_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int32_t& flag_;
  int32_t saved_;
};

// Pages of 256 frames upward: 2 s at 192 kHz and beyond stay far below this cap, which only
// keeps an absurd page length from asking for gigabytes.
constexpr int64_t kMaxPageBytes = int64_t{1} << 28;

}  // namespace

C_WaveOut::C_WaveOut(platform::LogSink& log, std::shared_ptr<platform::WaveOutDevice> device)
    : log_(log), c_Device(device ? std::move(device) : platform::CurrentWaveOut()) {}

C_WaveOut::~C_WaveOut() {
  EndMute();
  if (c_Playing != 0) StopIO(1);
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (c_hWave[o] == 0) continue;
    c_Device->Reset(c_hWave[o]);
    c_Device->Close(c_hWave[o]);
    c_hWave[o] = 0;
  }
  foundation::CloseFileHandle(c_FileHnd);
}

void C_WaveOut::SetExtDeviceID(int32_t pCh, int32_t pValue) {
  if (pCh >= 0 && pCh < kMaxOutputs) c_DeviceID[pCh] = pValue;
}

void C_WaveOut::LogWaveFailure(const char* call, const char* step, platform::WaveResult r) const {
  log_.Write(std::string(call) + " (" + step + ") Failed r=" + std::to_string(r) + " " + c_FileName,
             platform::LogSeverity::kError);
}

int32_t C_WaveOut::SamplesToMs(int64_t samples) const {
  if (c_Wave.SamplesPerSec <= 0) return 0;
  return foundation::NearestInt32Saturated(static_cast<double>(samples) / c_Wave.SamplesPerSec *
                                           1000.0);
}

int32_t C_WaveOut::MsToSamples(int64_t ms) const {
  return foundation::NearestInt32Saturated(c_Wave.SamplesPerSec / 1000.0 * static_cast<double>(ms));
}

void C_WaveOut::ZeroMeters() { std::fill(c_Meters.begin(), c_Meters.end(), PageMeters{}); }

void C_WaveOut::Init() {
  // The headers are remade below: nothing may stay queued on them.
  EndMute();
  if (c_Playing != 0) StopIO(1);
  c_FileLoaded = 0;
  ClearSampleArrays();
  // The page buffers are gone, so the next file is set up in full even with the same format.
  c_OpenFormat = {};
  c_NumPages = std::max(2, NumBufferPages);
  for (auto& headers : c_PageHeaders) headers.assign(c_NumPages, platform::WaveHeader{});
  c_LeadHeaders = {};
  c_PageState.assign(c_NumPages, PageState::kFree);
  c_PageSeq.assign(c_NumPages, -1);
  c_PageStart.assign(c_NumPages, -1);
  c_Meters.assign(c_NumPages, PageMeters{});
  if (NumDiskBufferPages < 1) NumDiskBufferPages = 1;
}

void C_WaveOut::UpdateLength() {
  const WaveInfo info = ReadWaveHeader(c_FileName);
  if (info.Valid == 1 && IsPcmFormat(info)) {
    c_Wave.LengthMS = info.LengthMS;
    c_Wave.Frames = info.Frames;
    c_Wave.DataBytes = info.DataBytes;
    c_PlayEnd = info.Frames;
    return;
  }
  // Nothing queued may outlive the file.
  if (c_Playing != 0) StopIO(1);
  c_FileLoaded = 0;
  c_Playing = 0;
  c_Wave.Frames = 0;
  c_Wave.LengthMS = 0;
  c_FileName.clear();
}

void C_WaveOut::SetFileName(const std::string& name) {
  EndMute();
  BusyScope busy(c_Busy);
  if (c_Playing == 1) StopIO(1);
  c_PlayFrom = 0;
  c_FromSample = 0;
  c_PlayEnd = c_Wave.Frames;
  const bool arraysReady = c_NumPages > 0 && static_cast<int32_t>(c_Pages.size()) == c_NumPages;
  if (!c_FileName.empty() && name == c_FileName && arraysReady) {
    c_FileLoaded = 1;
    return;
  }

  if (c_NumPages == 0) Init();
  c_FileName = name;
  c_FileLoaded = 0;
  c_PlayFrom = 0;
  c_PlayEnd = 0;
  c_FromSample = 0;
  foundation::CloseFileHandle(c_FileHnd);
  const WaveInfo info = ReadWaveHeader(name);
  int32_t lastOutput = 0;
  const platform::WaveFormat format = OutputFormat(info, &lastOutput);
  // Compressed audio in a RIFF wrapper would play as noise: PCM only. A format no output can
  // take is refused here, before pages are made to its measure.
  std::string refusal;
  if (info.Valid == 1) {
    refusal = IsPcmFormat(info) ? platform::WaveFormatProblem(format)
                                : "format tag " + std::to_string(info.FormatTag) + " is not PCM";
  }
  if (info.Valid != 1 || !refusal.empty()) {
    c_Playing = 0;
    if (!name.empty()) {
      log_.Write("C_WaveOut Let FileName Fail " + name, platform::LogSeverity::kError);
      if (!refusal.empty()) {
        log_.Write("C_WaveOut FileName no output plays " + refusal + " " + name,
                   platform::LogSeverity::kError);
      }
    }
    c_FileName.clear();
    return;
  }

  c_PlayEnd = info.Frames;
  c_DiskFilled = false;
  c_DiskFirst = 0;
  c_DiskLast = 0;

  if (NoClose == 1 && info.SamplesPerSec != 0 && info.SamplesPerSec == c_OpenFormat.rate &&
      info.BitsPerSample == c_OpenFormat.bits && info.Channels == c_OpenFormat.channels &&
      arraysReady) {
    c_Wave = info;
    c_FileLoaded = 1;
    return;
  }

  if (c_OpenFormat.channels != 0) ClearSampleArrays();
  c_Wave = info;
  c_OpenFormat = {info.SamplesPerSec, info.BitsPerSample, info.Channels};
  for (int32_t o = 0; o < kMaxOutputs; ++o) CloseOutput(o, "Filename");
  c_LastOutput = lastOutput;
  c_Format = format;

  // Pages are whole multiples of 256 frames, at least one such block whatever the page length.
  int64_t frames = foundation::NearestInt32Saturated(static_cast<double>(info.SamplesPerSec) *
                                                     BufferPagemsec / 1000.0);
  frames = std::clamp<int64_t>(frames, 0, kMaxPageBytes / std::max(1, info.BlockAlign));
  frames -= frames % 256;
  c_PageFrames = static_cast<int32_t>(std::max<int64_t>(256, frames));
  c_PagesPerCall = std::max(1, (info.SamplesPerSec / c_PageFrames) / 3);
  NumBufferToPlay = std::clamp(NumBufferToPlay, 2, c_NumPages);

  try {
    MakeSampleArrays();
  } catch (const std::bad_alloc&) {
    log_.Write("C_WaveOut Let FileName Fail " + name, platform::LogSeverity::kError);
    ClearSampleArrays();
    c_OpenFormat = {};
    c_FileName.clear();
    return;
  }
  c_FileLoaded = 1;
}

platform::WaveFormat C_WaveOut::OutputFormat(const WaveInfo& info, int32_t* lastOutput) const {
  const int32_t channels = info.Channels;
  platform::WaveFormat format;
  if (UseExtensible == 0 || channels < 3) {
    *lastOutput = channels == 6 ? 2 : channels == 8 ? 3 : 0;
    format.format_tag = platform::kWaveFormatPcm;
    format.channels = static_cast<uint16_t>(channels > 1 ? 2 : 1);
  } else {
    *lastOutput = 0;
    format.format_tag = platform::kWaveFormatExtensible;
    format.channels = static_cast<uint16_t>(channels);
    format.valid_bits_per_sample = static_cast<uint16_t>(info.BitsPerSample);
    format.channel_mask = 0x3F;
    format.sub_format_pcm = true;
  }
  format.bits_per_sample = static_cast<uint16_t>(info.BitsPerSample);
  format.samples_per_sec = static_cast<uint32_t>(info.SamplesPerSec);
  format.block_align = static_cast<uint16_t>(format.channels * info.BitsPerSample / 8);
  format.avg_bytes_per_sec = format.samples_per_sec * format.block_align;
  return format;
}

void C_WaveOut::CloseOutput(int32_t output, const char* step) {
  if (c_hWave[output] == 0) return;
  const platform::WaveResult r = c_Device->Close(c_hWave[output]);
  if (r != platform::kWaveNoError) LogWaveFailure("waveOutClose", step, r);
  c_hWave[output] = 0;
}

bool C_WaveOut::Play() {
  EndMute();
  BusyScope busy(c_Busy);
  struct RestartingScope {
    int32_t& flag;
    ~RestartingScope() { flag = 0; }
  } restarting{c_Restarting};

  if (c_Playing == 1) {
    c_Restarting = 1;
    StopIO(1);
  }
  if (c_FileLoaded == 0) return false;

  // A changed device number opens every output anew (none left behind open); so does a device
  // that failed, which would otherwise take the pages of every play to come without a sound.
  bool deviceChanged = false;
  for (int32_t o = 0; o <= c_LastOutput; ++o) {
    if (c_hWave[o] != 0 && (c_DeviceID[o] != c_OpenDeviceID[o] || OutputFailed(o))) {
      deviceChanged = true;
    }
  }
  if (deviceChanged) {
    for (int32_t o = 0; o < kMaxOutputs; ++o) CloseOutput(o, "Start1");
  }

  std::array<bool, kMaxOutputs> openedHere{};
  if (!(c_hWave[0] != 0 && NoClose == 1)) {
    for (int32_t o = 0; o <= c_LastOutput; ++o) {
      CloseOutput(o, "Start1");
      platform::WaveHandle handle = 0;
      const platform::WaveResult r = c_Device->Open(&handle, c_DeviceID[o], c_Format);
      c_Health[o] = c_HealthLogged[o] = {};
      if (r != platform::kWaveNoError || handle == 0 || handle == HaitahWave) {
        if (handle != 0) {
          c_hWave[o] = handle;
          openedHere[o] = true;
        }
        NotifyWaveError(log_, r);
        AbandonPlay(openedHere);
        return false;
      }
      c_hWave[o] = handle;
      openedHere[o] = true;
      c_OpenDeviceID[o] = c_DeviceID[o];
    }
  }

  // A start before the file's beginning plays from its first frame.
  c_PlayStart = c_NextSample = std::max(0, c_PlayFrom);
  c_CurrentPage = c_LastPage = c_NextSeq = 0;

  const uint32_t pageBytes = OutputBlockAlign() * static_cast<uint32_t>(c_PageFrames);
  for (int32_t o = 0; o <= c_LastOutput; ++o) {
    for (int32_t p = 0; p < c_NumPages; ++p) {
      platform::WaveHeader& header = c_PageHeaders[o][p];
      header.buffer_length = pageBytes;
      header.loops = 0;
      const platform::WaveResult r = c_Device->PrepareHeader(c_hWave[o], &header);
      if (r != platform::kWaveNoError) LogWaveFailure("waveOutPrepareHeader", "Start1", r);
    }
  }
  std::fill(c_PageState.begin(), c_PageState.end(), PageState::kFree);
  std::fill(c_PageStart.begin(), c_PageStart.end(), -1);
  std::fill(c_PageSeq.begin(), c_PageSeq.end(), -1);

  if (DelayMS > 0 && c_LeadBytes > 0) {
    for (int32_t o = 0; o <= c_LastOutput; ++o) {
      platform::WaveHeader& lead = c_LeadHeaders[o];
      lead = c_PageHeaders[o][0];
      lead.flags.store(0);
      lead.data = c_SilenceLine.data();
      lead.buffer_length = c_LeadBytes;
      const platform::WaveResult r = c_Device->PrepareHeader(c_hWave[o], &lead);
      if (r != platform::kWaveNoError) LogWaveFailure("waveOutPrepareHeader", "Start mute", r);
    }
    for (int32_t o = 0; o <= c_LastOutput; ++o) WritePage(o, c_LeadHeaders[o], "Start mute");
  }

  const int32_t toPlay = std::clamp(NumBufferToPlay, 1, c_NumPages);
  for (int32_t i = 0; i < toPlay; ++i) {
    if (!AddPlayBuffer(i, c_NextSample, NumBufferToPlay <= 2 ? 1 : 0, 0)) {
      log_.Write("C_WaveOut AddPlayBuffer(Start) Failed " + c_FileName,
                 platform::LogSeverity::kError);
      AbandonPlay(openedHere);
      return false;
    }
    c_LastPage = i;
    c_NextSample = static_cast<int32_t>(std::min<int64_t>(int64_t{c_NextSample} + c_PageFrames,
                                                          std::numeric_limits<int32_t>::max()));
    if (c_NextSample >= c_PlayEnd) {
      if (LoopOn != 1) break;
      c_NextSample = c_LoopStart;
    }
  }

  for (int32_t p = 0; p <= c_LastPage; ++p) {
    for (int32_t o = 0; o <= c_LastOutput; ++o) WritePage(o, c_PageHeaders[o][p], "Start1");
  }
  c_Playing = 1;
  return true;
}

void C_WaveOut::AbandonPlay(const std::array<bool, kMaxOutputs>& openedHere) {
  foundation::CloseFileHandle(c_FileHnd);
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (c_hWave[o] != 0) c_Device->Reset(c_hWave[o]);
  }
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    for (platform::WaveHeader& header : c_PageHeaders[o]) {
      if (c_hWave[o] != 0) c_Device->UnprepareHeader(c_hWave[o], &header);
      header.flags.store(0);
    }
    c_LeadHeaders[o].flags.store(0);
  }
  std::fill(c_PageState.begin(), c_PageState.end(), PageState::kFree);
  std::fill(c_PageStart.begin(), c_PageStart.end(), -1);
  std::fill(c_PageSeq.begin(), c_PageSeq.end(), -1);
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (openedHere[o]) CloseOutput(o, "Start1");
  }
}

void C_WaveOut::WritePage(int32_t output, platform::WaveHeader& header, const char* step) {
  const platform::WaveResult r = c_Device->Write(c_hWave[output], &header);
  if (r == platform::kWaveNoError) return;
  LogWaveFailure("waveOutWrite", step, r);
  header.flags.fetch_or(platform::kWaveHeaderDone);
}

void C_WaveOut::Pause() {
  if (c_Busy == 1) return;
  const bool resume = c_Paused != 0;
  for (int32_t o = 0; o <= c_LastOutput; ++o) {
    if (c_hWave[o] == 0) continue;
    if (resume) {
      c_Device->Restart(c_hWave[o]);
    } else {
      c_Device->Pause(c_hWave[o]);
    }
  }
  c_Paused = resume ? 0 : 1;
}

platform::WaveHandle C_WaveOut::hWave(int32_t pDev) const {
  return pDev >= 0 && pDev < kMaxOutputs ? c_hWave[pDev] : 0;
}

int32_t C_WaveOut::Peak(int32_t pCh) const {
  if (UsePeakVol == 0 || pCh < 0 || pCh > 7) return 0;
  if (c_CurrentPage < 0 || c_CurrentPage >= static_cast<int32_t>(c_Meters.size())) return 0;
  return c_Meters[c_CurrentPage].Peak[pCh];
}

int32_t C_WaveOut::RMS(int32_t pCh) const {
  if (UsePeakVol == 0 || pCh < 0 || pCh > 7) return 0;
  if (c_CurrentPage < 0 || c_CurrentPage >= static_cast<int32_t>(c_Meters.size())) return 0;
  return c_Meters[c_CurrentPage].RMS[pCh];
}

int32_t C_WaveOut::FromMS() const { return SamplesToMs(c_FromSample); }

void C_WaveOut::SetFromMS(int32_t ms) {
  if (c_Busy == 1) return;
  c_PlayFrom = c_FromSample = MsToSamples(ms);
}

int32_t C_WaveOut::ToMS() const { return SamplesToMs(c_PlayEnd); }

void C_WaveOut::SetToMS(int32_t ms) {
  if (c_Busy == 1) return;
  SetToSample(MsToSamples(ms));
}

void C_WaveOut::SetFromSample(int32_t value) {
  if (c_Busy == 1) return;
  c_PlayFrom = c_FromSample = std::min(value, c_Wave.Frames);
}

void C_WaveOut::SetToSample(int32_t value) {
  if (c_Busy == 1) return;
  c_PlayEnd = (value == 0 || value > c_Wave.Frames) ? c_Wave.Frames : value;
}

void C_WaveOut::SetStbyPoint(int32_t value) {
  if (c_Busy == 1) return;
  // A loop point before the file's start would read the header as audio.
  c_LoopStart = std::clamp(value, 0, std::max(0, c_Wave.Frames));
}

void C_WaveOut::SetLoopOn(int32_t value) {
  if (c_Busy == 1) return;
  LoopOn = value;
}

void C_WaveOut::SetAttenuation(int32_t value) {
  if (c_Busy == 1) return;
  int32_t v = std::min(value, 0);
  v = std::max(v, c_VolMinLevel);
  c_Attenuation = v;
  const double range = std::abs(static_cast<double>(c_VolMinLevel));
  const float ratio =
      range > 0 ? static_cast<float>((v - static_cast<double>(c_VolMinLevel)) / range) : 1.0f;
  const float gain = VolumeCurveGain(ratio);
  if (UseMixer == 0) {
    c_Gain = gain;
    UpdatePanGains();
    return;
  }
  const int64_t m = std::clamp<int64_t>(static_cast<int64_t>(std::floor(gain * 65535.0)), 0, 65535);
  const uint32_t volume = static_cast<uint32_t>(m * 0x10000 + m);
  for (int32_t o = 0; o <= c_LastOutput; ++o) c_Device->SetVolume(c_DeviceID[o], volume);
}

void C_WaveOut::SetPanValue(int32_t value) {
  c_PanValue = value;
  UpdatePanGains();
}

void C_WaveOut::UpdatePanGains() {
  const int32_t p = c_PanValue;
  c_PanGain = {c_Gain, c_Gain};
  if (p < 0) {
    c_PanGain[1] = p == -10000
                       ? 0.0f
                       : static_cast<float>(c_Gain * foundation::DbToGain(p / -10000.0 * -60.0));
  } else if (p > 0) {
    c_PanGain[0] =
        p == 10000 ? 0.0f : static_cast<float>(c_Gain * foundation::DbToGain(p / 10000.0 * -60.0));
  }
}

int32_t C_WaveOut::Position(int32_t pMode) {
  if (c_FileLoaded != 1) return 0;
  int64_t pos = 0;
  if (c_Playing == 0) {
    if (c_Restarting != 1) return 0;
    pos = c_PlayFrom;
  } else if (c_WhileMute == 1) {
    switch (pMode) {
      case 0:
        return SamplesToMs(c_Wave.Frames);
      case 1:
        return 0;
      case 2:
        return SamplesToMs(c_PlayEnd);
      case 3:
        return SamplesToMs(c_FromSample);
      default:
        return 0;
    }
  } else {
    platform::WavePosition played;
    c_Device->GetPosition(c_hWave[0], &played);
    pos = c_PlayStart + static_cast<int64_t>(std::min<uint64_t>(played.frames, INT32_MAX));
    const int64_t span = int64_t{c_PlayEnd} - c_LoopStart;
    if (LoopOn != 0 && span > 0 && pos > c_PlayEnd) {
      pos -= (pos - c_PlayEnd + span - 1) / span * span;
    }
  }
  switch (pMode) {
    case 0:
      return SamplesToMs(pos);
    case 1:
      return SamplesToMs(c_Wave.Frames - pos);
    case 2:
      return SamplesToMs(c_PlayEnd - pos);
    case 3:
      return SamplesToMs(c_FromSample + pos);
    default:
      return 0;
  }
}

int32_t C_WaveOut::mode() {
  if (c_Paused != 0) return kModePaused;
  if (c_Playing != 0 || c_Restarting == 1) return kModePlaying;
  return kModeStopped;
}

}  // namespace audio
