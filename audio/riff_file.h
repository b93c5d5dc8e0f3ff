#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/file_handles.h"

namespace audio {

// A four-character code as the chunk walk compares it: the first character in the low byte, so
// "cue " is 0x20657563.
constexpr uint32_t FourCC(std::string_view code) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    const uint32_t c = i < code.size() ? static_cast<unsigned char>(code[i]) : 0x20;
    value |= c << (8 * i);
  }
  return value;
}

// Little-endian words as RIFF files store them, from bytes already read.
constexpr uint16_t LoadLe16(const unsigned char* b) {
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
constexpr uint32_t LoadLe32(const unsigned char* b) {
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Read access to a RIFF file for the chunk readers. A handle given by the caller is used as it
// is and left open; with handle 0 the path is opened here and closed when the object goes.
// Every read is bounded by the file's size: a read that does not lie wholly inside the file
// fails without touching the file. A failed read of the file itself closes the handle (the file
// handle routines do that, also to a caller's handle); every later read then fails.
class RiffFile {
 public:
  RiffFile(const std::string& path, foundation::FileHandleId handle);
  ~RiffFile();
  RiffFile(const RiffFile&) = delete;
  RiffFile& operator=(const RiffFile&) = delete;

  bool IsOpen() const { return handle_ != 0; }
  // Size in bytes; 0 when the file is not open.
  int64_t Size() const { return size_; }
  const std::string& Path() const { return path_; }
  foundation::FileHandleId Handle() const { return handle_; }

  // True when [offset, offset + count) lies inside the file.
  bool Holds(int64_t offset, int64_t count) const;
  // Reads `count` bytes at `offset`; false when they do not lie inside the file or the read
  // fails.
  bool ReadAt(int64_t offset, void* dst, int64_t count);
  bool ReadU16(int64_t offset, uint16_t& value);
  bool ReadU32(int64_t offset, uint32_t& value);

 private:
  std::string path_;
  foundation::FileHandleId handle_ = 0;
  bool ownsHandle_ = false;
  int64_t size_ = 0;
};

// One chunk met by the walk: the byte offset of its id and its size field (unsigned).
struct RiffChunkHeader {
  int64_t offset = 0;
  uint32_t id = 0;
  int64_t size = 0;
  // First byte of the chunk's data.
  int64_t DataOffset() const { return offset + 8; }
};

// Walks the chunks of the RIFF body from byte 12 (the 12-byte RIFF header is not examined) and
// calls `visit` for each whole chunk header inside the file, in file order, until it returns
// false. A chunk is followed by one pad byte when its size is odd. The walk ends quietly at a
// header or size field beyond the end of the file or at a failed read. A chunk of size 0 is
// stepped over like any other, so it never hides the chunks behind it. Returns the offset where
// the next header would start when the walk ran out of file (it may lie past the end), -1 when
// `visit` stopped it, a read failed or the file is not open.
int64_t ForEachRiffChunk(RiffFile& file, const std::function<bool(const RiffChunkHeader&)>& visit);

// The first data chunk of a RIFF WAVE file: the offset of its first byte and its size, cut to
// the bytes the file holds. False when the file does not start as a RIFF WAVE file or has no
// data chunk.
bool FindRiffDataChunk(RiffFile& file, int64_t* offset, int64_t* bytes);

// Offset of the n-th (0 = first) chunk with the id `chunkId`, plus 1; -1 when the walk ends
// without it or the file cannot be read. An id in the file's last four bytes, with no room for
// its size field, is found too. `handle` 0 opens (and closes) the path here.
int64_t FindRiffChunk(const std::string& path, foundation::FileHandleId handle, uint32_t chunkId,
                      int32_t n);

}  // namespace audio
