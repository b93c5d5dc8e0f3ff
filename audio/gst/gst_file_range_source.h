#pragma once

#include <cstdint>

namespace audio {

// Factory name of the source that reads one byte range of a file: the data chunk of a RIFF file
// that GStreamer's own wave parser gives nothing for, handed on as it lies in the file. Its
// properties: "location" (the path), "offset" (first byte) and "length" (bytes, -1 to the end of
// the file; a range past the end is cut to it). Random access, so the parser after it can seek.
inline constexpr const char* kFileRangeSourceName = "filerangesrc";

// Registers the source with GStreamer (once per process; later calls only report the first
// result). Needs GStreamer started.
bool RegisterFileRangeSource();

}  // namespace audio
