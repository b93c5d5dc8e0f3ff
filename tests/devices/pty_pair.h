#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A pseudo-terminal pair standing in for a serial line: the code under test opens `path` (the
// terminal side) as its port, and the test plays the device at the other end through `master`.
// The pair holds the terminal side open too, so the line stays up between opens.
class PtyPair {
 public:
  PtyPair() {
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    path_ = name;
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyPair() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0 && !path_.empty(); }
  const std::string& path() const { return path_; }
  // The terminal side held by the pair (for reading its settings back).
  int terminal() const { return slave_; }

  // The device sends bytes down the line.
  void Send(const std::vector<uint8_t>& bytes) const { Send(bytes.data(), bytes.size()); }
  void Send(const std::string& text) const {
    Send(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  void Send(const uint8_t* data, size_t size) const {
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::write(master_, data + done, size - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
      } else {
        pollfd p{master_, POLLOUT, 0};
        if (::poll(&p, 1, 5000) <= 0) return;
      }
    }
  }

  // What the device received: waits until `count` bytes are there or 5 s passed.
  std::vector<uint8_t> Receive(size_t count) const {
    std::vector<uint8_t> got;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < count && std::chrono::steady_clock::now() < give_up) {
      uint8_t buffer[512];
      const size_t want = std::min(sizeof buffer, count - got.size());
      const ssize_t n = ::read(master_, buffer, want);
      if (n > 0) {
        got.insert(got.end(), buffer, buffer + n);
      } else {
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 20);
      }
    }
    return got;
  }
  std::string ReceiveText(size_t count) const {
    const std::vector<uint8_t> bytes = Receive(count);
    return std::string(bytes.begin(), bytes.end());
  }
  // Everything the device has received so far, without waiting for more.
  std::string Drain() const {
    std::string got;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(master_, buffer, sizeof buffer)) > 0) got.append(buffer, buffer + n);
    return got;
  }

  // Waits until the terminal side holds `count` unread bytes (the line has delivered them).
  bool WaitDelivered(int count) const {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int waiting = 0;
    while (::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting < count) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return waiting >= count;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

}  // namespace testsupport
