// Test labels: threads (the FileHand worker)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "foundation/debug_log.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/file_hand.h"

namespace transfertest {
namespace {

using transfer::FileHand;

constexpr int32_t kChunk = 1024;

class FileHandCompareTest : public ::testing::Test {
 protected:
  FileHandCompareTest() : hand_(log_, transfer::PlayoutVariant(), fs_) {
    hand_.SetObserver(&events_);
  }

  testsupport::TempDir dir_;
  FaultyFileSystem fs_;
  Recorder events_;
  foundation::DebugLog log_;
  FileHand hand_;
};

// Equal only with the same non-zero size and the same bytes; a mismatch is found wherever it
// lies and still ends the progress at 1.0; sizes alone decide without reading.
TEST_F(FileHandCompareTest, EqualDifferentAndSizeOnly) {
  std::string lastByte = Pattern(3 * kChunk);
  lastByte.back() ^= 1;
  std::string firstByte = Pattern(3 * kChunk);
  firstByte.front() ^= 1;
  struct Case {
    const char* what;
    std::string other;
    int32_t result;
    std::vector<float> rates;
  } const cases[] = {
      {"equal", Pattern(3 * kChunk), 1, {0.0F, 1.0F / 3, 2.0F / 3, 1.0F}},
      {"last byte differs", lastByte, 0, {0.0F, 1.0F / 3, 2.0F / 3, 1.0F}},
      {"first byte differs", firstByte, 0, {0.0F, 1.0F}},
      {"sizes differ", Pattern(3 * kChunk - 1), 0, {}},
  };
  const std::string source = dir_.WriteFile("a.wav", Pattern(3 * kChunk));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string target = dir_.WriteFile("b.wav", c.other);
    events_.items.clear();
    EXPECT_EQ(hand_.HikakuFile(source, target, -1, kChunk), c.result);
    EXPECT_THAT(events_.Rates('H'), testing::Pointwise(testing::FloatNear(1e-6F), c.rates));
    // Once reading starts, the message is shown and left on the panel.
    EXPECT_EQ(events_.Messages(), c.rates.empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{"ファイル比較中…"});
  }
  // Two empty files, or a missing one, are never equal.
  const std::string empty1 = dir_.WriteFile("e1", "");
  const std::string empty2 = dir_.WriteFile("e2", "");
  EXPECT_EQ(hand_.HikakuFile(empty1, empty2, -1, 0), 0);
  EXPECT_EQ(hand_.HikakuFile(source, dir_.Sub("missing"), -1, 0), 0);
}

// A read error gives no answer; a cancel stops within a chunk with code 1; the comparison
// clears Canceled but keeps an earlier ErrorCode; a round limit is no proof of equality.
TEST_F(FileHandCompareTest, FailuresAndState) {
  const std::string a = dir_.WriteFile("a.wav", Pattern(4 * kChunk));
  const std::string b = dir_.WriteFile("b.wav", Pattern(4 * kChunk));
  fs_.Fail(Call::kRead, b, EIO, kChunk);
  EXPECT_EQ(hand_.HikakuFile(a, b, -1, kChunk), 0);
  fs_.Reset();

  // An earlier failure's code stays.
  EXPECT_EQ(hand_.TranspFile(dir_.Sub("missing"), dir_.Sub("t"), 1, 0), 0);
  ASSERT_EQ(hand_.ErrorCode(), 4);
  hand_.ProcCancel();
  EXPECT_EQ(hand_.HikakuFile(a, b, -1, kChunk), 1);
  EXPECT_EQ(hand_.Canceled(), 0);
  EXPECT_EQ(hand_.ErrorCode(), 4);

  events_.items.clear();
  events_.CancelAtProgress(hand_);
  EXPECT_EQ(hand_.HikakuFile(a, b, 600000, kChunk), 0);
  EXPECT_EQ(hand_.ErrorCode(), 1);
  EXPECT_EQ(events_.Rates('H'), std::vector<float>{0.0F});

  events_.then = nullptr;
  FileHand limited(log_, transfer::PlayoutVariant(), fs_, {1000001, -1});
  EXPECT_EQ(limited.HikakuFile(a, b, -1, kChunk), 0);
  EXPECT_EQ(limited.ErrorCode(), 13);
}

// The companion's comparison first wants both files to exist, and then leaves Canceled as it was.
TEST_F(FileHandCompareTest, CompanionNeedsBothFilesFirst) {
  FileHand companion(log_, transfer::CompanionVariant(), fs_);
  const std::string a = dir_.WriteFile("a.wav", Pattern(10));
  companion.ProcCancel();
  EXPECT_EQ(companion.HikakuFile(a, dir_.Sub("missing"), -1, 0), 0);
  EXPECT_EQ(companion.Canceled(), 1);
  EXPECT_EQ(companion.HikakuFile(a, a, -1, 0), 1);
  EXPECT_EQ(companion.Canceled(), 0);
}

}  // namespace
}  // namespace transfertest
