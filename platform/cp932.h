#pragma once

#include <string>
#include <string_view>

namespace platform {

// Code page 932 (the Japanese double-byte code page of files, INI values and the schedule
// message) at the boundary of the program, whose own texts are UTF-8.

// UTF-8 -> CP932 bytes. A character the code page cannot hold becomes '?'; invalid UTF-8
// bytes become '?' too. Never fails.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 bytes -> UTF-8. A byte sequence that is not valid CP932 becomes '?' (one per
// undecodable byte); a lead byte at the very end stands alone as '?'. Never fails.
std::string Cp932ToUtf8(std::string_view cp932);

// True for the bytes that start a two-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
bool IsCp932LeadByte(unsigned char b);

// Length of the longest prefix of `cp932` not longer than `maxBytes` that does not end in
// the first half of a double-byte character.
size_t Cp932SafePrefixLength(std::string_view cp932, size_t maxBytes);

}  // namespace platform
