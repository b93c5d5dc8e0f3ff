#include "playout/playout_settings.h"

#include <cstdlib>

#include "foundation/setting_value.h"
#include "foundation/settings_store.h"

namespace playout {

std::string StoreSettingsReader::Text(const std::string& key, const std::string& defaultValue) {
  return foundation::LoadSettingText(key, defaultValue);
}

int32_t StoreSettingsReader::Int(const std::string& key, int32_t defaultValue) {
  return foundation::LoadSettingInt(key, defaultValue);
}

PlayoutSettings LoadPlayoutSettings(SettingsReader& reader) {
  PlayoutSettings s;
  s.AirID = reader.Text("AirID", "A");
  s.SelectedAir = reader.Int("SelectedAir", 1) - 1;
  s.StopAdjMS = reader.Int("StopAdjMS", 0);
  // INT32_MIN has no absolute value; it stands for the largest tolerance.
  const int32_t overSec = reader.Int("OverSec", 0);
  s.OverSec = overSec == INT32_MIN ? INT32_MAX : std::abs(overSec);
  s.NoTimeSkip = reader.Int("NoTimeSkip", 0);
  s.ForceLoad = reader.Int("ForceLoad", 0);
  s.ForceOA = reader.Int("ForceOA", 0);
  s.NoCNTSkip = reader.Int("NoCNTSkip", 0);
  s.ColorMode = reader.Int("ColorMode", 0);
  s.ColorModeR = reader.Int("ColorModeR", 0);
  s.LVFontSize = reader.Int("LVFontSize", 20);
  s.UseFade = reader.Int("UseFade", 0);
  s.FadeTime = reader.Int("DefaultFadeTime", 6000);
  s.FadeMargin = reader.Int("FadeMargin", 3000);
  const int32_t playerType = reader.Int("PlayerType", 0);
  s.PlayerType = playerType > 1 ? 1 : (playerType < 0 ? 0 : playerType);
  s.WaveDeviceName = reader.Text("WaveDeviceName", "");
  for (int32_t n = 0; n < 3; ++n)
    s.CueActive[n] = reader.Int("CueActive_" + std::to_string(n + 1), 0);
  s.AMinute = reader.Int("AMinute", 0);
  s.ASecond = reader.Int("ASecond", 0);
  // These three are stored as texts.
  s.CancelCNT = foundation::ParseSettingInt(reader.Text("CancelCNT", "0")).value_or(0);
  s.CommandMargin = foundation::ParseSettingInt(reader.Text("CommandMargin", "0")).value_or(0);
  s.NoPlayMS = reader.Int("NoPlayMS", 0);
  s.CNTPulseMS = reader.Int("CNTPulseMS", 0);
  for (int32_t g = 0; g < 4; ++g) {
    for (int32_t n = 1; n <= 8; ++n) {
      const std::string key = "CNTFunction_" + std::to_string(g) + "_" + std::to_string(n);
      s.CNTFunction[g + 4 * (n - 1)] =
          foundation::ParseSettingInt(reader.Text(key, "0")).value_or(0);
    }
  }
  return s;
}

}  // namespace playout
