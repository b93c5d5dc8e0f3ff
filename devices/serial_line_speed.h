#pragma once

#include <cstdint>

namespace devices {

// Line speeds through the kernel's termios2 interface, which takes any rate in bit/s: the
// rates the settings offer include some (14400, 28800, 56000, 128000, 256000) that have no
// B-constant in <termios.h>. Kept apart because the kernel's termios2 header cannot share a
// translation unit with <termios.h>.

// Sets input and output speed of the terminal `fd` to `baud`; 0 or an errno value (EINVAL for
// a rate of 0 or less).
int SetLineSpeed(int fd, int32_t baud);

// The output speed the terminal `fd` reports, or -1.
int32_t ReadLineSpeed(int fd);

}  // namespace devices
