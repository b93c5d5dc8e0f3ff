#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace transfer {

// Temporary files of a transfer: "~tmp" + four digits + ".tmp" (~tmp0042.tmp) in the target's
// folder, the form the clean-up recognises.

// The name for a number 0 to 9999.
std::string TempFileName(int32_t number);

// A number 0 to 9999 from one generator seeded once per process (safe from any thread): two
// transfers started in the same clock tick still draw different names.
int32_t NextTempNumber();

// Whether a file name has the form of a temporary transfer file: exactly 12 characters,
// beginning "~tmp" and ending ".tmp" in that case.
bool IsTempFileName(std::string_view name);

}  // namespace transfer
