#include "tests/audio/riff_fixture.h"

namespace rifftest {

std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

std::string Le32(uint32_t v) {
  return Le16(static_cast<uint16_t>(v & 0xFFFF)) + Le16(static_cast<uint16_t>(v >> 16));
}

std::string Chunk(std::string_view id, std::string_view data, bool pad) {
  std::string out(id);
  out += Le32(static_cast<uint32_t>(data.size()));
  out += data;
  if (pad && data.size() % 2 == 1) out.push_back('\0');
  return out;
}

std::string ChunkWithSize(std::string_view id, uint32_t declaredSize, std::string_view data) {
  return std::string(id) + Le32(declaredSize) + std::string(data);
}

std::string Riff(std::string_view body) {
  return "RIFF" + Le32(static_cast<uint32_t>(body.size() + 4)) + "WAVE" + std::string(body);
}

std::string FmtData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

std::string FmtExtensibleData(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subFormat) {
  static const char kTail[] = "\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
  return FmtData(0xFFFE, channels, rate, bits) + Le16(22) + Le16(bits) + Le32(0x3) +
         Le32(subFormat) + std::string(kTail, 12);
}

std::string CueData(const std::vector<CueEntry>& entries, int64_t count) {
  std::string out = Le32(static_cast<uint32_t>(count < 0 ? entries.size() : count));
  for (const CueEntry& e : entries) {
    out += Le32(e.id) + Le32(e.sampleOffset) + "data" + Le32(0) + Le32(0) + Le32(e.sampleOffset);
  }
  return out;
}

std::string PlstData(const std::vector<PlayListEntry>& entries, int64_t count) {
  std::string out = Le32(static_cast<uint32_t>(count < 0 ? entries.size() : count));
  for (const PlayListEntry& e : entries) out += Le32(e.cueId) + Le32(e.length) + Le32(e.repeats);
  return out;
}

std::string LablSubChunk(uint32_t cueId, std::string_view text, bool nul) {
  std::string data = Le32(cueId) + std::string(text);
  if (nul) data.push_back('\0');
  return Chunk("labl", data);
}

std::string FileSubChunk(uint32_t cueId, uint32_t mediaType, std::string_view data) {
  return Chunk("file", Le32(cueId) + Le32(mediaType) + std::string(data));
}

std::string ListChunk(std::string_view type, std::string_view subChunks) {
  return Chunk("LIST", std::string(type) + std::string(subChunks));
}

std::string Samples16(const std::vector<int32_t>& values) {
  std::string out;
  for (int32_t v : values) out += Le16(static_cast<uint16_t>(v));
  return out;
}

std::string Samples24(const std::vector<int32_t>& values) {
  std::string out;
  for (int32_t v : values) out += Le32(static_cast<uint32_t>(v)).substr(0, 3);
  return out;
}

std::string PcmWave(uint16_t channels, uint32_t rate, uint16_t bits, std::string_view data,
                    uint16_t tag) {
  return Riff(Chunk("fmt ", FmtData(tag, channels, rate, bits)) + Chunk("data", data));
}

std::string SimpleWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames,
                       uint16_t tag) {
  std::string samples(static_cast<size_t>(frames) * channels * bits / 8, '\0');
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<char>(i * 7);
  return PcmWave(channels, rate, bits, samples, tag);
}

}  // namespace rifftest
