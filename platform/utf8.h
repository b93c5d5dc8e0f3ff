#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Bytes (1-4) of the UTF-8 character that starts at `text[i]` (i < text.size()): the length of a
// well-formed sequence (a lead byte and its continuation bytes), or 1 for a byte that starts
// none (a stray continuation byte, a sequence cut off or broken).
inline size_t Utf8CharLength(std::string_view text, size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  size_t length = 1;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
  }
  if (length > text.size() - i) return 1;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// True when every byte of `text` belongs to a well-formed UTF-8 sequence (ASCII included).
inline bool IsUtf8Text(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8CharLength(text, i);
    if (length == 1 && static_cast<unsigned char>(text[i]) >= 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace platform
