#include "platform/message_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/steady_deadline.h"
#include "platform/unique_fd.h"

namespace platform {

namespace {

void PutLe(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t GetLe(std::string_view in, size_t offset, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<uint64_t>(static_cast<unsigned char>(in[offset + i])) << (8 * i);
  }
  return value;
}

// Milliseconds left before `deadline`, for poll(); 0 once it has passed.
int Remaining(int64_t deadline) {
  const int64_t left = deadline - SteadyNowMs();
  if (left <= 0) return 0;
  return left > 60000 ? 60000 : static_cast<int>(left);
}

// Waits for `events` on fd until the deadline; false on timeout or error.
bool WaitFor(int fd, short events, int64_t deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int left = Remaining(deadline);
    const int n = poll(&p, 1, left);
    if (n > 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 && left > 0 && Remaining(deadline) > 0) continue;  // poll woke early
    return false;
  }
}

SendOutcome Failure(std::string text) {
  SendOutcome out;
  out.error = std::move(text);
  return out;
}

bool Connect(int fd, const sockaddr_un& addr, int64_t deadline, std::string* error) {
  for (;;) {
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0) return true;
    if (errno == EINTR) continue;
    if (errno == EINPROGRESS) {
      if (!WaitFor(fd, POLLOUT, deadline)) break;
      int soError = 0;
      socklen_t len = sizeof(soError);
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
        *error = std::string("cannot connect: ") + std::strerror(soError ? soError : errno);
        return false;
      }
      return true;
    }
    if (errno == EAGAIN) {
      // The receiver's backlog is full: it is busy, not gone. Try again shortly.
      if (Remaining(deadline) == 0) break;
      pollfd none{-1, 0, 0};
      poll(&none, 1, 2);
      continue;
    }
    *error = std::string("cannot connect: ") + std::strerror(errno);
    return false;
  }
  *error = "the window did not answer in time";
  return false;
}

bool SendAll(int fd, std::string_view bytes, int64_t deadline, std::string* error) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (WaitFor(fd, POLLOUT, deadline)) continue;
      *error = "the window did not take the message in time";
      return false;
    }
    *error = std::string("the window dropped the message: ") + std::strerror(errno);
    return false;
  }
  return true;
}

bool ReceiveExactly(int fd, char* buf, size_t size, int64_t deadline, std::string* error) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = recv(fd, buf + done, size - done, 0);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n == 0) {
      *error = "the window dropped the message";
      return false;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (WaitFor(fd, POLLIN, deadline)) continue;
      *error = "the window did not answer in time";
      return false;
    }
    *error = std::string("the window dropped the message: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

std::string EncodeMessageHeader(const MessageHeader& header) {
  std::string out;
  out.reserve(kMessageHeaderBytes);
  PutLe(out, kMessageFrameMagic, 4);
  PutLe(out, header.length, 4);
  PutLe(out, header.dataType, 8);
  PutLe(out, static_cast<uint64_t>(header.target), 8);
  return out;
}

bool DecodeMessageHeader(std::string_view bytes, MessageHeader* header) {
  if (bytes.size() != kMessageHeaderBytes) return false;
  if (GetLe(bytes, 0, 4) != kMessageFrameMagic) return false;
  const uint64_t length = GetLe(bytes, 4, 4);
  if (length > kMaxMessageBytes) return false;
  header->length = static_cast<uint32_t>(length);
  header->dataType = GetLe(bytes, 8, 8);
  header->target = static_cast<int64_t>(GetLe(bytes, 16, 8));
  return true;
}

std::string EncodeMessageAck(int64_t result) {
  std::string out;
  out.reserve(kMessageAckBytes);
  PutLe(out, kMessageAckMagic, 4);
  PutLe(out, 0, 4);
  PutLe(out, static_cast<uint64_t>(result), 8);
  return out;
}

bool DecodeMessageAck(std::string_view bytes, int64_t* result) {
  if (bytes.size() != kMessageAckBytes) return false;
  if (GetLe(bytes, 0, 4) != kMessageAckMagic || GetLe(bytes, 4, 4) != 0) return false;
  *result = static_cast<int64_t>(GetLe(bytes, 8, 8));
  return true;
}

SendOutcome SendWindowMessage(const WindowInfo& target, uint64_t dataType, std::string_view payload,
                              int timeoutMs) {
  if (payload.size() > kMaxMessageBytes) {
    return Failure("message of " + std::to_string(payload.size()) + " bytes is over the limit");
  }
  const int64_t deadline = SteadyNowMs() + (timeoutMs > 0 ? timeoutMs : 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (target.endpoint.empty() || target.endpoint.size() >= sizeof(addr.sun_path)) {
    return Failure("no usable socket path for the window");
  }
  std::memcpy(addr.sun_path, target.endpoint.c_str(), target.endpoint.size() + 1);

  // Only a socket of our own user may receive our messages; the peer check after connecting
  // covers a file swapped in between.
  struct stat st {};
  if (lstat(target.endpoint.c_str(), &st) != 0) {
    return Failure("the window's socket is gone: " + target.endpoint);
  }
  if (!S_ISSOCK(st.st_mode) || st.st_uid != geteuid()) {
    return Failure("not a socket of this user: " + target.endpoint);
  }

  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return Failure(std::string("cannot make a socket: ") + std::strerror(errno));
  std::string error;
  if (!Connect(fd.get(), addr, deadline, &error)) return Failure(error);

  ucred peer{};
  socklen_t peerLen = sizeof(peer);
  if (getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &peerLen) != 0 ||
      peer.uid != geteuid()) {
    return Failure("the window belongs to another user");
  }

  MessageHeader header;
  header.length = static_cast<uint32_t>(payload.size());
  header.dataType = dataType;
  header.target = target.handle;
  if (!SendAll(fd.get(), EncodeMessageHeader(header), deadline, &error) ||
      !SendAll(fd.get(), payload, deadline, &error)) {
    return Failure(error);
  }
  char ack[kMessageAckBytes];
  if (!ReceiveExactly(fd.get(), ack, sizeof(ack), deadline, &error)) return Failure(error);
  SendOutcome out;
  if (!DecodeMessageAck(std::string_view(ack, sizeof(ack)), &out.reply)) {
    return Failure("the window answered with garbage");
  }
  out.delivered = true;
  return out;
}

}  // namespace platform
