#include "platform/open_file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

std::optional<FileInfo> StatOpenFile(const FileHandle& file) {
  if (!file.IsOpen()) {
    errno = EBADF;
    return std::nullopt;
  }
  // The descriptor's entry under /proc names the open file itself, even one renamed or deleted
  // since it was opened.
  return StatPath("/proc/self/fd/" + std::to_string(file.fd()));
}

int SetOpenFileWriteTime(FileHandle& file, int64_t sec, int64_t nsec) {
  if (!file.IsOpen()) return EBADF;
  struct timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(sec);
  times[1].tv_nsec = static_cast<long>(nsec);
  return ::futimens(file.fd(), times) == 0 ? 0 : errno;
}

int64_t CopyFileRange(FileHandle& from, FileHandle& to, int64_t count) {
  if (!from.IsOpen() || !to.IsOpen() || count < 0) {
    errno = EBADF;
    return -1;
  }
  // One call moves at most what fits a ssize_t comfortably; larger requests loop.
  constexpr int64_t kMaxCall = int64_t{1} << 30;
  int64_t done = 0;
  while (done < count) {
    const int64_t want = count - done < kMaxCall ? count - done : kMaxCall;
    const ssize_t n =
        ::copy_file_range(from.fd(), nullptr, to.fd(), nullptr, static_cast<size_t>(want), 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      // Once some bytes went, the positions have moved: report what was copied, and the next
      // call meets the error again.
      return done > 0 ? done : -1;
    }
    if (n == 0) break;  // end of the source
    done += n;
  }
  return done;
}

}  // namespace platform
