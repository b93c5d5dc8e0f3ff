#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A test with a temporary folder of its own and the debug log (errors included) written into
// its "logs" folder, so a test can look for the lines a failure must leave; the parts under
// test are handed `log_`, the program's log.
class DebugLogTest : public ::testing::Test {
 protected:
  DebugLogTest() {
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = dir_.Sub("logs");
  }
  // The log of `severity` (kInfo the debug log, kError the error log) as it stands.
  static std::string Log(platform::LogSeverity severity = platform::LogSeverity::kInfo) {
    return testsupport::ReadWholeFile(foundation::DebugLogFilePath(severity));
  }
  static bool Logged(const std::string& line,
                     platform::LogSeverity severity = platform::LogSeverity::kInfo) {
    return Log(severity).find(line) != std::string::npos;
  }

  testsupport::TempDir dir_;
  foundation::DebugLog log_;
};

}  // namespace testsupport
