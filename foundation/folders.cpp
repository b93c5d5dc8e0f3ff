#include "foundation/folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "foundation/date_stamp.h"
#include "foundation/file_times.h"
#include "foundation/paths.h"
#include "foundation/server_root.h"
#include "foundation/waits.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The path without its trailing separator; the root folder keeps its "/".
std::string WithoutTrailingSeparator(const std::string& path) {
  if (!path.empty() && path.find_first_not_of("/\\") == std::string::npos) return "/";
  return SetTrailingSeparator(path, true);
}

// The path with one trailing separator ("/" for the root folder).
std::string WithTrailingSeparator(const std::string& path) {
  if (!path.empty() && path.find_first_not_of("/\\") == std::string::npos) return "/";
  return SetTrailingSeparator(path, false);
}

// Whether the folder is the root of the file system, also when reached through "..", "." or a
// link. Purging it would empty the whole machine.
bool IsFileSystemRoot(const std::string& native) {
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (resolved == nullptr) return false;  // missing folders are refused on their own
  const bool root = std::string_view(resolved) == "/";
  std::free(resolved);
  return root;
}

// The length of the leading part of a UNC path (\\host\share) that names no folder one could
// create, or 0 for other paths.
size_t UncRootLength(const std::string& path) {
  if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || IsSeparator(path[2]))
    return 0;
  size_t pos = path.find_first_of("/\\", 2);  // end of host
  if (pos == std::string::npos) return path.size();
  pos = path.find_first_of("/\\", pos + 1);  // end of share
  return pos == std::string::npos ? path.size() : pos;
}

// Whether a native folder (with trailing '/') holds an entry matching the pattern: mode 0 any
// entry, mode 1 a folder (a link to a folder lists as one).
bool HasMatchingEntry(const std::string& nativeDir, const std::string& pattern, int32_t mode) {
  auto entries = platform::ListDirectory(nativeDir);
  if (!entries) return false;
  for (const platform::DirEntry& entry : *entries) {
    if (!platform::WildcardMatch(pattern, entry.name)) continue;
    if (mode == 0) return true;
    bool isFolder = entry.isDirectory;
    if (!isFolder && entry.isSymlink) {
      auto info = platform::StatPath(nativeDir + entry.name);
      isFolder = info && info->isDirectory;
    }
    if (isFolder) return true;
  }
  return false;
}

// Purges one native folder (with trailing '/', checked to exist and not to be a link). The walk
// stays on native paths built from the names the folder lists: a listed name is never read
// again as a stored path, where a '\' in it would count as a separator and ".." could lead out
// of the tree.
void PurgeWalk(const std::string& folder, int32_t days, const std::string& cutoff,
               const std::string& ext, bool noSubfolders) {
  const std::string pattern = "*" + ext;
  auto entries = platform::ListDirectory(folder);
  if (entries) {
    for (const platform::DirEntry& entry : *entries) {
      if (!platform::WildcardMatch(pattern, entry.name)) continue;
      const std::string path = folder + entry.name;
      if (entry.isDirectory && !entry.isSymlink) {
        if (noSubfolders) continue;
        // Looked at again right before descending: a folder swapped for a link since the
        // listing must not lead the walk out of the tree.
        auto info = platform::StatPath(path, true);
        if (!info || info->isSymlink || !info->isDirectory) continue;
        const std::string sub = path + "/";
        if (days != 0) {
          PurgeWalk(sub, days, cutoff, ext, false);
          if (!HasMatchingEntry(sub, "*.*", 0)) platform::RemoveDirectory(path);
        } else {
          PurgeWalk(sub, 0, "", ".*", false);
          platform::RemoveDirectory(path);
        }
        continue;
      }
      // Files and symbolic links (to anything) are entries of this folder: a link is deleted
      // itself, by its own time, and never followed.
      if (days != 0) {
        auto info = platform::StatPath(path, true);
        if (!info) continue;
        const std::string written = FileTimeToText(info->writeSec, info->writeNsec);
        if (written.empty() || !(written < cutoff)) continue;
      }
      platform::DeleteFilePath(path);  // a failure leaves the entry, as a failed delete would
    }
  }
  RunPendingWork();
}

}  // namespace

int32_t FolderExists(const std::string& path) {
  if (path.empty()) return 0;
  auto info = platform::StatPath(platform::ToNativePath(WithoutTrailingSeparator(path)));
  return info && info->isDirectory ? 1 : 0;
}

int32_t MakeFolder(const std::string& path) {
  const std::string folder = WithoutTrailingSeparator(path);
  if (folder.empty()) return 0;
  // Made here, a server root would be a folder on the local disk that the work of both
  // programs then fills in place of the server.
  if (IsAtOrAboveServerRoot(folder)) return 0;
  return platform::MakeDirectory(platform::ToNativePath(folder)) == 0 ? 1 : 0;
}

int32_t MakeFolderTree(const std::string& path) {
  if (path.empty()) return 0;
  if (FolderExists(path) || MakeFolder(path)) return 1;
  const std::string full = WithTrailingSeparator(path);
  if (full.size() < 3) return 0;
  // Every separator ends a prefix; they are created from the shortest to the longest. The
  // leading "/" of an absolute path and the \\host\share of a UNC path yield no prefix.
  const size_t uncRoot = UncRootLength(full);
  std::vector<std::string> prefixes;
  for (size_t i = uncRoot == 0 ? 0 : uncRoot + 1; i < full.size(); ++i) {
    if (IsSeparator(full[i]) && i > 0 && !IsSeparator(full[i - 1]))
      prefixes.push_back(full.substr(0, i));
  }
  for (const std::string& prefix : prefixes) {
    if (!FolderExists(prefix)) MakeFolder(prefix);  // failures are passed over
  }
  return FolderExists(path);
}

int32_t RemoveFolder(const std::string& path) {
  if (path.empty()) return 1;  // names nothing
  const std::string native = platform::ToNativePath(WithoutTrailingSeparator(path));
  errno = 0;
  if (!platform::StatPath(native, true)) return errno == ENOENT || errno == ENOTDIR ? 1 : 0;
  // The folder's own read-only bit does not guard it on Linux, so nothing is reset first.
  const int err = platform::RemoveDirectory(native);
  if (err == 0) return 1;
  if (err != ENOENT) return 0;  // ENOTDIR here means the entry is no folder
  errno = 0;
  return !platform::StatPath(native, true) && (errno == ENOENT || errno == ENOTDIR) ? 1 : 0;
}

int32_t PurgeFolderTree(const std::string& folder, bool keepFolder, int32_t days,
                        const std::string& ext, bool noSubfolders) {
  const std::string top = WithTrailingSeparator(folder);
  if (top.empty() || !FolderExists(top)) return 0;
  if (IsFileSystemRoot(platform::ToNativePath(top))) return 0;

  std::string cutoff;
  if (days != 0) {
    const int32_t back = days == INT32_MIN ? INT32_MIN : (days < 0 ? days : -days);
    cutoff = FormatDateStamp(0, back, 0, 0, 0, 0, 0);
  }
  std::string pattern = ext.empty() ? ".*" : ext;
  if (pattern[0] != '.') pattern.insert(pattern.begin(), '.');

  std::string nativeTop = platform::ToNativePath(top);
  if (nativeTop.empty() || nativeTop.back() != '/') nativeTop += '/';
  PurgeWalk(nativeTop, days, cutoff, pattern, noSubfolders);
  if (keepFolder) return 1;
  return RemoveFolder(top);
}

int32_t FolderHasEntries(const std::string& folder, const std::string& ext,
                         const std::string& unused, int32_t mode) {
  if (mode != 0 && mode != 1) return 0;
  const std::string dir = WithTrailingSeparator(folder);
  if (dir.empty() || !FolderExists(dir)) return 0;
  const std::string pattern = ext.empty() ? "*.*" : "*." + ext;
  return HasMatchingEntry(platform::ToNativePath(dir), pattern, mode) ? 1 : 0;
}

}  // namespace foundation
