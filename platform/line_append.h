#pragma once

#include <string>
#include <string_view>

namespace platform {

// What an append came to: 0 for each step that went well, else its errno value.
struct LineAppendResult {
  int openError = 0;   // errno value: the file could not be opened
  int writeError = 0;  // errno value: the line could not be written whole
  bool ok() const { return openError == 0 && writeError == 0; }
};

// Appends one line (its bytes ending in its line break) to the file at a native path, creating
// the file when missing, so that the file holds the whole line or none of it:
// - the write goes to the end (O_APPEND) under the exclusive lock of file_lock.h, which every
//   writer and the companion's reader of the file take;
// - when the write fails or is short (a full disk, a file-size limit), the file is cut back to
//   the size it had before, so nothing of the line stays;
// - when the lock cannot be had within kFileLockWaitMs the line is written all the same, and a
//   failed write is left as it is, as it is when the file has grown past it meanwhile: another
//   writer's line may already follow it;
// - a file that does not end in a line break (a line torn that way, or by a crash) gets one
//   before the line, so the line always starts on a line of its own.
LineAppendResult AppendWholeLine(const std::string& nativePath, std::string_view line);

}  // namespace platform
