// Test labels: threads (the FileHand worker)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <set>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/cp932.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/error_codes.h"
#include "transfer/file_hand.h"
#include "transfer/temp_names.h"

namespace transfertest {
namespace {

using testing::FloatNear;
using testing::Pointwise;
using testsupport::ReadWholeFile;
using transfer::FileHand;

constexpr int32_t kChunk = 4096;

class FileHandCopyTest : public ::testing::Test {
 protected:
  FileHandCopyTest() : hand_(log_, transfer::PlayoutVariant(), fs_) {
    testsupport::ResetAppGlobals();
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = dir_.Sub("log");
    hand_.SetObserver(&events_);
  }
  ~FileHandCopyTest() override { testsupport::ResetAppGlobals(); }

  // The debug log so far, as UTF-8.
  static std::string Log() {
    return platform::Cp932ToUtf8(
        ReadWholeFile(foundation::DebugLogFilePath(platform::LogSeverity::kInfo)));
  }
  // Names in a folder (if there is one) that have the form of a temporary transfer file.
  static std::set<std::string> TempFiles(const std::string& folder) {
    std::set<std::string> names;
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(folder, none)) {
      const std::string name = entry.path().filename().string();
      if (transfer::IsTempFileName(name)) names.insert(name);
    }
    return names;
  }

  testsupport::TempDir dir_;
  FaultyFileSystem fs_;
  Recorder events_;
  foundation::DebugLog log_;
  FileHand hand_;
};

TEST(FileHandErrorTexts, OnlyTheFifteenCodesHaveTexts) {
  EXPECT_EQ(transfer::ErrorCodeText(0), "正常終了");
  EXPECT_EQ(transfer::ErrorCodeText(14), "ループエラー2");
  for (int32_t code = 0; code <= 14; ++code) EXPECT_FALSE(transfer::ErrorCodeText(code).empty());
  for (int32_t code : {-1, 15, INT_MIN, INT_MAX}) EXPECT_EQ(transfer::ErrorCodeText(code), "");
}

// A transfer replaces the target whole, gives it the source's last-write time and reports its
// progress chunk by chunk; an empty file raises nothing and still keeps its time.
TEST_F(FileHandCopyTest, TransferReplacesTheTargetWithProgress) {
  struct Case {
    size_t size;
    std::vector<float> rates;
  } const cases[] = {
      {0, {}},
      {kChunk, {0.0F, 1.0F}},
      {2 * kChunk + 2048, {0.0F, 0.4F, 0.8F, 1.0F}},
  };
  for (const Case& c : cases) {
    const std::string source = dir_.WriteFile("s.wav", Pattern(c.size));
    const std::string target = dir_.WriteFile("out/t.wav", "old target");
    SetAge(source, 3600);
    events_.items.clear();
    EXPECT_EQ(hand_.TranspFile(source, target, 1, 0, kChunk), 1) << c.size;
    EXPECT_EQ(hand_.ErrorCode(), 0);
    EXPECT_EQ(ReadWholeFile(target), Pattern(c.size));
    EXPECT_EQ(WriteTimeOf(target), WriteTimeOf(source));
    EXPECT_TRUE(Exists(source));
    EXPECT_TRUE(TempFiles(dir_.Sub("out")).empty());
    EXPECT_THAT(events_.Rates('M'), Pointwise(FloatNear(1e-6F), c.rates)) << c.size;
    EXPECT_EQ(events_.Rates('R'), events_.Rates('M'));  // the bar follows the events
  }
  // KillSource 1 moves the file; a new target folder is made with its parents.
  const std::string source = dir_.WriteFile("m.wav", "moved");
  const std::string target = dir_.Sub("new/deep/m.wav");
  EXPECT_EQ(hand_.TranspFile(source, target, 1, 1), 1);
  EXPECT_EQ(ReadWholeFile(target), "moved");
  EXPECT_FALSE(Exists(source));
}

// Each failure leaves its code, writes its log line, leaves no temporary file behind and an
// existing target as it was.
TEST_F(FileHandCopyTest, EachFailureLeavesItsCodeAndTheTargetAsItWas) {
  struct Case {
    const char* what;
    int32_t code;
    std::function<void()> arrange;
    int32_t killTarget = 1;
    int32_t killSource = 0;
    size_t size = 3 * kChunk;
  };
  const std::string out = dir_.Sub("out") + "/";
  const std::string src = dir_.Sub("s.wav");
  const Case cases[] = {
      {"no folder can be made", 2, [&] { dir_.WriteFile("out/plain", "x"); }},
      {"every temporary name taken", 3, [&] { fs_.Fail(Call::kOpenWrite, out, EEXIST); }},
      {"source missing", 4, [&] { ::unlink(src.c_str()); }},
      {"source vanished before its open", 4, [&] { fs_.Fail(Call::kOpenRead, src, ENOENT); }},
      {"empty file's time not set", 6, [&] { fs_.Fail(Call::kSetTime, "", EIO); }, 1, 0, 0},
      {"I/O error mid-file", 7, [&] { fs_.Fail(Call::kCopyRead, src, EIO, kChunk); }},
      {"disk full mid-file", 8, [&] { fs_.Fail(Call::kCopyWrite, out, ENOSPC, kChunk); }},
      {"write error reported at close", 8, [&] { fs_.Fail(Call::kClose, out, EIO); }},
      {"target time not set", 8, [&] { fs_.Fail(Call::kSetTime, "", EIO); }},
      {"target is a folder", 9, [&] { dir_.WriteFile("out/f.wav/inner", "x"); }},
      {"target kept", 10, [] {}, 0},
      {"rename refused", 11, [&] { fs_.Fail(Call::kRename, out + "t.wav", EACCES); }},
      {"source not deleted", 12, [&] { fs_.Fail(Call::kDelete, src, EACCES); }, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs_.Reset();
    std::filesystem::remove_all(dir_.Sub("out"));
    std::filesystem::remove_all(dir_.Sub("log"));
    const std::string source = dir_.WriteFile("s.wav", Pattern(c.size));
    const std::string name = c.code == 9 ? "f.wav" : c.code == 2 ? "plain/t.wav" : "t.wav";
    std::string target = dir_.Sub("out/" + name);
    if (c.code != 2 && c.code != 9) dir_.WriteFile("out/t.wav", "old target");
    c.arrange();

    EXPECT_EQ(hand_.TranspFile(source, target, c.killTarget, c.killSource, kChunk), 0);
    EXPECT_EQ(hand_.ErrorCode(), c.code);
    EXPECT_NE(Log().find("TranspFile Failed " + source + " to " + target + " " +
                         transfer::ErrorCodeText(c.code) + std::to_string(c.code)),
              std::string::npos)
        << Log();
    EXPECT_TRUE(TempFiles(dir_.Sub("out")).empty());
    if (c.code == 12) {
      EXPECT_EQ(ReadWholeFile(target), Pattern(c.size));  // the copy itself went through
    } else if (c.code != 2 && c.code != 9) {
      EXPECT_EQ(ReadWholeFile(target), "old target");
    }
  }
  // A rename is tried ten times before it counts as failed; 501 names before none is free.
  fs_.Reset();
  const std::string source = dir_.WriteFile("s.wav", "abc");
  fs_.Fail(Call::kRename, "", EIO);
  EXPECT_EQ(hand_.TranspFile(source, dir_.Sub("out/r.wav"), 1, 0), 0);
  EXPECT_EQ(fs_.Count(Call::kRename), 10);
  fs_.Reset();
  fs_.Fail(Call::kOpenWrite, out, EEXIST);
  EXPECT_EQ(hand_.TranspFile(source, dir_.Sub("out/r.wav"), 1, 0), 0);
  EXPECT_EQ(fs_.Count(Call::kOpenWrite), 501);
}

TEST_F(FileHandCopyTest, ChunkLoopLimitIsAFailureNotAShortCopy) {
  const std::string source = dir_.WriteFile("s.wav", Pattern(4 * kChunk));
  const std::string target = dir_.WriteFile("out/t.wav", "old target");
  // Two rounds for four chunks.
  FileHand limited(log_, transfer::PlayoutVariant(), fs_, {1000001, -2});
  EXPECT_EQ(limited.TranspFile(source, target, 1, 0, kChunk), 0);
  EXPECT_EQ(limited.ErrorCode(), 13);
  EXPECT_EQ(ReadWholeFile(target), "old target");
}

// A source that shrinks while it is copied is a read failure, never a shorter copy.
TEST_F(FileHandCopyTest, ASourceCutShortFailsTheCopy) {
  const std::string source = dir_.WriteFile("s.wav", Pattern(8 * kChunk));
  const std::string target = dir_.WriteFile("out/t.wav", "old target");
  events_.then = [&](const Recorder::Item& item) {
    if (item.kind == 'M') ::truncate(source.c_str(), kChunk);
  };
  EXPECT_EQ(hand_.TranspFile(source, target, 1, 0, kChunk, 100), 0);
  EXPECT_EQ(hand_.ErrorCode(), 7);
  EXPECT_EQ(ReadWholeFile(target), "old target");
}

// A file copied onto itself, or moved onto itself, is never lost.
TEST_F(FileHandCopyTest, ASourceThatIsTheTargetIsNeverDeleted) {
  const std::string source = dir_.WriteFile("a/s.wav", "only copy");
  std::filesystem::create_directory_symlink(dir_.Sub("a"), dir_.Sub("alias"));
  for (const std::string& target : {source, dir_.Sub("alias/s.wav")}) {
    EXPECT_EQ(hand_.TranspFile(source, target, 1, 1), 1) << target;
    EXPECT_EQ(ReadWholeFile(source), "only copy");
  }
  EXPECT_EQ(hand_.MirrorFile(source, source, 0, 0, 0), 0);
  EXPECT_EQ(hand_.ErrorCode(), 5);
  EXPECT_EQ(ReadWholeFile(source), "only copy");
}

TEST_F(FileHandCopyTest, MirrorFileCopiesStraightToTheTarget) {
  const std::string source = dir_.WriteFile("s.wav", Pattern(3 * kChunk));
  const std::string target = dir_.WriteFile("t.wav", "old");
  SetAge(source, 7200);
  hand_.SetDispFN(2);
  EXPECT_EQ(hand_.MirrorFile(source, target, 0, kChunk, 0), 1);
  EXPECT_EQ(ReadWholeFile(target), Pattern(3 * kChunk));
  EXPECT_EQ(WriteTimeOf(target), WriteTimeOf(source));
  const std::vector<std::string> texts = events_.Messages();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "コピー開始");
  EXPECT_EQ(texts[1], "Copying…s.wav");
  EXPECT_EQ(texts[2], "");  // the panel is cleared at the end

  // An old target that cannot be deleted is code 5; a failed write leaves the part written.
  fs_.Fail(Call::kDelete, target, EACCES);
  EXPECT_EQ(hand_.MirrorFile(source, target, 0, kChunk, 0), 0);
  EXPECT_EQ(hand_.ErrorCode(), 5);
  fs_.Reset();
  fs_.Fail(Call::kCopyWrite, target, ENOSPC, kChunk);
  EXPECT_EQ(hand_.MirrorFile(source, target, 0, kChunk, 0), 0);
  EXPECT_EQ(hand_.ErrorCode(), 8);
  EXPECT_EQ(ReadWholeFile(target), Pattern(kChunk));
}

// A cancel ends a long pause at once and stops before the next chunk; the next outer call
// starts afresh.
TEST_F(FileHandCopyTest, CancelStopsWithinOneChunk) {
  const std::string source = dir_.WriteFile("s.wav", Pattern(16 * kChunk));
  const std::string target = dir_.WriteFile("out/t.wav", "old target");
  events_.CancelAtProgress(hand_);
  EXPECT_EQ(hand_.TranspFile(source, target, 1, 0, kChunk, 600000), 0);
  EXPECT_EQ(hand_.ErrorCode(), 1);
  EXPECT_EQ(hand_.Canceled(), 1);
  EXPECT_EQ(events_.Rates('M'), std::vector<float>{0.0F});
  EXPECT_EQ(ReadWholeFile(target), "old target");
  EXPECT_TRUE(TempFiles(dir_.Sub("out")).empty());
  const std::string ending = "ユーザーによりキャンセルされました1\r\n";
  const std::string log = Log();
  ASSERT_GE(log.size(), ending.size());
  EXPECT_EQ(log.substr(log.size() - ending.size()), ending);

  // Canceled stays set until the next outer call clears it; that call runs normally.
  hand_.SetObserver(nullptr);
  hand_.ProcCancel();
  EXPECT_EQ(hand_.TranspFile(source, target, 1, 0, kChunk), 1);
  EXPECT_EQ(hand_.Canceled(), 0);
}

// While an operation runs, a second one on the same instance is refused; another instance
// works meanwhile.
TEST_F(FileHandCopyTest, ASecondOperationOnTheSameInstanceIsRefused) {
  const std::string source = dir_.WriteFile("s.wav", Pattern(2 * kChunk));
  FileHand other(log_);
  std::vector<int32_t> results;
  events_.then = [&](const Recorder::Item& item) {
    if (item.kind != 'M' || item.rate != 0.0F) return;
    results.push_back(hand_.Busy() ? 1 : 0);
    results.push_back(hand_.TranspFile(source, dir_.Sub("second.wav"), 1, 0));
    results.push_back(other.TranspFile(source, dir_.Sub("other.wav"), 1, 0));
  };
  EXPECT_EQ(hand_.TranspFile(source, dir_.Sub("first.wav"), 1, 0, kChunk), 1);
  EXPECT_EQ(results, (std::vector<int32_t>{1, 0, 1}));
  EXPECT_EQ(hand_.ErrorCode(), 0);
  EXPECT_FALSE(Exists(dir_.Sub("second.wav")));
  EXPECT_TRUE(Exists(dir_.Sub("other.wav")));
  EXPECT_FALSE(hand_.Busy());
}

// Temporary names come from one generator seeded once; a name held by any file is never
// claimed, and only the exact form counts as one.
TEST(FileHandTempNames, DrawnOnceSeededAndRecognisedExactly) {
  EXPECT_EQ(transfer::TempFileName(42), "~tmp0042.tmp");
  EXPECT_EQ(transfer::TempFileName(0), "~tmp0000.tmp");
  std::set<int32_t> drawn;
  for (int i = 0; i < 50; ++i) {
    const int32_t n = transfer::NextTempNumber();
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 9999);
    drawn.insert(n);
  }
  EXPECT_GT(drawn.size(), 40u);
  const std::pair<const char*, bool> names[] = {
      {"~tmp0042.tmp", true},  {"~tmpabcd.tmp", true},  {"~tmp00421.tmp", false},
      {"~TMP0042.TMP", false}, {"~tmp0042.TMP", false}, {"x~tmp042.tmp", false},
  };
  for (const auto& [name, temp] : names) EXPECT_EQ(transfer::IsTempFileName(name), temp) << name;

  testsupport::TempDir dir;
  for (int32_t n = 0; n < 10000; n += 7) dir.WriteFile(transfer::TempFileName(n), "other's");
  foundation::DebugLog log;
  FileHand hand(log);
  for (int i = 0; i < 20; ++i) {
    const std::string source = dir.WriteFile("s.wav", "data");
    ASSERT_EQ(hand.TranspFile(source, dir.Sub("t.wav"), 1, 0), 1);
  }
  for (int32_t n = 0; n < 10000; n += 7)
    EXPECT_EQ(ReadWholeFile(dir.Sub(transfer::TempFileName(n))), "other's");
}

}  // namespace
}  // namespace transfertest
