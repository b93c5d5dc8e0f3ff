#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Private-profile (INI) files: the settings files beside the programs, conf.ini and the command
// files. The files are CP932 text; section, key and value travel as UTF-8 through these calls.
// Every call reads the file afresh (no cache), so a change made by the other program is seen at
// once.
//
// How a file is read, as the profile functions always did:
//   - a section starts at a line "[name]" (blanks around the line ignored, the name is what lies
//     between '[' and the last ']'); a key line is "key=value" inside a section;
//   - section and key names compare ignoring ASCII case; only the first section of a name is
//     consulted, and within it the first line of a key wins;
//   - the value loses its surrounding blanks and then one pair of matching surrounding quotes
//     ("..." or '...');
//   - lines may end in CR LF or LF alone; any other line (comments, blank lines, stray text,
//     keys before the first section) is ignored on reading and kept on writing.

// The value of `key` in `section`, cut to at most `maxCp932Bytes` bytes of CP932 (the cut never
// ends in the first half of a double-byte character) and returned as UTF-8. Text after a NUL
// byte in the value is dropped. nullopt when the file, the section or the key is missing or the
// file cannot be read (a file over kMaxUpdatableFileBytes counts as unreadable).
std::optional<std::string> ReadIniString(const std::string& path, std::string_view section,
                                         std::string_view key, size_t maxCp932Bytes);

// Sets `key` in `section` to `value` (all UTF-8; stored as CP932, unmappable characters as '?').
// The first line of the key is rewritten as "key=value" (the key spelled as in the file, the
// line's own line end kept); a missing key is added after the last key line of its section (or
// right after the header); a missing section is added at the end of the file as
// "[section]\r\nkey=value\r\n", after a blank line when the file has content. Every other byte
// of the file stays as it was. A missing file is created (its folder must exist).
//
// The write is one locked read-modify-write with an atomic replace (atomic_file_update.h), so the
// playout and the companion can write the same file at once without losing a key.
// Returns 0 or an errno value: EINVAL for a name or value that cannot be stored in one line (an
// empty section or key, CR, LF or NUL anywhere, ']' in the section, '=' in the key, a key that
// starts with '[' or ';', a section or key with surrounding blanks); EACCES for a read-only file or
// folder; ENOENT for a missing folder; others from the file system. On failure the file is
// unchanged.
int WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace platform
