#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// True when `host` is safe to hand to the resolver and to show in a log: an RFC 1123 host
// name (dot-separated labels of letters, digits and '-', 1-63 characters each, no label
// starting or ending with '-', at most 253 characters in all, the last label not all digits),
// a dotted IPv4 address (four decimal parts) or an IPv6 literal without brackets. Anything
// with spaces, shell metacharacters, control characters or an empty label is refused.
bool IsValidHostName(std::string_view host);

// `host` in double quotes, fit for one log line whatever it holds: control characters become
// '?' and anything past 253 bytes is cut off with "...".
std::string HostForLog(std::string_view host);

// One socket address (IPv4 or IPv6) with its length.
struct SocketAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;

  int family() const { return length == 0 ? AF_UNSPEC : storage.ss_family; }
  // The numeric form ("127.0.0.1", "::1"), or "" when empty.
  std::string ToString() const;
  // Same family and same IP address; ports are ignored.
  bool SameHost(const SocketAddress& other) const;
};

// Parses a numeric IPv4 (dotted, four parts) or IPv6 literal; false for anything else.
bool ParseNumericAddress(std::string_view text, SocketAddress* out);

// A blocking name look-up: fills `out` with the host's first IPv4 address and returns true, or
// returns false with `error` holding the reason. It may block for as long as the system
// resolver takes; ResolveHost bounds the wait.
using BlockingResolver =
    std::function<bool(const std::string& host, SocketAddress* out, std::string* error)>;

// The system resolver (getaddrinfo, IPv4 addresses only, as the servers are named).
bool SystemResolve(const std::string& host, SocketAddress* out, std::string* error);

struct Resolution {
  bool ok = false;
  SocketAddress address;
  std::string error;  // why it failed; empty on success
};

// Turns a host name or numeric address into an address, never blocking the caller for more
// than `timeoutMs` (negative counts as 0). Numeric addresses are parsed without any look-up;
// names failing IsValidHostName are refused without any look-up. A name is looked up on a
// detached helper thread; when the wait runs out the helper is left to finish on its own (it
// owns everything it touches, so a look-up still hanging at exit is harmless). At most a few
// look-ups may hang at once; past that further names fail at once instead of piling up
// threads. `resolver` replaces the system resolver (tests); empty means SystemResolve.
Resolution ResolveHost(const std::string& host, int32_t timeoutMs,
                       const BlockingResolver& resolver = {});

}  // namespace platform
