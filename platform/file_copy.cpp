#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

// Closes a descriptor and removes the temporary file unless released.
class TempFile {
 public:
  TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TempFile() {
    fd_.reset();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }
  // Closes the descriptor, reporting a delayed write error; 0 or errno.
  int CloseChecked() { return ::close(fd_.release()) == 0 ? 0 : errno; }
  void Keep() { path_.clear(); }

 private:
  UniqueFd fd_;
  std::string path_;
};

// "dir/name" -> "dir/.name.XXXXXX": a hidden name beside the target, on the same file system,
// so the final rename is atomic.
std::string TempTemplateFor(const std::string& to) {
  const size_t slash = to.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? to : to.substr(slash + 1);
  return dir + "." + base + ".XXXXXX";
}

int WriteAll(int fd, const char* data, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, data, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    count -= static_cast<size_t>(n);
  }
  return 0;
}

int CopyBytes(int in, int out) {
  constexpr size_t kBufferSize = 1 << 20;
  std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  for (;;) {
    const ssize_t n = ::read(in, buffer.get(), kBufferSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return 0;
    if (const int err = WriteAll(out, buffer.get(), static_cast<size_t>(n))) return err;
  }
}

}  // namespace

int CopyFileKeepTime(const std::string& from, const std::string& to, bool replace) {
  if (from.empty() || to.empty() || to.back() == '/') return EINVAL;
  FileHandle source;  // a regular file only (OpenRegularFile)
  if (const int err = source.Open(from, OpenMode::Read)) return err;
  struct stat st {};
  if (::fstat(source.fd(), &st) != 0) return errno;

  // Refuse early rather than after copying; the final no-replace rename still decides races.
  struct stat target {};
  if (!replace && ::lstat(to.c_str(), &target) == 0) return EEXIST;
  // A target is replaced only when it is a file: a folder, FIFO, socket or device standing at
  // the target's name is refused as the source would be, never swapped for the copy.
  if (::stat(to.c_str(), &target) == 0) {
    if (S_ISDIR(target.st_mode)) return EISDIR;
    if (!S_ISREG(target.st_mode)) return EINVAL;
  }

  std::string tmpl = TempTemplateFor(to);
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  TempFile temp(fd, tmpl);

  if (const int err = CopyBytes(source.fd(), temp.fd())) return err;
  // The copy carries the source's permission bits (a read-only source stays read-only).
  if (::fchmod(temp.fd(), st.st_mode & 0777) != 0) return errno;
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (::futimens(temp.fd(), times) != 0) return errno;
  if (::fsync(temp.fd()) != 0) return errno;
  if (const int err = temp.CloseChecked()) return err;

  const int err = replace ? RenameReplace(temp.path(), to) : RenameNoReplace(temp.path(), to);
  if (err != 0) return err;
  temp.Keep();
  return 0;
}

}  // namespace platform
