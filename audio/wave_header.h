#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_handles.h"

namespace audio {

// Format tags the readers and players tell apart.
constexpr int32_t kWaveFormatPcm = 1;
constexpr int32_t kWaveFormatExtensible = -2;  // 0xFFFE, sign-extended

// What the playout knows of a wave file. Every field is 0 until read.
struct WaveInfo {
  // 1 when both the "fmt " and the "data" chunk were found, the layout is one of the ten
  // playable ones (SampleKind) and the sample rate is above 0; else 0. Valid says nothing about
  // the encoding: a player that plays PCM only checks IsPcmFormat as well.
  int32_t Valid = 0;
  // DataBytes / BlockAlign, rounded down, at most 2,147,483,647.
  int32_t Frames = 0;
  int32_t SamplesPerSec = 0;
  int16_t BitsPerSample = 0;
  int16_t Channels = 0;
  // Channels x BitsPerSample / 8; the chunk's own block-align field is not used.
  int32_t BlockAlign = 0;
  // Byte offset of the first sample byte.
  int64_t DataOffset = 0;
  // The data chunk's size, cut to the bytes the file really holds behind DataOffset.
  int64_t DataBytes = 0;
  int64_t FileSize = 0;
  // Layout code 0-9 (see SampleKindOf); 0 also while no format was read.
  int32_t SampleKind = 0;
  // Frames / SamplesPerSec x 1000, rounded half to even.
  int32_t LengthMS = 0;
  // The 16-bit format tag sign-extended (extensible reads as -2).
  int32_t FormatTag = 0;
  // For the extensible format: the format code carried in the sub-format GUID (1 = PCM) when
  // the GUID is one of the standard format GUIDs, else 0. 0 for every other format tag.
  int32_t SubFormatTag = 0;
};

// Layout code of a channel count and sample width (mono/stereo 8, 16 and 24 bit, 6 and 8
// channels of 16 and 24 bit), -1 for a layout the players cannot play.
int32_t SampleKindOf(int32_t channels, int32_t bitsPerSample);

// True for plain PCM: format tag 1, or the extensible tag with the PCM sub-format.
bool IsPcmFormat(const WaveInfo& info);

// Reads the format and data chunks of a RIFF WAVE file, in either order; other chunks are
// skipped. Only chunk headers and the format chunk are read, never audio data. The format
// fields stay filled when the layout is not playable (Valid 0). A file that cannot be opened
// or read, a format chunk under 16 bytes, a missing chunk or a header cut by the end of the
// file give Valid 0; nothing is reported. `handle` 0 opens (and closes) the path here; a
// caller's handle is left open.
WaveInfo ReadWaveHeader(const std::string& path, foundation::FileHandleId handle = 0);

}  // namespace audio
