#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

// Helpers for tests that need a second real process: the child is a fork of the test program
// that runs one function and leaves with _exit, so it never runs the parent's test teardown.

namespace testsupport {

// A pipe used to hold children until the parent says go (Open) and to pass small results back.
class Pipe {
 public:
  Pipe() {
    if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  int readFd() const { return fds_[0]; }
  int writeFd() const { return fds_[1]; }
  void CloseRead() {
    if (fds_[0] >= 0) close(fds_[0]);
    fds_[0] = -1;
  }
  void CloseWrite() {
    if (fds_[1] >= 0) close(fds_[1]);
    fds_[1] = -1;
  }

  // Gate use: children call WaitOpen, the parent calls Open (closing the write end wakes all).
  void WaitOpen() {
    CloseWrite();
    char c;
    while (read(fds_[0], &c, 1) > 0) {
    }
  }
  void Open() { CloseWrite(); }

  bool WriteByte(char c) { return write(fds_[1], &c, 1) == 1; }
  // The next byte, or -1 at end of pipe.
  int ReadByte() {
    unsigned char c;
    for (;;) {
      const ssize_t n = read(fds_[0], &c, 1);
      if (n == 1) return c;
      if (n < 0 && errno == EINTR) continue;
      return -1;
    }
  }

 private:
  int fds_[2] = {-1, -1};
};

// Runs `body` in a forked child; its result becomes the child's exit status.
class ForkedChild {
 public:
  explicit ForkedChild(const std::function<int()>& body) {
    pid_ = fork();
    if (pid_ == 0) {
      int code = 99;
      try {
        code = body();
      } catch (...) {
        code = 98;
      }
      _exit(code);
    }
  }
  ~ForkedChild() {
    if (pid_ > 0 && status_ < -1) {
      kill(pid_, SIGKILL);
      Wait();
    }
  }
  ForkedChild(const ForkedChild&) = delete;
  ForkedChild& operator=(const ForkedChild&) = delete;

  pid_t pid() const { return pid_; }
  bool started() const { return pid_ > 0; }

  // Exit status (0-255) once the child has ended, -1 when it died by a signal.
  int Wait() {
    if (pid_ <= 0) return -1;
    while (status_ < -1) {
      int raw = 0;
      const pid_t r = waitpid(pid_, &raw, 0);
      if (r < 0 && errno == EINTR) continue;
      Record(r, raw);
    }
    return status_;
  }
  // True once the child has ended (without blocking).
  bool Ended() {
    if (pid_ <= 0) return true;
    if (status_ >= -1) return true;
    int raw = 0;
    const pid_t r = waitpid(pid_, &raw, WNOHANG);
    if (r == 0) return false;
    Record(r, raw);
    return true;
  }
  void Kill() {
    if (pid_ > 0 && status_ < -1) kill(pid_, SIGKILL);
    Wait();
  }

 private:
  void Record(pid_t r, int raw) { status_ = (r == pid_ && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1; }

  pid_t pid_ = -1;
  int status_ = -2;  // -2: still running
};

}  // namespace testsupport
