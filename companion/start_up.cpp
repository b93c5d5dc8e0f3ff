#include "companion/start_up.h"

#include "foundation/app_globals.h"
#include "foundation/error_traps.h"
#include "foundation/files.h"
#include "foundation/lang_mode.h"
#include "foundation/paths.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"

namespace companion {

CompanionSettings CompanionStartUp(const std::string& commandLine) {
  CompanionSettings settings;
  settings.names = NamesForCommandLine(commandLine);
  foundation::AppGlobals& app = foundation::Globals();
  app.ProgramTitle = "Ferlune";
  app.IsCompanion = true;
  app.SettingsName = settings.names.SettingsName;
  const std::string ini = foundation::GetAppFolder() + app.SettingsName + ".ini";
  app.IniPath = foundation::FileExists(ini) != 0 ? ini : "";
  app.LogError = foundation::LoadSettingInt("LogError", 0);
  foundation::InitErrorTraps();
  foundation::DetectLangMode();
  app.LogError = 1;
  app.DailyLog = 1;
  app.DebugLogPath = foundation::ReadRegValue("DebugLogPath", "", "common");
  if (app.DebugLogPath.empty()) app.DebugLogPath = foundation::GetAppFolder() + "log";
  settings.DebugLogPath = app.DebugLogPath;

  foundation::SetColumnCaptions();
  foundation::LoadServerSettings(0, "Ondrake");
  foundation::LoadConfIni(0);
  settings.HourAdjust = foundation::Conf().HourAdjust;
  ApplyStation(foundation::Station(), settings);
  ReadPlayoutKeys(settings.names.PlayoutSettingsName, settings);
  return settings;
}

}  // namespace companion
