#pragma once

#include <optional>
#include <string>

namespace lists {

// The time a time column's editor makes of six typed digits: exactly six ASCII digits hhmmss
// with hh 0 .. 30 (the broadcast day runs past midnight), mm and ss below 60, become
// "hh:mm:ss". Anything else (other lengths, signs, blanks, full-width digits) is no time.
std::optional<std::string> TimeFromSixDigits(const std::string& text);

}  // namespace lists
