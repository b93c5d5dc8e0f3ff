#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace foundation {

// -110 dB or less gives 0, else 10^(dB/20).
double DbToGain(double dB);

// The nearest whole number, halves to even; nullopt for NaN, infinities and whatever falls
// outside the signed 32-bit range.
std::optional<int32_t> NearestInt32(double value);
// The nearest whole number, halves to even, held within the signed 32-bit range (infinities
// included); 0 for NaN. For measures and samples, where the nearest value that fits serves.
int32_t NearestInt32Saturated(double value);

// 64-bit value -> unsigned 32-bit word held in a signed 32-bit integer: the value rounded down;
// negative gives 0, above 4294967295 gives -1, above 2147483647 wraps.
int32_t CurToLong(double value);
// Unsigned value of a 32-bit word.
int64_t ULongToCur(int32_t word);

// 1 when the last digit of the whole part of the value is odd, else 0.
int32_t IsOddNumber(double value);
int32_t IsOddNumber(int64_t value);

// 0..255.
int32_t ClampByte(int32_t value);

// The text trimmed of blanks and converted to CP932 bytes written from bytes[0]; bytes past the
// array's end are counted but not written, the rest of the array is zeroed. Returns the number
// of CP932 bytes of the trimmed text.
int32_t StringToBytes(const std::string& text, std::vector<uint8_t>& bytes);

// Decodes CP932 bytes from startIndex up to the terminator (termMode -1 none, 0 NUL, 1 CR,
// 2 CR LF, other NUL), lastIndex or the array's end, whichever comes first.
std::string BytesToString(const std::vector<uint8_t>& bytes, int32_t lastIndex, int32_t termMode,
                          int32_t startIndex = 0);

}  // namespace foundation
