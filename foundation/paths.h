#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Path texts. The separator written is '/'; stored paths from settings, schedules and conf.ini
// may still hold '\', so both count as separators when a path is taken apart. A path that
// begins with "http" (any case) and is longer than 3 characters is web-style.

// The program's folder with a trailing '/'.
std::string GetAppFolder();
// The platform's system folder with a trailing '/' ("/etc/" here).
std::string GetSystemFolder();

// Adds (remove false) or removes (remove true) one trailing separator; "" for a blank path.
// A path that already ends in '/' or '\' counts as having one.
std::string SetTrailingSeparator(const std::string& path, bool remove = false);

// Appends ext (a leading '.' added when missing) lower-cased unless the path already ends with
// it ignoring case. "" for an empty path; an empty ext leaves the path unchanged.
std::string EnsureExtension(const std::string& path, const std::string& ext);

// Joins the parts asked for, in this order: folder, separator, base name, dot (only when the
// name has an extension), extension. caseMode 1 lower-cases, 2 upper-cases the result.
// A path without separator has an empty folder, and then no separator is put before the bare
// name (on Linux a leading '/' would name the root folder).
std::string SplitPath(const std::string& path, bool folder, bool separator, bool base, bool dot,
                      bool ext, int32_t caseMode = 0);

// A file name that does not exist yet: with always false and no such file, the path rebuilt
// from the parts asked for; otherwise base + n (zero-padded to `digits`, more digits past the
// pattern) + ext for n = 1, 2, ... until FileExists says no.
std::string MakeNumberedFileName(const std::string& path, bool withFolder, bool withExt,
                                 int32_t digits, bool always);

}  // namespace foundation
