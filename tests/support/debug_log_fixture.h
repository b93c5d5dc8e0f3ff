#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A test with a temporary folder of its own and the debug log (errors included) written into
// its "logs" folder, so a test can look for the lines a failure must leave.
class DebugLogTest : public ::testing::Test {
 protected:
  DebugLogTest() {
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = dir_.Sub("logs");
  }
  // The log of `kind` (0 the debug log, 1 the error log) as it stands.
  static std::string Log(int32_t kind = 0) {
    return testsupport::ReadWholeFile(foundation::DebugLogFilePath(kind));
  }
  static bool Logged(const std::string& line, int32_t kind = 0) {
    return Log(kind).find(line) != std::string::npos;
  }

  testsupport::TempDir dir_;
};

}  // namespace testsupport
