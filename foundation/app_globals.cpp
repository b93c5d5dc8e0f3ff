#include "foundation/app_globals.h"

namespace foundation {

AppGlobals& Globals() {
  static AppGlobals globals;
  return globals;
}

}  // namespace foundation
