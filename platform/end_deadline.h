#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Ends the process with `status` once `ms` milliseconds have passed, unless it has ended by
// then: for the last steps of a program that has already written its final line, so that
// whatever a library's thread or a destructor still waits for, the process is gone in time.
// The end is _exit: no destructor and no exit handler runs; `note` (when not empty) goes to
// standard error first. The first call arms it and later calls change nothing. False when it
// could not be armed.
bool EndProcessWithin(int32_t ms, int status, const std::string& note);

}  // namespace platform
