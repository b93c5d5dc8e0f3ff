#pragma once

#include <cstdint>

namespace platform {

// Colours are Longs laid out &HBBGGRR (red in the low byte). A value with the top bit set,
// &H800000nn, names entry nn of the system colour table below instead of a colour.
//
// The table is fixed (the classic Windows "Standard" scheme: grey 3-D objects, navy selection),
// so every surface draws the same on every machine whatever desktop theme is running.

// Entries of the system colour table, numbered as the colour references number them.
enum SysColorIndex : int32_t {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26,
  COLOR_GRADIENTACTIVECAPTION = 27,
  COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29,
  COLOR_MENUBAR = 30,
  // Other names the same entries go by.
  COLOR_3DFACE = COLOR_BTNFACE,
  COLOR_3DSHADOW = COLOR_BTNSHADOW,
  COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
  COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
  COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT,
  COLOR_DESKTOP = COLOR_BACKGROUND,
};

// Number of entries in the table (indices 0 .. kSysColorCount - 1).
inline constexpr int32_t kSysColorCount = 31;

// The reference to system colour `index` (&H80000000 + index), as controls store it.
constexpr int32_t SystemColorRef(int32_t index) {
  return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index));
}

// True for every value with the top bit set: such a value is a system colour reference.
constexpr bool IsSystemColor(int32_t colour) { return colour < 0; }

// Entry `index` of the fixed table as &HBBGGRR; 0 (black) for an index outside the table.
int32_t GetSysColor(int32_t index);

// The plain &HBBGGRR colour (0 .. &HFFFFFF) a value stands for: a system colour reference is
// looked up in the table (low 24 bits as the index; an unknown index gives black), a plain value
// keeps its low 24 bits. Every drawing call and every colour arithmetic goes through this first.
int32_t ResolveColor(int32_t colour);

// The resolved colour as an opaque 0xAARRGGBB pixel value (the toolkit's layout), and back
// (alpha ignored).
uint32_t ColorToArgb(int32_t colour);
int32_t ArgbToColor(uint32_t argb);

}  // namespace platform
