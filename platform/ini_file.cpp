#include "platform/ini_file.h"

#include <cerrno>

#include "platform/ascii_case.h"
#include "platform/ascii_text.h"
#include "platform/atomic_file_update.h"
#include "platform/cp932.h"

namespace platform {

namespace {

// All the scanning below works on raw CP932 bytes. The structural characters it finds by byte
// search ('\n', '\r', '=', ';', quotes, blanks) can never be the trail byte of a double-byte
// character; '[' and ']' (0x5B, 0x5D) and the ASCII letters can, so those are only looked at on
// character boundaries (Cp932CharLength).

// Equality ignoring ASCII case on single-byte characters; double-byte characters compare exactly.
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t length = Cp932CharLength(a, i);
    if (length == 2) {
      if (a.compare(i, 2, b.substr(i, 2)) != 0) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

enum class LineKind { Other, Section, Key };

// One line of the file: [begin, end) is its text without the line end, [end, next) the line end
// ("\r\n", "\n" or nothing at the end of the file).
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name
  std::string_view value;  // key value, trimmed
};

Line ParseLine(std::string_view text, size_t begin) {
  Line line;
  line.begin = begin;
  const size_t nl = text.find('\n', begin);
  line.next = nl == std::string_view::npos ? text.size() : nl + 1;
  line.end = nl == std::string_view::npos ? text.size() : nl;
  if (line.end > begin && text[line.end - 1] == '\r') --line.end;

  const std::string_view s = TrimWhiteSpace(text.substr(begin, line.end - begin));
  if (s.empty() || s.front() == ';') return line;
  if (s.front() == '[') {
    size_t close = std::string_view::npos;
    for (size_t i = 1; i < s.size(); i += Cp932CharLength(s, i)) {
      if (s[i] == ']') close = i;
    }
    if (close == std::string_view::npos) return line;  // no header: an odd line
    line.kind = LineKind::Section;
    line.name = TrimWhiteSpace(s.substr(1, close - 1));
    return line;
  }
  const size_t eq = s.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = LineKind::Key;
  line.name = TrimWhiteSpace(s.substr(0, eq));
  line.value = TrimWhiteSpace(s.substr(eq + 1));
  return line;
}

// Where a key sits in a file, as far as a read or a write needs to know.
struct KeyLocation {
  bool sectionFound = false;
  size_t insertAt = 0;              // after the section's last key line, or after its header
  bool insertNeedsLineEnd = false;  // that line ends the file without a line end (a CR alone
                                    // ends no line)
  std::optional<Line> key;          // the first line of the key
};

bool EndsWithLineFeed(std::string_view text, const Line& line) {
  return line.next > line.begin && text[line.next - 1] == '\n';
}

KeyLocation Locate(std::string_view text, std::string_view section, std::string_view key) {
  KeyLocation loc;
  bool inSection = false;
  for (size_t pos = 0; pos < text.size();) {
    const Line line = ParseLine(text, pos);
    pos = line.next;
    if (line.kind == LineKind::Section) {
      if (inSection) break;  // only the first section of the name counts
      if (NamesEqual(line.name, section)) {
        inSection = loc.sectionFound = true;
        loc.insertAt = line.next;
        loc.insertNeedsLineEnd = !EndsWithLineFeed(text, line);
      }
      continue;
    }
    if (!inSection || line.kind != LineKind::Key) continue;
    loc.insertAt = line.next;
    loc.insertNeedsLineEnd = !EndsWithLineFeed(text, line);
    if (NamesEqual(line.name, key)) {
      loc.key = line;
      break;
    }
  }
  return loc;
}

std::string_view StripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool ValidNames(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty()) return false;
  if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value))
    return false;
  // A ']' inside the section name would end the header early on reading, and blanks around it
  // would be trimmed off, so the section written would never be found again.
  if (section.find(']') != std::string_view::npos) return false;
  if (TrimWhiteSpace(section).size() != section.size()) return false;
  if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
    return false;
  return TrimWhiteSpace(key).size() == key.size();
}

// True when `text` ends with an empty (or blank) line, or holds nothing but such lines.
bool EndsWithBlankLine(std::string_view text) {
  if (text.empty() || text.back() != '\n') return false;
  text.remove_suffix(1);
  const size_t prev = text.rfind('\n');
  const std::string_view last = prev == std::string_view::npos ? text : text.substr(prev + 1);
  return TrimWhiteSpace(last).empty();
}

}  // namespace

std::optional<std::string> ReadIniString(const std::string& path, std::string_view section,
                                         std::string_view key, size_t maxCp932Bytes) {
  const std::optional<std::string> text = ReadFileBounded(path);
  if (!text) return std::nullopt;
  const std::string cpSection = Utf8ToCp932(section);
  const std::string cpKey = Utf8ToCp932(key);
  const KeyLocation loc = Locate(*text, cpSection, cpKey);
  if (!loc.key) return std::nullopt;
  std::string_view value = StripQuotes(loc.key->value);
  value = value.substr(0, value.find('\0'));
  value = value.substr(0, Cp932SafePrefixLength(value, maxCp932Bytes));
  return Cp932ToUtf8(value);
}

int WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value) {
  if (!ValidNames(section, key, value)) return EINVAL;
  const std::string cpSection = Utf8ToCp932(section);
  const std::string cpKey = Utf8ToCp932(key);
  const std::string cpValue = Utf8ToCp932(value);

  return UpdateFileAtomically(path, [&](std::string& text, bool) {
    const KeyLocation loc = Locate(text, cpSection, cpKey);
    if (loc.key) {
      const Line& line = *loc.key;
      std::string replacement(line.name);
      replacement += '=';
      replacement += cpValue;
      const size_t length = line.end - line.begin;
      if (text.compare(line.begin, length, replacement) == 0) return false;  // already so
      text.replace(line.begin, length, replacement);
      return true;
    }
    const std::string keyLine = cpKey + "=" + cpValue + "\r\n";
    if (loc.sectionFound) {
      text.insert(loc.insertAt, loc.insertNeedsLineEnd ? "\r\n" + keyLine : keyLine);
      return true;
    }
    if (!text.empty()) {
      if (text.back() != '\n') text += "\r\n";
      if (!EndsWithBlankLine(text)) text += "\r\n";
    }
    text += "[" + cpSection + "]\r\n" + keyLine;
    return true;
  });
}

}  // namespace platform
