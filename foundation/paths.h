#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Path texts. The separator added to a path is '/' (web-style "http..." paths use '/' as well);
// stored paths from settings, schedules and conf.ini may still hold '\', so both count as
// separators when a path is taken apart, and a path rebuilt from its parts keeps the separator
// it was written with. "Blank" means ASCII spaces.

// The program's folder with a trailing '/'.
std::string GetAppFolder();
// The platform's system folder with a trailing '/' ("/etc/" here).
std::string GetSystemFolder();

// True when the path names a Windows drive: an ASCII letter and ':' at its start ("D:\x",
// "d:/x", "D:", "D:x"). No such path exists here; read as it stands it would name a folder under
// the current one, so stored paths like that are refused where they are read.
bool IsDrivePath(const std::string& path);

// Adds (remove false) or removes (remove true) one trailing separator; "" for a blank path.
// A path that already ends in '/' or '\' counts as having one.
std::string SetTrailingSeparator(const std::string& path, bool remove = false);

// Appends ext (a leading '.' added when missing) lower-cased unless the path already ends with
// it ignoring case. "" for an empty path; an empty ext leaves the path unchanged.
std::string EnsureExtension(const std::string& path, const std::string& ext);

// Joins the parts asked for, in this order: folder, separator, base name, dot (only when the
// name has an extension), extension. caseMode 1 lower-cases, 2 upper-cases the result.
// The separator is the path's own last separator; a path without one has an empty folder and
// gives no separator, so a bare name stays relative (a leading '/' would name the root folder).
// The name after a trailing separator is empty; the extension follows the name's last '.'.
std::string SplitPath(const std::string& path, bool folder, bool separator, bool base, bool dot,
                      bool ext, int32_t caseMode = 0);

// A file name that does not exist yet: with always false and no such file, the path rebuilt
// from the parts asked for; otherwise base + n (zero-padded to `digits`, more digits past the
// pattern) + ext for n = 1, 2, ... until FileExists says no. A bare name is numbered in the
// current folder and returned without a folder.
std::string MakeNumberedFileName(const std::string& path, bool withFolder, bool withExt,
                                 int32_t digits, bool always);

}  // namespace foundation
