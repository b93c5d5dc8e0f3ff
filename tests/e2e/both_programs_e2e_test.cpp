// Both real programs on a temporary demo station: Ondrake starts Ferlune, which pulls the
// schedules, copies the sound files and sends the message; Ondrake plays the items on the
// virtual wave device in real time, its snapshot and play log reach the server through Ferlune,
// and closing Ondrake makes Ferlune end by itself. Then two sessions side by side.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QProcess>
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

// Waits up to `seconds` for the condition, looking every 200 ms.
bool WaitFor(int seconds, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return condition();
}

int Lines(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool Alive(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }

class BothProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path built = QCoreApplication::applicationDirPath().toStdString();
    if (!fs::exists(built / "Ondrake") || !fs::exists(built / "Ferlune"))
      GTEST_SKIP() << "both programs are needed in " << built;
    // The programs look for each other and for their settings in their own folder.
    programs_ = dir_.Sub("bin");
    fs::create_directories(programs_);
    for (const char* p : {"Ondrake", "Ferlune"}) fs::copy_file(built / p, fs::path(programs_) / p);
    qputenv("ONDRAKE_AUDIO_BACKEND", "virtual");
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  // Runs one playout per session of the station and checks what each pair of programs did.
  void RunStation(int sessions) {
    demo_station::StationPlan plan;
    plan.stationFolder = dir_.Sub("station" + std::to_string(sessions));
    plan.programFolder = programs_;
    plan.now = platform::CurrentClock().Now();
    plan.startInSec = 15;
    plan.itemSec = 3;
    plan.items = 3;
    if (sessions == 2) plan.sessions.push_back(demo_station::SessionPlan{"B", 2, "B", 660});
    std::vector<demo_station::SessionOutcome> outcome;
    std::string error;
    ASSERT_TRUE(demo_station::WriteDemoStation(plan, outcome, error)) << error;
    const fs::path server = fs::path(plan.stationFolder) / "server";
    const fs::path local = fs::path(plan.stationFolder) / "local";

    std::vector<std::unique_ptr<QProcess>> playouts;
    for (int s = 0; s < sessions; ++s) {
      auto p = std::make_unique<QProcess>();
      p->setProgram(QString::fromStdString(programs_ + "/Ondrake"));
      p->setWorkingDirectory(QString::fromStdString(programs_));
      p->start();
      ASSERT_TRUE(p->waitForStarted(10000));
      // The second playout starts once the first has its session.
      ASSERT_TRUE(WaitFor(20, [&] {
        return platform::FindWindowExact(s == 0 ? "Ondrake - Tarnwick" : "OndrakeB - Tarnwick")
            .has_value();
      }));
      playouts.push_back(std::move(p));
    }
    std::vector<int64_t> companions;
    for (int s = 0; s < sessions; ++s) {
      const std::string caption = s == 0 ? "Ferlune - Tarnwick" : "FerluneB - Tarnwick";
      ASSERT_TRUE(WaitFor(20, [&] { return platform::FindWindowExact(caption).has_value(); }))
          << caption;
      companions.push_back(platform::FindWindowExact(caption)->pid);
    }
    for (int s = 0; s < sessions; ++s) {
      const demo_station::SessionOutcome& o = outcome[static_cast<size_t>(s)];
      const std::string nn = s == 0 ? "01A" : "02B";
      // Ferlune took the schedule in and copied the sounds; Ondrake played every item.
      EXPECT_TRUE(WaitFor(20, [&] { return fs::exists(local / "sched" / o.scheduleName); }));
      ASSERT_TRUE(WaitFor(60, [&] { return Lines(o.playLogPath) >= 3; })) << o.playLogPath;
      for (const std::string& sound : o.sounds) {
        std::string rel = sound;
        std::replace(rel.begin(), rel.end(), '\\', '/');
        EXPECT_EQ(ReadWholeFile((local / rel).string()), ReadWholeFile((server / rel).string()));
      }
      const std::string log = platform::Cp932ToUtf8(ReadWholeFile(o.playLogPath));
      EXPECT_EQ(log.find("SKIP"), std::string::npos) << log;
      for (const std::string& sound : o.sounds)
        EXPECT_NE(log.find(sound.substr(sound.find('\\') + 1, 5)), std::string::npos) << log;
      // The snapshot and the play log reach the server byte for byte.
      const fs::path snapshot = local / "log" / ("out_" + nn + ".cue");
      EXPECT_TRUE(WaitFor(30, [&] {
        return fs::exists(server / "log" / snapshot.filename()) &&
               ReadWholeFile((server / "log" / snapshot.filename()).string()) ==
                   ReadWholeFile(snapshot.string());
      }));
      const fs::path serverLog = server / "log" / fs::path(o.playLogPath).filename();
      EXPECT_TRUE(WaitFor(70, [&] {
        return ReadWholeFile(serverLog.string()) == ReadWholeFile(o.playLogPath);
      })) << serverLog;
      EXPECT_TRUE(fs::exists(server / "log" / ("used_" + nn + ".txt")));
    }
    // Closing the playouts ends their companions.
    for (auto& p : playouts) {
      ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
      EXPECT_TRUE(p->waitForFinished(20000));
    }
    for (int64_t pid : companions) {
      EXPECT_TRUE(WaitFor(15, [&] { return !Alive(pid); })) << "companion " << pid;
    }
  }

  testsupport::TempDir dir_;
  std::string programs_;
};

TEST_F(BothProgramsTest, OneSessionThenTwoSidesBySide) {
  RunStation(1);
  RunStation(2);
}

}  // namespace
