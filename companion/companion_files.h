#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

class Pauses;

// File and folder routines only the companion has. Paths are stored paths ('\' allowed); none
// of them throws.

// -1 when either file is missing. Otherwise 1 when the last-write stamps (whole seconds) are
// more than 2 seconds apart (unless sizesOnly) or the sizes differ, else 0. Contents are never
// read.
int32_t CompareFiles(const std::string& a, const std::string& b, bool sizesOnly = false);

// Appends the part of `source` beyond the size of `target` to `target` (created when missing),
// in steps of at most 4 MiB with `pauseMs` between steps. 1 when bytes were appended; 0 when
// either path is empty, the source is empty or not longer than the target, or a read or write
// failed (what was appended before the failure stays).
int32_t AppendFileTail(const std::string& source, const std::string& target, int32_t pauseMs,
                       Pauses* pauses);
inline constexpr int64_t kAppendStepBytes = int64_t{4} << 20;

// Removes the empty folders below `folder` (and the folder itself when removeSelf and it ends
// up empty). Sub-folders named in `keep` (directly below `folder`, compared ignoring ASCII case)
// are neither visited nor removed; links are entries, never followed. 1 when `folder` was
// removed.
int32_t RemoveEmptyFolders(const std::string& folder, bool removeSelf,
                           const std::vector<std::string>& keep = {});

// The files below `folder` (all depths; links are not followed) as paths relative to it with
// '/' separators, leaving out names that end in "." + skipExt (ignoring ASCII case). In walk
// order: each folder's names in byte order, a sub-folder's files where its name comes.
std::vector<std::string> ListFilesBelow(const std::string& folder, const std::string& skipExt);

// The first field of a line as a free-format read takes it: leading blanks skipped, a field in
// double quotes up to its closing quote (commas inside kept), else up to the first comma. `rest`
// receives the position after the comma that ends the field (the line's size when none does).
std::string FirstField(std::string_view line, size_t* rest = nullptr);

// The first field of the first line of a CP932 text file; "" when it cannot be read.
std::string ReadTextFile(const std::string& path);

// The largest schedule or snapshot file read whole; a larger one reads as unreadable.
inline constexpr size_t kMaxTextFileBytes = size_t{16} << 20;

// The lines of a CP932 text file (CR LF or LF), converted to UTF-8; nothing when it cannot be
// read or is larger than kMaxTextFileBytes.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Writes the bytes to path + ".tmp" and renames that over the path in one step, so a reader
// sees the old file or the new one, never none. False when either step failed (the temporary
// file is removed again).
bool WriteFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace companion
