#include "foundation/error_traps.h"

#include <exception>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/files.h"
#include "foundation/paths.h"
#include "foundation/settings_store.h"

namespace foundation {

int32_t InitErrorTraps() {
  int32_t errorCatch = LoadSettingInt("ErrorCatch", 0);
  // A marker file beside the program turns on debug running without touching the settings.
  if (errorCatch == 0 && FileExists(GetAppFolder() + "ec.txt")) errorCatch = 1;
  Globals().ErrorCatch = errorCatch;
  return errorCatch;
}

bool RunTrapped(const std::string& where, const std::function<void()>& work) {
  try {
    if (work) work();
    return true;
  } catch (const std::exception& e) {
    WriteLog(where + " " + e.what(), 1);
  } catch (...) {
    WriteLog(where + " unknown error", 1);
  }
  return false;
}

}  // namespace foundation
