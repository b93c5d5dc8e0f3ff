#include "platform/line_append.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_lock.h"
#include "platform/file_system.h"

namespace platform {

namespace {

// What has to come before a line so that it starts a line of its own: nothing after a line
// break, the missing LF after a lone CR, else the break the line itself ends with.
std::string_view BreakBefore(int fd, int64_t size, std::string_view line) {
  if (size <= 0) return {};
  char last = '\n';
  if (::pread(fd, &last, 1, static_cast<off_t>(size - 1)) != 1) return {};
  if (last == '\n') return {};
  if (last == '\r') return "\n";
  return line.size() >= 2 && line.substr(line.size() - 2) == "\r\n" ? "\r\n" : "\n";
}

// Writes all bytes, counting in `written` those that went out; 0, or the errno value of the
// failure (EIO for a write that moved nothing).
int WriteAll(int fd, std::string_view bytes, int64_t& written) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    written += n;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

}  // namespace

LineAppendResult AppendWholeLine(const std::string& nativePath, std::string_view line) {
  LineAppendResult result;
  UniqueFd fd;
  result.openError = OpenRegularFile(nativePath, O_RDWR | O_CREAT | O_APPEND, fd);
  if (result.openError != 0) return result;
  const bool locked = LockFileWithin(fd.get(), FileLockKind::kExclusive);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    result.writeError = errno;
    return result;
  }
  const int64_t before = st.st_size;
  std::string bytes(BreakBefore(fd.get(), before, line));
  bytes.append(line);
  int64_t written = 0;
  result.writeError = WriteAll(fd.get(), bytes, written);
  // Under the lock no other line can have followed ours (the size tells of a writer that gave
  // up waiting for it), so the torn part can go again.
  if (result.writeError != 0 && locked && ::fstat(fd.get(), &st) == 0 &&
      st.st_size == before + written) {
    while (::ftruncate(fd.get(), static_cast<off_t>(before)) != 0 && errno == EINTR) {
    }
  }
  return result;
}

}  // namespace platform
