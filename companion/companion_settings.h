#pragma once

#include <cstdint>
#include <string>

#include "foundation/station_settings.h"

namespace companion {

// The names one companion instance goes by, from its command line (the playout's session
// letter, empty for the first session).
struct CompanionNames {
  std::string Suffix;               // the trimmed command line
  std::string PlayoutSettingsName;  // "Ondrake" + suffix: the served playout's settings set
  std::string PlayoutCaption;       // PlayoutSettingsName + " - Tarnwick"
  std::string SettingsName;         // "Ferlune" + suffix
  std::string Caption;              // SettingsName + " - Tarnwick"
};

CompanionNames NamesForCommandLine(const std::string& commandLine);

// What the engine works with, read once at start-up.
struct CompanionSettings {
  CompanionNames names;
  std::string AirID = "A";
  int32_t SelectedAir = 0;  // 0-based air number
  int32_t PrepDay = 2;      // broadcast days of schedules taken in, at least 2
  int32_t HourAdjust = 18000;
  std::string DebugLogPath;
  // Server 1 (the only one the companion uses) and its folders, each with a trailing separator.
  std::string ServerRoot;
  std::string ServerSchedFolder;
  std::string ServerLogFolder;
  std::string ServerCommandFolder;
  // The local store and its work folders, each with a trailing separator.
  std::string LocalPath;
  std::string LocalConfFolder;
  std::string LocalSchedFolder;
  std::string LocalLogFolder;
  std::string LocalCommandFolder;

  // The air number and station letter in file names: "01A".
  std::string AirFileStem() const;
};

// Takes the server and local folders from the station settings (server 1 only).
void ApplyStation(const foundation::StationSettings& station, CompanionSettings& settings);

// The most broadcast days a schedule scan looks ahead; a larger PrepDay is cut to it.
inline constexpr int32_t kMaxPrepDay = 366;

// The playout's AirID, SelectedAir and PrepDay from its own settings set (its INI file when it
// has one, else the registry), never writing into it: AirID default "A", SelectedAir stored
// 1-based (default 1), PrepDay default 2 and never below 2.
void ReadPlayoutKeys(const std::string& playoutSettingsName, CompanionSettings& settings);

}  // namespace companion
