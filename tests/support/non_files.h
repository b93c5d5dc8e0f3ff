#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace testsupport {

// What may stand at a path where a file is expected and is no file: none of these may be opened
// as a file, and none may hold the program. A FIFO with nobody at its other end blocks a plain
// open; one that has a reader (or a writer) open, as a logging tool would, opens but then blocks
// reads or swallows writes.
enum class NonFile { Fifo, FifoWithPeer, Socket, Device };
inline constexpr NonFile kNonFiles[] = {NonFile::Fifo, NonFile::FifoWithPeer, NonFile::Socket,
                                        NonFile::Device};

inline const char* NonFileName(NonFile kind) {
  switch (kind) {
    case NonFile::Fifo:
      return "FIFO";
    case NonFile::FifoWithPeer:
      return "FIFO with a peer";
    case NonFile::Socket:
      return "socket";
    case NonFile::Device:
      return "device";
  }
  return "?";
}

// Puts one at `path` (a device through a link to /dev/null) and holds what it needs open while
// the object lives. ok() is false when it could not be made.
class NonFileAt {
 public:
  NonFileAt(NonFile kind, const std::string& path) : path_(path) {
    switch (kind) {
      case NonFile::Fifo:
        ok_ = ::mkfifo(path.c_str(), 0600) == 0;
        break;
      case NonFile::FifoWithPeer:
        // A non-blocking read-write end counts as both a reader and a writer.
        ok_ = ::mkfifo(path.c_str(), 0600) == 0 &&
              (peer_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) >= 0;
        break;
      case NonFile::Socket: {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (path.size() >= sizeof addr.sun_path) break;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        peer_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ok_ = peer_ >= 0 &&
              ::bind(peer_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
              ::listen(peer_, 1) == 0;
        break;
      }
      case NonFile::Device:
        ok_ = ::symlink("/dev/null", path.c_str()) == 0;
        break;
    }
  }
  ~NonFileAt() {
    if (peer_ >= 0) ::close(peer_);
  }
  NonFileAt(const NonFileAt&) = delete;
  NonFileAt& operator=(const NonFileAt&) = delete;

  bool ok() const { return ok_; }
  // Whether the same kind of entry still stands at the path (nothing replaced it).
  bool StillThere() const {
    struct stat st {};
    return ::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
  }

 private:
  std::string path_;
  int peer_ = -1;
  bool ok_ = false;
};

}  // namespace testsupport
