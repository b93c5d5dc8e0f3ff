#include "platform/atomic_file_update.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

// Reads from the current position to the end, at most maxBytes (EFBIG when there is more).
int ReadAllBounded(int fd, size_t maxBytes, std::string& out) {
  out.clear();
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return 0;
    if (static_cast<size_t>(n) > maxBytes - out.size()) return EFBIG;
    out.append(buf, static_cast<size_t>(n));
  }
}

int WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// The file a path finally names, so a symbolic link keeps pointing at the updated file instead
// of being replaced by a plain file.
std::string ResolveTarget(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writes `content` to a temporary file beside `target` and renames it over the target.
// `mode`, `uid` and `gid` are the target's, so the replacement keeps its permissions.
int ReplaceFile(const std::string& target, const std::string& content, const struct stat& st) {
  const size_t slash = target.rfind('/');
  const std::string folder = FolderOf(target);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string tmp = folder + "/." + base + ".XXXXXX";
  const int tfd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (tfd < 0) return errno;
  UniqueFd guard(tfd);
  int err = WriteAll(tfd, content);
  if (!err && ::fchmod(tfd, st.st_mode & 07777) != 0) err = errno;
  if (!err && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    // Only root can give the file away; anyone else keeps their own ownership.
    (void)!::fchown(tfd, st.st_uid, st.st_gid);
  }
  if (!err && ::fsync(tfd) != 0) err = errno;
  if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(tmp.c_str());
    return err;
  }
  // Make the rename itself durable; a folder that cannot be synced does not undo the update.
  const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return 0;
}

}  // namespace

std::optional<std::string> ReadFileBounded(const std::string& path, size_t maxBytes, int* error) {
  int dummy = 0;
  int& err = error ? *error : dummy;
  err = 0;
  // A FIFO put where a file was expected cannot hang the caller: OpenRegularFile refuses it.
  UniqueFd fd;
  err = OpenRegularFile(path, O_RDONLY, fd);
  if (err) return std::nullopt;
  std::string out;
  err = ReadAllBounded(fd.get(), maxBytes, out);
  if (err) return std::nullopt;
  return out;
}

int UpdateFileAtomically(const std::string& path, const FileEdit& edit, size_t maxBytes) {
  const std::string target = ResolveTarget(path);
  // Each retry means another writer replaced the file while we waited for its lock, i.e. it made
  // progress; the bound only guards against a file system that never keeps its inode numbers.
  for (int attempt = 0; attempt < 10000; ++attempt) {
    bool created = false;
    UniqueFd guard;
    int openErr = OpenRegularFile(target, O_RDWR, guard);
    if (openErr == ENOENT) {
      openErr = OpenRegularFile(target, O_RDWR | O_CREAT | O_EXCL, guard);
      if (openErr == EEXIST) continue;  // another writer created it first
      created = openErr == 0;
    }
    if (openErr) return openErr;
    const int fd = guard.get();
    // A file created only to hold the lock goes again when nothing replaces it.
    auto failCreated = [&](int err) {
      if (created) ::unlink(target.c_str());
      return err;
    };

    struct stat st {};
    if (::fstat(fd, &st) != 0) return failCreated(errno);
    // The read-only attribute of a file is its owner write bit; root would otherwise ignore it.
    if (!created && (st.st_mode & S_IWUSR) == 0) return EACCES;

    while (::flock(fd, LOCK_EX) != 0) {
      if (errno != EINTR) return failCreated(errno);
    }
    struct stat now {};
    if (::stat(target.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev)
      continue;  // replaced (or removed) while we waited: lock the current file instead

    std::string content;
    if (int err = ReadAllBounded(fd, maxBytes, content)) return failCreated(err);
    if (!edit(content, !created)) return failCreated(0);
    if (content.size() > maxBytes) return failCreated(EFBIG);
    if (int err = ReplaceFile(target, content, st)) return failCreated(err);
    return 0;  // the lock goes with the descriptor of the old inode
  }
  return EBUSY;
}

}  // namespace platform
