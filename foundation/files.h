#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Whole-file operations on stored paths; results are 1 (success / yes) or 0.

// 1 when the path names an existing file (links followed); 0 for a folder, a FIFO, socket or
// device (nothing a file routine can open) and for a blank path.
int32_t FileExists(const std::string& path);

// 1 when the file is gone afterwards or was never there (ENOENT, ENOTDIR); 0 when it could not
// be deleted (permission or I/O errors are failures, and so is a folder). A read-only file is
// deleted like any other; a symbolic link is deleted itself, never its target. Windows device
// names (nul.wav) are ordinary names here and are deleted too.
int32_t DeleteFileForce(const std::string& path);

// Renames without replacing an existing target: 1 on success, 0 on any failure. A new name that
// differs from the old one only in letter case renames the file to that spelling.
int32_t RenameFile(const std::string& oldPath, const std::string& newPath);

// RenameFile with up to ten tries, waiting 10, 20, ... 90 ms between them (WaitMilliseconds).
// With deleteTargetFirst the target is replaced atomically (a reader sees the old or the new
// file, never none). 0 after ten failures. Pending work runs during the waits, so callers must
// expect re-entry there.
int32_t RenameFileRetry(const std::string& oldPath, const std::string& newPath,
                        bool deleteTargetFirst);

// Windows reserved device names (CON, PRN, AUX, NUL, CLOCK$, COM0-9, LPT0-9) are ordinary
// names on Linux: this reports whether the name part is one, for callers that skip such names
// when they exchange files with Windows machines.
int32_t IsReservedDeviceName(const std::string& path);

// 1 when the path lies in a Windows system folder (recycle bin, System Volume Information).
int32_t IsSystemFolderPath(const std::string& path);

// Copies source over target (keeping its last-write time); an existing writable target is
// overwritten either way, a read-only one only with replace. The copy is renamed into place, so
// a failed copy (missing source) leaves the target as it was. 1 on success.
int32_t CopyFileOver(const std::string& source, const std::string& target, bool replace);

}  // namespace foundation
