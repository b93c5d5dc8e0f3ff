#include "platform/native_path.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/file_system.h"

namespace platform {

namespace {

std::string WithForwardSlashes(std::string_view stored) {
  std::string out(stored);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

// The name in `folder` equal to `component` ignoring ASCII case (FileNamesEqualIgnoringCase:
// a CP932 trail byte is never folded); "" when none. When several
// differ only in case, the lowest in byte order wins, so the answer does not depend on the
// order the file system lists them in.
std::string FindIgnoringCase(const std::string& folder, std::string_view component) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name(e->d_name);
    if (!FileNamesEqualIgnoringCase(name, component)) continue;
    if (found.empty() || name < found) found.assign(name);
  }
  ::closedir(dir);
  return found;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// Rebuilds `path` component by component, replacing each missing component by an existing
// name that differs only in ASCII case. Separators, "." and ".." are kept as written; once a
// component exists in no case, the rest is kept as written.
std::string MatchCase(const std::string& path) {
  if (path.empty() || path.size() >= PATH_MAX || path.find('\0') != std::string::npos) return path;
  if (Exists(path) || errno != ENOENT) return path;

  std::string out;
  out.reserve(path.size());
  bool parentMissing = false;
  size_t i = 0;
  while (i < path.size()) {
    if (path[i] == '/') {
      out.push_back('/');
      ++i;
      continue;
    }
    const size_t end = std::min(path.find('/', i), path.size());
    const std::string_view component(path.data() + i, end - i);
    i = end;
    if (parentMissing || component == "." || component == "..") {
      out.append(component);
      continue;
    }
    const size_t folderLength = out.size();
    out.append(component);
    if (Exists(out)) continue;
    if (errno != ENOENT || component.size() > NAME_MAX) {
      parentMissing = true;
      continue;
    }
    const std::string folder = out.substr(0, folderLength);
    const std::string actual = FindIgnoringCase(folder, component);
    if (actual.empty()) {
      parentMissing = true;
    } else {
      out.resize(folderLength);
      out.append(actual);
    }
  }
  return out;
}

}  // namespace

std::string LexicalAbsolutePath(std::string_view path) {
  std::string text = WithForwardSlashes(path);
  if (text.empty() || text[0] != '/') {
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) == nullptr) return {};
    text = std::string(buffer) + "/" + text;
  }
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == '/') ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != '/') ++i;
    const std::string_view part(text.data() + start, i - start);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      out.resize(out.empty() ? 0 : out.rfind('/'));  // "/.." is "/"
      continue;
    }
    out += '/';
    out.append(part);
  }
  return out.empty() ? "/" : out;
}

std::string ToNativePath(std::string_view stored) {
  // The mount table matters only for UNC paths; other paths skip reading it.
  if (UncHost(stored).empty()) return MatchCase(WithForwardSlashes(stored));
  return ToNativePath(stored, ReadMountTable());
}

std::string ToNativePath(std::string_view stored, const std::vector<MountEntry>& mounts) {
  if (!UncHost(stored).empty()) {
    if (std::optional<std::string> resolved = ResolveUncPath(stored, mounts))
      return MatchCase(*resolved);
    // Nothing mounted for it: "//host/share/..." would name a folder under the root here, so
    // no look-up is made on it.
    return WithForwardSlashes(stored);
  }
  return MatchCase(WithForwardSlashes(stored));
}

std::string ProgramFolder() {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", target.data(), target.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < target.size()) {
      target.resize(static_cast<size_t>(n));
      break;
    }
    if (target.size() >= (1u << 16)) return {};
    target.resize(target.size() * 2);
  }
  const size_t slash = target.rfind('/');
  if (slash == std::string::npos) return {};
  return target.substr(0, slash + 1);
}

}  // namespace platform
