#pragma once

#include <cstdint>

namespace platform {

// An advisory whole-file lock (flock) on an open descriptor, the one the programs' appends and
// the companion's log reader agree on. Held until Unlock or until the descriptor is closed.
enum class FileLockKind { kShared, kExclusive };

// How long an append or a log read waits for the lock: they hold it for a single write or
// read, so only a stopped or stuck holder keeps it longer.
inline constexpr int32_t kFileLockWaitMs = 50;

// Takes the lock, trying again until `waitMs` has passed; false when it was not taken (another
// holder kept it, or the file system has no such locks). Never waits much beyond `waitMs`.
bool LockFileWithin(int fd, FileLockKind kind, int32_t waitMs = kFileLockWaitMs);
void UnlockFile(int fd);

}  // namespace platform
