#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/host_name.h"

namespace platform {

// The outcome of one echo request.
struct PingResult {
  bool success = false;      // an echo reply came back from the target in time
  double round_trip_ms = 0;  // request to reply on the monotonic clock; 0 on failure
  int error_code = 0;        // errno of a socket failure (EPERM/EACCES: no ICMP allowed), else 0
  std::string error;         // why it failed, for the log; empty on success
};

// Sends one ICMP echo request and waits for its reply.
class Pinger {
 public:
  virtual ~Pinger() = default;
  // `host` is a host name, a dotted IPv4 address or an IPv6 literal. The call never blocks
  // for much longer than `timeoutMs` (negative counts as 0), name resolution included. Safe
  // to call from several threads at once.
  virtual PingResult Ping(const std::string& host, int32_t timeoutMs) = 0;
};

// The real echo. It opens an unprivileged ICMP datagram socket and falls back to a raw socket
// when the system does not allow those (net.ipv4.ping_group_range); without either the result
// carries EPERM or EACCES. Only an echo reply from the target's address with our sequence
// number (and, on a raw socket, our identifier) counts; errors and other traffic are skipped
// while the wait lasts. The request carries no data.
class IcmpPinger final : public Pinger {
 public:
  // `resolver` replaces the system resolver for names (tests); numeric addresses are never
  // looked up.
  explicit IcmpPinger(BlockingResolver resolver = {});
  PingResult Ping(const std::string& host, int32_t timeoutMs) override;

 private:
  BlockingResolver resolver_;
};

// A pinger for tests: answers with scripted results in order, then with a fixed default
// (failure unless changed), and records every call.
class FakePinger final : public Pinger {
 public:
  PingResult Ping(const std::string& host, int32_t timeoutMs) override;

  // Queues the answer for one future call.
  void Script(PingResult result);
  // Queues a plain success or failure.
  void Script(bool success);
  // The answer once the script is used up.
  void SetDefault(PingResult result);

  int CallCount() const;
  // Every call's host and time-out, oldest first.
  std::vector<std::pair<std::string, int32_t>> Calls() const;

 private:
  mutable std::mutex mutex_;
  std::deque<PingResult> script_;
  PingResult default_{false, 0, 0, "no reply (fake)"};
  std::vector<std::pair<std::string, int32_t>> calls_;
};

}  // namespace platform
