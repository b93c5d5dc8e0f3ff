#pragma once

namespace playout {

// The toolkit's parts that the program's routines reach through process-wide seams: the font
// factory with the face substitutions, the screens for window placement, the standard dialogs,
// and the debug log as the place where the wave output reports its streams (the lines come
// from the output's own threads and are written on the user-interface thread). Installed once,
// after the application object exists; removed before it goes.
void InstallProgramServices();
void RemoveProgramServices();

}  // namespace playout
