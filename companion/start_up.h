#pragma once

#include <string>

#include "companion/companion_settings.h"

namespace companion {

// The process-wide part of the companion's start-up, before its window exists: the program's
// names, its debug log (always on, one file a day, in the common DebugLogPath or the program
// folder's "log"), its error traps, the language, and the settings the engine works with: the
// server table and LocalPath of the playout's base settings set "Ondrake", conf.ini, and the
// served playout's AirID, SelectedAir and PrepDay.
CompanionSettings CompanionStartUp(const std::string& commandLine);

}  // namespace companion
