#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "devices/hidraw.h"

namespace devices {

// A HID device for tests: a report descriptor, input reports queued by the script (as the node
// delivers them: without an ID byte for a device that does not number its reports), and an
// answer hook that sees every report written and may queue replies. Waits never wait: a report
// is there or the wait times out at once.
struct FakeHidDevice {
  HidrawInfo info;
  std::vector<uint8_t> descriptor;
  bool descriptorReadable = true;
  bool opensReadWrite = true;
  bool opensReadOnly = true;
  int32_t writeResult = 0;  // a negative errno every write fails with; 0: writes work
  std::deque<std::vector<uint8_t>> inputs;
  std::function<void(const std::vector<uint8_t>& report, FakeHidDevice& device)> onWrite;
  std::vector<std::vector<uint8_t>> written;
  int32_t opens = 0;
};

class FakeHidraw final : public HidrawSystem {
 public:
  // Adds a device to the end of the system's list.
  FakeHidDevice& Add(uint16_t vendor, uint16_t product, std::vector<uint8_t> descriptor);

  std::vector<HidrawInfo> Enumerate() override;
  std::unique_ptr<HidrawDevice> Open(const std::string& path, bool readWrite) override;

  std::vector<std::shared_ptr<FakeHidDevice>> devices;
};

}  // namespace devices
