#pragma once

#include "platform/log_sink.h"

namespace playout {

// The toolkit's parts that the program's routines reach through process-wide seams: the font
// factory with the face substitutions, the screens for window placement, the standard dialogs,
// and the wave output the players play through, chosen here with `log` as the place where it
// reports its streams (the lines come from the output's own threads and are written on the
// user-interface thread). Installed once, after the application object exists; removed before
// it goes. `log` must outlive the services.
void InstallProgramServices(platform::LogSink& log);
void RemoveProgramServices();

}  // namespace playout
