#include "audio/wave_cue_chunks.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "audio/riff_file.h"
#include "foundation/conversions.h"
#include "platform/cp932.h"

namespace audio {
namespace {

constexpr int64_t kMinMarkedFileSize = 50;
constexpr int64_t kCueEntryBytes = 24;
constexpr int64_t kPlayListEntryBytes = 12;

int32_t AsLong(uint32_t word) { return static_cast<int32_t>(word); }

// The first chunk with the id, found by the same walk FindRiffChunk does.
std::optional<RiffChunkHeader> FirstChunk(RiffFile& file, uint32_t id) {
  std::optional<RiffChunkHeader> found;
  ForEachRiffChunk(file, [&](const RiffChunkHeader& chunk) {
    if (chunk.id != id) return true;
    found = chunk;
    return false;
  });
  return found;
}

CuePoint* FindCue(std::vector<CuePoint>& cues, int32_t cueId) {
  for (CuePoint& cue : cues) {
    if (cue.CueID == cueId) return &cue;
  }
  return nullptr;
}

// A count field of a "cue " or "plst" chunk; 0 for a failed read or a count outside 1..100.
int32_t ReadEntryCount(RiffFile& file, const RiffChunkHeader& chunk) {
  uint32_t count = 0;
  if (!file.ReadU32(chunk.DataOffset(), count)) return 0;
  return count >= 1 && count <= static_cast<uint32_t>(kMaxCuePoints) ? static_cast<int32_t>(count)
                                                                     : 0;
}

// Text of a label or file sub-chunk: `declared` bytes start at `offset`, of which at most 512
// are read and none beyond `limit`. The text ends at the terminator; a text cut short (at 512
// bytes or at the limit) loses a double-byte character's lead byte left without its trail.
std::string ReadText(RiffFile& file, int64_t offset, int64_t declared, int64_t limit,
                     unsigned char terminator) {
  const int64_t count =
      std::clamp<int64_t>(std::min<int64_t>(declared, limit - offset), 0, kMaxCueTextBytes);
  if (count == 0) return "";
  std::string bytes(static_cast<size_t>(count), '\0');
  if (!file.ReadAt(offset, bytes.data(), count)) return "";
  size_t length = bytes.find(static_cast<char>(terminator));
  if (length == std::string::npos) {
    length = bytes.size();
    if (count < declared) length = platform::Cp932SafePrefixLength(bytes, length);
  }
  if (length == 0) return "";
  const std::vector<uint8_t> text(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length));
  return foundation::BytesToString(text, static_cast<int32_t>(length - 1), -1);
}

void ReadPlayList(RiffFile& file, std::vector<CuePoint>& cues) {
  const std::optional<RiffChunkHeader> plst = FirstChunk(file, FourCC("plst"));
  if (!plst) return;
  const int32_t count = ReadEntryCount(file, *plst);
  for (int32_t j = 0; j < count; ++j) {
    unsigned char entry[kPlayListEntryBytes];
    if (!file.ReadAt(plst->DataOffset() + 4 + kPlayListEntryBytes * j, entry, sizeof entry)) {
      return;
    }
    if (CuePoint* cue = FindCue(cues, AsLong(LoadLe32(entry)))) {
      cue->Length = AsLong(LoadLe32(entry + 4));
      cue->Repeats = AsLong(LoadLe32(entry + 8));
    }
  }
}

// Attaches the "labl" and "file" sub-chunks of an associated-data list to their cue points.
// The walk stays inside the list: a sub-chunk header that does not fit before the list's end
// (or the file's) ends it, and no text is read past that end.
void ReadAssociatedData(RiffFile& file, const RiffChunkHeader& list, std::vector<CuePoint>& cues) {
  const int64_t listEnd = std::min(list.DataOffset() + list.size, file.Size());
  int64_t offset = list.DataOffset() + 4;  // after the list type
  while (offset + 8 <= listEnd) {
    uint32_t id = 0;
    uint32_t size32 = 0;
    if (!file.ReadU32(offset, id) || !file.ReadU32(offset + 4, size32)) return;
    const int64_t size = size32;
    const int64_t data = offset + 8;
    const bool isLabel = id == FourCC("labl");
    const bool isFile = id == FourCC("file");
    uint32_t cueId = 0;
    if ((isLabel || isFile) && size > 6 && data + 4 <= listEnd && file.ReadU32(data, cueId)) {
      if (CuePoint* cue = FindCue(cues, AsLong(cueId))) {
        if (isLabel) {
          cue->Label = ReadText(file, data + 4, size - 4, listEnd, '\0');
        } else {
          uint32_t mediaType = 0;
          if (size >= 8 && data + 8 <= listEnd) file.ReadU32(data + 4, mediaType);
          cue->MediaType = AsLong(mediaType);
          cue->HasFile = 1;
          cue->FileText = size > 8 ? ReadText(file, data + 8, size - 8, listEnd, '\r') : "";
        }
      }
    }
    offset = data + size + foundation::IsOddNumber(size);
  }
}

}  // namespace

int32_t ReadWaveCueChunks(const std::string& path, foundation::FileHandleId handle,
                          std::vector<CuePoint>& cues) {
  cues.assign(1, CuePoint{});
  RiffFile file(path, handle);
  if (!file.IsOpen() || file.Size() < kMinMarkedFileSize) return 0;

  const std::optional<RiffChunkHeader> cueChunk = FirstChunk(file, FourCC("cue "));
  if (!cueChunk) return 0;
  const int32_t count = ReadEntryCount(file, *cueChunk);
  if (count == 0) return 0;
  cues.assign(static_cast<size_t>(count), CuePoint{});
  for (int32_t i = 0; i < count; ++i) {
    unsigned char entry[kCueEntryBytes];
    if (!file.ReadAt(cueChunk->DataOffset() + 4 + kCueEntryBytes * i, entry, sizeof entry)) {
      return 0;
    }
    cues[i].CueID = AsLong(LoadLe32(entry));
    cues[i].SampleOffset = AsLong(LoadLe32(entry + 20));
  }

  ReadPlayList(file, cues);

  // Only the first associated-data list is read; lists of other types before it are skipped.
  ForEachRiffChunk(file, [&](const RiffChunkHeader& chunk) {
    if (chunk.id != FourCC("LIST")) return true;
    uint32_t type = 0;
    if (!file.ReadU32(chunk.DataOffset(), type)) return false;
    if (type != FourCC("adtl")) return true;
    ReadAssociatedData(file, chunk, cues);
    return false;
  });
  return count;
}

}  // namespace audio
