// The append-only files the playout writes, on a disk that fills in the middle of a line.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "foundation/debug_log.h"
#include "playout/play_log.h"
#include "tests/support/debug_log_fixture.h"
#include "tests/support/file_size_limit.h"

namespace playout {
namespace {

using platform::LogSeverity;
using testsupport::ReadWholeFile;

class WholeLineAppendsTest : public testsupport::DebugLogTest {};

TEST_F(WholeLineAppendsTest, FailedAppendTakesItsPartBackAndTheNextLineStandsWhole) {
  const std::string playLog = dir_.Sub("20261209_01.txt");
  struct Target {
    const char* name;
    std::string path;
    // Writes one line holding `text`; the reason it gives for a failure ("" when none).
    std::function<std::string(const std::string& text)> write;
    const char* failure;
  } targets[] = {
      {"play log", playLog,
       [&](const std::string& text) {
         return AppendToFile(playLog, "\"13:16:54\",\"" + text + "\",\"TIME\"\r\n");
       },
       "write failed"},
      // The debug log has nowhere to report its own failures: they are silent.
      {"debug log", "",
       [](const std::string& text) {
         foundation::WriteLog(text, LogSeverity::kInfo);
         return std::string();
       },
       ""},
      {"error log", "",
       [](const std::string& text) {
         foundation::WriteLog(text, LogSeverity::kError);
         return std::string();
       },
       ""},
  };
  targets[1].path = foundation::DebugLogFilePath(LogSeverity::kInfo);
  targets[2].path = foundation::DebugLogFilePath(LogSeverity::kError);
  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    ASSERT_EQ(t.write("first"), "");
    ASSERT_EQ(t.write("second"), "");
    const std::string before = ReadWholeFile(t.path);
    ASSERT_FALSE(before.empty());
    // The disk fills 40 bytes into the next line.
    const int status = testsupport::RunWithFileSizeLimit(
        static_cast<int64_t>(before.size()) + 40,
        [&] { return t.write("lost " + std::string(80, 'x')) == t.failure ? 0 : 1; });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(t.path), before);
    // Room again: the next line follows the last whole one.
    ASSERT_EQ(t.write("after"), "");
    const std::string after = ReadWholeFile(t.path);
    ASSERT_EQ(after.compare(0, before.size(), before), 0);
    const std::string added = after.substr(before.size());
    EXPECT_NE(added.find("after"), std::string::npos);
    EXPECT_EQ(added.find("lost"), std::string::npos);
    EXPECT_EQ(added.find("\r\n"), added.size() - 2) << added;
  }
}

}  // namespace
}  // namespace playout
