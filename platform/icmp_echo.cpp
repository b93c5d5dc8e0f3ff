#include "platform/icmp_echo.h"

#include <errno.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <utility>

#include "platform/steady_deadline.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr uint8_t kEchoRequestV4 = 8;
constexpr uint8_t kEchoReplyV4 = 0;
constexpr uint8_t kEchoRequestV6 = 128;
constexpr uint8_t kEchoReplyV6 = 129;
constexpr size_t kIcmpHeaderSize = 8;
constexpr size_t kMinIpv4HeaderSize = 20;

// Sequence numbers are unique within the process, so two threads pinging at once never take
// each other's replies.
std::atomic<uint16_t> g_nextSequence{1};

struct IcmpSocket {
  int fd = -1;
  bool raw = false;
  int error = 0;
};

// The datagram kind first: it needs no privilege where the group range allows it, and the
// kernel hands it only the replies to its own requests.
IcmpSocket OpenIcmpSocket(int family) {
  const int protocol = family == AF_INET6 ? IPPROTO_ICMPV6 : IPPROTO_ICMP;
  IcmpSocket s;
  s.fd = socket(family, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, protocol);
  if (s.fd >= 0) return s;
  const int dgramError = errno;
  s.fd = socket(family, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, protocol);
  if (s.fd >= 0) {
    s.raw = true;
    if (family == AF_INET) {
      // Wake only for echo replies; the identifier and sequence are still checked below.
      icmp_filter filter{};
      filter.data = ~(1U << kEchoReplyV4);
      setsockopt(s.fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    }
    return s;
  }
  const int rawError = errno;
  // Report the permission failure when there is one: that is what the caller can act on.
  s.error = (rawError == EPERM || rawError == EACCES) ? rawError : dgramError;
  return s;
}

uint16_t InternetChecksum(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < size; i += 2) sum += (uint32_t(data[i]) << 8) | data[i + 1];
  if (size % 2 != 0) sum += uint32_t(data[size - 1]) << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

PingResult Failure(std::string error, int errorCode = 0) {
  PingResult r;
  r.error = std::move(error);
  r.error_code = errorCode;
  return r;
}

std::string ErrnoText(int err) { return std::strerror(err); }

}  // namespace

IcmpPinger::IcmpPinger(BlockingResolver resolver) : resolver_(std::move(resolver)) {}

PingResult IcmpPinger::Ping(const std::string& host, int32_t timeoutMs) {
  const int32_t timeout = timeoutMs < 0 ? 0 : timeoutMs;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout);

  const Resolution target = ResolveHost(host, timeout, resolver_);
  if (!target.ok) return Failure(target.error);
  const int family = target.address.family();
  const bool v6 = family == AF_INET6;

  IcmpSocket sock = OpenIcmpSocket(family);
  if (sock.fd < 0) {
    return Failure("cannot open an ICMP socket: " + ErrnoText(sock.error), sock.error);
  }
  UniqueFd guard(sock.fd);

  const uint16_t identifier = static_cast<uint16_t>(getpid() & 0xFFFF);
  const uint16_t sequence = g_nextSequence.fetch_add(1);
  uint8_t request[kIcmpHeaderSize] = {};
  request[0] = v6 ? kEchoRequestV6 : kEchoRequestV4;
  // On a datagram socket the kernel puts its own identifier in; on a raw one it is ours.
  request[4] = static_cast<uint8_t>(identifier >> 8);
  request[5] = static_cast<uint8_t>(identifier & 0xFF);
  request[6] = static_cast<uint8_t>(sequence >> 8);
  request[7] = static_cast<uint8_t>(sequence & 0xFF);
  if (!v6) {  // the kernel fills the ICMPv6 checksum itself
    const uint16_t sum = InternetChecksum(request, sizeof request);
    request[2] = static_cast<uint8_t>(sum >> 8);
    request[3] = static_cast<uint8_t>(sum & 0xFF);
  }

  const auto sentAt = SteadyClock::now();
  if (sendto(sock.fd, request, sizeof request, 0,
             reinterpret_cast<const sockaddr*>(&target.address.storage),
             target.address.length) < 0) {
    const int err = errno;
    return Failure("cannot send an echo request to " + host + ": " + ErrnoText(err), err);
  }

  const uint8_t replyType = v6 ? kEchoReplyV6 : kEchoReplyV4;
  uint8_t buffer[1500];
  while (true) {
    const int waitMs = RemainingMs(deadline);
    if (waitMs <= 0) break;
    pollfd pfd{sock.fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, waitMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      return Failure("waiting for the echo reply failed: " + ErrnoText(err), err);
    }
    if (ready == 0) break;

    SocketAddress from;
    socklen_t fromLength = sizeof from.storage;
    const ssize_t n = recvfrom(sock.fd, buffer, sizeof buffer, MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&from.storage), &fromLength);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      const int err = errno;
      return Failure("receiving the echo reply failed: " + ErrnoText(err), err);
    }
    from.length = fromLength;
    const auto receivedAt = SteadyClock::now();

    size_t offset = 0;
    const size_t size = static_cast<size_t>(n);
    if (sock.raw && !v6) {  // a raw IPv4 socket sees the IP header too
      if (size < kMinIpv4HeaderSize) continue;
      offset = static_cast<size_t>(buffer[0] & 0x0F) * 4;
      if (offset < kMinIpv4HeaderSize || offset > size) continue;
    }
    if (size - offset < kIcmpHeaderSize) continue;
    const uint8_t* icmp = buffer + offset;
    const uint16_t gotIdentifier = static_cast<uint16_t>((icmp[4] << 8) | icmp[5]);
    const uint16_t gotSequence = static_cast<uint16_t>((icmp[6] << 8) | icmp[7]);
    if (icmp[0] != replyType || gotSequence != sequence) continue;
    if (sock.raw && gotIdentifier != identifier) continue;
    if (!from.SameHost(target.address)) continue;

    PingResult ok;
    ok.success = true;
    ok.round_trip_ms = std::chrono::duration<double, std::milli>(receivedAt - sentAt).count();
    return ok;
  }
  return Failure("no echo reply from " + host + " within " + std::to_string(timeout) + " ms");
}

}  // namespace platform
