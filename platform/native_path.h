#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One line of /proc/self/mountinfo that matters here.
struct MountEntry {
  std::string mountPoint;  // unescaped
  std::string fsType;      // "cifs", "nfs", "nfs4", "ext4", ...
  std::string source;      // "//host/share" for cifs, "host:/export" for nfs
};

// Parses mountinfo text; lines that do not parse are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
// The mount table of this process (re-read on every call).
std::vector<MountEntry> ReadMountTable();

// For a UNC path (\\host\share\rest or //host/share/rest, any separators): the path under the
// mount point of a cifs or nfs mount of //host/share (host and share compared ignoring ASCII
// case; nfs sources host:/share match too). nullopt when the path is no UNC path or nothing
// is mounted for it.
std::optional<std::string> ResolveUncPath(std::string_view path,
                                          const std::vector<MountEntry>& mounts);

// The host part of a UNC path, or "" when the path is not UNC.
std::string UncHost(std::string_view path);

// The host that serves `nativePath` when it lies on a cifs or nfs mount (the longest mount
// point that contains it), else "".
std::string NetworkSourceHost(const std::string& nativePath, const std::vector<MountEntry>& mounts);

// `path` ('\\' or '/' separators) made absolute from the current folder, with runs of
// separators, "." and ".." components folded: a text that compares with mount points and other
// absolute paths. Purely lexical, so a hung network mount cannot block it; "" when the current
// folder cannot be read.
std::string LexicalAbsolutePath(std::string_view path);

// Turns a stored path into a native one at the file-system boundary: '\' becomes '/', a UNC
// path resolves through the mount table, and when the exact path does not exist its components
// are looked up ignoring ASCII case (as the file server did); components that exist in no case
// are kept as written, so the result is usable to create a new file.
std::string ToNativePath(std::string_view stored);

// Same, with a given mount table (tests).
std::string ToNativePath(std::string_view stored, const std::vector<MountEntry>& mounts);

// The folder of the running program (from /proc/self/exe) with a trailing '/'; "" when
// /proc cannot tell.
std::string ProgramFolder();

}  // namespace platform
