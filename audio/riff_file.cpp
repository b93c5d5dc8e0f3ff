#include "audio/riff_file.h"

#include <algorithm>
#include <cstring>

#include "foundation/conversions.h"

namespace audio {

RiffFile::RiffFile(const std::string& path, foundation::FileHandleId handle)
    : path_(path), handle_(handle) {
  if (handle_ == 0) {
    handle_ = foundation::OpenFileHandle(path, 0);
    ownsHandle_ = handle_ != 0;
  }
  if (handle_ == 0) return;
  size_ = foundation::GetFileSizeOfHandle(handle_);
  if (size_ < 0) size_ = 0;
}

RiffFile::~RiffFile() {
  if (ownsHandle_) foundation::CloseFileHandle(handle_);
}

bool RiffFile::Holds(int64_t offset, int64_t count) const {
  return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
}

bool RiffFile::ReadAt(int64_t offset, void* dst, int64_t count) {
  if (handle_ == 0 || !Holds(offset, count)) return false;
  if (count == 0) return true;
  int64_t got = 0;
  foundation::FileHandleId h = handle_;
  const foundation::FileHandleId result =
      foundation::ReadFileToMemEx(dst, count, offset, h, path_, false, &got);
  if (result == 0 || h == 0) {
    // The handle routines closed the handle; never use or close it again.
    handle_ = 0;
    ownsHandle_ = false;
    return false;
  }
  // A file that shrank since its size was taken reads short: that is a failed read too.
  return got == count;
}

bool RiffFile::ReadU16(int64_t offset, uint16_t& value) {
  unsigned char b[2];
  if (!ReadAt(offset, b, 2)) return false;
  value = LoadLe16(b);
  return true;
}

bool RiffFile::ReadU32(int64_t offset, uint32_t& value) {
  unsigned char b[4];
  if (!ReadAt(offset, b, 4)) return false;
  value = LoadLe32(b);
  return true;
}

int64_t ForEachRiffChunk(RiffFile& file, const std::function<bool(const RiffChunkHeader&)>& visit) {
  if (!file.IsOpen()) return -1;
  int64_t offset = 12;
  RiffChunkHeader chunk;
  while (file.Holds(offset, 8)) {
    uint32_t size = 0;
    if (!file.ReadU32(offset, chunk.id) || !file.ReadU32(offset + 4, size)) return -1;
    chunk.offset = offset;
    chunk.size = size;
    if (!visit(chunk)) return -1;
    // Every step moves on by at least the 8 header bytes, so the walk always ends. Offsets
    // stay far inside 64 bits: at most 2^32 + 8 beyond a position inside the file.
    offset += 8 + chunk.size + foundation::IsOddNumber(chunk.size);
  }
  return offset;
}

bool FindRiffDataChunk(RiffFile& file, int64_t* offset, int64_t* bytes) {
  char head[12] = {};
  if (!file.ReadAt(0, head, sizeof head) || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool found = false;
  ForEachRiffChunk(file, [&](const RiffChunkHeader& chunk) {
    if (chunk.id != FourCC("data")) return true;
    *offset = chunk.DataOffset();
    *bytes = std::clamp<int64_t>(file.Size() - chunk.DataOffset(), 0, chunk.size);
    found = true;
    return false;
  });
  return found;
}

int64_t FindRiffChunk(const std::string& path, foundation::FileHandleId handle, uint32_t chunkId,
                      int32_t n) {
  RiffFile file(path, handle);
  int64_t found = -1;
  int32_t matches = 0;
  const int64_t end = ForEachRiffChunk(file, [&](const RiffChunkHeader& chunk) {
    if (chunk.id != chunkId) return true;
    if (matches == n) {
      found = chunk.offset + 1;
      return false;
    }
    ++matches;
    return true;
  });
  // An id in the file's last bytes has no room for its size field; the size is needed only to
  // step past a chunk, so the wanted id is found there too.
  uint32_t lastId = 0;
  if (found < 0 && end >= 0 && matches == n && file.Holds(end, 4) && file.ReadU32(end, lastId) &&
      lastId == chunkId) {
    found = end + 1;
  }
  return found;
}

}  // namespace audio
