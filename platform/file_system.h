#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"

namespace platform {

// File-system calls on native (POSIX, '/'-separated) paths. Stored paths that may hold '\' or
// a UNC server name go through ToNativePath (native_path.h) first. Every call reports failure
// as a result (errno value, false, -1 or nullopt), never by throwing.

// The one place a file is opened by its path; every open of a file's content goes through it.
// The open never blocks on what stands at the path (it is made non-blocking and made blocking
// again once the file is known), and only a regular file (links followed) is kept: a folder
// gives EISDIR, a FIFO, socket or device ENXIO or EINVAL, as nothing there can be read or
// appended to like a file. `flags` are open(2) flags; O_CLOEXEC and O_NOCTTY are added, and
// O_CREAT creates with mode 0666 & ~umask. 0 with the descriptor in `fd`, or the errno value with
// `fd` left empty.
int OpenRegularFile(const std::string& path, int flags, UniqueFd& fd);

enum class OpenMode {
  Read,         // read an existing file only
  WriteCreate,  // write, creating the file when missing (not truncated)
  ReadWriteCreate,
  AppendCreate,  // every write goes to the end, creating the file when missing
  CreateNew,     // write a file created by this open; EEXIST when anything stands at the path
};

// An open file with 64-bit offsets. Other openers may read and write the same file.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(FileHandle&& other) noexcept = default;
  FileHandle& operator=(FileHandle&& other) noexcept = default;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Opens `path` (through OpenRegularFile); on failure the handle stays closed and the errno
  // value is returned.
  int Open(const std::string& path, OpenMode mode);
  bool IsOpen() const { return fd_.valid(); }
  void Close() { fd_.reset(); }
  // Closes the file and reports a write error the file system kept until now (network file
  // systems report some only here); 0 or errno.
  int CloseChecked();

  // Moves to an absolute 64-bit offset; false on failure (negative offset included).
  bool Seek(int64_t offset);
  // Reads up to `count` bytes at the current position; the count read (0 at the end), -1 on
  // an I/O error. Retries interrupted and short reads until `count` or end of file.
  int64_t Read(void* dst, int64_t count);
  // Writes all `count` bytes; the count written, -1 on error.
  int64_t Write(const void* src, int64_t count);
  // Size in bytes, -1 on failure.
  int64_t Size() const;
  // Flushes the file to disk.
  bool Sync();
  int fd() const { return fd_.get(); }

 private:
  UniqueFd fd_;
};

struct FileInfo {
  bool isDirectory = false;
  bool isRegular = false;  // a regular file: no folder, FIFO, socket or device
  bool isSymlink = false;  // the path itself is a symbolic link (lstat)
  bool readOnly = false;   // the owner write bit is clear
  int64_t size = 0;
  // Seconds since the epoch with nanoseconds, UTC.
  int64_t birthSec = 0, birthNsec = 0;  // statx birth time, else the last-write time
  int64_t accessSec = 0, accessNsec = 0;
  int64_t writeSec = 0, writeNsec = 0;
};

// Information on a path (links followed unless noFollow); nullopt with errno set when missing.
std::optional<FileInfo> StatPath(const std::string& path, bool noFollow = false);

// readOnly true clears the owner write bit, false sets it again; other bits stay. 0 or errno.
int SetReadOnly(const std::string& path, bool readOnly);

int DeleteFilePath(const std::string& path);   // unlink: 0 or errno
int MakeDirectory(const std::string& path);    // mkdir 0777 & ~umask: 0 or errno
int RemoveDirectory(const std::string& path);  // rmdir: 0 or errno

// Renames without replacing an existing target (RENAME_NOREPLACE; where the file system
// refuses that flag, link+unlink for files, else a checked rename). A target that the file
// system finds to be the source itself (other letter case on a case-insensitive file system)
// does not count as existing: the name changes its case. 0 or errno (EEXIST when the target
// exists).
int RenameNoReplace(const std::string& from, const std::string& to);
// Renames over an existing target atomically: a reader sees the old or the new file. 0 or errno.
int RenameReplace(const std::string& from, const std::string& to);

// Copies a file's bytes and permission bits and keeps its last-write (and access) time.
// Without `replace` an existing target makes it fail with EEXIST. The copy goes to a temporary
// name beside the target and is renamed into place, so the target is never half-written.
// 0 or errno.
int CopyFileKeepTime(const std::string& from, const std::string& to, bool replace);

struct DiskSpace {
  int64_t totalBytes = 0;
  int64_t freeBytes = 0;  // available to an unprivileged user
};
std::optional<DiskSpace> GetDiskSpace(const std::string& path);

struct DirEntry {
  std::string name;
  bool isDirectory = false;  // a directory, not a link to one
  bool isSymlink = false;
};
// Entries of a folder without "." and "..", in byte order of their names (so every walk goes
// the same way each run); nullopt when it cannot be read.
std::optional<std::vector<DirEntry>> ListDirectory(const std::string& path);

// File names are compared character by character: a name (or pattern) that is well-formed UTF-8
// is read as UTF-8, any other as CP932, and only single-byte characters fold ASCII case.

// Windows-style wildcard matching of one file name against a pattern with '*' and '?' ('?' is
// one character, however many bytes it takes), ignoring ASCII case. As on Windows, "*.*"
// matches every name (with or without a dot), and a pattern ending in ".*" also matches a name
// without a dot ("abc.*" matches "abc"): that trailing ".*" may match nothing at the end of the
// name.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Whether two file names are the same ignoring ASCII case.
bool FileNamesEqualIgnoringCase(std::string_view a, std::string_view b);

// Test seam: when set, RenameNoReplace and RenameReplace call this first; a non-zero result is
// returned as the errno of that rename without touching the file system.
using RenameFailureHook = std::function<int(const std::string& from, const std::string& to)>;
void SetRenameFailureHook(RenameFailureHook hook);

}  // namespace platform
