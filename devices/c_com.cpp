#include "devices/c_com.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "devices/com_port_path.h"
#include "devices/serial_line_speed.h"
#include "foundation/debug_log.h"
#include "platform/steady_deadline.h"

namespace devices {

namespace {

// Parity code of the settings as c_cflag bits; false for a code the line has no parity for.
bool ParityFlags(int32_t code, tcflag_t& flags) {
  switch (code) {
    case 0:
      flags = 0;
      return true;
    case 1:
      flags = PARENB | PARODD;
      return true;
    case 2:
      flags = PARENB;
      return true;
    case 3:
      flags = PARENB | PARODD | CMSPAR;
      return true;
    case 4:
      flags = PARENB | CMSPAR;
      return true;
    default:
      flags = 0;
      return false;
  }
}

}  // namespace

void C_Com::LogFailure(const std::string& operation, int err, const std::string& port) const {
  log_.Write("C_Com " + operation + " Failed " + std::to_string(err) + " " +
                 foundation::GetWin32ErrorText(err) + " " + port,
             platform::LogSeverity::kError);
}

C_Com::~C_Com() { CloseComm(); }

int32_t C_Com::OpenComm() {
  CloseComm();
  const std::string path = ComDevicePath(comPort_);
  if (path.empty()) {
    LogFailure("OpenComm", ENOENT, comPort_);
    return 0;
  }
  platform::UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) {
    LogFailure("OpenComm", errno, path);
    return 0;
  }
  // TIOCEXCL does not stop root; the lock stops every holder that asks for it.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    LogFailure("OpenComm flock", errno, path);
    return 0;
  }
  if (::ioctl(fd.get(), TIOCEXCL) != 0) {
    LogFailure("OpenComm TIOCEXCL", errno, path);
    return 0;
  }
  if (!ApplyLineSettings(fd.get())) {
    ::ioctl(fd.get(), TIOCNXCL);
    return 0;
  }
  fd_ = std::move(fd);
  readFailureLogged_ = false;
  return 1;
}

bool C_Com::ApplyLineSettings(int fd) {
  const std::string path = ComDevicePath(comPort_);
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    LogFailure("OpenComm tcgetattr", errno, path);
    return false;
  }
  ::cfmakeraw(&tio);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tcflag_t parity = 0;
  if (!ParityFlags(parityBit_, parity)) {
    log_.Write("C_Com ParityBit=" + std::to_string(parityBit_) +
                   " is no parity this line has: none used " + path,
               platform::LogSeverity::kError);
  }
  tio.c_cflag |= parity;
  if (stopBit_ == 2) {
    tio.c_cflag |= CSTOPB;
  } else if (stopBit_ != 0) {
    log_.Write("C_Com StopBit=" + std::to_string(stopBit_) +
                   " cannot be set with 8 data bits: one stop bit used " + path,
               platform::LogSeverity::kError);
  }
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    LogFailure("OpenComm tcsetattr", errno, path);
    return false;
  }
  if (const int err = SetLineSpeed(fd, baudRate_); err != 0) {
    LogFailure("OpenComm BaudRate=" + std::to_string(baudRate_), err, path);
    return false;
  }
  return true;
}

void C_Com::CloseComm() {
  if (!fd_.valid()) return;
  // The flag belongs to the terminal, which outlives this descriptor when another holds it.
  ::ioctl(fd_.get(), TIOCNXCL);
  fd_.reset();
}

void C_Com::SendText(const std::string& Mes) {
  if (Mes.empty() || !IsOpen()) return;
  WriteAll(reinterpret_cast<const uint8_t*>(Mes.data()), Mes.size());
}

void C_Com::SendDataB(std::span<const uint8_t> sBytes, int32_t pLen) {
  if (!IsOpen() || pLen <= 0) return;
  WriteAll(sBytes.data(), std::min(sBytes.size(), static_cast<size_t>(pLen)));
}

int64_t C_Com::WriteAll(const uint8_t* data, size_t length) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(writeTimeoutMs_);
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::write(fd_.get(), data + done, length - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      LogFailure("WriteFile", errno, comPort_);
      break;
    }
    const int left = platform::RemainingMs(deadline);
    if (left == 0) {
      LogFailure("WriteFile", ETIMEDOUT,
                 comPort_ + " " + std::to_string(done) + "/" + std::to_string(length));
      break;
    }
    pollfd p{fd_.get(), POLLOUT, 0};
    ::poll(&p, 1, left);
  }
  return static_cast<int64_t>(done);
}

int32_t C_Com::ReadInto(uint8_t* buffer, int32_t capacity) {
  if (capacity <= 0) return 0;
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buffer, static_cast<size_t>(capacity));
    if (n >= 0) {
      readFailureLogged_ = false;
      return static_cast<int32_t>(n);
    }
    if (errno == EINTR) continue;
    // EAGAIN is the usual "nothing waiting"; EIO is a line whose other end has gone.
    if (errno != EAGAIN && !readFailureLogged_) {
      LogFailure("ReadFile", errno, comPort_);
      readFailureLogged_ = true;
    }
    return 0;
  }
}

std::string C_Com::RecvData() {
  if (!IsOpen() || dataSize_ <= 0) return "";
  std::vector<uint8_t> buffer(static_cast<size_t>(dataSize_));
  const int32_t n = ReadInto(buffer.data(), dataSize_);
  return std::string(buffer.begin(), buffer.begin() + n);
}

int32_t C_Com::RecvDataB(std::span<uint8_t> rBytes) {
  if (!IsOpen() || rBytes.empty()) return 0;
  const int32_t room = static_cast<int32_t>(std::min<size_t>(rBytes.size() - 1, INT32_MAX));
  const int32_t n = ReadInto(rBytes.data() + 1, std::min(dataSize_, room));
  if (n < 256) rBytes[0] = static_cast<uint8_t>(n);
  return n;
}

}  // namespace devices
