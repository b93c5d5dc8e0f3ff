#include "tests/companion/companion_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "companion/companion_settings.h"
#include "platform/cp932.h"

namespace companiontest {

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

int64_t FakeWindows::SendCopyData(const std::string& caption, const std::string& payload) {
  // Exact caption first, then the first window whose caption begins with it.
  if (handle == 0 || this->caption.compare(0, caption.size(), caption) != 0) return 0;
  sent.push_back(payload);
  return handle;
}

Harness::Harness() : clock(platform::WallTime{2024, 5, 1, 10, 0, 0, 0}) {
  settings.names = companion::NamesForCommandLine("");
  for (const char* folder : {"server/conf", "server/sched", "server/command", "server/log",
                             "local/conf", "local/sched", "local/log", "local/command", "dbg"}) {
    ::unlink(dir.WriteFile(std::string(folder) + "/.keep", "").c_str());
  }
  foundation::StationSettings station;
  station.SrvPath[0] = dir.Sub("server") + "/";
  station.ServerSchedFolder = station.SrvPath[0] + "sched/";
  station.ServerLogFolder = station.SrvPath[0] + "log/";
  station.ServerCommandFolder = station.SrvPath[0] + "command/";
  station.LocalPath = dir.Sub("local") + "/";
  station.LocalConfFolder = station.LocalPath + "conf/";
  station.LocalSchedFolder = station.LocalPath + "sched/";
  station.LocalLogFolder = station.LocalPath + "log/";
  station.LocalCommandFolder = station.LocalPath + "command/";
  companion::ApplyStation(station, settings);
  settings.DebugLogPath = dir.Sub("dbg");
}

companion::CompanionPorts Harness::Ports() {
  companion::CompanionPorts ports;
  ports.clock = &clock;
  ports.log = &log;
  ports.server = &server;
  ports.windows = &windows;
  ports.disk = &disk;
  ports.pauses = &pauses;
  ports.fh0 = &fh0;
  ports.fh1 = &fh1;
  return ports;
}

CompanionEngine& Harness::Make() {
  companion::CompanionPorts ports = Ports();
  ports.view = &view;
  engine_ = std::make_unique<CompanionEngine>(ports, settings);
  return *engine_;
}

std::string Harness::WriteServer(const std::string& rel, const std::string& bytes) const {
  return dir.WriteFile("server/" + rel, bytes);
}

std::string Harness::WriteLocal(const std::string& rel, const std::string& bytes) const {
  return dir.WriteFile("local/" + rel, bytes);
}

std::string Harness::WriteSchedule(const std::string& name, const std::string& title,
                                   const std::vector<std::string>& lines) const {
  std::string text = "\"" + title + "\"\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return WriteServer("sched/" + name, platform::Utf8ToCp932(text));
}

void Harness::Age(const std::string& path, int64_t secondsAgo) const {
  // The simulated clock's local time as an epoch time of this machine's zone.
  const platform::WallTime now = clock.Now();
  std::tm tm{};
  tm.tm_year = now.year - 1900;
  tm.tm_mon = now.month - 1;
  tm.tm_mday = now.day;
  tm.tm_hour = now.hour;
  tm.tm_min = now.minute;
  tm.tm_sec = now.second;
  tm.tm_isdst = -1;
  const time_t when = std::mktime(&tm) - secondsAgo;
  const struct timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::string Harness::LastMessage() const {
  if (windows.sent.empty()) return "<none>";
  const std::string& payload = windows.sent.back();
  return platform::Cp932ToUtf8(payload.substr(0, payload.size() >= 2 ? payload.size() - 2 : 0));
}

void Harness::Run(int64_t ms) {
  for (int64_t t = 0; t < ms; t += 100) {
    clock.Advance(100);
    engine_->RunDueTimers();
  }
}

}  // namespace companiontest
