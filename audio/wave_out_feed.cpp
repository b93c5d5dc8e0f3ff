// The page ring of C_WaveOut: buffers per format, the owner's poll and the page filler.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "audio/wave_out.h"
#include "foundation/conversions.h"
#include "foundation/debug_log.h"

namespace audio {

void C_WaveOut::MakeSampleArrays() {
  const size_t pageBytes = static_cast<size_t>(c_PageFrames) * c_Wave.BlockAlign;
  const size_t outputBytes = static_cast<size_t>(c_PageFrames) * OutputBlockAlign();
  c_SplitLayout = c_Wave.Channels > 2 && UseExtensible == 0;
  c_Pages.assign(c_NumPages, std::vector<uint8_t>(pageBytes));
  c_SplitPages.clear();
  if (c_SplitLayout) {
    c_SplitPages.resize(c_NumPages);
    for (auto& split : c_SplitPages) {
      for (int32_t o = 0; o <= c_LastOutput; ++o) split[o].assign(outputBytes, 0);
    }
  }
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    for (int32_t p = 0; p < c_NumPages; ++p) {
      platform::WaveHeader& header = c_PageHeaders[o][p];
      header.flags.store(0);
      header.loops = 0;
      if (o > c_LastOutput) {
        header.data = nullptr;
        header.buffer_length = 0;
        continue;
      }
      header.data = c_SplitLayout ? c_SplitPages[p][o].data() : c_Pages[p].data();
      header.buffer_length = static_cast<uint32_t>(outputBytes);
    }
  }

  // The leading silence is made to measure, so no length of DelayMS reads past it.
  c_LeadBytes = 0;
  c_SilenceLine.clear();
  if (DelayMS > 0) {
    const int32_t bytes = foundation::NearestInt32Saturated(
        DelayMS / 1000.0 * c_Wave.SamplesPerSec * OutputBlockAlign());
    c_LeadBytes = static_cast<uint32_t>(std::clamp(bytes, 0, 1 << 30));
    c_SilenceLine.assign(c_LeadBytes, SilenceByte());
  }
}

void C_WaveOut::ClearSampleArrays() {
  for (auto& headers : c_PageHeaders) {
    for (platform::WaveHeader& header : headers) {
      header.data = nullptr;
      header.buffer_length = 0;
    }
  }
  c_SplitPages.clear();
  c_Pages.clear();
  c_SilenceLine.clear();
  c_LeadBytes = 0;
}

int32_t C_WaveOut::ProgressionPlay() {
  if (c_Playing == 1) ReadOutputHealth(false);
  // The pass keeps a closing silence going: it does the waiting StopIO did not do.
  if (c_WhileMute == 1) {
    RunMute();
    return 0;
  }
  if (c_Playing != 1 || c_Busy == 1) return 0;
  const int32_t r = ProgPlay();
  if (r == kFeedEnded || r == kFeedNotPlaying) {
    StopIO(0);
    c_PlayStart = 0;
    c_NextSample = 0;
    c_PlayFrom = 0;
    return r == kFeedNotPlaying ? -1 : 0;
  }
  return 0;
}

void C_WaveOut::ReadOutputHealth(bool stopping) {
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (c_hWave[o] == 0) continue;
    platform::WaveHealth now;
    if (c_Device->GetHealth(c_hWave[o], &now) != platform::kWaveNoError) continue;
    c_Health[o] = now;
    const platform::WaveHealth& logged = c_HealthLogged[o];
    const bool news = now.underruns != logged.underruns || now.failed != logged.failed;
    if (!news && !(stopping && now.dropped_frames != logged.dropped_frames)) continue;
    c_HealthLogged[o] = now;
    platform::WaveDeviceCaps caps;
    c_Device->GetDevCaps(c_OpenDeviceID[o], &caps);
    log_.Write("C_WaveOut Output " + std::to_string(o) + " (" + caps.name + ")" +
                   (now.failed ? " device failed," : "") + " underruns " +
                   std::to_string(now.underruns) + " dropped frames " +
                   std::to_string(now.dropped_frames) + " " + c_FileName,
               platform::LogSeverity::kError);
  }
}

bool C_WaveOut::OutputFailed(int32_t output) {
  platform::WaveHealth health;
  return c_hWave[output] != 0 &&
         c_Device->GetHealth(c_hWave[output], &health) == platform::kWaveNoError && health.failed;
}

platform::WaveHealth C_WaveOut::Health(int32_t pDev) const {
  return pDev >= 0 && pDev < kMaxOutputs ? c_Health[pDev] : platform::WaveHealth{};
}

int32_t C_WaveOut::ProgPlay() {
  if (c_Playing != 1) {
    log_.Write("C_WaveOut ProgPlay error", platform::LogSeverity::kError);
    return kFeedNotPlaying;
  }
  if (c_NumPages < 1 || c_Pages.empty()) return kFeedNotPlaying;

  // The page sounding now: the oldest one output 0 has not finished.
  int32_t current = -1;
  for (int32_t p = 0; p < c_NumPages; ++p) {
    if (c_PageHeaders[0][p].done() || c_PageSeq[p] == -1 || c_PageSeq[p] >= c_NextSeq) continue;
    if (current < 0 || c_PageSeq[p] < c_PageSeq[current]) current = p;
  }
  if (current >= 0) c_CurrentPage = current;

  bool endReached = false;
  bool pending = false;
  int32_t filled = 0;
  int32_t lastFilled = -1;
  int32_t earlierFilled = -1;
  int32_t p = c_LastPage;
  for (int32_t n = 0; n < c_NumPages; ++n) {
    p = (p + 1) % c_NumPages;
    int32_t doneCount = 0;
    for (int32_t o = 0; o <= c_LastOutput; ++o) {
      if (c_PageHeaders[o][p].done()) ++doneCount;
    }
    if (c_PageState[p] != PageState::kFree && doneCount < OutputCount()) {
      if (c_PageState[p] == PageState::kQueued) pending = true;
      continue;
    }
    c_PageState[p] = PageState::kFree;
    c_PageStart[p] = -1;
    c_PageSeq[p] = -1;
    if (c_NextSample >= c_PlayEnd) {
      if (LoopOn == 0) {
        endReached = true;
        continue;
      }
      c_NextSample = c_LoopStart;
    }
    if (!AddPlayBuffer(p, c_NextSample, 0, 1)) {
      // Nothing playable for this page: queueing it would repeat its old audio. The range
      // ends here instead.
      log_.Write("C_WaveOut AddPlayBuffer Failed", platform::LogSeverity::kError);
      endReached = true;
      break;
    }
    for (int32_t o = 0; o <= c_LastOutput; ++o) WritePage(o, c_PageHeaders[o][p], "ProgPlay");
    // A page queued in this very call is still to be played.
    pending = true;
    c_NextSample = static_cast<int32_t>(std::min<int64_t>(int64_t{c_NextSample} + c_PageFrames,
                                                          std::numeric_limits<int32_t>::max()));
    c_LastPage = p;
    earlierFilled = lastFilled;
    lastFilled = p;
    if (++filled >= c_PagesPerCall) break;
  }

  if (earlierFilled >= 0) return earlierFilled;
  if (endReached) return pending ? kFeedEndQueued : kFeedEnded;
  return kFeedGoesOn;
}

bool C_WaveOut::AddPlayBuffer(int32_t page, int32_t pFrom, int32_t pDirect,
                              int32_t pIgnoreReadError) {
  if (c_FileLoaded == 0) {
    log_.Write("C_WaveOut AddPlayBuffer error c_FileLoaded = 0&", platform::LogSeverity::kError);
    return false;
  }
  if (page < 0 || page >= c_NumPages || page >= static_cast<int32_t>(c_Pages.size())) return false;
  c_Meters[page] = PageMeters{};

  int64_t lenToRead = c_PageFrames;
  if (int64_t{pFrom} > int64_t{c_PlayEnd} - c_PageFrames) lenToRead = int64_t{c_PlayEnd} - pFrom;
  if (lenToRead < 1 || pFrom < 0) {
    log_.Write("C_WaveOut AddPlayBuffer error LenToRead < 1& pl=" + std::to_string(page) +
                   " pFrom=" + std::to_string(pFrom) + " c_PlayEnd=" + std::to_string(c_PlayEnd),
               platform::LogSeverity::kError);
    return false;
  }
  const int32_t frames = static_cast<int32_t>(lenToRead);

  if (!ReadPageFrames(page, pFrom, frames, pDirect) && pIgnoreReadError == 0) return false;

  if (c_Wave.Channels > 2 || UsePeakVol != 0) {
    const PageGains gains{c_PanGain[0], c_PanGain[1], c_Gain};
    std::array<std::span<uint8_t>, kMaxOutputs> split;
    if (c_SplitLayout) {
      for (int32_t o = 0; o <= c_LastOutput; ++o) split[o] = c_SplitPages[page][o];
    }
    c_Meters[page] = ProcessPageSamples(c_Wave.SampleKind, c_Pages[page], frames, gains,
                                        !c_SplitLayout, std::span(split.data(), OutputCount()));
  }

  const uint32_t length = OutputBlockAlign() * static_cast<uint32_t>(frames);
  for (int32_t o = 0; o <= c_LastOutput; ++o) c_PageHeaders[o][page].buffer_length = length;
  c_PageState[page] = PageState::kQueued;
  c_PageStart[page] = pFrom;
  c_PageSeq[page] = c_NextSeq++;
  return true;
}

bool C_WaveOut::ReadPageFrames(int32_t page, int32_t pFrom, int32_t frames, int32_t pDirect) {
  std::vector<uint8_t>& buffer = c_Pages[page];
  const int64_t bytes =
      std::min<int64_t>(int64_t{frames} * c_Wave.BlockAlign, static_cast<int64_t>(buffer.size()));
  const int64_t offset = c_Wave.DataOffset + int64_t{pFrom} * c_Wave.BlockAlign;
  if (NumDiskBufferPages <= 1 || pDirect == 1) {
    int64_t got = 0;
    errno = 0;
    c_FileHnd = foundation::ReadFileToMemEx(buffer.data(), bytes, offset, c_FileHnd, c_FileName,
                                            false, &got);
    if (c_FileHnd == 0) {
      const std::string reason = foundation::GetWin32ErrorText(0);
      log_.Write("C_WaveOut ReadFileToMemEx Failed " + c_FileName + "#" + std::to_string(pFrom) +
                     "#" + reason,
                 platform::LogSeverity::kError);
      // What could not be read plays as silence, never as the page's earlier audio.
      std::fill_n(buffer.begin(), bytes, SilenceByte());
      return false;
    }
    if (got < bytes) {
      std::fill(buffer.begin() + std::max<int64_t>(got, 0), buffer.begin() + bytes, SilenceByte());
    }
    return true;
  }
  if (!ReadBufferToMem(buffer.data(), bytes, offset)) {
    log_.Write("C_WaveOut ReadBufferToMem Failed " + c_FileName + "#" + std::to_string(pFrom),
               platform::LogSeverity::kError);
    return false;
  }
  return true;
}

bool C_WaveOut::ReadBufferToMem(uint8_t* destination, int64_t byteCount, int64_t offset) {
  if (byteCount < 1) return true;
  const bool hit = c_DiskFilled && offset >= c_DiskFirst && offset <= c_DiskLast &&
                   offset + byteCount - 1 <= c_DiskLast;
  if (!hit) {
    const int64_t dataEnd = c_Wave.DataOffset + c_Wave.DataBytes;
    const int64_t size = std::min<int64_t>(
        int64_t{c_Wave.BlockAlign} * NumDiskBufferPages * c_PageFrames, dataEnd - offset);
    c_DiskFilled = false;
    if (size < 1) {
      std::memset(destination, SilenceByte(), static_cast<size_t>(byteCount));
      return false;
    }
    // Made once and reused: it only grows.
    if (static_cast<int64_t>(c_DiskBuffer.size()) < size) c_DiskBuffer.resize(size);
    int64_t got = 0;
    c_FileHnd = foundation::ReadFileToMemEx(c_DiskBuffer.data(), size, offset, c_FileHnd,
                                            c_FileName, false, &got);
    if (c_FileHnd == 0) {
      std::memset(destination, SilenceByte(), static_cast<size_t>(byteCount));
      return false;
    }
    if (got < size) {
      std::fill(c_DiskBuffer.begin() + std::max<int64_t>(got, 0), c_DiskBuffer.begin() + size,
                SilenceByte());
    }
    c_DiskFirst = offset;
    c_DiskLast = offset + size - 1;
    c_DiskFilled = true;
  }
  // Copy what the buffer holds; anything beyond it is silence.
  const int64_t index = offset - c_DiskFirst;
  const int64_t available = std::clamp<int64_t>(c_DiskLast - offset + 1, 0, byteCount);
  if (index >= 0 && available > 0) std::memcpy(destination, c_DiskBuffer.data() + index, available);
  if (available < byteCount) {
    std::memset(destination + available, SilenceByte(), byteCount - available);
  }
  return available == byteCount;
}

}  // namespace audio
