#pragma once

#include <string>

namespace playout {

// Starts the companion beside the playout: `<programFolder>Ferlune` with the session letter as
// its only argument (none for session 0), asked to start minimised and without focus. Nothing
// is started when the file is missing or a window already bears the companion's caption for
// that letter. The companion's process id, or 0 when none was started.
double StartCompanion(const std::string& programFolder, const std::string& letter);

}  // namespace playout
