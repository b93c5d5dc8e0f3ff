#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace settings {

// How the dialog reads the numbers typed into its boxes. A number is a signed decimal number
// with an optional fraction and exponent, with blanks around it allowed; nothing else counts
// (no "&H" hex, no thousands separators). A text that is no number leaves its setting as it was.

// The number rounded to a whole number (halves to even); nullopt for no number or one outside
// the 32-bit range.
std::optional<int32_t> DialogNumber(const std::string& text);

// The absolute value of DialogNumber; nullopt also for -2147483648, whose absolute value does not
// fit.
std::optional<int32_t> DialogAbsNumber(const std::string& text);

// The display scale as it is stored: the number as a single-precision value, written with one
// decimal ("1" gives "1.0"); nullopt for no number or one beyond single precision.
std::optional<std::string> SizeRateText(const std::string& text);

}  // namespace settings
