// Test labels: threads (the program's own threads: the wave device's ticker, the server probe)
// The Ondrake program itself, started as a station starts it: a program folder of its own with
// the settings beside it, the virtual audio device in real time, the schedule sent through the
// window's message socket as the companion sends it, and SIGTERM to end it. Once on the
// offscreen platform and once on a real X server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "foundation/date_stamp.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/message_channel.h"
#include "platform/native_path.h"
#include "platform/window_registry.h"
#include "tests/audio/riff_fixture.h"
#include "tests/playout/engine_fixture.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using playouttest::Quoted;

bool WaitFor(const std::function<bool()>& done, int seconds) {
  const auto until = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// One item of the schedule, all of them one second long in the station's top folder.
struct Item {
  std::string time;  // hh:nn:ss on the broadcast-day clock
  std::string name;  // file name without extension
};

class OndrakeStation {
 public:
  OndrakeStation() {
    bin_ = dir_.Sub("bin") + "/";
    station_ = dir_.Sub("station") + "/";
    std::filesystem::create_directories(bin_);
    std::filesystem::create_directories(station_);
    // A program folder of its own: the program looks for its settings and its companion there.
    std::filesystem::copy_file(platform::ProgramFolder() + "/Ondrake", bin_ + "Ondrake");
    dir_.WriteFile("bin/Ondrake.ini", "[conf]\r\nLocalPath=" + station_ + "\r\nForceOA=1\r\n");
    dir_.WriteFile("bin/Ferlune", "#!/bin/sh\necho \"[$*]\" > " + dir_.Sub("companion") + "\n");
    ::chmod((bin_ + "Ferlune").c_str(), 0755);
    std::string frames(8000 * 4, '\0');
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = static_cast<char>(i % 200 + 1);
    for (const char* name : {"a", "b", "c"}) {
      dir_.WriteFile(std::string("station/") + name + ".wav",
                     rifftest::PcmWave(2, 8000, 16, frames));
    }
  }

  // Starts the program, under `launcher` (e.g. xvfb-run) when given.
  void Start(const std::vector<std::string>& launcher, const std::string& platform) {
    std::vector<std::string> args = launcher;
    args.push_back(bin_ + "Ondrake");
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
      if (entry.rfind("ONDRAKE_AUDIO_BACKEND=", 0) == 0) continue;
      if (platform == "xcb" && entry.rfind("ASAN_OPTIONS=", 0) == 0) continue;
      env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=" + platform);
    env.push_back("ONDRAKE_AUDIO_BACKEND=virtual");
    if (platform == "xcb") {
      // libxkbcommon-x11 strndup()s atom names that are not NUL-terminated; a strict check of
      // the whole source string reports that as an overflow inside the system library.
      const char* asan = std::getenv("ASAN_OPTIONS");
      env.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") +
                    ":strict_string_checks=0");
    }
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = dir_.Sub("output");
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    ASSERT_EQ(posix_spawnp(&child_, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
  }

  // The program's exit status, or -1 when it did not end in time (it is then killed).
  int WaitExit(int seconds) {
    int status = 0;
    const bool ended =
        WaitFor([&] { return ::waitpid(child_, &status, WNOHANG) == child_; }, seconds);
    if (!ended) {
      ::kill(child_, SIGKILL);
      ::waitpid(child_, &status, 0);
      return -1;
    }
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  ~OndrakeStation() {
    if (child_ > 0) WaitExit(0);
  }

  std::string Read(const std::string& relative) const {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(dir_.Sub(relative)));
  }
  std::string Output() const { return Read("output"); }
  // Every debug log file of the program folder, in name order.
  std::string DebugLog() const {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Sub("bin/log"), ec))
      files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::string text;
    for (const std::string& f : files) text += platform::Cp932ToUtf8(testsupport::ReadWholeFile(f));
    return text;
  }
  const std::string& station() const { return station_; }

 private:
  testsupport::TempDir dir_;
  std::string bin_;
  std::string station_;
  pid_t child_ = -1;
};

void RunStation(const std::vector<std::string>& launcher, const std::string& platform) {
  OndrakeStation s;
  s.Start(launcher, platform);
  std::optional<platform::WindowInfo> window;
  ASSERT_TRUE(WaitFor(
      [&] { return (window = platform::FindWindowExact("Ondrake - Tarnwick")).has_value(); }, 60))
      << s.Output();
  // The companion was started beside it, for session 0 without a letter.
  EXPECT_TRUE(WaitFor([&] { return s.Read("companion") == "[]\n"; }, 10));
  // The window is registered early in the start-up; the schedule's times are taken once the
  // start-up is through, so a slow start on a busy machine cannot make the first item late.
  ASSERT_TRUE(WaitFor([&] { return s.DebugLog().find("****起動****") != std::string::npos; }, 60))
      << s.Output();

  // Three items two seconds apart, starting a little ahead, on the broadcast-day clock.
  const platform::WallTime now = platform::SystemClock().Now();
  std::vector<Item> items;
  std::string day;
  for (int k = 0; k < 3; ++k) {
    const std::string stamp = foundation::FormatDateStampAt(now, 18000, 0, 0, 0, 0, 0, 4 + 2 * k);
    day = stamp.substr(0, 4) + stamp.substr(5, 2) + stamp.substr(8, 2);
    items.push_back({stamp.substr(11), std::string(1, static_cast<char>('a' + k))});
  }
  const std::string cue = day + "000000_01A.cue";
  std::string message;
  for (const Item& item : items) {
    if (!message.empty()) message += "\\n";
    message += Quoted({item.time, "0", "0", "1000", "", item.name + ".wav", cue, "E2E"});
  }
  // As the companion sends it: to the window whose caption begins with the playout's, in the
  // system's code page with two closing NULs.
  const auto target = platform::FindWindowByPrefix("Ondrake - Tarnwick");
  ASSERT_TRUE(target);
  EXPECT_TRUE(
      platform::SendWindowMessage(*target, 0, platform::Utf8ToCp932(message) + std::string(2, '\0'))
          .delivered);

  // Every version of the on-air snapshot, as the companion would find it.
  const std::string snapshotPath = s.station() + "log/out_01A.cue";
  std::vector<std::string> snapshots;
  const bool played = WaitFor(
      [&] {
        const std::string snapshot = s.Read("station/log/out_01A.cue");
        if ((!snapshot.empty() || !snapshots.empty()) &&
            (snapshots.empty() || snapshots.back() != snapshot)) {
          snapshots.push_back(snapshot);
        }
        return snapshots.size() >= 4 && snapshots.back().empty();
      },
      30);
  EXPECT_TRUE(played) << s.Output();
  // The play log has every item; each snapshot the items from one on.
  std::string expectedLog;
  std::vector<std::string> expectedSnapshots(items.size() + 1);
  for (size_t k = 0; k < items.size(); ++k) {
    const Item& item = items[k];
    expectedLog += Quoted({item.time, item.time, "TIME", "種別1", "00:01", "", item.name,
                           s.station() + item.name + ".wav"}) +
                   "\r\n";
    for (size_t first = 0; first <= k; ++first)
      expectedSnapshots[first] += Quoted({item.time, "0", "0", "1000", "", item.name}) + "\r\n";
  }
  EXPECT_EQ(s.Read("station/log/" + day + "_01A.txt"), expectedLog);
  EXPECT_EQ(snapshots, expectedSnapshots);

  // The system ends it: no question, the unload's steps, exit 0.
  ASSERT_EQ(::kill(window->pid, SIGTERM), 0);
  EXPECT_EQ(s.WaitExit(60), 0) << s.Output();
  EXPECT_FALSE(platform::FindWindowExact("Ondrake - Tarnwick"));
  EXPECT_FALSE(std::filesystem::exists(snapshotPath));
  const std::string ini = s.Read("bin/Ondrake.ini");
  EXPECT_NE(ini.find("TabWidth_LVS_3_6=600\r\n"), std::string::npos);
  EXPECT_NE(ini.find("WindowState=0\r\n"), std::string::npos);
  const std::string debugLog = s.DebugLog();
  EXPECT_NE(debugLog.find("****起動****"), std::string::npos);
  EXPECT_NE(debugLog.find("****正常終了****"), std::string::npos);
}

TEST(OndrakeE2eTest, OffscreenStationPlaysTheScheduleAndEndsOnSigterm) {
  RunStation({}, "offscreen");
}

TEST(OndrakeE2eTest, XServerStationPlaysTheScheduleAndEndsOnSigterm) {
  if (std::system("command -v xvfb-run >/dev/null") != 0)
    GTEST_SKIP() << "xvfb-run is not installed (tools/setup.sh installs it)";
  RunStation({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp"}, "xcb");
}

}  // namespace
