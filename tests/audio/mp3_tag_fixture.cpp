#include "tests/audio/mp3_tag_fixture.h"

#include <cstdint>

#include "tests/audio/riff_fixture.h"

namespace mp3test {

namespace {

std::string Be(uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// Seven bits a byte, as tag and version-4 frame sizes are stored.
std::string SyncSafe(uint32_t value) {
  std::string out;
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((value >> (7 * i)) & 0x7F));
  return out;
}

}  // namespace

std::string Id3v2(int version, const std::vector<TagFrame>& frames, bool footer) {
  std::string body;
  for (const auto& [id, payload] : frames) {
    const auto size = static_cast<uint32_t>(payload.size());
    if (version == 2) {
      body += id.substr(0, 3) + Be(size, 3);
    } else {
      body +=
          id.substr(0, 4) + (version == 4 ? SyncSafe(size) : Be(size, 4)) + std::string(2, '\0');
    }
    body += payload;
  }
  // Editors leave padding behind the frames for later edits.
  body += std::string(1024, '\0');
  const char flags = footer && version == 4 ? 0x10 : 0;
  std::string header = "ID3" + std::string{static_cast<char>(version), 0, flags} +
                       SyncSafe(static_cast<uint32_t>(body.size()));
  std::string tag = header + body;
  if (flags != 0) tag += "3DI" + header.substr(3);
  return tag;
}

std::string Picture(int version, size_t bytes) {
  std::string head = version == 2 ? std::string("\0JPG\3", 5) : std::string("\0image/jpeg\0\3", 13);
  head += "cover" + std::string(1, '\0');
  std::string data = "\xFF\xD8\xFF\xE0";
  uint32_t state = 12345;
  while (data.size() < bytes) {
    state = state * 1103515245u + 12345u;
    const auto byte = static_cast<char>(state >> 24);
    // Roughly one byte in eight is 0xFF, followed by anything.
    data.push_back((state & 0x700) == 0 ? '\xFF' : byte);
  }
  return head + data;
}

std::string Text(const std::string& text) { return std::string(1, '\3') + text; }

std::string Id3v1(const std::string& title) {
  std::string tag = "TAG" + title.substr(0, 30);
  tag.resize(128, '\0');
  tag[127] = '\x0C';  // genre
  return tag;
}

std::string ApeTag() {
  const std::string item = rifftest::Le32(6) + rifftest::Le32(0) + "Artist" + '\0' + "Sample";
  const auto size = static_cast<uint32_t>(item.size() + 32);  // items and footer
  auto block = [&](uint32_t flags) {
    return "APETAGEX" + rifftest::Le32(2000) + rifftest::Le32(size) + rifftest::Le32(1) +
           rifftest::Le32(flags) + std::string(8, '\0');
  };
  return block(0xA0000000u) + item + block(0x80000000u);
}

}  // namespace mp3test
