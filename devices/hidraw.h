#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace devices {

// The kernel's raw HID nodes (/dev/hidraw<n>), behind a seam so that the device class can be
// driven by a scripted device in tests.

struct HidrawInfo {
  std::string path;  // the node to open
  uint16_t vendor = 0;
  uint16_t product = 0;
};

// One open node. Reports go as the node takes them: byte 0 is the report ID (0 for a device
// that does not number its reports, in which case the node drops it on the way out and the
// reports that come in carry no ID byte).
class HidrawDevice {
 public:
  virtual ~HidrawDevice() = default;
  // The device's report descriptor; nullopt when it cannot be read.
  virtual std::optional<std::vector<uint8_t>> ReportDescriptor() = 0;
  // Sends one report; the bytes taken, or -errno.
  virtual int32_t Write(std::span<const uint8_t> report) = 0;
  // Waits up to timeoutMs (0: not at all) for an input report; 1 when one is there, 0 when
  // none came, -errno on failure.
  virtual int32_t Wait(int32_t timeoutMs) = 0;
  // Takes one input report without waiting: its length (cut to the buffer), 0 when none is
  // there, -errno on failure.
  virtual int32_t Read(std::span<uint8_t> buffer) = 0;
};

class HidrawSystem {
 public:
  virtual ~HidrawSystem() = default;
  // The HID nodes present now, in the system's order.
  virtual std::vector<HidrawInfo> Enumerate() = 0;
  // Opens a node for reading and writing, or for reading only; null on failure.
  virtual std::unique_ptr<HidrawDevice> Open(const std::string& path, bool readWrite) = 0;
};

// The nodes the kernel lists under /sys/class/hidraw (identifiers from each one's uevent
// HID_ID line), opened from /dev. Both roots can be moved for tests.
class LinuxHidraw final : public HidrawSystem {
 public:
  explicit LinuxHidraw(std::string classRoot = "/sys/class/hidraw", std::string devRoot = "/dev")
      : classRoot_(std::move(classRoot)), devRoot_(std::move(devRoot)) {}
  std::vector<HidrawInfo> Enumerate() override;
  std::unique_ptr<HidrawDevice> Open(const std::string& path, bool readWrite) override;

 private:
  std::string classRoot_;
  std::string devRoot_;
};

// Vendor and product of a uevent text's "HID_ID=bbbb:vvvvvvvv:pppppppp" line; nullopt when it
// has none that reads.
std::optional<HidrawInfo> ParseHidUevent(const std::string& uevent);

}  // namespace devices
