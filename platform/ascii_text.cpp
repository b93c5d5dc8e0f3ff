#include "platform/ascii_text.h"

namespace platform {

namespace {

constexpr std::string_view kBlanks = " ";
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view TrimAny(std::string_view text, std::string_view set) {
  const size_t first = text.find_first_not_of(set);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(set) - first + 1);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) { return TrimAny(text, kBlanks); }

std::string_view TrimWhiteSpace(std::string_view text) { return TrimAny(text, kWhiteSpace); }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = FoldAscii(c);
  return out;
}

std::string TrimmedLowerAscii(std::string_view text) { return LowerAscii(TrimWhiteSpace(text)); }

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace platform
