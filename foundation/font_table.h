#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

// The process-wide table of fonts every window and owner-drawn control takes its font from:
// one entry per face, size, bold and italic asked for, in creation order, entry 0 the
// user-interface face at 9 points. Fonts are made by the installed FontFactory (the view's makes
// toolkit fonts); entries are only removed all together. User-interface thread only.

// The default user-interface face, and the face whose fonts are made 1.34 times larger (its
// entries carry a height factor of 1 / 1.34 that measured text heights are multiplied by).
inline constexpr const char kDefaultUiFace[] = "ＭＳ Ｐゴシック";
inline constexpr const char kLargeCellFace[] = "メイリオ";
inline constexpr double kLargeCellScale = 1.34;

// Character sets of a font request.
inline constexpr uint8_t kShiftJisCharset = 128;
inline constexpr uint8_t kAnsiCharset = 0;

// A font as it is asked of the factory.
struct FontRequest {
  // Cell height in pixels (ascent plus descent), positive.
  int32_t height = 0;
  // 0 (the face's normal weight) or a weight on the 1..1000 scale (700 bold at 96 DPI).
  int32_t weight = 0;
  bool italic = false;
  uint8_t charset = kShiftJisCharset;
  std::string face;
};

// The request CreateFontHandle makes: height R(size x 20 x s / twipsPerPixel) with s 1.34 for
// "メイリオ" and 1 otherwise, weight R(15 / twipsPerPixel x 700) when bold (875 at 12 twips per
// pixel), Shift-JIS except for the face "Impact" (R rounds halves to even). Only -1 counts as
// true for bold and italic. False for a twips-per-pixel below 1 or a size that gives no height
// in the 32-bit range.
bool BuildFontRequest(float size, int16_t bold, int16_t italic, const std::string& face,
                      int32_t twipsPerPixel, FontRequest& request);

// Makes fonts. Handles are non-zero and unique for the factory's life.
class FontFactory {
 public:
  virtual ~FontFactory() = default;
  // The new font's handle, or 0 when it cannot be made.
  virtual int32_t CreateFont(const FontRequest& request) = 0;
  virtual void DeleteFont(int32_t handle) = 0;
};

// Installs the factory (not owned; null removes it: then no font can be made).
void SetFontFactory(FontFactory* factory);
FontFactory* GetFontFactory();

// A window that can be given a font of the table (WM_SETFONT): it takes the font without
// redrawing.
class FontWindow {
 public:
  virtual ~FontWindow() = default;
  virtual void SetWindowFont(int32_t handle) = 0;
};

// A control whose own font settings mode -1 of SetControlFont uses.
class FontSource {
 public:
  virtual ~FontSource() = default;
  virtual float FontSize() const = 0;
  virtual bool FontBold() const = 0;
  virtual bool FontItalic() const = 0;
  virtual std::string FontName() const = 0;
  // The control's window; may be null.
  virtual FontWindow* Window() = 0;
};

struct FontHandleEntry {
  int32_t handle = 0;
  float size = 0.0F;
  int16_t bold = 0;    // as asked: only -1 is true
  int16_t italic = 0;  // as asked: only -1 is true
  std::string face;
  float heightFactor = 1.0F;
};

// The table, index 0 first.
const std::vector<FontHandleEntry>& FontHandles();
// The height factor of entry `index`; 1 outside the table.
float FontHeightFactor(int32_t index);

// The user-interface face; "" until SetControlFont first stores "ＭＳ Ｐゴシック" (unless
// start-up set another face first).
const std::string& UiFontFace();
void SetUiFontFace(const std::string& face);

// Makes a font (see BuildFontRequest) with TwipsPerPixel and appends it to the table: 1 on
// success; 0 on failure with the table unchanged.
int32_t CreateFontHandle(float size, int16_t bold, int16_t italic, const std::string& face);

// Gives `window` a font of the table and returns its index, or -3 on failure (a mode below -2,
// no entry 0, a font that cannot be made, an index outside the table), when no font is sent.
// Entry 0 (the user-interface face at 9 points) is made on the first call. Mode -1 takes size,
// bold, italic, face and window from `control`; mode -2 uses the arguments; for both an empty face
// means the user-interface face, a size of 0 or below 9 points, and the first entry with the same
// face (exact), size, bold and italic (compared as given: only -1 is true, so 1 is neither bold
// nor the entry of -1) is reused, else one is made. Mode 0 or above applies that
// index. A null window gets nothing sent but the index is still returned.
int32_t SetControlFont(FontWindow* window, int32_t mode, FontSource* control, float size,
                       int16_t bold, int16_t italic, const std::string& face);

// Deletes every font of the table and empties it. UiFontFace is kept.
void DeleteFontHandles();

// Empties the table without the factory and forgets the face (tests).
void ResetFontTableForTest();

}  // namespace foundation
