#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/file_system.h"

namespace platform {

static_assert(sizeof(off_t) == 8, "file offsets must be 64-bit");

namespace {

// One read(2)/write(2) call never moves more than this; larger requests loop.
constexpr int64_t kMaxChunk = int64_t{1} << 30;

}  // namespace

int OpenRegularFile(const std::string& path, int flags, UniqueFd& fd) {
  fd.reset();
  int raw;
  do {
    raw = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  } while (raw < 0 && errno == EINTR);
  if (raw < 0) return errno;
  UniqueFd opened(raw);
  struct stat st {};
  if (::fstat(raw, &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  // Only the open had to be non-blocking; reads and writes of the file wait as usual.
  const int status = ::fcntl(raw, F_GETFL);
  if (status < 0 || ::fcntl(raw, F_SETFL, status & ~O_NONBLOCK) != 0) return errno;
  fd = std::move(opened);
  return 0;
}

int FileHandle::Open(const std::string& path, OpenMode mode) {
  Close();
  int flags = 0;
  switch (mode) {
    case OpenMode::Read:
      flags = O_RDONLY;
      break;
    case OpenMode::WriteCreate:
      flags = O_WRONLY | O_CREAT;
      break;
    case OpenMode::ReadWriteCreate:
      flags = O_RDWR | O_CREAT;
      break;
    case OpenMode::AppendCreate:
      flags = O_WRONLY | O_CREAT | O_APPEND;
      break;
    case OpenMode::CreateNew:
      flags = O_WRONLY | O_CREAT | O_EXCL;
      break;
  }
  return OpenRegularFile(path, flags, fd_);
}

int FileHandle::CloseChecked() {
  if (!fd_.valid()) return 0;
  return ::close(fd_.release()) == 0 ? 0 : errno;
}

bool FileHandle::Seek(int64_t offset) {
  if (!fd_.valid() || offset < 0) return false;
  return ::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

int64_t FileHandle::Read(void* dst, int64_t count) {
  if (!fd_.valid() || count < 0 || (count > 0 && dst == nullptr)) {
    errno = EINVAL;
    return -1;
  }
  auto* out = static_cast<char*>(dst);
  int64_t done = 0;
  while (done < count) {
    const int64_t want = count - done < kMaxChunk ? count - done : kMaxChunk;
    const ssize_t n = ::read(fd_.get(), out + done, static_cast<size_t>(want));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;  // end of file
    done += n;
  }
  return done;
}

int64_t FileHandle::Write(const void* src, int64_t count) {
  if (!fd_.valid() || count < 0 || (count > 0 && src == nullptr)) {
    errno = EINVAL;
    return -1;
  }
  const auto* in = static_cast<const char*>(src);
  int64_t done = 0;
  while (done < count) {
    const int64_t want = count - done < kMaxChunk ? count - done : kMaxChunk;
    const ssize_t n = ::write(fd_.get(), in + done, static_cast<size_t>(want));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) {  // cannot happen for regular files; avoid spinning forever on odd devices
      errno = EIO;
      return -1;
    }
    done += n;
  }
  return done;
}

int64_t FileHandle::Size() const {
  struct stat st {};
  if (!fd_.valid() || ::fstat(fd_.get(), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool FileHandle::Sync() { return fd_.valid() && ::fsync(fd_.get()) == 0; }

}  // namespace platform
