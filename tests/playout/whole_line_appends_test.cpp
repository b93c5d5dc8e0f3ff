// The append-only files the playout writes, on a disk that fills in the middle of a line.
#include <gtest/gtest.h>

#include <functional>

#include "playout/play_log.h"
#include "tests/support/debug_log_fixture.h"
#include "tests/support/file_size_limit.h"

namespace playout {
namespace {

using platform::LogSeverity;
using testsupport::ReadWholeFile;

class WholeLineAppendsTest : public testsupport::DebugLogTest {};

TEST_F(WholeLineAppendsTest, AFailedAppendLeavesNothingAndTheNextLineStandsWhole) {
  const std::string playLog = dir_.Sub("20261209_01.txt");
  auto debugLine = [](LogSeverity severity) {
    return [severity](const std::string& text) {
      foundation::WriteLog(text, severity);
      return std::string();  // the debug log has nowhere to report its own failures
    };
  };
  const struct {
    std::string path;
    std::function<std::string(const std::string& text)> write;  // the reason of a failure
    const char* failure;
  } targets[] = {
      {playLog, [&](const std::string& text) { return AppendToFile(playLog, text + "\r\n"); },
       "write failed"},
      {foundation::DebugLogFilePath(LogSeverity::kInfo), debugLine(LogSeverity::kInfo), ""},
      {foundation::DebugLogFilePath(LogSeverity::kError), debugLine(LogSeverity::kError), ""},
  };
  for (const auto& t : targets) {
    SCOPED_TRACE(t.path);
    ASSERT_EQ(t.write("\"13:16:54\",\"TIME\""), "");
    const std::string before = ReadWholeFile(t.path);
    // The disk fills 40 bytes into the next line.
    EXPECT_EQ(testsupport::RunWithFileSizeLimit(
                  static_cast<int64_t>(before.size()) + 40,
                  [&] { return t.write("lost " + std::string(80, 'x')) == t.failure ? 0 : 1; }),
              0);
    EXPECT_EQ(ReadWholeFile(t.path), before);
    ASSERT_EQ(t.write("\"13:17:37\",\"SEQ\""), "");
    const std::string added = ReadWholeFile(t.path).substr(before.size());
    EXPECT_NE(added.find("13:17:37"), std::string::npos);
    EXPECT_EQ(added.find("\r\n"), added.size() - 2) << added;
  }
}

}  // namespace
}  // namespace playout
