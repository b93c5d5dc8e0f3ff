#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Process-wide running state of one program, set by its start-up and read everywhere. Plain
// values, written on the user-interface thread before anything else runs and not changed
// afterwards (tests set them freely), so readers need no lock.
struct AppGlobals {
  // The instance's settings set: the playout's title plus its session letter, the companion's
  // title plus its command-line suffix. Empty until start-up sets it (then the store and the log
  // use the program title).
  std::string SettingsName;
  // Full path of the INI file holding the instance's settings, or empty when they live in the
  // user registry. Fixed at start-up.
  std::string IniPath;
  // Non-zero: every WriteLog call writes. 0 until start-up switches the log on.
  int32_t LogError = 0;
  // 0: error traps on (normal running). Non-zero: debug running; an oversized log is kept under a
  // numbered name instead of being deleted.
  int32_t ErrorCatch = 0;
  // The debug log folder; empty means <program folder>log.
  std::string DebugLogPath;
  // Non-zero: one debug log file per calendar day.
  int32_t DailyLog = 0;
  // The program's title and its maker, as the version information names them. The companion's
  // start-up sets its own title.
  std::string ProgramTitle = "Ondrake";
  std::string CompanyName = "Tarnwick";
  // Twips per screen pixel (1440 / logical DPI).
  int32_t TwipsPerPixel = 15;
  // True in the companion program: its debug log files are named without the computer name and
  // an oversized one is always deleted.
  bool IsCompanion = false;
  // When not empty, the program folder (with a trailing '/') used instead of the running
  // program's own folder. Tests point it at a temporary folder.
  std::string ProgramFolderOverride;
};

// The one instance of the process.
AppGlobals& Globals();

}  // namespace foundation
