#include "playout/view/trapped_steps.h"

#include <exception>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/error_traps.h"

namespace playout {

bool TrappedSteps::Run(const char* name, const std::function<void()>& step) {
  if (stopped_) return false;
  const std::string where = where_ + " " + name;
  if (foundation::Globals().ErrorCatch == 0) {
    foundation::RunTrapped(where, step);
    return true;
  }
  try {
    step();
    return true;
  } catch (const std::exception& e) {
    failure_ = where + " " + e.what();
  } catch (...) {
    failure_ = where + " unknown error";
  }
  foundation::WriteLog(failure_, 1);
  stopped_ = true;
  return false;
}

}  // namespace playout
