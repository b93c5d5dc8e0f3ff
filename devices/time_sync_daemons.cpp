#include "devices/time_sync_daemons.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>

namespace devices {

namespace {

// comm holds at most 15 characters: systemd-timesyncd reads "systemd-timesyn".
constexpr const char* kDaemons[] = {"systemd-timesyn", "chronyd", "ntpd",      "openntpd",
                                    "ptp4l",           "phc2sys", "timemaster"};
constexpr std::streamsize kCommBytes = 32;

bool AllDigits(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> RunningTimeSyncDaemons(const std::string& procRoot) {
  std::vector<std::string> running;
  DIR* dir = ::opendir(procRoot.c_str());
  if (dir == nullptr) return running;
  while (const dirent* entry = ::readdir(dir)) {
    if (!AllDigits(entry->d_name)) continue;
    std::ifstream in(procRoot + "/" + entry->d_name + "/comm", std::ios::binary);
    std::string comm(static_cast<size_t>(kCommBytes), '\0');
    in.read(comm.data(), kCommBytes);
    comm.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\0')) comm.pop_back();
    const bool known =
        std::find(std::begin(kDaemons), std::end(kDaemons), comm) != std::end(kDaemons);
    if (known && std::find(running.begin(), running.end(), comm) == running.end())
      running.push_back(comm);
  }
  ::closedir(dir);
  std::sort(running.begin(), running.end());
  return running;
}

}  // namespace devices
