#include "foundation/font_table.h"

#include <optional>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"

namespace foundation {

namespace {

constexpr int32_t kFailed = -3;
constexpr float kDefaultSize = 9.0F;
constexpr int16_t kTrue = -1;
constexpr const char kAnsiFace[] = "Impact";

FontFactory* g_factory = nullptr;
std::vector<FontHandleEntry> g_table;
std::string g_uiFace;

double ScaleOf(const std::string& face) { return face == kLargeCellFace ? kLargeCellScale : 1.0; }

int16_t AsFlag(bool value) { return value ? kTrue : int16_t{0}; }

}  // namespace

bool BuildFontRequest(float size, int16_t bold, int16_t italic, const std::string& face,
                      int32_t twipsPerPixel, FontRequest& request) {
  if (twipsPerPixel < 1) return false;
  const std::optional<int32_t> height =
      NearestInt32(static_cast<double>(size) * 20.0 * ScaleOf(face) / twipsPerPixel);
  if (!height) return false;
  int32_t weight = 0;
  if (bold == kTrue) {
    const std::optional<int32_t> boldWeight = NearestInt32(15.0 / twipsPerPixel * 700.0);
    if (!boldWeight) return false;
    weight = *boldWeight;
  }
  request.height = *height;
  request.weight = weight;
  request.italic = italic == kTrue;
  request.charset = face == kAnsiFace ? kAnsiCharset : kShiftJisCharset;
  request.face = face;
  return true;
}

void SetFontFactory(FontFactory* factory) { g_factory = factory; }

FontFactory* GetFontFactory() { return g_factory; }

const std::vector<FontHandleEntry>& FontHandles() { return g_table; }

float FontHeightFactor(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= g_table.size()) return 1.0F;
  return g_table[static_cast<size_t>(index)].heightFactor;
}

const std::string& UiFontFace() { return g_uiFace; }

void SetUiFontFace(const std::string& face) { g_uiFace = face; }

int32_t CreateFontHandle(float size, int16_t bold, int16_t italic, const std::string& face) {
  if (g_factory == nullptr) return 0;
  FontRequest request;
  if (!BuildFontRequest(size, bold, italic, face, Globals().TwipsPerPixel, request)) return 0;
  const int32_t handle = g_factory->CreateFont(request);
  if (handle == 0) return 0;
  FontHandleEntry entry;
  entry.handle = handle;
  entry.size = size;
  entry.bold = bold;
  entry.italic = italic;
  entry.face = face;
  entry.heightFactor = static_cast<float>(1.0 / ScaleOf(face));
  g_table.push_back(std::move(entry));
  return 1;
}

int32_t SetControlFont(FontWindow* window, int32_t mode, FontSource* control, float size,
                       int16_t bold, int16_t italic, const std::string& face) {
  if (mode < -2) return kFailed;
  if (g_uiFace.empty()) g_uiFace = kDefaultUiFace;
  if (g_table.empty() && CreateFontHandle(kDefaultSize, 0, 0, g_uiFace) == 0) return kFailed;

  // The flags are compared as given: only -1 is true, so a 1 is a font of its own that is
  // neither bold nor italic.
  std::string wantedFace = face;
  if (mode == -1) {
    // Without a control there is nothing to take the font from.
    if (control == nullptr) return kFailed;
    size = control->FontSize();
    bold = AsFlag(control->FontBold());
    italic = AsFlag(control->FontItalic());
    wantedFace = control->FontName();
    window = control->Window();
  }
  if (wantedFace.empty()) wantedFace = g_uiFace;
  // A NaN size counts as no size.
  if (!(size > 0.0F)) size = kDefaultSize;

  int64_t index = mode;
  if (mode < 0) {
    index = -1;
    for (size_t i = 0; i < g_table.size(); ++i) {
      const FontHandleEntry& entry = g_table[i];
      if (entry.face == wantedFace && entry.size == size && entry.bold == bold &&
          entry.italic == italic) {
        index = static_cast<int64_t>(i);
        break;
      }
    }
    if (index < 0) {
      if (CreateFontHandle(size, bold, italic, wantedFace) == 0) return kFailed;
      index = static_cast<int64_t>(g_table.size()) - 1;
    }
  }
  if (index >= static_cast<int64_t>(g_table.size())) return kFailed;
  const int32_t handle = g_table[static_cast<size_t>(index)].handle;
  if (handle == 0) return kFailed;
  if (window != nullptr) window->SetWindowFont(handle);
  return static_cast<int32_t>(index);
}

void DeleteFontHandles() {
  if (g_table.empty()) return;
  for (const FontHandleEntry& entry : g_table) {
    if (entry.handle != 0 && g_factory != nullptr) g_factory->DeleteFont(entry.handle);
  }
  g_table.clear();
}

void ResetFontTableForTest() {
  g_table.clear();
  g_uiFace.clear();
}

}  // namespace foundation
