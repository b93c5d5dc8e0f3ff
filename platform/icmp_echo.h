#pragma once

#include <cstdint>
#include <string>

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

}  // namespace platform
