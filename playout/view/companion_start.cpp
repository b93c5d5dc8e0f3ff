#include "playout/view/companion_start.h"

#include "foundation/files.h"
#include "foundation/program_launch.h"
#include "platform/window_registry.h"
#include "playout/view/session_probe.h"

namespace playout {

namespace {

// Minimised, not activated.
constexpr int32_t kMinimisedNoActivate = 6;

}  // namespace

double StartCompanion(const std::string& programFolder, const std::string& letter) {
  const std::string path = programFolder + "Ferlune";
  if (foundation::FileExists(path) == 0) return 0;
  if (platform::FindWindowExact(CompanionCaption(letter))) return 0;
  return foundation::RunProgram(path, letter, kMinimisedNoActivate, "");
}

}  // namespace playout
