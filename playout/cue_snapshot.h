#pragma once

#include <string>

#include "controls/lists/list_model.h"
#include "foundation/server_config.h"

namespace playout {

// The on-air snapshot out_<NN><AirID>.cue that the companion shows and copies to the server:
// one line per row of the on-air list, then per row of the queue, in CP932 with CR LF. Each line
// is six double-quoted fields separated by commas: the start time and the folder cleaned, the
// trigger and type as their table positions, the length in ms, and the file name as the row
// holds it (no extension).
std::string CueSnapshotText(const lists::ListModel& onAir, const lists::ListModel& queue,
                            const foundation::ConfTables& conf);

// Writes `bytes` to `path` through `path`.tmp and a rename over the old file, so a reader sees
// the old or the new file, never none and never a part. False when anything failed (the old
// file is then left as it was).
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace playout
