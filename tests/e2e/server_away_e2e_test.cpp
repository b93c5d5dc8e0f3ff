// Both real programs on a demo station whose server folder is taken away while items play: the
// companion says so once, nothing appears where the server was, and once the folder is back the
// companion says that once and the server's play log and snapshot catch up byte for byte.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/cp932.h"
#include "platform/window_registry.h"
#include "tests/support/temp_dir.h"
#include "tools/demo_station/station_writer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadWholeFile;

// Puts both programs, as built beside this test, into `folder`, where they look for each other
// and for their settings. "" when done, else what is missing.
std::string InstallPrograms(const fs::path& folder) {
  const fs::path built = QCoreApplication::applicationDirPath().toStdString();
  fs::create_directories(folder);
  for (const char* name : {"Ondrake", "Ferlune"}) {
    if (!fs::exists(built / name)) return std::string(name) + " is not built in " + built.string();
    fs::copy_file(built / name, folder / name);
  }
  return "";
}

class ServerAwayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string missing = InstallPrograms(programs_); !missing.empty())
      GTEST_SKIP() << missing;
    qputenv("ONDRAKE_AUDIO_BACKEND", "virtual");
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  // Looks every 200 ms, up to `seconds`, until the condition holds. Each look also notes
  // whether anything stands where the server was taken from.
  bool Until(int seconds, const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
      if (away_ && fs::exists(server_)) appeared_ = true;
      if (condition()) return true;
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  }

  // How many lines of the companion's debug logs hold `text`.
  int CompanionLogLines(const std::string& text) const {
    int n = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(programs_) / "log", ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("Ferlune", 0) != 0) continue;
      const std::string log = platform::Cp932ToUtf8(ReadWholeFile(entry.path().string()));
      for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    }
    return n;
  }

  testsupport::TempDir dir_;
  const std::string programs_ = dir_.Sub("bin");
  fs::path server_;
  bool away_ = false;
  bool appeared_ = false;
};

int Lines(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(ServerAwayTest, NothingIsWrittenWhereTheServerWasAndTheLogsCatchUp) {
  demo_station::StationPlan plan;
  plan.stationFolder = dir_.Sub("station");
  plan.programFolder = programs_;
  plan.now = platform::CurrentClock().Now();
  plan.startInSec = 15;
  plan.itemSec = 3;
  plan.items = 22;
  std::vector<demo_station::SessionOutcome> outcome;
  std::string error;
  ASSERT_TRUE(demo_station::WriteDemoStation(plan, outcome, error)) << error;
  server_ = fs::path(plan.stationFolder) / "server";
  const fs::path parked = fs::path(plan.stationFolder) / "server.away";
  const std::string root = server_.string() + "/";
  const std::string localLog = outcome[0].playLogPath;
  const fs::path serverLog = server_ / "log" / fs::path(localLog).filename();
  const fs::path snapshot = fs::path(localLog).parent_path() / "out_01A.cue";

  QProcess playout;
  playout.setProgram(QString::fromStdString(programs_ + "/Ondrake"));
  playout.setWorkingDirectory(QString::fromStdString(programs_));
  playout.start();
  ASSERT_TRUE(playout.waitForStarted(10000));
  ASSERT_TRUE(
      Until(20, [] { return platform::FindWindowExact("Ferlune - Tarnwick").has_value(); }));
  const int64_t companion = platform::FindWindowExact("Ferlune - Tarnwick")->pid;

  // Every sound is in the local store and the first line of the play log reached the server;
  // then the server folder goes.
  ASSERT_TRUE(Until(60, [&] {
    return std::all_of(outcome[0].sounds.begin(), outcome[0].sounds.end(), [&](std::string rel) {
      std::replace(rel.begin(), rel.end(), '\\', '/');
      const std::string local = (fs::path(plan.stationFolder) / "local" / rel).string();
      return fs::exists(local) && ReadWholeFile(local) == ReadWholeFile((server_ / rel).string());
    });
  }));
  ASSERT_TRUE(Until(60, [&] { return Lines(serverLog.string()) >= 1; })) << serverLog;
  fs::rename(server_, parked);
  away_ = true;
  EXPECT_TRUE(Until(30, [&] { return CompanionLogLines("サーバーフォルダなし " + root) == 1; }));
  // Items go on playing (each writes the snapshot and a play log line) over more than one pass
  // of the log transfer, or to the last item on a slow machine.
  const int linesAway = std::min(Lines(localLog) + 7, plan.items);
  EXPECT_TRUE(Until(60, [&] { return Lines(localLog) >= linesAway; }));
  EXPECT_FALSE(appeared_) << server_;
  EXPECT_FALSE(fs::exists(server_));

  std::error_code ec;
  fs::rename(parked, server_, ec);
  ASSERT_FALSE(ec) << ec.message();
  away_ = false;
  EXPECT_TRUE(Until(30, [&] { return CompanionLogLines("サーバーフォルダ発見 " + root) == 1; }));
  EXPECT_TRUE(Until(90, [&] {
    return Lines(localLog) >= plan.items &&
           ReadWholeFile(serverLog.string()) == ReadWholeFile(localLog);
  })) << serverLog;
  EXPECT_TRUE(Until(30, [&] {
    return ReadWholeFile((server_ / "log" / snapshot.filename()).string()) ==
           ReadWholeFile(snapshot.string());
  }));
  EXPECT_EQ(CompanionLogLines("サーバーフォルダなし "), 1);

  ::kill(static_cast<pid_t>(playout.processId()), SIGTERM);
  EXPECT_TRUE(playout.waitForFinished(20000));
  EXPECT_TRUE(Until(15, [&] { return ::kill(static_cast<pid_t>(companion), 0) != 0; }));
}

}  // namespace
