#include "devices/hidraw.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/unique_fd.h"

namespace devices {

namespace {

// A uevent file is a few hundred bytes; more is not one.
constexpr std::streamsize kMaxUeventBytes = 4096;

class LinuxHidrawDevice final : public HidrawDevice {
 public:
  explicit LinuxHidrawDevice(platform::UniqueFd fd) : fd_(std::move(fd)) {}

  std::optional<std::vector<uint8_t>> ReportDescriptor() override {
    int size = 0;
    if (::ioctl(fd_.get(), HIDIOCGRDESCSIZE, &size) != 0 || size < 0 ||
        size > HID_MAX_DESCRIPTOR_SIZE) {
      return std::nullopt;
    }
    hidraw_report_descriptor rd{};
    rd.size = static_cast<uint32_t>(size);
    if (::ioctl(fd_.get(), HIDIOCGRDESC, &rd) != 0) return std::nullopt;
    return std::vector<uint8_t>(rd.value, rd.value + size);
  }

  int32_t Write(std::span<const uint8_t> report) override {
    for (;;) {
      const ssize_t n = ::write(fd_.get(), report.data(), report.size());
      if (n >= 0) return static_cast<int32_t>(n);
      if (errno != EINTR) return -errno;
    }
  }

  int32_t Wait(int32_t timeoutMs) override {
    pollfd p{fd_.get(), POLLIN, 0};
    const int r = ::poll(&p, 1, std::max(timeoutMs, 0));
    if (r < 0) return errno == EINTR ? 0 : -errno;
    if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return -ENODEV;
    return r > 0 ? 1 : 0;
  }

  int32_t Read(std::span<uint8_t> buffer) override {
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer.data(), buffer.size());
      if (n >= 0) return static_cast<int32_t>(n);
      if (errno == EAGAIN) return 0;
      if (errno != EINTR) return -errno;
    }
  }

 private:
  platform::UniqueFd fd_;
};

bool ParseHex(std::string_view text, uint32_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<HidrawInfo> ParseHidUevent(const std::string& uevent) {
  std::istringstream lines(uevent);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("HID_ID=", 0) != 0) continue;
    const std::string_view id = std::string_view(line).substr(7);
    const size_t first = id.find(':');
    const size_t second = first == std::string_view::npos ? first : id.find(':', first + 1);
    uint32_t bus = 0, vendor = 0, product = 0;
    if (second == std::string_view::npos || !ParseHex(id.substr(0, first), bus) ||
        !ParseHex(id.substr(first + 1, second - first - 1), vendor) ||
        !ParseHex(id.substr(second + 1), product) || vendor > 0xFFFF || product > 0xFFFF) {
      return std::nullopt;
    }
    HidrawInfo info;
    info.vendor = static_cast<uint16_t>(vendor);
    info.product = static_cast<uint16_t>(product);
    return info;
  }
  return std::nullopt;
}

std::vector<HidrawInfo> LinuxHidraw::Enumerate() {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(classRoot_.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.rfind("hidraw", 0) == 0) names.push_back(name);
    }
    ::closedir(dir);
  }
  // hidraw2 before hidraw10: the kernel's order of creation.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  std::vector<HidrawInfo> found;
  for (const std::string& name : names) {
    std::ifstream in(classRoot_ + "/" + name + "/device/uevent", std::ios::binary);
    std::string text(static_cast<size_t>(kMaxUeventBytes), '\0');
    in.read(text.data(), kMaxUeventBytes);
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    if (std::optional<HidrawInfo> info = ParseHidUevent(text)) {
      info->path = devRoot_ + "/" + name;
      found.push_back(*info);
    }
  }
  return found;
}

std::unique_ptr<HidrawDevice> LinuxHidraw::Open(const std::string& path, bool readWrite) {
  platform::UniqueFd fd(
      ::open(path.c_str(), (readWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) return nullptr;
  return std::make_unique<LinuxHidrawDevice>(std::move(fd));
}

}  // namespace devices
