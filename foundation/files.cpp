#include "foundation/files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>

#include "foundation/paths.h"
#include "foundation/waits.h"
#include "platform/ascii_text.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {
namespace {

// Errors after which a path names nothing: the entry is missing, or a folder along the path
// is not a folder. Every other error (permission, I/O, busy) leaves the entry's fate unknown.
bool IsGoneError(int err) { return err == ENOENT || err == ENOTDIR; }

// Whether a native path names nothing now (looked at without following a final link).
bool IsGone(const std::string& native) {
  errno = 0;
  if (platform::StatPath(native, true)) return false;
  return IsGoneError(errno);
}

// The native target of a rename. The case-insensitive look-up of a missing name would turn a
// new name that differs from the source only in letter case into the source itself, and the
// rename into "target exists" (or a rename onto itself that changes nothing); such a target
// keeps the new name as written, so the rename changes the name's case.
std::string RenameTarget(const std::string& fromNative, const std::string& newPath) {
  const std::string to = platform::ToNativePath(newPath);
  if (to != fromNative) return to;
  const size_t nameAt = newPath.find_last_of("/\\");
  const std::string written = newPath.substr(nameAt == std::string::npos ? 0 : nameAt + 1);
  const size_t slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : to.substr(0, slash + 1);
  if (written.empty() || written == "." || written == "..") return to;
  return folder + written;
}

constexpr int kRenameTries = 10;
constexpr int32_t kRenameBackoffStepMs = 10;

}  // namespace

int32_t FileExists(const std::string& path) {
  if (path.find_first_not_of(" \t") == std::string::npos) return 0;
  auto info = platform::StatPath(platform::ToNativePath(path));
  return info && info->isRegular ? 1 : 0;
}

int32_t DeleteFileForce(const std::string& path) {
  if (path.empty()) return 1;  // names nothing
  const std::string native = platform::ToNativePath(path);
  errno = 0;
  auto info = platform::StatPath(native, true);
  if (!info) return IsGoneError(errno) ? 1 : 0;
  // A read-only file needs no clearing first: on Linux the file's own write bit does not guard
  // it against deletion, and leaving the bit alone keeps a failed delete free of side effects.
  // A symbolic link is deleted itself, never its target.
  const int err = platform::DeleteFilePath(native);
  if (err == 0) return 1;
  // Someone else may have deleted it meanwhile; that is gone as well.
  return IsGoneError(err) && IsGone(native) ? 1 : 0;
}

int32_t RenameFile(const std::string& oldPath, const std::string& newPath) {
  if (oldPath.empty() || newPath.empty()) return 0;
  const std::string from = platform::ToNativePath(oldPath);
  return platform::RenameNoReplace(from, RenameTarget(from, newPath)) == 0 ? 1 : 0;
}

int32_t RenameFileRetry(const std::string& oldPath, const std::string& newPath,
                        bool deleteTargetFirst) {
  if (oldPath.empty() || newPath.empty()) return 0;
  // Reserved Windows device names are ordinary file names here, so they are renamed like any
  // other. With deleteTargetFirst the target is replaced in one atomic rename instead of being
  // deleted beforehand, so a reader sees the old or the new file and never none.
  for (int attempt = 1; attempt <= kRenameTries; ++attempt) {
    const std::string from = platform::ToNativePath(oldPath);
    const std::string to = RenameTarget(from, newPath);
    const int err =
        deleteTargetFirst ? platform::RenameReplace(from, to) : platform::RenameNoReplace(from, to);
    if (err == 0) return 1;
    if (attempt < kRenameTries) WaitMilliseconds(attempt * kRenameBackoffStepMs);
  }
  return 0;
}

int32_t IsReservedDeviceName(const std::string& path) {
  static constexpr std::array<std::string_view, 25> kReserved = {
      "CON",  "PRN",  "AUX",  "NUL",  "CLOCK$", "COM0", "COM1", "COM2", "COM3",
      "COM4", "COM5", "COM6", "COM7", "COM8",   "COM9", "LPT0", "LPT1", "LPT2",
      "LPT3", "LPT4", "LPT5", "LPT6", "LPT7",   "LPT8", "LPT9"};
  const std::string name = platform::UpperAscii(SplitPath(path, false, false, true, false, false));
  return std::find(kReserved.begin(), kReserved.end(), name) != kReserved.end() ? 1 : 0;
}

int32_t IsSystemFolderPath(const std::string& path) {
  // Stored paths may be written with either separator.
  std::string text = platform::UpperAscii(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  static constexpr std::array<std::string_view, 4> kMarks = {
      ":\\RECYCLED", ":\\$RECYCLE", ":\\$RECYCLE.BIN", ":\\SYSTEM VOLUME INFORMATION"};
  for (std::string_view mark : kMarks) {
    if (text.find(mark) != std::string::npos) return 1;
  }
  return 0;
}

int32_t CopyFileOver(const std::string& source, const std::string& target, bool replace) {
  if (source.empty() || target.empty()) return 0;
  const std::string from = platform::ToNativePath(source);
  const std::string to = platform::ToNativePath(target);
  if (!replace) {
    // Without replace a read-only target stays protected. The copy itself lands by rename,
    // which the target's own write bit would not stop.
    auto info = platform::StatPath(to);
    if (info && info->readOnly) return 0;
  }
  // The copy goes to a temporary name and is renamed over the target, which replaces a
  // read-only target as deleting it first would, but never loses the target when the copy
  // fails (a missing source leaves the target as it was).
  return platform::CopyFileKeepTime(from, to, true) == 0 ? 1 : 0;
}

}  // namespace foundation
