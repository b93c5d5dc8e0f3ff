// Both real programs on a temporary demo station: Ondrake starts Ferlune, which pulls the
// schedules, copies the sound files and sends the message; Ondrake plays the items on the
// virtual wave device in real time, its snapshot and play log reach the server through Ferlune,
// and closing Ondrake makes Ferlune end by itself. Mid-schedule both windows are looked at as a
// newcomer sees them: every column wide enough for the demo's texts. Then two sessions side by
// side, the second at the larger scale.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "controls/lists/view/view_probe.h"
#include "platform/cp932.h"
#include "platform/window_registry.h"
#include "tests/support/temp_dir.h"
#include "tools/demo_station/list_view_measure.h"
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

// A window's lists as its program reports them: the tab-separated fields of each line.
using Census = std::vector<std::vector<std::string>>;

Census ReadCensus(const fs::path& path) {
  Census census;
  std::istringstream in(ReadWholeFile(path.string()));
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
    census.push_back(fields);
  }
  return census;
}

// The texts of one column of a list.
std::vector<std::string> CellsOf(const Census& census, const std::string& list, int column) {
  std::vector<std::string> texts;
  for (const auto& f : census) {
    if (f.size() == 7 && f[0] == "cell" && f[1] == list && std::stoi(f[3]) == column)
      texts.push_back(f[6]);
  }
  return texts;
}

// No caption or cell wider than the room its column leaves it, and no column beyond the edge
// of a list that cannot scroll sideways.
void ExpectNothingCut(const Census& census, const std::string& window) {
  std::map<std::string, long> across;
  int measured = 0;
  for (const auto& f : census) {
    if (f[0] == "list" && f.size() == 5) across[f[1]] = std::stol(f[4]);
    if (f[0] == "column" && f.size() == 4 && across[f[1]] > 0) {
      EXPECT_LE(std::stol(f[3]), across[f[1]]) << window << " " << f[1] << " column " << f[2];
    }
    const size_t width = f[0] == "cell" ? 4 : f[0] == "caption" ? 3 : 0;
    if (width == 0 || f.size() < width + 2) continue;
    ++measured;
    EXPECT_LE(std::stol(f[width]), std::stol(f[width + 1]))
        << window << " " << f[0] << " of " << f[1] << " cut: " << f.back();
  }
  EXPECT_GT(measured, 0) << window;
}

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
    probes_ = dir_.Sub("probe");
    fs::create_directories(probes_);
    qputenv(lists::kViewProbeVariable, QByteArray::fromStdString(probes_.string()));
  }

  // Asks the windows named for their pictures and lists; false when one did not answer.
  bool Probe(const std::vector<std::string>& names) {
    std::error_code ec;
    for (const std::string& name : names) {
      for (const char* answer : {".png", ".txt"}) fs::remove(probes_ / (name + answer), ec);
      dir_.WriteFile("probe/" + name + ".request", "");
    }
    return WaitFor(20, [&] {
      for (const std::string& name : names)
        if (fs::exists(probes_ / (name + ".request"))) return false;
      return true;
    });
  }

  // Looks at a session's two windows once the playout has started playing, with one of today's
  // items on air and the queue filled, and checks that no column of either cuts its text.
  void LookMidSchedule(const demo_station::SessionOutcome& o, const std::string& letter,
                       const std::string& picturePrefix) {
    const std::string playout = "Ondrake" + letter, companion = "Ferlune" + letter;
    ASSERT_TRUE(WaitFor(60, [&] { return Lines(o.playLogPath) >= 1; })) << o.playLogPath;
    Census lists;
    const bool seen = WaitFor(30, [&] {
      if (!Probe({playout, companion})) return false;
      lists = ReadCensus(probes_ / (playout + ".txt"));
      const std::vector<std::string> onAir = CellsOf(lists, "onair", 0);
      const bool today =
          onAir.size() == 1 && std::count(o.times.begin(), o.times.end(), onAir[0]) > 0;
      return today && !CellsOf(lists, "queue", 0).empty();
    });
    ASSERT_TRUE(seen) << "the playout was not seen mid-schedule";
    ExpectNothingCut(lists, playout);
    ExpectNothingCut(ReadCensus(probes_ / (companion + ".txt")), companion);
    if (picturePrefix.empty()) return;
    const fs::path gallery = QCoreApplication::applicationDirPath().toStdString() + "/gallery";
    std::error_code ec;
    fs::create_directories(gallery, ec);
    for (const std::string& name : {playout, companion}) {
      std::string lower = name;
      std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
      fs::copy_file(probes_ / (name + ".png"), gallery / (picturePrefix + lower + ".png"),
                    fs::copy_options::overwrite_existing, ec);
      EXPECT_FALSE(ec) << name << ": " << ec.message();
    }
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
    plan.measure = demo_station::ListViewMeasure();
    if (sessions == 2) plan.sessions.push_back(demo_station::SessionPlan{"B", 2, "B", 660});
    std::vector<demo_station::SessionOutcome> outcome;
    std::string error;
    ASSERT_TRUE(demo_station::WriteDemoStation(plan, outcome, error)) << error;
    // The widths are meant for the larger scale too, where the load list's font grows.
    if (sessions == 2) {
      dir_.WriteFile("bin/OndrakeB.ini",
                     ReadWholeFile(programs_ + "/OndrakeB.ini") + "SizeRate=1.5\r\n");
    }
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
    if (sessions == 1) LookMidSchedule(outcome[0], "", "demo_");
    if (sessions == 2) LookMidSchedule(outcome[1], "B", "");
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
  fs::path probes_;
};

TEST_F(BothProgramsTest, OneSessionThenTwoSidesBySide) {
  RunStation(1);
  RunStation(2);
}

}  // namespace
