#include "platform/host_name.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

namespace {

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsValidLabel(std::string_view label) {
  if (label.empty() || label.size() > 63) return false;
  if (label.front() == '-' || label.back() == '-') return false;
  for (char c : label) {
    if (!IsLetterOrDigit(c) && c != '-') return false;
  }
  return true;
}

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return !s.empty();
}

// Helper threads still waiting on the system resolver. Plain atomic: safe to touch from a
// detached thread while the process exits.
std::atomic<int> g_pendingLookups{0};
constexpr int kMaxPendingLookups = 4;

struct PendingLookup {
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool ok = false;
  SocketAddress address;
  std::string error;
};

}  // namespace

bool ParseNumericAddress(std::string_view text, SocketAddress* out) {
  if (text.empty() || text.size() > INET6_ADDRSTRLEN) return false;
  const std::string s(text);
  SocketAddress result;
  sockaddr_in v4{};
  if (inet_pton(AF_INET, s.c_str(), &v4.sin_addr) == 1) {
    v4.sin_family = AF_INET;
    std::memcpy(&result.storage, &v4, sizeof v4);
    result.length = sizeof v4;
  } else {
    sockaddr_in6 v6{};
    if (inet_pton(AF_INET6, s.c_str(), &v6.sin6_addr) != 1) return false;
    v6.sin6_family = AF_INET6;
    std::memcpy(&result.storage, &v6, sizeof v6);
    result.length = sizeof v6;
  }
  if (out != nullptr) *out = result;
  return true;
}

bool IsValidHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  if (ParseNumericAddress(host, nullptr)) return true;
  std::string_view rest = host;
  std::string_view last;
  while (true) {
    const size_t dot = rest.find('.');
    last = rest.substr(0, dot);
    if (!IsValidLabel(last)) return false;
    if (dot == std::string_view::npos) break;
    rest.remove_prefix(dot + 1);
  }
  // "10.1.2" or "123" would be read as a number by the resolver, not as a name.
  return !AllDigits(last);
}

std::string HostForLog(std::string_view host) {
  constexpr size_t kMaxShown = 253;
  std::string text = "\"";
  for (size_t i = 0; i < host.size() && i < kMaxShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(host[i]);
    text += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  if (host.size() > kMaxShown) text += "...";
  return text + "\"";
}

std::string SocketAddress::ToString() const {
  char text[INET6_ADDRSTRLEN] = {};
  if (family() == AF_INET && length >= sizeof(sockaddr_in)) {
    sockaddr_in v4;
    std::memcpy(&v4, &storage, sizeof v4);
    if (inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text) != nullptr) return text;
  } else if (family() == AF_INET6 && length >= sizeof(sockaddr_in6)) {
    sockaddr_in6 v6;
    std::memcpy(&v6, &storage, sizeof v6);
    if (inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text) != nullptr) return text;
  }
  return {};
}

bool SocketAddress::SameHost(const SocketAddress& other) const {
  if (family() != other.family()) return false;
  if (family() == AF_INET && length >= sizeof(sockaddr_in) && other.length >= sizeof(sockaddr_in)) {
    sockaddr_in a, b;
    std::memcpy(&a, &storage, sizeof a);
    std::memcpy(&b, &other.storage, sizeof b);
    return a.sin_addr.s_addr == b.sin_addr.s_addr;
  }
  if (family() == AF_INET6 && length >= sizeof(sockaddr_in6) &&
      other.length >= sizeof(sockaddr_in6)) {
    sockaddr_in6 a, b;
    std::memcpy(&a, &storage, sizeof a);
    std::memcpy(&b, &other.storage, sizeof b);
    return std::memcmp(&a.sin6_addr, &b.sin6_addr, sizeof a.sin6_addr) == 0;
  }
  return false;
}

bool SystemResolve(const std::string& host, SocketAddress* out, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* list = nullptr;
  const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &list);
  if (rc != 0) {
    if (error != nullptr) *error = "cannot resolve " + host + ": " + gai_strerror(rc);
    return false;
  }
  bool found = false;
  for (addrinfo* ai = list; ai != nullptr && !found; ai = ai->ai_next) {
    if (ai->ai_family == AF_INET && ai->ai_addr != nullptr &&
        ai->ai_addrlen >= sizeof(sockaddr_in) && ai->ai_addrlen <= sizeof(sockaddr_storage)) {
      SocketAddress addr;
      std::memcpy(&addr.storage, ai->ai_addr, ai->ai_addrlen);
      addr.length = ai->ai_addrlen;
      if (out != nullptr) *out = addr;
      found = true;
    }
  }
  freeaddrinfo(list);
  if (!found && error != nullptr) *error = "cannot resolve " + host + ": no IPv4 address";
  return found;
}

Resolution ResolveHost(const std::string& host, int32_t timeoutMs,
                       const BlockingResolver& resolver) {
  Resolution result;
  if (ParseNumericAddress(host, &result.address)) {
    result.ok = true;
    return result;
  }
  if (!IsValidHostName(host)) {
    result.error = "not a valid host name: " + HostForLog(host);
    return result;
  }
  if (g_pendingLookups.fetch_add(1) >= kMaxPendingLookups) {
    g_pendingLookups.fetch_sub(1);
    result.error = "cannot resolve " + host + ": too many name look-ups still pending";
    return result;
  }

  auto lookup = std::make_shared<PendingLookup>();
  BlockingResolver resolve = resolver ? resolver : BlockingResolver(SystemResolve);
  try {
    std::thread([lookup, host, resolve = std::move(resolve)] {
      SocketAddress address;
      std::string error;
      bool ok = false;
      try {
        ok = resolve(host, &address, &error);
      } catch (...) {
        ok = false;
        error = "cannot resolve " + host + ": resolver failed";
      }
      {
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->done = true;
        lookup->ok = ok;
        lookup->address = address;
        lookup->error = std::move(error);
      }
      lookup->done_cv.notify_all();
      g_pendingLookups.fetch_sub(1);
    }).detach();
  } catch (...) {
    g_pendingLookups.fetch_sub(1);
    result.error = "cannot resolve " + host + ": no thread for the look-up";
    return result;
  }

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  std::unique_lock<std::mutex> lock(lookup->mutex);
  if (!lookup->done_cv.wait_until(lock, deadline, [&] { return lookup->done; })) {
    result.error = "cannot resolve " + host + ": look-up timed out";
    return result;
  }
  result.ok = lookup->ok && lookup->address.length > 0;
  if (result.ok) {
    result.address = lookup->address;
  } else {
    result.error = lookup->error.empty() ? "cannot resolve " + host : lookup->error;
  }
  return result;
}

}  // namespace platform
