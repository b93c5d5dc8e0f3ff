#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/icmp_echo.h"
#include "platform/native_path.h"

namespace foundation {

// Whether a file server answers before anything is read from it. One ICMP echo decides; the
// answer is kept per host for a caller-given number of seconds, so periodic callers (the clock
// tick's CheckServerAlive) cost no network traffic while the answer is fresh.

// The most hosts the answer cache holds; past that the record echoed longest ago gives way.
inline constexpr size_t kPingCacheCapacity = 32;

// 1 when the server behind `path` answered an echo within `timeoutMs`, else 0.
//   - a UNC-form path (\\host\share\... or //host/share/...) pings its host;
//   - any other path (separators '\' or '/', relative paths taken from the current folder)
//     pings the source host of the network mount (cifs, nfs) it lies on;
//   - a path on no network mount is local and reachable: 1 at once, no echo, no cache record.
// The host's answer, failure included, is reused without sending anything while it is at most
// `maxAgeSec` seconds old on the monotonic clock (platform::CurrentClock), so setting the PC
// clock never makes a stale answer look fresh. Host names are cached lower-cased. Never throws;
// a failure inside counts as no answer and goes to the error log.
int32_t IsServerReachable(const std::string& path, int32_t timeoutMs, int32_t maxAgeSec);

// 1 when an echo reply from `host` (a host name or dotted IPv4 address) arrived within
// `timeoutMs`, else 0 (an unresolvable name included). Sends through the pinger in force. An
// echo that could not be sent at all (no ICMP socket, no route) or a failing pinger is logged.
int32_t PingHost(const std::string& host, int32_t timeoutMs);

// The host IsServerReachable would ping for `path`, lower-cased; "" for a local path.
std::string ServerHostOfPath(const std::string& path,
                             const std::vector<platform::MountEntry>& mounts);

// The mount table in force: the test source when one is set, else /proc/self/mountinfo.
std::vector<platform::MountEntry> CurrentMountTable();

// Test seams. The pinger replaces the real ICMP echo (nullptr restores it); the mount-table
// source replaces /proc/self/mountinfo (empty restores it). Set them before the code under test
// runs; the caller keeps the pinger alive while it is in force.
void SetPinger(platform::Pinger* pinger);
void SetMountTableSource(std::function<std::vector<platform::MountEntry>()> source);
// Forgets every cached answer.
void ClearPingCache();
// Number of hosts currently cached.
size_t PingCacheSize();

}  // namespace foundation
