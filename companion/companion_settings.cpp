#include "companion/companion_settings.h"

#include <algorithm>

#include "foundation/calendar.h"
#include "foundation/setting_value.h"
#include "foundation/settings_store.h"
#include "platform/ascii_text.h"

namespace companion {

namespace {

constexpr char kPlayoutTitle[] = "Ondrake";
constexpr char kCompanionTitle[] = "Ferlune";
constexpr char kCaptionTail[] = " - Tarnwick";

// The playout's store is read as it stands: a missing key gives the default and is not written
// into the playout's file.
std::string ReadPlayoutValue(const std::string& name, const std::string& key,
                             const foundation::SettingValue& defaultValue) {
  int32_t kind = foundation::kStoreUnresolved;
  const std::string store = foundation::ResolveSettingsStore(name, 0, kind);
  if (kind == foundation::kStoreIni)
    return foundation::ReadIniValue(key, defaultValue, store, "", 0);
  if (kind == foundation::kStoreRegistry) return foundation::ReadRegValue(key, defaultValue, store);
  return defaultValue.Text();
}

int32_t ReadPlayoutInt(const std::string& name, const std::string& key, int32_t defaultValue) {
  return foundation::ParseSettingInt(ReadPlayoutValue(name, key, defaultValue))
      .value_or(defaultValue);
}

}  // namespace

CompanionNames NamesForCommandLine(const std::string& commandLine) {
  CompanionNames n;
  n.Suffix = std::string(platform::TrimWhiteSpace(commandLine));
  n.PlayoutSettingsName = kPlayoutTitle + n.Suffix;
  n.PlayoutCaption = n.PlayoutSettingsName + kCaptionTail;
  n.SettingsName = kCompanionTitle + n.Suffix;
  n.Caption = n.SettingsName + kCaptionTail;
  return n;
}

std::string CompanionSettings::AirFileStem() const {
  return foundation::PadNumber(static_cast<int64_t>(SelectedAir) + 1, 2) + AirID;
}

void ApplyStation(const foundation::StationSettings& station, CompanionSettings& settings) {
  settings.ServerRoot = station.SrvPath[0];
  if (!settings.ServerRoot.empty()) {
    settings.ServerSchedFolder = station.ServerSchedFolder;
    settings.ServerLogFolder = station.ServerLogFolder;
    settings.ServerCommandFolder = station.ServerCommandFolder;
  }
  settings.LocalPath = station.LocalPath;
  settings.LocalConfFolder = station.LocalConfFolder;
  settings.LocalSchedFolder = station.LocalSchedFolder;
  settings.LocalLogFolder = station.LocalLogFolder;
  settings.LocalCommandFolder = station.LocalCommandFolder;
}

void ReadPlayoutKeys(const std::string& playoutSettingsName, CompanionSettings& settings) {
  settings.AirID = ReadPlayoutValue(playoutSettingsName, "AirID", "A");
  const int32_t air = ReadPlayoutInt(playoutSettingsName, "SelectedAir", 1);
  // A stored 0 (or anything below) names no air; it is kept as the playout keeps it.
  settings.SelectedAir = air == INT32_MIN ? INT32_MIN : air - 1;
  settings.PrepDay = std::clamp(ReadPlayoutInt(playoutSettingsName, "PrepDay", 2), 2, kMaxPrepDay);
}

}  // namespace companion
