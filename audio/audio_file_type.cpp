#include "audio/audio_file_type.h"

#include "audio/wave_header.h"
#include "foundation/paths.h"

namespace audio {

std::string GetAudioFileType(const std::string& path) {
  switch (ReadWaveHeader(path, 0).FormatTag) {
    case 0x01:
      return "wav";
    case 0x50:
      return "mp2";
    case 0x55:
      return "mp3";
    case 0x160:
    case 0x161:
      return "wmariff";
    default:
      return foundation::SplitPath(path, false, false, false, false, true, 1);
  }
}

}  // namespace audio
