#include <string_view>

#include "platform/ascii_case.h"
#include "platform/file_system.h"

namespace platform {

namespace {

// '*' matches any run of characters, '?' exactly one. Greedy with a single back-track point
// (the last '*'), so the cost is bounded by pattern length times name length.
bool MatchPlain(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (MatchPlain(pattern, name)) return true;
  // A trailing ".*" may also match nothing at the end of the name, as the Windows file
  // look-up does: "abc.*" finds "abc", and "*.*" finds every name.
  const std::string_view p(pattern);
  if (p.size() >= 2 && p.substr(p.size() - 2) == ".*")
    return MatchPlain(p.substr(0, p.size() - 2), name);
  return false;
}

}  // namespace platform
