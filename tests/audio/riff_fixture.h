#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builders of RIFF WAVE files for the reader and player tests. Every function returns raw bytes
// in a std::string; numbers are little-endian.
namespace rifftest {

std::string Le16(uint16_t v);
std::string Le32(uint32_t v);

// id + size + data, then one pad byte when the data's size is odd (pad false leaves it out).
std::string Chunk(std::string_view id, std::string_view data, bool pad = true);
// A chunk whose size field says `declaredSize` whatever the data holds (no pad byte).
std::string ChunkWithSize(std::string_view id, uint32_t declaredSize, std::string_view data);

// "RIFF" + size + "WAVE" + the body.
std::string Riff(std::string_view body);

// 16-byte format chunk data. The block-align and byte-rate fields are written as a real file
// holds them.
std::string FmtData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
// 40-byte extensible format data (tag 0xFFFE) with a standard sub-format GUID for `subFormat`.
std::string FmtExtensibleData(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subFormat);

struct CueEntry {
  uint32_t id;
  uint32_t sampleOffset;
};
struct PlayListEntry {
  uint32_t cueId;
  uint32_t length;
  uint32_t repeats;
};
// Count field + entries; `count` < 0 writes the entries' number.
std::string CueData(const std::vector<CueEntry>& entries, int64_t count = -1);
std::string PlstData(const std::vector<PlayListEntry>& entries, int64_t count = -1);
// "labl" and "file" sub-chunks (with header and pad) of an associated-data list. `text` is
// written as given (CP932 bytes); `nul` adds the terminating NUL.
std::string LablSubChunk(uint32_t cueId, std::string_view text, bool nul = true);
std::string FileSubChunk(uint32_t cueId, uint32_t mediaType, std::string_view data);
// "LIST" chunk of the type with the sub-chunks as its body.
std::string ListChunk(std::string_view type, std::string_view subChunks);

// Little-endian sample bytes: 16-bit (values cut to int16) and 24-bit.
std::string Samples16(const std::vector<int32_t>& values);
std::string Samples24(const std::vector<int32_t>& values);

// A whole wave file: format chunk, then a data chunk holding `data`.
std::string PcmWave(uint16_t channels, uint32_t rate, uint16_t bits, std::string_view data,
                    uint16_t tag = 1);
// A whole wave file: format chunk, then `frames` frames of a counting byte pattern.
std::string SimpleWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames,
                       uint16_t tag = 1);

}  // namespace rifftest
