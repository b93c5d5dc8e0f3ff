#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/native_path.h"

namespace platform {

namespace {

// mountinfo on a busy machine is a few hundred kilobytes; anything past this is not believed.
constexpr size_t kMaxMountInfoBytes = 16u << 20;

bool IsSep(char c) { return c == '/' || c == '\\'; }

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes space, tab, newline and backslash in mount fields as \ooo.
std::string UnescapeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
        IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      if (value <= 0xFF) {
        out.push_back(static_cast<char>(value));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

// Splits on any run of separators; empty parts are dropped.
std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSep(path[i])) ++i;
    const size_t start = i;
    while (i < path.size() && !IsSep(path[i])) ++i;
    if (i > start) parts.push_back(path.substr(start, i - start));
  }
  return parts;
}

bool IsNetworkFs(std::string_view fsType) {
  return fsType == "cifs" || fsType == "smb3" || fsType == "nfs" || fsType == "nfs4";
}

// A network mount's source as host plus the folder components it exports:
// "//host/share/sub" (cifs, '\' tolerated) or "host:/export/path" / "[v6addr]:/export" (nfs).
struct NetworkSource {
  std::string_view host;
  std::vector<std::string_view> folders;
};

bool ParseNetworkSource(const MountEntry& m, NetworkSource& out) {
  if (!IsNetworkFs(m.fsType)) return false;
  std::string_view src = m.source;
  if (m.fsType == "cifs" || m.fsType == "smb3") {
    if (src.size() < 3 || !IsSep(src[0]) || !IsSep(src[1])) return false;
    std::vector<std::string_view> parts = SplitComponents(src.substr(2));
    if (parts.empty()) return false;
    out.host = parts.front();
    out.folders.assign(parts.begin() + 1, parts.end());
    return true;
  }
  size_t colon;
  if (!src.empty() && src[0] == '[') {
    const size_t close = src.find(']');
    if (close == std::string_view::npos || close + 1 >= src.size() || src[close + 1] != ':')
      return false;
    out.host = src.substr(1, close - 1);
    colon = close + 1;
  } else {
    colon = src.find(':');
    if (colon == std::string_view::npos) return false;
    out.host = src.substr(0, colon);
  }
  if (out.host.empty()) return false;
  out.folders = SplitComponents(src.substr(colon + 1));
  return true;
}

// The host and the components after it of a UNC path; false when `path` is not UNC.
bool SplitUnc(std::string_view path, std::string_view& host, std::vector<std::string_view>& rest) {
  if (path.size() < 3 || !IsSep(path[0]) || !IsSep(path[1]) || IsSep(path[2])) return false;
  std::vector<std::string_view> parts = SplitComponents(path.substr(2));
  if (parts.empty()) return false;
  host = parts.front();
  rest.assign(parts.begin() + 1, parts.end());
  return true;
}

bool PathIsUnder(std::string_view path, std::string_view mountPoint) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  if (path.size() < mountPoint.size() || path.substr(0, mountPoint.size()) != mountPoint)
    return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;

    // id parent major:minor root mount-point options [optional...] - fstype source super-options
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && line[i] == ' ') ++i;
      const size_t start = i;
      while (i < line.size() && line[i] != ' ') ++i;
      if (i > start) fields.push_back(line.substr(start, i - start));
    }
    size_t sep = 6;
    while (sep < fields.size() && fields[sep] != "-") ++sep;
    if (sep + 2 >= fields.size()) continue;  // no " - fstype source" tail
    MountEntry entry;
    entry.mountPoint = UnescapeMountField(fields[4]);
    entry.fsType = UnescapeMountField(fields[sep + 1]);
    entry.source = UnescapeMountField(fields[sep + 2]);
    if (entry.mountPoint.empty() || entry.mountPoint[0] != '/') continue;
    mounts.push_back(std::move(entry));
  }
  return mounts;
}

std::vector<MountEntry> ReadMountTable() {
  const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (n == 0) break;
    text.append(buf, static_cast<size_t>(n));
    if (text.size() > kMaxMountInfoBytes) break;
  }
  ::close(fd);
  return ParseMountInfo(text);
}

std::optional<std::string> ResolveUncPath(std::string_view path,
                                          const std::vector<MountEntry>& mounts) {
  std::string_view host;
  std::vector<std::string_view> rest;
  if (!SplitUnc(path, host, rest) || rest.empty()) return std::nullopt;

  // The mount whose exported folders are the longest leading run of the UNC path's folders;
  // among equals the later line, which is the one on top.
  const MountEntry* best = nullptr;
  size_t bestDepth = 0;
  for (const MountEntry& m : mounts) {
    NetworkSource src;
    if (!ParseNetworkSource(m, src) || src.folders.empty()) continue;
    if (!EqualsIgnoringAsciiCase(src.host, host) || src.folders.size() > rest.size()) continue;
    bool match = true;
    for (size_t k = 0; k < src.folders.size() && match; ++k)
      match = EqualsIgnoringAsciiCase(src.folders[k], rest[k]);
    if (match && src.folders.size() >= bestDepth) {
      best = &m;
      bestDepth = src.folders.size();
    }
  }
  if (best == nullptr) return std::nullopt;

  std::string out = best->mountPoint;
  for (size_t k = bestDepth; k < rest.size(); ++k) {
    if (out.empty() || out.back() != '/') out.push_back('/');
    out.append(rest[k]);
  }
  // Keep a trailing separator: it says "folder" to callers that build names on it.
  if (IsSep(path.back()) && (out.empty() || out.back() != '/')) out.push_back('/');
  return out;
}

std::string UncHost(std::string_view path) {
  std::string_view host;
  std::vector<std::string_view> rest;
  if (!SplitUnc(path, host, rest)) return {};
  return std::string(host);
}

std::string NetworkSourceHost(const std::string& nativePath,
                              const std::vector<MountEntry>& mounts) {
  const MountEntry* best = nullptr;
  for (const MountEntry& m : mounts) {
    if (!PathIsUnder(nativePath, m.mountPoint)) continue;
    if (best == nullptr || m.mountPoint.size() >= best->mountPoint.size()) best = &m;
  }
  NetworkSource src;
  if (best == nullptr || !ParseNetworkSource(*best, src)) return {};
  return std::string(src.host);
}

}  // namespace platform
