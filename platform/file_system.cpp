#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <utility>

namespace platform {

namespace {

std::mutex g_hookMutex;
RenameFailureHook g_renameHook;

// The injected failure for this rename, or 0 to go ahead.
int HookResult(const std::string& from, const std::string& to) {
  RenameFailureHook hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_renameHook;
  }
  return hook ? hook(from, to) : 0;
}

int ErrnoOr0(int rc) { return rc == 0 ? 0 : errno; }

// a * b clamped to the int64_t range (both non-negative).
int64_t MulClamped(uint64_t a, uint64_t b) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (a != 0 && b > kMax / a) return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(a * b);
}

// The no-replace rename for file systems that refuse RENAME_NOREPLACE (some network and FUSE
// file systems). A hard link fails atomically with EEXIST; where links are not supported
// either, the target is checked first, which leaves a small race no better call can close.
int RenameNoReplaceFallback(const std::string& from, const std::string& to) {
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) {
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
      if (::unlink(from.c_str()) == 0) return 0;
      const int err = errno;
      ::unlink(to.c_str());  // undo, so the call leaves one name as it found it
      return err;
    }
    // Only "no hard links here" goes on to the checked rename; EEXIST and the rest are final.
    const int err = errno;
    if (err != EPERM && err != EOPNOTSUPP && err != ENOSYS && err != EMLINK) return err;
  }
  struct stat target {};
  if (::lstat(to.c_str(), &target) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return ErrnoOr0(::rename(from.c_str(), to.c_str()));
}

// RENAME_NOREPLACE, or the fallback where the file system refuses that flag.
int RenameExclusive(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  // EINVAL also means "a folder into itself"; the fallback's rename reports that again.
  if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) return RenameNoReplaceFallback(from, to);
  return err;
}

// Whether two different names are links to one entry, as a name and its other-case spelling
// are on a case-insensitive file system (a cifs mount of a Windows share).
bool SameEntry(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return a != b && ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// A rename to a name the file system already sees as the source itself (a change of letter
// case on a case-insensitive file system) goes through a hidden free name beside it: once the
// source has left, the new spelling is free. Where the target is a true second link to the
// same file, the second step finds it taken and the source gets its name back.
int RenameViaFreeName(const std::string& from, const std::string& to) {
  const size_t slash = from.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : from.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string free =
        folder + ".rename." + std::to_string(::getpid()) + "." + std::to_string(attempt);
    const int step = RenameExclusive(from, free);
    if (step == EEXIST) continue;
    if (step != 0) return step;
    const int err = RenameExclusive(free, to);
    if (err != 0) RenameExclusive(free, from);
    return err;
  }
  return EEXIST;
}

}  // namespace

std::optional<FileInfo> StatPath(const std::string& path, bool noFollow) {
  struct statx stx {};
  const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &stx) != 0)
    return std::nullopt;
  FileInfo info;
  info.isSymlink = S_ISLNK(stx.stx_mode);
  if (info.isSymlink && !noFollow) {
    if (::statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, mask, &stx) != 0) return std::nullopt;
  }
  info.isDirectory = S_ISDIR(stx.stx_mode);
  info.isRegular = S_ISREG(stx.stx_mode);
  info.readOnly = (stx.stx_mode & S_IWUSR) == 0;
  info.size = static_cast<int64_t>(stx.stx_size);
  info.accessSec = stx.stx_atime.tv_sec;
  info.accessNsec = stx.stx_atime.tv_nsec;
  info.writeSec = stx.stx_mtime.tv_sec;
  info.writeNsec = stx.stx_mtime.tv_nsec;
  if (stx.stx_mask & STATX_BTIME) {
    info.birthSec = stx.stx_btime.tv_sec;
    info.birthNsec = stx.stx_btime.tv_nsec;
  } else {
    info.birthSec = info.writeSec;
    info.birthNsec = info.writeNsec;
  }
  return info;
}

int SetReadOnly(const std::string& path, bool readOnly) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR)) : (mode | S_IWUSR);
  if (mode == (st.st_mode & 07777)) return 0;
  return ErrnoOr0(::chmod(path.c_str(), mode));
}

int DeleteFilePath(const std::string& path) { return ErrnoOr0(::unlink(path.c_str())); }
int MakeDirectory(const std::string& path) { return ErrnoOr0(::mkdir(path.c_str(), 0777)); }
int RemoveDirectory(const std::string& path) { return ErrnoOr0(::rmdir(path.c_str())); }

int RenameNoReplace(const std::string& from, const std::string& to) {
  if (const int injected = HookResult(from, to)) return injected;
  const int err = RenameExclusive(from, to);
  if (err == EEXIST && SameEntry(from, to)) return RenameViaFreeName(from, to);
  return err;
}

int RenameReplace(const std::string& from, const std::string& to) {
  if (const int injected = HookResult(from, to)) return injected;
  return ErrnoOr0(::rename(from.c_str(), to.c_str()));
}

std::optional<DiskSpace> GetDiskSpace(const std::string& path) {
  struct statvfs vfs {};
  int rc;
  do {
    rc = ::statvfs(path.c_str(), &vfs);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return std::nullopt;
  const uint64_t unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
  DiskSpace space;
  space.totalBytes = MulClamped(vfs.f_blocks, unit);
  space.freeBytes = MulClamped(vfs.f_bavail, unit);
  return space;
}

std::optional<std::vector<DirEntry>> ListDirectory(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<DirEntry> entries;
  const int dfd = ::dirfd(dir);
  errno = 0;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name(e->d_name);
    if (name == "." || name == "..") continue;
    DirEntry entry;
    entry.name = name;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {  // some file systems do not fill d_type
      struct stat st {};
      if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
      }
    }
    entry.isDirectory = type == DT_DIR;
    entry.isSymlink = type == DT_LNK;
    entries.push_back(std::move(entry));
    errno = 0;
  }
  const int err = errno;
  ::closedir(dir);
  if (err != 0) {
    errno = err;
    return std::nullopt;
  }
  // readdir's order differs per folder (hash order on ext4); walks that stop at a limit or a
  // cancel, and what they show, must not. Byte order of the names is the same on every run.
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return entries;
}

void SetRenameFailureHook(RenameFailureHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_renameHook = std::move(hook);
}

}  // namespace platform
