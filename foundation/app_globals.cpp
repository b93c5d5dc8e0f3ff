#include "foundation/app_globals.h"

#include "foundation/paths.h"

namespace foundation {

AppGlobals& Globals() {
  static AppGlobals globals;
  return globals;
}

void ResetGlobalsForTest() { Globals() = AppGlobals{}; }

void SetProgramFolderForTest(const std::string& folder) {
  Globals().ProgramFolderOverride = folder.empty() ? "" : SetTrailingSeparator(folder);
}

}  // namespace foundation
