#include "platform/file_lock.h"

#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace platform {

bool LockFileWithin(int fd, FileLockKind kind, int32_t waitMs) {
  const int operation = (kind == FileLockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (::flock(fd, operation) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void UnlockFile(int fd) {
  while (::flock(fd, LOCK_UN) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
