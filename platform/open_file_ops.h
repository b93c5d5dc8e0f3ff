#pragma once

#include <cstdint>
#include <optional>

#include "platform/file_system.h"

namespace platform {

// Operations on files that are already open, for copies that must not look a path up twice
// (the path may be renamed or replaced meanwhile; the open file stays the same file).

// Information on the open file itself; nullopt with errno set on failure.
std::optional<FileInfo> StatOpenFile(const FileHandle& file);

// Sets the open file's last-write time, leaving its access time; 0 or errno.
int SetOpenFileWriteTime(FileHandle& file, int64_t sec, int64_t nsec);

// Copies up to `count` bytes from the current position of `from` to the current position of
// `to` inside the kernel (no trip through user memory), advancing both positions. Returns the
// count copied (fewer only at the end of `from`), or -1 with errno set. EXDEV, EINVAL, ENOSYS
// and EOPNOTSUPP mean the two files cannot be copied this way and nothing was copied: the
// caller reads and writes instead.
int64_t CopyFileRange(FileHandle& from, FileHandle& to, int64_t count);

}  // namespace platform
