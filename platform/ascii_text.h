#pragma once

#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace platform {

// Trimming and case changes that look at ASCII bytes only, whatever the process's locale: a GUI
// may set one whose tables would fold or strip bytes of multi-byte characters. UTF-8 texts pass
// through unharmed. Trimming is safe on raw CP932 bytes too (no blank is ever a trail byte);
// case changes are not (trail bytes include the ASCII letters), so fold CP932 texts in UTF-8.
// Character-wise folding and comparison are in ascii_case.h.

// The text without ASCII spaces at both ends; tabs and line ends are kept.
std::string_view TrimBlanks(std::string_view text);

// The text without ASCII white space (space, tab, CR, LF, vertical tab, form feed) at both ends.
std::string_view TrimWhiteSpace(std::string_view text);

// ASCII letters lower- or upper-cased; every other byte is kept.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);

// TrimWhiteSpace, then LowerAscii: the form in which names compare when neither the blanks
// around them nor their case count.
std::string TrimmedLowerAscii(std::string_view text);

}  // namespace platform
