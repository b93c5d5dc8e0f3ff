#include "audio/reader_length.h"

#include "audio/audio_file_type.h"
#include "audio/mpeg_audio_scan.h"
#include "audio/wave_header.h"

namespace audio {

std::optional<int32_t> ReaderLengthMs(const std::string& path) {
  const std::string type = GetAudioFileType(path);
  if (type == "mp1" || type == "mp2" || type == "mp3" || type == "mpa") {
    const MpegAudioInfo mpeg = ScanMpegAudioFile(path);
    if (mpeg.found) return mpeg.LengthMs();
    return std::nullopt;
  }
  const WaveInfo wave = ReadWaveHeader(path);
  if (wave.Valid == 1 && IsPcmFormat(wave)) return wave.LengthMS;
  return std::nullopt;
}

}  // namespace audio
