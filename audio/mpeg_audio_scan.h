#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace audio {

// What one MPEG audio frame header (4 bytes) says.
struct MpegFrameHeader {
  int32_t version = 0;  // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
  int32_t layer = 0;    // 1, 2 or 3
  int32_t bitrateKbps = 0;
  int32_t sampleRate = 0;
  int32_t samplesPerFrame = 0;
  int32_t frameBytes = 0;  // padding included
  bool mono = false;
};

// Parses the 4 header bytes at `b`; false for anything that is no usable frame header (no sync,
// a reserved field, free-format or bad bit rate).
bool ParseMpegFrameHeader(const uint8_t* b, MpegFrameHeader* out);

// Reads `count` bytes at `offset` into `dst`; false when they cannot be read.
using ByteReader = std::function<bool(int64_t offset, uint8_t* dst, int64_t count)>;

// Bytes the frame walk reads at most; past them the rest is reckoned at the average frame size
// met so far, so a load stays bounded whatever the file's size.
inline constexpr int64_t kMaxMpegScanBytes = 16 * 1024 * 1024;

// The MPEG audio found between `begin` and `end` of a file.
struct MpegAudioInfo {
  bool found = false;
  int32_t sampleRate = 0;
  // Samples per channel a decoder gives: from the first frame's Xing/Info or VBRI header when
  // it has a frame count (less the encoder delay and padding of a LAME tag), else from walking
  // the frames.
  int64_t samples = 0;
  int64_t firstFrame = 0;  // offset of the first audio frame
  int64_t audioEnd = 0;    // offset where the frames end (trailing tags excluded)
  bool fromHeader = false;
  bool estimated = false;  // the walk stopped at kMaxMpegScanBytes
  // samples / sampleRate in ms, rounded half to even.
  int32_t LengthMs() const;
};

// Finds the frames between `begin` and `end`: skips ID3v2 tags and junk before the first frame
// (which must be followed by frames of the same stream), leaves out ID3v1, APEv2 and Lyrics3
// tags at the end, and reads frame headers only, never audio. Never reads outside [begin, end).
MpegAudioInfo ScanMpegAudio(const ByteReader& read, int64_t begin, int64_t end,
                            int64_t maxScanBytes = kMaxMpegScanBytes);

// ScanMpegAudio over a file: the whole file, or the data chunk of a RIFF WAVE file. Not found
// when the file cannot be read.
MpegAudioInfo ScanMpegAudioFile(const std::string& path, int64_t maxScanBytes = kMaxMpegScanBytes);

}  // namespace audio
