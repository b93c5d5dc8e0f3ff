#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Which of the debug log's two files a line belongs in. The numbers are the log's own kinds.
enum class LogSeverity : int32_t {
  kInfo = 0,   // decisions and events: the .log file
  kError = 1,  // failures: the .err file
};

// Where every part of the programs writes its debug-log lines. Each part is handed one when it
// is made; the program's is the foundation's debug log (foundation::DebugLog).
//
// Write may be called from any thread (the wave output's feeder threads, the file transfer's
// worker), never throws, and a line that cannot be kept is dropped. An implementation must not
// call back into the part that wrote.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // `text` is one line without its line end.
  virtual void Write(const std::string& text, LogSeverity severity) = 0;
};

// Standard error, one line per call (so lines of several threads never interleave mid-line),
// whatever the severity: where a part's lines go when no program has handed it a log (the
// wave output the process chooses by itself, tools).
LogSink& StandardErrorLog();

}  // namespace platform
