#include "playout/view/window_settings.h"

#include <algorithm>

#include "foundation/setting_value.h"
#include "settings/cnt_functions.h"

namespace playout {

namespace {

constexpr float kMinSizeRate = 0.7F;
constexpr float kMaxSizeRate = 3.0F;

}  // namespace

float ClampSizeRate(const std::string& text) {
  const std::optional<double> value = foundation::ParseSettingNumber(text);
  if (!value) return 1.0F;
  return std::clamp(static_cast<float>(*value), kMinSizeRate, kMaxSizeRate);
}

int32_t ClampNumSWCH(int32_t value) { return std::clamp(value, 1, 8); }

WindowSettings LoadWindowSettings(SettingsReader& reader) {
  WindowSettings s;
  s.SizeRate = ClampSizeRate(ReadSettingText(reader, "SizeRate"));
  s.ClockColor = ReadSettingInt(reader, "ClockColor");
  s.StoredPlayerType = ReadSettingInt(reader, "PlayerType");
  s.NumSWCH = ClampNumSWCH(ReadSettingInt(reader, "NumSWCH"));
  return s;
}

int32_t UseTimeSyncAtStart(const std::string& timeSrv, const std::array<bool, 3>& comOpen,
                           bool hidOK,
                           const std::array<int32_t, settings::kContactInputCount>& cntFunction) {
  if (timeSrv.empty() || comOpen[0]) return 0;
  for (int32_t g = 0; g < settings::kCntGroups; ++g) {
    const bool available = g < 3 ? comOpen[static_cast<size_t>(g)] : hidOK;
    if (!available) continue;
    for (int32_t n = 1; n <= settings::kCntInputs; ++n) {
      const size_t at = static_cast<size_t>(settings::ContactInput{g, n}.FunctionIndex());
      if (static_cast<settings::CntFunction>(cntFunction[at]) ==
          settings::CntFunction::kClockAdjust)
        return 0;
    }
  }
  return 1;
}

}  // namespace playout
