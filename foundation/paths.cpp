#include "foundation/paths.h"

#include <algorithm>
#include <cstdio>

#include "foundation/app_globals.h"
#include "foundation/files.h"
#include "platform/ascii_text.h"
#include "platform/native_path.h"

namespace foundation {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// A path taken apart at its last separator and the last '.' of its name.
struct PathParts {
  std::string folder;  // everything before the last separator
  std::string sep;     // that separator as written, "" when the path has none
  std::string base;    // the name before its last '.'
  std::string ext;     // the name after its last '.'
  bool HasExt() const { return !ext.empty(); }
};

PathParts Parse(const std::string& path) {
  PathParts parts;
  std::string name = path;
  const size_t cut = path.find_last_of("/\\");
  if (cut != std::string::npos) {
    parts.folder = path.substr(0, cut);
    parts.sep = path.substr(cut, 1);
    name = path.substr(cut + 1);
  }
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) {
    parts.base = name;
  } else {
    parts.base = name.substr(0, dot);
    parts.ext = name.substr(dot + 1);
  }
  return parts;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         platform::LowerAscii(text.substr(text.size() - tail.size())) == platform::LowerAscii(tail);
}

// Zero-padded decimal of n with at least `digits` digits.
std::string FormatNumber(int64_t n, int32_t digits) {
  // A pattern wider than any count could need only wastes memory.
  const int width = std::clamp(digits, 0, 19);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(n));
  return buf;
}

}  // namespace

std::string GetAppFolder() {
  // Tests give each case a folder of its own instead of the shared folder of the test programs.
  const std::string& override = Globals().ProgramFolderOverride;
  if (!override.empty()) return SetTrailingSeparator(override);
  return SetTrailingSeparator(platform::ProgramFolder());
}

std::string GetSystemFolder() { return "/etc/"; }

bool IsDrivePath(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = path[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string SetTrailingSeparator(const std::string& path, bool remove) {
  if (platform::TrimBlanks(path).empty()) return "";
  // Web-style paths ("http...") use '/', and on this platform so does every other path.
  const bool hasOne = IsSeparator(path.back());
  if (remove) return hasOne ? path.substr(0, path.size() - 1) : path;
  return hasOne ? path : path + '/';
}

std::string EnsureExtension(const std::string& path, const std::string& ext) {
  if (path.empty()) return "";
  std::string dotted(platform::TrimBlanks(ext));
  if (dotted.empty()) return path;
  if (dotted.front() != '.') dotted.insert(dotted.begin(), '.');
  if (EndsWithIgnoringCase(path, dotted)) return path;
  return path + platform::LowerAscii(dotted);
}

std::string SplitPath(const std::string& path, bool folder, bool separator, bool base, bool dot,
                      bool ext, int32_t caseMode) {
  if (path.empty()) return "";
  const PathParts parts = Parse(path);
  std::string out;
  if (folder) out += parts.folder;
  // Only a path that has a separator gives one back: a bare name stays relative.
  if (separator) out += parts.sep;
  if (base) out += parts.base;
  if (dot && parts.HasExt()) out += '.';
  if (ext) out += parts.ext;
  if (caseMode == 1) return platform::LowerAscii(out);
  if (caseMode == 2) return platform::UpperAscii(out);
  return out;
}

std::string MakeNumberedFileName(const std::string& path, bool withFolder, bool withExt,
                                 int32_t digits, bool always) {
  if (!always && !FileExists(path)) {
    return SplitPath(path, withFolder, withFolder, true, withExt, withExt, 0);
  }
  const PathParts parts = Parse(path);
  const std::string head = parts.folder + parts.sep + parts.base;
  const std::string tail = parts.HasExt() ? "." + parts.ext : "";
  int64_t n = 1;
  while (FileExists(head + FormatNumber(n, digits) + tail)) ++n;
  std::string out;
  if (withFolder) out += parts.folder + parts.sep;
  out += parts.base + FormatNumber(n, digits);
  if (withExt) out += tail;
  return out;
}

}  // namespace foundation
