#include "controls/lists/time_entry.h"

#include <algorithm>

namespace lists {

std::optional<std::string> TimeFromSixDigits(const std::string& text) {
  if (text.size() != 6) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const auto pair = [&](size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  if (pair(0) > 30 || pair(2) >= 60 || pair(4) >= 60) return std::nullopt;
  return text.substr(0, 2) + ":" + text.substr(2, 2) + ":" + text.substr(4, 2);
}

}  // namespace lists
