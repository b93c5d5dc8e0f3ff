#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/host_name.h"

namespace platform {

struct SntpOptions {
  uint16_t port = 123;        // the time service; tests point it at a local fake
  int32_t timeout_ms = 3000;  // the whole query, name resolution included
  // The clock the offset is measured against; empty means CLOCK_REALTIME (tests inject one).
  std::function<timespec()> realtime;
  // Replaces the system resolver (tests); empty means SystemResolve.
  BlockingResolver resolver;
};

struct SntpResult {
  bool ok = false;
  // How far the server's clock is ahead of ours (negative: ours is ahead).
  std::chrono::nanoseconds offset{0};
  // Round-trip time of the exchange less the server's own processing time.
  std::chrono::nanoseconds delay{0};
  int stratum = 0;
  std::string error;  // why the query failed; empty on success
};

// Asks `host` for the time with one SNTP client request (version 4, mode 3) over UDP and waits
// for the answer up to options.timeout_ms. The reply counts only when it comes from the host
// and port asked, is at least 48 bytes, is a server reply (mode 4), has a stratum of 1-15
// (0 is a "kiss-o'-death" refusal), does not announce an unsynchronised clock (leap
// indicator 3), echoes our transmit time as its origin time, and carries non-zero receive and
// transmit times. Then offset = ((t1 - t0) + (t2 - t3)) / 2 with t0 our send time, t1 the
// server's receive time, t2 its transmit time and t3 our receive time. Any failure, a bad
// reply included, gives ok = false with the reason; nothing is retried.
SntpResult QuerySntp(const std::string& host, const SntpOptions& options = {});

// NTP's 64-bit timestamp (seconds since 1900 in the high half, fraction in the low half) for a
// Unix time, and the signed span between two such stamps in nanoseconds. Spans are taken modulo
// the 136-year NTP era, so they stay right across an era change.
uint64_t ToNtpTimestamp(const timespec& unixTime);
std::chrono::nanoseconds NtpSpan(uint64_t from, uint64_t to);

}  // namespace platform
