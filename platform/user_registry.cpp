#include "platform/user_registry.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/ascii_case.h"
#include "platform/atomic_file_update.h"

namespace platform {

namespace {

// Creates `path` and its missing parents, private to the user. 0 or errno.
int MakeFolders(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    const std::string part = path.substr(0, pos);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

std::string Escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\0':
        out += "\\0";
        break;
      case '=':
        out += "\\=";
        break;
      default:
        out += c;
    }
  }
  return out;
}

struct Entry {
  std::string name;
  std::string value;
};

// Decodes one line; nullopt when it has no unescaped '='. An unknown escape stands for the
// character after the backslash.
std::optional<Entry> ParseEntry(std::string_view line) {
  Entry entry;
  std::string* field = &entry.name;
  bool split = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < line.size()) {
      const char e = line[++i];
      c = e == 'r' ? '\r' : e == 'n' ? '\n' : e == '0' ? '\0' : e;
    } else if (c == '=' && !split) {
      split = true;
      field = &entry.value;
      continue;
    }
    *field += c;
  }
  if (!split) return std::nullopt;
  return entry;
}

// Calls `visit(begin, next, entry)` for each line that parses, [begin, next) being the line with
// its LF; stops when `visit` returns false.
template <typename Visit>
void ForEachEntry(std::string_view text, Visit visit) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl;
    // Our own lines never hold a raw CR; one before the LF comes from a hand edit.
    if (end > pos && text[end - 1] == '\r') --end;
    const size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
    const std::optional<Entry> entry = ParseEntry(text.substr(pos, end - pos));
    if (entry && !visit(pos, next, *entry)) return;
    pos = next;
  }
}

// Appends `part` lower-cased as a safe file-name piece: a-z, 0-9, '_' and '-' as they are, every
// other byte (separators, dots, '%', non-ASCII) as %XX.
void AppendFileNamePart(std::string& out, std::string_view part) {
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : part) {
    c = FoldAscii(c);
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-') {
      out += c;
    } else {
      const auto b = static_cast<unsigned char>(c);
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
}

}  // namespace

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  std::string base = home && home[0] ? home : "";
  if (base.empty()) {
    struct passwd pw {};
    struct passwd* found = nullptr;
    char buf[4096];
    if (::getpwuid_r(::getuid(), &pw, buf, sizeof buf, &found) == 0 && found && pw.pw_dir)
      base = pw.pw_dir;
  }
  if (base.empty()) base = "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/.config";
}

UserRegistry::UserRegistry(std::string_view company) : UserRegistry(company, UserConfigFolder()) {}

UserRegistry::UserRegistry(std::string_view company, std::string configFolder) {
  while (configFolder.size() > 1 && configFolder.back() == '/') configFolder.pop_back();
  // The company becomes one folder name: escaped like a key path component.
  std::string companyPart;
  AppendFileNamePart(companyPart, company);
  if (companyPart.empty()) companyPart = "%";
  folder_ = configFolder + "/" + companyPart;
}

std::optional<std::string> UserRegistry::KeyFilePath(std::string_view keyPath) const {
  std::string file;
  size_t pos = 0;
  for (;;) {
    const size_t sep = keyPath.find('\\', pos);
    const std::string_view part =
        keyPath.substr(pos, sep == std::string_view::npos ? std::string_view::npos : sep - pos);
    if (part.empty() || part == "." || part == "..") return std::nullopt;
    if (!file.empty()) file += '.';
    AppendFileNamePart(file, part);
    if (sep == std::string_view::npos) break;
    pos = sep + 1;
  }
  return folder_ + "/" + file + ".key";
}

std::optional<std::string> UserRegistry::ReadValue(std::string_view keyPath,
                                                   std::string_view name) const {
  const std::optional<std::string> file = KeyFilePath(keyPath);
  if (!file) return std::nullopt;
  const std::optional<std::string> text = ReadFileBounded(*file);
  if (!text) return std::nullopt;
  std::optional<std::string> value;
  ForEachEntry(*text, [&](size_t, size_t, const Entry& entry) {
    if (!EqualsIgnoringAsciiCase(entry.name, name)) return true;
    value = entry.value;
    return false;
  });
  return value;
}

int UserRegistry::WriteValue(std::string_view keyPath, std::string_view name,
                             std::string_view value) const {
  const std::optional<std::string> file = KeyFilePath(keyPath);
  if (!file) return EINVAL;
  if (int err = MakeFolders(folder_)) return err;
  const std::string line = Escape(name) + "=" + Escape(value) + "\n";
  return UpdateFileAtomically(*file, [&](std::string& text, bool) {
    bool replaced = false;
    ForEachEntry(text, [&](size_t begin, size_t next, const Entry& entry) {
      if (!EqualsIgnoringAsciiCase(entry.name, name)) return true;
      // Keep the stored spelling of the name, as the registry does.
      const std::string kept = Escape(entry.name) + "=" + Escape(value) + "\n";
      text.replace(begin, next - begin, kept);
      replaced = true;
      return false;
    });
    if (!replaced) {
      if (!text.empty() && text.back() != '\n') text += '\n';
      text += line;
    }
    return true;
  });
}

int UserRegistry::DeleteValue(std::string_view keyPath, std::string_view name) const {
  const std::optional<std::string> file = KeyFilePath(keyPath);
  if (!file) return EINVAL;
  if (::access(file->c_str(), F_OK) != 0) return 0;  // no key, nothing to delete
  const int err = UpdateFileAtomically(*file, [&](std::string& text, bool existed) {
    if (!existed) return false;
    // Every line of the name goes, so a later duplicate cannot surface as the value.
    bool removed = false;
    bool again = true;
    while (again) {
      again = false;
      ForEachEntry(text, [&](size_t begin, size_t next, const Entry& entry) {
        if (!EqualsIgnoringAsciiCase(entry.name, name)) return true;
        text.erase(begin, next - begin);
        removed = again = true;
        return false;
      });
    }
    return removed;
  });
  return err == ENOENT ? 0 : err;
}

}  // namespace platform
