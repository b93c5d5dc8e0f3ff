#pragma once

#include <cstdint>
#include <string>

#include "platform/log_sink.h"

namespace foundation {

// The debug log: one line per call, "yyyy/mm/dd hh:nn:ss <text>" + CR LF in CP932, appended to a
// file in the log folder (DebugLogPath, or <program folder>log). Each line is one append, whole
// or not at all, so several processes can write into one folder, or one file, without tearing
// a line, and a full disk leaves no torn line behind.
//
// File names (platform::LogSeverity::kInfo ".log", kError ".err"):
//   playout, daily:    <yyyymmdd> - <computer> - <log name>.log
//   playout:           <computer> - <log name>.log
//   companion, daily:  <log name><yyyymmdd>.log
//   companion:         <log name>.log
// where the log name is SettingsName, or the program title when that is empty. A file that is
// not daily and has grown past 1,024,000 bytes is retired before the line is written: with
// ErrorCatch set (playout only) it is renamed to the first free <name>001.log, <name>002.log...,
// otherwise deleted. If that fails the line still goes into the old file.

// Writes `text` when force is set or LogError is non-zero. The log folder is created (one level)
// only when a line is to be written; when it cannot be created the line is dropped. Failures are
// silent. A call made while this thread is already inside WriteLog (from a hook running in the
// middle of a write) is dropped rather than recursing. Never runs pending work. Safe to call
// from any thread once the start-up has set the log's globals.
//
// The foundation's own routines write here; every other part writes to the log it was handed.
void WriteLog(const std::string& text,
              platform::LogSeverity severity = platform::LogSeverity::kInfo, int32_t force = 0);

// The program's log: every line goes to WriteLog, in the calling thread. Each program's main()
// makes one and hands it to the parts it builds.
class DebugLog final : public platform::LogSink {
 public:
  void Write(const std::string& text, platform::LogSeverity severity) override {
    WriteLog(text, severity);
  }
};

// The file the next line of this severity would go to (without retiring anything); "" when the
// log folder is unknown.
std::string DebugLogFilePath(platform::LogSeverity severity);

// The system's text for an error number (0 = errno as it stands); "" for 0 or an unknown
// number.
std::string GetWin32ErrorText(int32_t code);

}  // namespace foundation
