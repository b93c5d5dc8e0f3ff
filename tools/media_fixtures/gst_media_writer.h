#pragma once

#include <cstdint>
#include <string>

// Audio files made on the spot with GStreamer's own encoders, for the tests and benchmarks that
// need real media without shipping any.
namespace media_fixtures {

// Runs "audiotestsrc ! <encode> ! filesink" for `ms` milliseconds (negative counts as 0) of a
// tone of `hz` (441 Hz by default; `wave` an audiotestsrc wave name: "sine", "square", ...),
// 16-bit stereo at 44.1 kHz with amplitude 0.5, into `path`. `encode` is a gst-launch fragment
// ("wavenc", "audioconvert ! lamemp3enc", ...). True when the file was written; false when
// GStreamer or an element is missing or the pipeline fails or hangs.
bool EncodeTone(const std::string& encode, const std::string& path, int32_t ms, int32_t hz = 441,
                const std::string& wave = "sine");

// Runs "filesrc <wavePath> ! wavparse ! <encode> ! filesink <path>": re-encodes a wave file
// (audio a test composed itself) with GStreamer's encoders. Same results as EncodeTone.
bool EncodeWave(const std::string& wavePath, const std::string& encode, const std::string& path);

}  // namespace media_fixtures
