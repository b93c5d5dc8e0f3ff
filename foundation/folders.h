#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Folder operations on stored paths; results are 1 or 0. A trailing separator is ignored.

int32_t FolderExists(const std::string& path);
// Creates one folder; 0 when the parent is missing, the folder exists, or it would be a server
// root or a folder above one (IsAtOrAboveServerRoot).
int32_t MakeFolder(const std::string& path);
// Creates every missing folder along the path (none at or above a server root); 1 when the
// whole path is a folder at the end.
int32_t MakeFolderTree(const std::string& path);
// 1 when the folder is gone or was never there; 0 when it is not empty or cannot be removed.
int32_t RemoveFolder(const std::string& path);

// Deletes the files of a folder tree whose last-write time is older than `days` days (all files
// with days 0), matching "*" + ext (".*" when empty), and the subfolders left empty; without
// keepFolder the folder itself is removed at the end. The pattern filters subfolders too (with
// an ext only matching subfolders are visited); noSubfolders leaves every subfolder alone.
// Symbolic links are deleted as entries by their own time, never followed; a file-system root
// (also reached through "..", or a link) is refused (0), as is a missing folder. Result 1 with
// keepFolder, else whether the folder could be removed. Pending work runs once after each
// folder walk, so callers must expect re-entry.
int32_t PurgeFolderTree(const std::string& folder, bool keepFolder, int32_t days,
                        const std::string& ext, bool noSubfolders);

// 1 when the folder holds an entry matching "*." + ext ("*.*" when ext is empty): mode 0 any
// entry, mode 1 a folder; other modes 0.
int32_t FolderHasEntries(const std::string& folder, const std::string& ext,
                         const std::string& unused, int32_t mode);

}  // namespace foundation
