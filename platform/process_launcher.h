#pragma once

#include <string>
#include <vector>

namespace platform {

// Starts `program` with `args` (argv[1..]; argv[0] is the program path) through posix_spawn,
// never through a shell. A program without '/' is searched in PATH. The child is reaped in the
// background, so no zombie is left. Returns the child's pid, or -1 with `error` (when given)
// holding the reason.
int SpawnDetached(const std::string& program, const std::vector<std::string>& args,
                  std::string* error = nullptr);

// Starts the program and waits for it up to `timeoutMs` (negative: no limit). Returns its exit
// status (0-255), or -1 when it could not start, died by a signal, or ran past the limit (then
// it is killed and reaped).
int RunAndWait(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
               std::string* error = nullptr);

}  // namespace platform
