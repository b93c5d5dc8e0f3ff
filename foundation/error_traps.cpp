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

std::optional<std::string> CatchFailure(const std::function<void()>& work) {
  try {
    if (work) work();
    return std::nullopt;
  } catch (const std::exception& e) {
    return std::string(e.what());
  } catch (...) {
    return std::string("unknown error");
  }
}

bool RunTrapped(const std::string& where, const std::function<void()>& work) {
  const std::optional<std::string> failure = CatchFailure(work);
  if (failure) WriteLog(where + " " + *failure, platform::LogSeverity::kError);
  return !failure;
}

}  // namespace foundation
