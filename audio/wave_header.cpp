#include "audio/wave_header.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "audio/riff_file.h"

namespace audio {
namespace {

constexpr int64_t kMaxFrames = std::numeric_limits<int32_t>::max();

// Bytes 4-15 of every standard format GUID (xxxxxxxx-0000-0010-8000-00AA00389B71); bytes 0-3
// hold the format code.
constexpr unsigned char kFormatGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                               0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct FormatFields {
  int32_t tag = 0;
  int32_t channels = 0;
  int32_t samplesPerSec = 0;
  int32_t bitsPerSample = 0;
  int32_t subFormatTag = 0;
};

int32_t Le16Signed(const unsigned char* b) { return static_cast<int16_t>(LoadLe16(b)); }

// The extensible format's sub-format code, read from the GUID at byte 24 of the chunk's data;
// 0 when the chunk is too short for it or the GUID is not a standard format GUID.
int32_t ReadSubFormatTag(RiffFile& file, const RiffChunkHeader& chunk) {
  if (chunk.size < 40) return 0;
  unsigned char guid[16];
  if (!file.ReadAt(chunk.DataOffset() + 24, guid, sizeof guid)) return 0;
  if (std::memcmp(guid + 4, kFormatGuidTail, sizeof kFormatGuidTail) != 0) return 0;
  const uint32_t code = LoadLe32(guid);
  return code <= 0xFFFF ? static_cast<int32_t>(code) : 0;
}

// Reads the first 16 bytes of a format chunk; false when the chunk is shorter than that or
// its bytes are not in the file.
bool ReadFormat(RiffFile& file, const RiffChunkHeader& chunk, FormatFields& out) {
  if (chunk.size < 16) return false;
  unsigned char b[16];
  if (!file.ReadAt(chunk.DataOffset(), b, sizeof b)) return false;
  out.tag = Le16Signed(b);
  out.channels = Le16Signed(b + 2);
  out.samplesPerSec = static_cast<int32_t>(LoadLe32(b + 4));
  // Bytes 8-13: average bytes per second and block align, which the players do not use.
  out.bitsPerSample = Le16Signed(b + 14);
  out.subFormatTag = out.tag == kWaveFormatExtensible ? ReadSubFormatTag(file, chunk) : 0;
  return true;
}

int32_t LengthInMs(int64_t frames, int32_t samplesPerSec) {
  if (samplesPerSec <= 0) return 0;
  const double ms = std::nearbyint(static_cast<double>(frames) / samplesPerSec * 1000.0);
  return static_cast<int32_t>(std::min<double>(ms, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t SampleKindOf(int32_t channels, int32_t bitsPerSample) {
  struct Layout {
    int32_t channels, bits, kind;
  };
  static constexpr Layout kLayouts[] = {{1, 8, 0},  {2, 8, 1},  {1, 16, 2}, {2, 16, 3}, {1, 24, 4},
                                        {2, 24, 5}, {6, 16, 6}, {8, 16, 7}, {6, 24, 8}, {8, 24, 9}};
  for (const Layout& l : kLayouts) {
    if (l.channels == channels && l.bits == bitsPerSample) return l.kind;
  }
  return -1;
}

bool IsPcmFormat(const WaveInfo& info) {
  return info.FormatTag == kWaveFormatPcm ||
         (info.FormatTag == kWaveFormatExtensible && info.SubFormatTag == kWaveFormatPcm);
}

WaveInfo ReadWaveHeader(const std::string& path, foundation::FileHandleId handle) {
  WaveInfo info;
  RiffFile file(path, handle);
  if (!file.IsOpen()) return info;

  bool haveFormat = false;
  bool haveData = false;
  int64_t dataSize = 0;
  ForEachRiffChunk(file, [&](const RiffChunkHeader& chunk) {
    if (chunk.id == FourCC("fmt ")) {
      FormatFields fmt;
      if (!ReadFormat(file, chunk, fmt)) return false;
      info.FormatTag = fmt.tag;
      info.SubFormatTag = fmt.subFormatTag;
      info.Channels = static_cast<int16_t>(fmt.channels);
      info.BitsPerSample = static_cast<int16_t>(fmt.bitsPerSample);
      info.SamplesPerSec = fmt.samplesPerSec;
      info.BlockAlign = fmt.channels * fmt.bitsPerSample / 8;
      const int32_t kind = SampleKindOf(fmt.channels, fmt.bitsPerSample);
      if (kind < 0) return false;  // not playable: the format fields stay for the caller
      info.SampleKind = kind;
      haveFormat = true;
    } else if (chunk.id == FourCC("data")) {
      info.DataOffset = chunk.DataOffset();
      // A size field larger than the file (a recording cut short, a streamed header) counts
      // only the bytes that are there.
      dataSize = std::min(chunk.size, std::max<int64_t>(0, file.Size() - info.DataOffset));
      haveData = true;
    }
    return !(haveFormat && haveData);
  });
  if (!(haveFormat && haveData)) return info;

  info.DataBytes = dataSize;
  info.FileSize = file.Size();
  // BlockAlign is never 0 here: every playable layout has at least one whole byte per frame.
  info.Frames = static_cast<int32_t>(std::min(dataSize / info.BlockAlign, kMaxFrames));
  info.LengthMS = LengthInMs(info.Frames, info.SamplesPerSec);
  // A sample rate of 0 (or one past 2^31, read as negative) leaves no length to play.
  info.Valid = info.SamplesPerSec > 0 ? 1 : 0;
  return info;
}

}  // namespace audio
