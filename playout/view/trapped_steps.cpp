#include "playout/view/trapped_steps.h"

#include <optional>

#include "foundation/app_globals.h"
#include "foundation/error_traps.h"

namespace playout {

bool TrappedSteps::Run(const char* name, const std::function<void()>& step) {
  if (stopped_) return false;
  const std::string where = where_ + " " + name;
  // Decided before the step runs: the start-up's own steps set the flag.
  const bool trapped = foundation::Globals().ErrorCatch == 0;
  const std::optional<std::string> failure = foundation::CatchFailure(step);
  if (!failure) return true;
  log_.Write(where + " " + *failure, platform::LogSeverity::kError);
  if (trapped) return true;
  failure_ = where + " " + *failure;
  stopped_ = true;
  return false;
}

}  // namespace playout
