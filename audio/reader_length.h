#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace audio {

// How long a file plays for, in ms, as this program's own readers count it, for the types whose
// length GStreamer can only estimate or misreads: a PCM wave file the RIFF reader accepts (its
// frames), and MPEG audio, in a file of its own or in a RIFF data chunk (its frames without the
// tags around them; see ScanMpegAudio). std::nullopt for any other file, and when the readers
// find nothing to count.
std::optional<int32_t> ReaderLengthMs(const std::string& path);

}  // namespace audio
