// The stop of C_WaveOut and its closing silence. The silence is not waited for here: StopIO
// queues it and the owner's polls finish the stop, so the thread that stops keeps its rhythm.
#include <algorithm>

#include "audio/wave_out.h"
#include "foundation/file_handles.h"
#include "platform/clock.h"

namespace audio {

void C_WaveOut::ResetAllOutputs(const char* step) {
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (c_hWave[o] == 0) continue;
    const platform::WaveResult r = c_Device->Reset(c_hWave[o]);
    if (r != platform::kWaveNoError) LogWaveFailure("waveOutReset", step, r);
  }
}

void C_WaveOut::StopIO(int32_t pNoMute) {
  if (c_WhileMute == 1) {
    // A stop is already under way: an immediate stop cuts its silence short, another stop with
    // silence lets it run on.
    if (pNoMute != 0) EndMute();
    return;
  }
  // Busy while it runs; a stop inside FileName or Play leaves them busy when it returns.
  const int32_t wasBusy = c_Busy;
  c_Busy = 1;
  foundation::CloseFileHandle(c_FileHnd);
  const int32_t muteLength = pNoMute == 0 ? MuteMS : 0;
  if (c_Wave.Frames < 1) {
    ResetAllOutputs("StopIO2");
    FinishStop(false);
  } else if (muteLength > 0 && StartMute(muteLength)) {
    return;  // busy until the polls end the silence (EndMute)
  } else {
    FinishStop(true);
  }
  c_Busy = wasBusy;
}

bool C_WaveOut::StartMute(int32_t muteLength) {
  bool anyOutput = false;
  for (int32_t o = 0; o < kMaxOutputs; ++o) {
    if (c_hWave[o] == 0) continue;
    anyOutput = true;
    const platform::WaveResult r = c_Device->Reset(c_hWave[o]);
    if (r != platform::kWaveNoError) LogWaveFailure("waveOutReset", "mute", r);
  }
  // Every other page goes out as silence, so the output fades into zeros rather than stopping
  // on a sample.
  const uint32_t pageBytes = OutputBlockAlign() * static_cast<uint32_t>(c_PageFrames);
  for (int32_t p = 0; p < c_NumPages; p += 2) {
    for (int32_t o = 0; o <= c_LastOutput; ++o) {
      platform::WaveHeader& header = c_PageHeaders[o][p];
      if (header.data == nullptr || c_hWave[o] == 0) continue;
      std::fill_n(header.data, pageBytes, SilenceByte());
      header.buffer_length = pageBytes;
      WritePage(o, header, "mute");
    }
  }
  if (!anyOutput) return false;
  c_WhileMute = 1;
  CancelMute = 0;
  c_MuteTicks = 0;
  c_MutePasses = 0;
  c_MuteLength = muteLength;
  c_MuteStart = platform::CurrentClock().MonotonicMs();
  return true;
}

void C_WaveOut::RunMute() {
  const int64_t elapsed = platform::CurrentClock().MonotonicMs() - c_MuteStart;
  // One wait of 1 ms per pass, as many as the clock says have passed, never more than the
  // silence is long; every tenth raises MuteTick.
  const int64_t due = std::clamp<int64_t>(elapsed, 0, c_MuteLength);
  while (c_MutePasses < due && CancelMute != 1) {
    ++c_MutePasses;
    if (++c_MuteTicks < 10) continue;
    c_MuteTicks = 0;
    if (MuteTick) {
      try {
        MuteTick();
      } catch (...) {
        log_.Write("C_WaveOut MuteTick handler failed", platform::LogSeverity::kError);
      }
    }
    if (c_WhileMute == 0) return;  // the handler stopped or started a play itself
  }
  if (CancelMute == 1) {
    CancelMute = 0;
    EndMute();
    return;
  }
  if (c_MutePasses >= c_MuteLength || elapsed > c_MuteLength) EndMute();
}

void C_WaveOut::EndMute() {
  if (c_WhileMute == 0) return;
  c_WhileMute = 0;
  FinishStop(true);
  c_Busy = 0;
}

void C_WaveOut::FinishStop(bool releasePages) {
  ReadOutputHealth(true);
  if (releasePages) {
    ResetAllOutputs("StopIO1");
    for (int32_t o = 0; o < kMaxOutputs; ++o) {
      for (platform::WaveHeader& header : c_PageHeaders[o]) {
        if (c_hWave[o] != 0 && (header.flags.load() & platform::kWaveHeaderPrepared) != 0) {
          const platform::WaveResult r = c_Device->UnprepareHeader(c_hWave[o], &header);
          if (r != platform::kWaveNoError) LogWaveFailure("waveOutUnprepareHeader", "StopIO", r);
        }
        header.flags.store(0);
      }
      c_LeadHeaders[o].flags.store(0);
    }
    std::fill(c_PageState.begin(), c_PageState.end(), PageState::kFree);
    std::fill(c_PageStart.begin(), c_PageStart.end(), -1);
    std::fill(c_PageSeq.begin(), c_PageSeq.end(), -1);
    ZeroMeters();
  }
  if (NoClose == 0) {
    for (int32_t o = 0; o < kMaxOutputs; ++o) CloseOutput(o, "StopIO");
  }
  c_Paused = 0;
  c_Playing = 0;
}

void C_WaveOut::CloseWave() {
  EndMute();
  if (c_Playing != 0) StopIO(1);
  foundation::CloseFileHandle(c_FileHnd);
  c_FileLoaded = 0;
  ClearSampleArrays();
  for (auto& headers : c_PageHeaders) headers.clear();
  c_PageState.clear();
  c_PageSeq.clear();
  c_PageStart.clear();
  c_Meters.clear();
  // The ring is gone: the next file builds it again (with NoClose 1 the outputs stay open
  // until a file is loaded).
  c_NumPages = 0;
  c_OpenFormat = {};
  c_Playing = 0;
  c_FileName.clear();
  c_Wave.SamplesPerSec = 0;
}

}  // namespace audio
