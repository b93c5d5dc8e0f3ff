#include "playout/view/close_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace playout {

namespace {

// The pipe's write end, for the handler; -1 while no watch is active.
std::atomic<int> g_writeFd{-1};

void OnSignal(int signo) {
  const int saved = errno;
  const int fd = g_writeFd.load();
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(signo);
    // A full pipe already holds a close request; nothing more is needed.
    (void)::write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

CloseSignals::CloseSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_.reset(fds[0]);
  writeFd_.reset(fds[1]);
  int expected = -1;
  if (!g_writeFd.compare_exchange_strong(expected, writeFd_.get())) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &oldTerm_);
  ::sigaction(SIGINT, &action, &oldInt_);
  notifier_ = new QSocketNotifier(readFd_.get(), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &CloseSignals::Drain);
  installed_ = true;
}

CloseSignals::~CloseSignals() {
  if (!installed_) return;
  ::sigaction(SIGTERM, &oldTerm_, nullptr);
  ::sigaction(SIGINT, &oldInt_, nullptr);
  g_writeFd.store(-1);
}

void CloseSignals::Drain() {
  unsigned char bytes[16];
  ssize_t n;
  int last = 0;
  while ((n = ::read(readFd_.get(), bytes, sizeof bytes)) > 0) last = bytes[n - 1];
  // One close is enough however many signals came.
  if (last != 0 && onSignal_) onSignal_(last);
}

}  // namespace playout
