#pragma once

#include <unistd.h>

#include <utility>

namespace platform {

// Sole owner of one file descriptor: closes it when destroyed or reset, so every early return
// of a caller gives the descriptor back. Movable, not copyable; -1 holds nothing.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

  // Gives the descriptor up without closing it.
  int release() { return std::exchange(fd_, -1); }

  // Closes the held descriptor (if any) and takes `fd`. close(2) is not retried on EINTR: on
  // Linux the descriptor is gone either way.
  void reset(int fd = -1) {
    const int old = std::exchange(fd_, fd);
    if (old >= 0 && old != fd) ::close(old);
  }

 private:
  int fd_ = -1;
};

}  // namespace platform
