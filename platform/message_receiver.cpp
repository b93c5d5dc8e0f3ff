#include "platform/message_receiver.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

#include "platform/steady_deadline.h"

namespace platform {

namespace {

constexpr size_t kReadChunkBytes = 64 * 1024;
// Bytes taken from one connection per wake-up. A fast sender refills its socket as quickly as
// it is read, so without a limit its whole frame (up to kMaxMessageBytes) would be read in one
// go, holding up the window and every other sender until it is whole.
constexpr size_t kReadBytesPerWake = 4 * kReadChunkBytes;
constexpr int kStallCheckMs = 1000;

bool PeerIsSameUser(int fd) {
  ucred peer{};
  socklen_t len = sizeof(peer);
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) == 0 && peer.uid == geteuid();
}

}  // namespace

MessageReceiver::MessageReceiver(const WindowRegistration& registration, Handler handler,
                                 QObject* parent)
    : QObject(parent), handle_(registration.handle()), handler_(std::move(handler)) {
  if (registration.listenFd() >= 0) {
    listenFd_.reset(fcntl(registration.listenFd(), F_DUPFD_CLOEXEC, 0));
  }
  if (listenFd_.valid()) {
    listenNotifier_ = new QSocketNotifier(listenFd_.get(), QSocketNotifier::Read, this);
    connect(listenNotifier_, &QSocketNotifier::activated, this, [this] { AcceptPending(); });
  }
  stallTimer_.setInterval(kStallCheckMs);
  connect(&stallTimer_, &QTimer::timeout, this, [this] { DropStalled(); });
}

MessageReceiver::~MessageReceiver() {
  *alive_ = false;
  connections_.clear();  // closes their sockets
  if (listenNotifier_) listenNotifier_->setEnabled(false);
  listenFd_.reset();
  // The notifiers are children and go with this object.
}

void MessageReceiver::SetHandler(Handler handler) { handler_ = std::move(handler); }

void MessageReceiver::AcceptPending() {
  for (;;) {
    const int fd = accept4(listenFd_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // EAGAIN: nothing more waiting; anything else: try at the next wake-up
    }
    if (!PeerIsSameUser(fd) || connections_.size() >= kMaxConnections) {
      close(fd);
      continue;
    }
    const uint64_t id = nextId_++;
    Connection& conn = connections_[id];
    conn.fd.reset(fd);
    conn.openedAtMs = SteadyNowMs();
    conn.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(conn.notifier, &QSocketNotifier::activated, this, [this, id] { ReadFrom(id); });
    if (!stallTimer_.isActive()) stallTimer_.start();
  }
}

void MessageReceiver::ReadFrom(uint64_t id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  Connection& conn = it->second;
  for (size_t readThisWake = 0;;) {
    if (readThisWake >= kReadBytesPerWake) return;  // the notifier fires again for the rest
    char* dest = nullptr;
    size_t want = 0;
    if (!conn.haveHeader) {
      const size_t had = conn.header.size();
      want = kMessageHeaderBytes - had;
      conn.header.resize(kMessageHeaderBytes);
      dest = conn.header.data() + had;
    } else {
      const size_t had = conn.payload.size();
      const size_t left = conn.parsed.length - had;
      want = left < kReadChunkBytes ? left : kReadChunkBytes;
      conn.payload.resize(had + want);  // grows only as bytes really arrive
      dest = conn.payload.data() + had;
    }
    const ssize_t n = want == 0 ? 0 : recv(conn.fd.get(), dest, want, 0);
    const size_t got = n > 0 ? static_cast<size_t>(n) : 0;
    readThisWake += got;
    std::string& buffer = conn.haveHeader ? conn.payload : conn.header;
    buffer.resize(buffer.size() - want + got);
    if (want != 0 && n == 0) {
      Drop(id);  // the sender went away before its frame was whole
      return;
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) Drop(id);
      return;
    }
    if (!conn.haveHeader) {
      if (conn.header.size() < kMessageHeaderBytes) continue;
      if (!DecodeMessageHeader(conn.header, &conn.parsed) ||
          (conn.parsed.target != 0 && conn.parsed.target != handle_)) {
        Drop(id);
        return;
      }
      conn.haveHeader = true;
    }
    if (conn.payload.size() == conn.parsed.length) {
      conn.notifier->setEnabled(false);
      conn.complete = true;
      complete_.push_back(id);
      Dispatch();
      return;
    }
  }
}

void MessageReceiver::Drop(uint64_t id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  Connection& conn = it->second;
  // The notifier may be the one whose signal is running right now: it goes later.
  conn.notifier->setEnabled(false);
  conn.notifier->deleteLater();
  connections_.erase(it);  // closes the socket
  if (connections_.empty()) stallTimer_.stop();
}

void MessageReceiver::Dispatch() {
  // A handler that lets the event loop run may complete more frames; they wait in the queue
  // and are handled here after it returns, which keeps the order and forbids re-entry.
  if (dispatching_) return;
  dispatching_ = true;
  const std::shared_ptr<bool> alive = alive_;
  while (!complete_.empty()) {
    const uint64_t id = complete_.front();
    complete_.pop_front();
    auto it = connections_.find(id);
    if (it == connections_.end()) continue;
    const uint64_t dataType = it->second.parsed.dataType;
    const std::string payload = std::move(it->second.payload);
    const Handler handler = handler_;
    int64_t result = 0;
    if (handler) {
      try {
        result = handler(dataType, payload);
      } catch (...) {
        result = 0;  // the window's own guard logs; the sender still gets its answer
      }
    }
    if (!*alive) return;
    it = connections_.find(id);
    if (it == connections_.end()) continue;
    // Sixteen bytes into a socket nobody has written to yet: never short in practice, and a
    // sender that already gave up is no reason to wait.
    const std::string ack = EncodeMessageAck(result);
    (void)send(it->second.fd.get(), ack.data(), ack.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    Drop(id);
  }
  dispatching_ = false;
}

void MessageReceiver::DropStalled() {
  const int64_t now = SteadyNowMs();
  std::vector<uint64_t> stalled;
  for (const auto& [id, conn] : connections_) {
    if (!conn.complete && now - conn.openedAtMs > kConnectionTimeoutMs) stalled.push_back(id);
  }
  for (uint64_t id : stalled) Drop(id);
}

}  // namespace platform
