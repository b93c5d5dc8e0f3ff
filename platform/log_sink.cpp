#include "platform/log_sink.h"

#include <cstdio>

namespace platform {

namespace {

class StandardError final : public LogSink {
 public:
  void Write(const std::string& text, LogSeverity) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
};

}  // namespace

LogSink& StandardErrorLog() {
  // Never destroyed: a stream still running while the process exits may write to it.
  static StandardError* const log = new StandardError;
  return *log;
}

}  // namespace platform
