#include "foundation/station_settings.h"

#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/folders.h"
#include "foundation/paths.h"
#include "foundation/server_reachability.h"
#include "foundation/server_root.h"
#include "foundation/settings_store.h"

namespace foundation {

namespace {

// The current server is checked with a short echo: it runs from the clock tick.
constexpr int32_t kAliveTimeoutMs = 500;
constexpr int32_t kAliveMaxAgeSec = 300;

std::string Key(const char* stem, int32_t index) { return stem + std::to_string(index + 1); }

// A stored folder with a trailing separator added. A Windows drive path is refused (read as
// unset) with a log line: taken as it stands it would become a folder under the current one.
std::string LoadFolderSetting(const std::string& key, const std::string& name) {
  const std::string stored = LoadSettingText(key, "", name);
  if (!IsDrivePath(stored)) return SetTrailingSeparator(stored);
  WriteLog(key + " refused, a drive path names no folder here: " + stored);
  return "";
}

void SaveServerTable(const StationSettings& s, const std::string& name) {
  for (int32_t i = 0; i < kServerCount; ++i) {
    SaveSettingValue(Key("SrvPath_", i), s.SrvPath[i], 0, name);
    SaveSettingValue(Key("SrvName_", i), s.SrvName[i], 0, name);
    SaveSettingValue(Key("SaveTip_", i), s.SaveTip[i], 0, name);
    SaveSettingValue(Key("SrvAutoFast_", i), s.SrvAutoFast[i], 0, name);
    SaveSettingValue(Key("SrvRO_", i), s.SrvRO[i], 0, name);
    SaveSettingValue(Key("SrvExpanded_", i), s.SrvExpanded[i], 0, name);
    if (!Globals().IsCompanion)
      SaveSettingValue(Key("UseSubFolder_", i), s.UseSubFolder[i], 0, name);
  }
  SaveSettingValue("LocalPath", s.LocalPath, 0, name);
}

void LoadServerTable(StationSettings& s, const std::string& name) {
  for (int32_t i = 0; i < kServerCount; ++i) {
    s.SrvPath[i] = LoadFolderSetting(Key("SrvPath_", i), name);
    WriteLog("SrvPath_" + std::to_string(i + 1) + "=" + s.SrvPath[i]);
    s.SrvName[i] = LoadSettingText(Key("SrvName_", i), "", name);
    s.SaveTip[i] = LoadSettingInt(Key("SaveTip_", i), 0, name);
    s.SrvAutoFast[i] = LoadSettingInt(Key("SrvAutoFast_", i), 0, name);
    s.SrvRO[i] = LoadSettingInt(Key("SrvRO_", i), 0, name);
    s.SrvExpanded[i] = LoadSettingInt(Key("SrvExpanded_", i), 0, name);
    if (!Globals().IsCompanion)
      s.UseSubFolder[i] = LoadSettingInt(Key("UseSubFolder_", i), 1, name);
  }

  const int32_t current = CurrentServerIndex();
  s.SaveTip[current] = 1;
  s.SrvRO[current] = 0;
  // Stored paths that lack the separator get one, as SrvPath does: the folders are built by
  // appending to it.
  s.LocalPath = LoadFolderSetting("LocalPath", name);
  DeriveWorkFolders(s);
}

}  // namespace

StationSettings& Station() {
  static StationSettings* settings = new StationSettings();  // outlives static destructors
  return *settings;
}

int32_t CurrentServerIndex() {
  const int32_t current = Station().CurrentServer;
  return (current >= 0 && current < kServerCount) ? current : 0;
}

void DeriveWorkFolders(StationSettings& s) {
  for (int32_t i = 0; i < kServerCount; ++i) s.ServerConfFolder[i] = s.SrvPath[i] + "conf/";
  const int32_t current =
      (s.CurrentServer >= 0 && s.CurrentServer < kServerCount) ? s.CurrentServer : 0;
  const std::string& server = s.SrvPath[current];
  if (!server.empty()) {
    s.ServerSchedFolder = server + "sched/";
    s.ServerCommandFolder = server + "command/";
    s.ServerLogFolder = server + "log/";
  }
  if (!s.LocalPath.empty()) {
    s.LocalConfFolder = s.LocalPath + "conf/";
    s.LocalSchedFolder = s.LocalPath + "sched/";
    s.LocalLogFolder = s.LocalPath + "log/";
    s.LocalCommandFolder = s.LocalPath + "command/";
  }
}

void EnsureWorkFolders() {
  const StationSettings& s = Station();
  if (s.LocalPath.empty() || FolderExists(s.LocalPath) == 0) return;
  for (const std::string* folder :
       {&s.LocalConfFolder, &s.LocalSchedFolder, &s.LocalLogFolder, &s.LocalCommandFolder}) {
    if (!folder->empty() && FolderExists(*folder) == 0 && MakeFolder(*folder) == 0)
      WriteLog("EnsureWorkFolders " + *folder + " cannot be made", platform::LogSeverity::kError);
  }
}

void LoadServerSettings(int32_t save, const std::string& name) {
  if (save != 0) {
    SaveServerTable(Station(), name);
  } else {
    LoadServerTable(Station(), name);
  }
}

void CheckServerAlive() {
  StationSettings& s = Station();
  const std::string& server = s.SrvPath[CurrentServerIndex()];
  if (server.empty()) {
    s.ServerAlive = 0;
    return;
  }
  if (IsServerReachable(server, kAliveTimeoutMs, kAliveMaxAgeSec) == 0) {
    s.ServerAlive = 0;
    WriteLog("サーバー迷子");
    return;
  }
  // Only a host that answers has its root looked at: a stat on a dead mount could hang. A
  // missing root says so once, when it goes and when it is back.
  s.ServerAlive = CheckServerRoot(server, [](const std::string& line) { WriteLog(line); });
}

}  // namespace foundation
