#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// The one mechanism by which small shared text files (INI files, the user registry's key files)
// are changed. The playout and the companion write the same files at the same time, so every
// change is a locked read-modify-write that replaces the file as a whole:
//
//   1. open the file itself (created empty when missing) and take flock(LOCK_EX) on it;
//   2. check that the path still names the locked file; when another writer has renamed a new
//      file over it meanwhile, start again on the new one;
//   3. read the current content under the lock, let the caller change it;
//   4. write the result to a temporary file beside the target (same folder, so the rename cannot
//      cross file systems), fsync it, give it the target's mode and owner, and rename it over.
//
// Readers take no lock: the rename makes the switch from the old to the new content atomic, so
// a reader always sees one whole version. No lock file is left beside the target (the lock sits
// on the target's own inode), which matters in shared server folders.

// Files larger than this are refused by both calls below (a bounded read of outside data).
constexpr size_t kMaxUpdatableFileBytes = 32u * 1024u * 1024u;

// The whole content of `path`, or nullopt when it cannot be opened or read or is larger than
// `maxBytes`; `error` (when given) receives the errno value (EFBIG for a file that is too large,
// 0 on success).
std::optional<std::string> ReadFileBounded(const std::string& path,
                                           size_t maxBytes = kMaxUpdatableFileBytes,
                                           int* error = nullptr);

// Changes a file's content. `content` holds the current bytes (empty for a missing file, in which
// case `existed` is false); the edit returns true to store the changed `content`, false to leave
// the file as it is (a file created for the lock is then removed again).
using FileEdit = std::function<bool(std::string& content, bool existed)>;

// Runs one locked read-modify-write of `path` as described above. Returns 0 on success (also when
// the edit chose to change nothing) or an errno value: ENOENT when the folder is missing, EACCES
// when the file is read-only (its owner write bit is clear, which is honoured even for root) or
// the folder is not writable, EFBIG when the current file or the new content is larger than
// `maxBytes`, or whatever the write, fsync or rename reported. On failure the target keeps its
// previous content and no temporary file is left behind.
int UpdateFileAtomically(const std::string& path, const FileEdit& edit,
                         size_t maxBytes = kMaxUpdatableFileBytes);

}  // namespace platform
