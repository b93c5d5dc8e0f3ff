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

std::string WithLameTag(const std::string& mp3, int delay, int padding) {
  constexpr size_t kXing = 36;  // MPEG-1 stereo: header and side information
  if (mp3.size() < kXing + 120 || mp3.compare(kXing, 4, "Xing") != 0 ||
      (mp3[kXing + 7] & 0x07) != 0x07) {
    return "";
  }
  // The old info frame's length from its header (MPEG-1 layer III, 44.1 kHz).
  static constexpr int kKbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  const auto b2 = static_cast<uint8_t>(mp3[2]);
  const size_t oldBytes = 144 * kKbps[(b2 >> 4) % 15] * 1000 / 44100 + ((b2 >> 1) & 1);
  std::string frame = std::string("\xFF\xFB\x90", 3) + mp3[3] + std::string(kXing - 4, '\0');
  frame += "Xing" + Be(0x0F, 4) + mp3.substr(kXing + 8, 4) + Be(0, 4) +
           mp3.substr(kXing + 16, 100) + Be(80, 4);
  frame += "LAME3.100" + std::string(12, '\0');
  frame +=
      {static_cast<char>(delay >> 4), static_cast<char>(((delay & 0x0F) << 4) | (padding >> 8)),
       static_cast<char>(padding & 0xFF)};
  frame += std::string(10, '\0');
  // CRC-16 (polynomial 0x8005, bits reflected) of the frame's first 190 bytes.
  uint16_t crc = 0;
  for (char c : frame) {
    crc ^= static_cast<uint8_t>(c);
    for (int i = 0; i < 8; ++i) crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  frame += {static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
  frame.resize(417, '\0');  // 128 kbit/s at 44.1 kHz without padding
  return frame + mp3.substr(oldBytes);
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
