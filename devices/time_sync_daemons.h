#pragma once

#include <string>
#include <vector>

namespace devices {

// Names of the running processes (as /proc/<pid>/comm gives them) that keep the clock in step
// by themselves: systemd-timesyncd, chronyd, ntpd, openntpd and the PTP daemons. A clock set
// by hand while one of them runs is likely to be moved again. `procRoot` is /proc but for
// tests; each name is listed once.
std::vector<std::string> RunningTimeSyncDaemons(const std::string& procRoot = "/proc");

}  // namespace devices
