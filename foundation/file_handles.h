#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace foundation {

// File handles as whole numbers: 0 means no handle. Handles come from a process-wide table of
// open files (never reused while the process lives, so a stale handle can never reach a file
// opened later); offsets and sizes are 64-bit. Paths are stored paths (see paths.h) and are
// converted at the file-system boundary.
using FileHandleId = int32_t;

// mode 0 read an existing file; 1 write, creating it when missing; 2 read and write, creating
// it when missing; other modes give 0. `flags` is accepted and not used on this platform.
FileHandleId OpenFileHandle(const std::string& path, int32_t mode, int32_t flags = 0);

// Closes a handle that is not 0 and sets the variable to 0.
void CloseFileHandle(FileHandleId& handle);

// Reads byteCount bytes at `offset` into dst.
//  - handle 0: the path is opened for reading (0 at once when that fails). With byteCount 0 and
//    closeAfter false the new handle is returned without reading (a series of reads follows).
//  - success: the handle (closeAfter false; it stays open and is written back to `handle`) or 1
//    (closeAfter true; the handle is closed and `handle` set to 0).
//  - failure of the seek or the read: the handle is closed, `handle` is set to 0 (so the caller
//    cannot use or close it again) and the result is 0.
// A read that meets the end of the file zero-fills the rest of dst and counts as success;
// `bytesRead` (when given) receives the count actually read (0 on failure). A handle the table
// does not know counts as a failed read. Note that with closeAfter true the success result 1 is
// also a possible handle number: callers tell the two apart by the closeAfter they passed.
FileHandleId ReadFileToMemEx(void* dst, int64_t byteCount, int64_t offset, FileHandleId& handle,
                             const std::string& path, bool closeAfter,
                             int64_t* bytesRead = nullptr);

// 0 on success, -1 on failure (no handle, negative offset).
int32_t SeekFileAt(FileHandleId handle, int64_t offset);
// -1 on failure.
int64_t GetFileSizeOfHandle(FileHandleId handle);
// 0 when the file cannot be opened.
int64_t GetFileSizeByPath(const std::string& path);

// Writes `count` bytes at the current position; the count written, -1 on failure.
int64_t WriteFileHandle(FileHandleId handle, const void* src, int64_t count);

// Size and times of the open file behind a handle; nullopt for an unknown handle.
std::optional<platform::FileInfo> StatFileHandle(FileHandleId handle);

}  // namespace foundation
