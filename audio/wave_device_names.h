#pragma once

#include <cstdint>
#include <string>

namespace audio {

// 1 when two wave device names name the same device once the numbering the system adds to
// repeated devices is taken out, else 0. Case is ignored (ASCII). Numbering 1-4 is dropped
// inside parentheses ("Speakers (2- USB Audio Device)" matches "Speakers (USB Audio Device)")
// and, for names longer than 4 characters, at the front ("1- Line Out" matches "line out").
int32_t DeviceNameMatches(const std::string& a, const std::string& b);

}  // namespace audio
