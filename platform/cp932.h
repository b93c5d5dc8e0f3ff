#pragma once

#include <string>
#include <string_view>

namespace platform {

// Code page 932 (the Japanese double-byte code page of files, INI values and the schedule
// message) at the boundary of the program, whose own texts are UTF-8.

// UTF-8 -> CP932 bytes. A character the code page cannot hold becomes '?'; invalid UTF-8
// bytes become '?' too. Never fails.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 bytes -> UTF-8, character by character as Cp932CharLength walks them: a character the
// code page leaves undefined becomes one '?' (a double-byte one included, so its trail byte never
// shows up on its own: 0x5C would turn into a path separator). Never fails.
std::string Cp932ToUtf8(std::string_view cp932);

// True for the bytes that start a two-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
bool IsCp932LeadByte(unsigned char b);
// True for the bytes that may end a two-byte CP932 character (0x40-0x7E, 0x80-0xFC).
bool IsCp932TrailByte(unsigned char b);

// The one rule every walk over CP932 bytes follows: the number of bytes (1 or 2, 0 at or past
// the end) of the character that starts at `cp932[i]`. A lead byte and the trail byte after it
// are one character whether or not the code page defines the pair. A lead byte followed by
// anything else (a control character, a blank, an ASCII sign: none of these can be a trail
// byte) or by nothing is a character of its own, so a line end, NUL, '=' or ';' found by a byte
// search always sits on a character boundary.
size_t Cp932CharLength(std::string_view cp932, size_t i);

// Length of the longest prefix of `cp932` not longer than `maxBytes` that does not end in
// the first half of a double-byte character. A lead byte that ends `cp932` counts as such a
// first half, its trail byte cut off.
size_t Cp932SafePrefixLength(std::string_view cp932, size_t maxBytes);

}  // namespace platform
