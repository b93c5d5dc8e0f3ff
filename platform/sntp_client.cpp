#include "platform/sntp_client.h"

#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "platform/steady_deadline.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr size_t kPacketSize = 48;
constexpr uint64_t kUnixToNtpSeconds = 2208988800ULL;                 // 1900-01-01 to 1970-01-01
constexpr uint8_t kLeapVersionModeRequest = (0 << 6) | (4 << 3) | 3;  // no leap, v4, client
constexpr int kModeServer = 4;
constexpr int kLeapUnsynchronised = 3;
constexpr size_t kOriginOffset = 24;
constexpr size_t kReceiveOffset = 32;
constexpr size_t kTransmitOffset = 40;

uint64_t ReadStamp(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

void WriteStamp(uint8_t* p, uint64_t v) {
  for (int i = 7; i >= 0; --i) {
    p[i] = static_cast<uint8_t>(v & 0xFF);
    v >>= 8;
  }
}

// Signed difference of two NTP stamps in 32.32 fixed point, modulo the era.
int64_t FixedSpan(uint64_t from, uint64_t to) { return static_cast<int64_t>(to - from); }

// 32.32 fixed-point seconds (scaled down further by 2^extraShift) to nanoseconds, rounded to
// the nearest with ties to even.
std::chrono::nanoseconds FixedToNs(__int128 fixed, int extraShift) {
  const long double seconds = static_cast<long double>(fixed) / 4294967296.0L / (1 << extraShift);
  return std::chrono::nanoseconds(static_cast<int64_t>(std::nearbyint(seconds * 1e9L)));
}

timespec SystemRealtime() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts;
}

SntpResult Failure(std::string error) {
  SntpResult r;
  r.error = std::move(error);
  return r;
}

void SetPort(SocketAddress* address, uint16_t port) {
  if (address->family() == AF_INET) {
    sockaddr_in v4;
    std::memcpy(&v4, &address->storage, sizeof v4);
    v4.sin_port = htons(port);
    std::memcpy(&address->storage, &v4, sizeof v4);
  } else if (address->family() == AF_INET6) {
    sockaddr_in6 v6;
    std::memcpy(&v6, &address->storage, sizeof v6);
    v6.sin6_port = htons(port);
    std::memcpy(&address->storage, &v6, sizeof v6);
  }
}

}  // namespace

uint64_t ToNtpTimestamp(const timespec& unixTime) {
  const uint64_t seconds =
      (static_cast<uint64_t>(unixTime.tv_sec) + kUnixToNtpSeconds) & 0xFFFFFFFFULL;
  long nsec = unixTime.tv_nsec;
  if (nsec < 0) nsec = 0;
  if (nsec > 999999999) nsec = 999999999;
  const uint64_t fraction = (static_cast<uint64_t>(nsec) << 32) / 1000000000ULL;
  return (seconds << 32) | fraction;
}

std::chrono::nanoseconds NtpSpan(uint64_t from, uint64_t to) {
  return FixedToNs(FixedSpan(from, to), 0);
}

SntpResult QuerySntp(const std::string& host, const SntpOptions& options) {
  const int32_t timeout = options.timeout_ms < 0 ? 0 : options.timeout_ms;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout);
  const auto realtime =
      options.realtime ? options.realtime : std::function<timespec()>(SystemRealtime);
  const std::string where = host + " port " + std::to_string(options.port);

  Resolution server = ResolveHost(host, timeout, options.resolver);
  if (!server.ok) return Failure(server.error);
  SetPort(&server.address, options.port);

  const int fd = socket(server.address.family(), SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Failure("cannot open a UDP socket: " + std::string(std::strerror(errno)));
  UniqueFd guard(fd);
  // Connected: the kernel drops datagrams from anyone but the server, and a closed port
  // comes back as ECONNREFUSED instead of a silent wait.
  if (connect(fd, reinterpret_cast<const sockaddr*>(&server.address.storage),
              server.address.length) != 0) {
    return Failure("cannot reach time server " + where + ": " + std::strerror(errno));
  }

  uint8_t request[kPacketSize] = {};
  request[0] = kLeapVersionModeRequest;
  const uint64_t t0 = ToNtpTimestamp(realtime());
  WriteStamp(request + kTransmitOffset, t0);
  if (send(fd, request, sizeof request, 0) != static_cast<ssize_t>(sizeof request)) {
    return Failure("cannot send to time server " + where + ": " + std::strerror(errno));
  }

  uint8_t reply[1024];
  ssize_t n = -1;
  int recvError = 0;
  while (true) {
    const int waitMs = RemainingMs(deadline);
    if (waitMs <= 0) return Failure("no answer from time server " + where);
    pollfd pfd{fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0)
      return Failure("waiting for time server failed: " + std::string(std::strerror(errno)));
    if (ready == 0) return Failure("no answer from time server " + where);
    n = recv(fd, reply, sizeof reply, MSG_DONTWAIT);
    recvError = errno;
    if (n < 0 && (recvError == EINTR || recvError == EAGAIN || recvError == EWOULDBLOCK)) continue;
    break;
  }
  const uint64_t t3 = ToNtpTimestamp(realtime());
  if (n < 0) {
    if (recvError == ECONNREFUSED) return Failure("no time service at " + where);
    return Failure("cannot receive from time server " + where + ": " + std::strerror(recvError));
  }
  if (static_cast<size_t>(n) < kPacketSize) {
    return Failure("reply from time server " + where + " too short (" + std::to_string(n) +
                   " bytes)");
  }

  const int leap = reply[0] >> 6;
  const int mode = reply[0] & 0x07;
  const int stratum = reply[1];
  const uint64_t origin = ReadStamp(reply + kOriginOffset);
  const uint64_t t1 = ReadStamp(reply + kReceiveOffset);
  const uint64_t t2 = ReadStamp(reply + kTransmitOffset);
  const std::string bad = "bad reply from time server " + where + ": ";
  if (mode != kModeServer) return Failure(bad + "mode " + std::to_string(mode));
  if (leap == kLeapUnsynchronised) return Failure(bad + "server clock not synchronised");
  if (stratum < 1 || stratum > 15) return Failure(bad + "stratum " + std::to_string(stratum));
  if (origin != t0) return Failure(bad + "origin time does not match the request");
  if (t1 == 0 || t2 == 0) return Failure(bad + "no server time");

  SntpResult r;
  r.ok = true;
  r.stratum = stratum;
  const __int128 offsetSum = static_cast<__int128>(FixedSpan(t0, t1)) + FixedSpan(t3, t2);
  r.offset = FixedToNs(offsetSum, 1);
  const __int128 delay = static_cast<__int128>(FixedSpan(t0, t3)) - FixedSpan(t1, t2);
  r.delay = FixedToNs(delay, 0);
  return r;
}

}  // namespace platform
