#include <string_view>

#include "platform/ascii_case.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/utf8.h"

namespace platform {

namespace {

// A file name (or pattern) walked character by character. Linux keeps names as bytes: here they
// are UTF-8 (the programs' own names, shares mounted with a UTF-8 character set) or, on media
// written by Windows tools without conversion, CP932. A name that is well-formed UTF-8 is read as
// UTF-8, any other as CP932; either way a multi-byte character is one unit and only single-byte
// characters fold case (a CP932 trail byte may look like an ASCII letter).
class NameChars {
 public:
  explicit NameChars(std::string_view text) : text_(text), utf8_(IsUtf8Text(text)) {}

  size_t size() const { return text_.size(); }
  // Bytes of the character at `i` (i < size()).
  size_t LengthAt(size_t i) const {
    return utf8_ ? Utf8CharLength(text_, i) : Cp932CharLength(text_, i);
  }
  std::string_view At(size_t i) const { return text_.substr(i, LengthAt(i)); }

 private:
  std::string_view text_;
  bool utf8_;
};

bool SameCharIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() == 1 && b.size() == 1) return FoldAscii(a[0]) == FoldAscii(b[0]);
  return a == b;
}

// '*' matches any run of characters, '?' exactly one. Greedy with a single back-track point
// (the last '*'), so the cost is bounded by pattern length times name length.
bool MatchPlain(const NameChars& pattern, const NameChars& name) {
  size_t p = 0, n = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    const std::string_view pc = p < pattern.size() ? pattern.At(p) : std::string_view();
    if (pc == "*") {
      starP = p++;
      starN = n;
    } else if (!pc.empty() && (pc == "?" || SameCharIgnoringCase(pc, name.At(n)))) {
      p += pc.size();
      n += name.LengthAt(n);
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      starN += name.LengthAt(starN);
      n = starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern.At(p) == "*") ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  const NameChars nameChars(name);
  if (MatchPlain(NameChars(pattern), nameChars)) return true;
  // A trailing ".*" may also match nothing at the end of the name, as the Windows file
  // look-up does: "abc.*" finds "abc", and "*.*" finds every name. '.' and '*' are never part
  // of a multi-byte character, so the cut lands on a character boundary.
  const std::string_view p(pattern);
  if (p.size() >= 2 && p.substr(p.size() - 2) == ".*")
    return MatchPlain(NameChars(p.substr(0, p.size() - 2)), nameChars);
  return false;
}

bool FileNamesEqualIgnoringCase(std::string_view a, std::string_view b) {
  const NameChars left(a), right(b);
  size_t i = 0, k = 0;
  while (i < left.size() && k < right.size()) {
    const std::string_view ca = left.At(i), cb = right.At(k);
    if (!SameCharIgnoringCase(ca, cb)) return false;
    i += ca.size();
    k += cb.size();
  }
  return i == left.size() && k == right.size();
}

}  // namespace platform
