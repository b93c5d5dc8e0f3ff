#include "platform/system_colors.h"

#include <array>
#include <cstddef>

namespace platform {

namespace {

// &HBBGGRR of each entry, in index order. Index 25 is unnamed and kept as the alternate face.
constexpr std::array<int32_t, kSysColorCount> kTable = {
    0xC0C0C0,  //  0 scroll bar
    0x808000,  //  1 desktop (teal)
    0x800000,  //  2 active caption (navy)
    0x808080,  //  3 inactive caption
    0xC0C0C0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x800000,  // 13 highlight (navy)
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3-D dark shadow
    0xDFDFDF,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xE1FFFF,  // 24 tooltip background
    0xB5B5B5,  // 25 alternate button face
    0xFF0000,  // 26 hot-tracked item (blue)
    0xD08410,  // 27 active caption gradient
    0xB5B5B5,  // 28 inactive caption gradient
    0x800000,  // 29 highlighted menu item
    0xC0C0C0,  // 30 menu bar
};

}  // namespace

int32_t GetSysColor(int32_t index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  return kTable[static_cast<std::size_t>(index)];
}

int32_t ResolveColor(int32_t colour) {
  const uint32_t bits = static_cast<uint32_t>(colour);
  if (IsSystemColor(colour)) return GetSysColor(static_cast<int32_t>(bits & 0x00FFFFFFu));
  return static_cast<int32_t>(bits & 0x00FFFFFFu);
}

uint32_t ColorToArgb(int32_t colour) {
  const uint32_t c = static_cast<uint32_t>(ResolveColor(colour));
  const uint32_t r = c & 0xFFu;
  const uint32_t g = (c >> 8) & 0xFFu;
  const uint32_t b = (c >> 16) & 0xFFu;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

int32_t ArgbToColor(uint32_t argb) {
  const uint32_t r = (argb >> 16) & 0xFFu;
  const uint32_t g = (argb >> 8) & 0xFFu;
  const uint32_t b = argb & 0xFFu;
  return static_cast<int32_t>(r | (g << 8) | (b << 16));
}

}  // namespace platform
