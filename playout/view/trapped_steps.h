#pragma once

#include <functional>
#include <string>

#include "platform/log_sink.h"

namespace playout {

// Runs the steps of start-up or of the unload in order. While errors are trapped (ErrorCatch
// 0) a step that fails (throws) is written to `log` as an error line and skipped, and the next
// one runs; otherwise the first failing step is logged and stops the run: the steps after it
// do not run.
class TrappedSteps {
 public:
  TrappedSteps(std::string where, platform::LogSink& log) : where_(std::move(where)), log_(log) {}

  // False once the run has stopped (this step was not run, or it failed untrapped).
  bool Run(const char* name, const std::function<void()>& step);
  bool Stopped() const { return stopped_; }
  // "<where> <step> <reason>" of the step that stopped the run.
  const std::string& Failure() const { return failure_; }

 private:
  std::string where_;
  platform::LogSink& log_;
  bool stopped_ = false;
  std::string failure_;
};

}  // namespace playout
