#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_width_source.h"

namespace foundation {

// Makes a field safe for a quoted comma-separated list file: CR, LF, NUL, TAB and backspace are
// dropped, '"' becomes U+201D, ',' and '，' (U+FF0C) become '.'. Everything else, including
// bytes that are not valid UTF-8, is kept as it is.
std::string CleanTextField(const std::string& text);

// Splits a line into `fields` (emptied first) and returns their count. With separator "," and
// quoteMode 1 the scan is quote-aware (quotes are never part of a field, commas inside quotes
// are dropped, a trailing comma adds no empty field); otherwise a plain split at every
// occurrence of the separator that keeps empty fields, a trailing one included. An empty line
// or separator gives 0.
int32_t SplitCsvLine(std::vector<std::string>& fields, const std::string& line,
                     const std::string& separator, int32_t quoteMode);

// The text cut before its first NUL (fixed-size buffers filled by system calls).
std::string TrimNulls(const std::string& text);

// The longest head (or tail, fromRight) of the text, cut at character boundaries, whose width
// on `surface` is at most `width`; at least one character remains and no ellipsis is added.
// A text of fewer than 2 characters or one that fits is returned unchanged.
std::string FitTextToWidth(const std::string& text, const platform::TextWidthSource& surface,
                           double width, bool fromRight = false);

// Number of characters (code points) of a UTF-8 text, and the byte offset of character `n`
// (the text's size when n is at or past the end). Every length and position rule counts
// characters, never bytes. A byte that does not start a well-formed UTF-8 sequence counts as
// one character, so any byte string can be measured and cut without reading past its end.
size_t CharCount(const std::string& utf8);
size_t CharOffset(const std::string& utf8, size_t n);

}  // namespace foundation
