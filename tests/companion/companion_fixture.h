#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "companion/companion_engine.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"
#include "transfer/file_hand.h"

// Hand-written fakes of the companion engine's outside world, and a harness that builds an
// engine from them, a simulated clock and real temporary server and local trees.
namespace companiontest {

using companion::CompanionEngine;

bool Exists(const std::string& path);

using testsupport::RecordingLog;

struct FakeServer final : companion::ServerProbe {
  int32_t CheckServerAlive() override { return ++checks, alive; }
  int32_t alive = 1, checks = 0;
};

// One playout window at most, and every payload sent to it.
struct FakeWindows final : companion::WindowLink {
  int64_t FindExact(const std::string& caption) override {
    return caption == this->caption ? handle : 0;
  }
  int64_t SendCopyData(const std::string& caption, const std::string& payload) override;
  std::string caption = "Ondrake - Tarnwick";
  int64_t handle = 7;  // 0: no window
  std::vector<std::string> sent;
};

struct FakeDisk final : companion::DiskSpace {
  int64_t FreeBytes(const std::string&) override { return freeBytes; }
  int64_t freeBytes = int64_t{100} << 30;
};

// Waits move the simulated clock on; `pending` stands for the window's pending work.
struct ClockPauses final : companion::Pauses {
  explicit ClockPauses(platform::SimulatedClock& c) : clock(c) {}
  void Wait(int32_t ms) override {
    clock.Advance(ms);
    Pump();
  }
  void Pump() override {
    if (pending) pending();
  }
  platform::SimulatedClock& clock;
  std::function<void()> pending;
};

struct RecordingView final : companion::CompanionView {
  void ListChanged(companion::CompanionList) override {}
  void CopyPanelVisible(bool) override {}
  void RequestClose() override { ++closeRequests; }
  int closeRequests = 0;
};

// A station in a temporary folder: server/ (conf, sched, command, log) and local/, air 01, id
// A, the simulated clock at 2024-05-01 10:00:00.
class Harness {
 public:
  Harness();

  CompanionEngine& Make();
  // Every port but the view, for a window that brings its own.
  companion::CompanionPorts Ports();
  CompanionEngine& engine() { return *engine_; }

  // Files under the server or local root ('/' separators); returns the full path.
  std::string WriteServer(const std::string& rel, const std::string& bytes) const;
  std::string WriteLocal(const std::string& rel, const std::string& bytes) const;
  std::string Server(const std::string& rel) const { return settings.ServerRoot + rel; }
  std::string Local(const std::string& rel) const { return settings.LocalPath + rel; }
  // A schedule file in the server's sched folder, CP932 with CR LF: the title line, then one
  // line per entry (each already comma-separated).
  std::string WriteSchedule(const std::string& name, const std::string& title,
                            const std::vector<std::string>& lines) const;
  // Sets a file's last-write time `secondsAgo` before the simulated clock's now.
  void Age(const std::string& path, int64_t secondsAgo) const;
  // The text of the last message sent (CP932 decoded, the two NULs cut off).
  std::string LastMessage() const;
  // Moves the clock on and runs every due timer, in 100 ms steps.
  void Run(int64_t ms);

  testsupport::TempDir dir;
  platform::SimulatedClock clock;
  RecordingLog log;
  FakeServer server;
  FakeWindows windows;
  FakeDisk disk;
  ClockPauses pauses{clock};
  RecordingView view;
  transfer::FileHand fh0{log, transfer::CompanionVariant()};
  transfer::FileHand fh1{log, transfer::CompanionVariant()};
  companion::CompanionSettings settings;

 private:
  std::unique_ptr<CompanionEngine> engine_;
};

}  // namespace companiontest
