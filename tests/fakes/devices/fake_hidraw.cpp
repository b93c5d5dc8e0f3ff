#include "tests/fakes/devices/fake_hidraw.h"

#include <algorithm>

namespace devices {

namespace {

class FakeHidrawDevice final : public HidrawDevice {
 public:
  explicit FakeHidrawDevice(std::shared_ptr<FakeHidDevice> device) : device_(std::move(device)) {}

  std::optional<std::vector<uint8_t>> ReportDescriptor() override {
    if (!device_->descriptorReadable) return std::nullopt;
    return device_->descriptor;
  }
  int32_t Write(std::span<const uint8_t> report) override {
    if (device_->writeResult < 0) return device_->writeResult;
    const std::vector<uint8_t> bytes(report.begin(), report.end());
    device_->written.push_back(bytes);
    if (device_->onWrite) device_->onWrite(bytes, *device_);
    return static_cast<int32_t>(report.size());
  }
  int32_t Wait(int32_t) override { return device_->inputs.empty() ? 0 : 1; }
  int32_t Read(std::span<uint8_t> buffer) override {
    if (device_->inputs.empty()) return 0;
    const std::vector<uint8_t> report = std::move(device_->inputs.front());
    device_->inputs.pop_front();
    const size_t n = std::min(buffer.size(), report.size());
    std::copy_n(report.begin(), n, buffer.begin());
    return static_cast<int32_t>(n);
  }

 private:
  std::shared_ptr<FakeHidDevice> device_;
};

}  // namespace

FakeHidDevice& FakeHidraw::Add(uint16_t vendor, uint16_t product, std::vector<uint8_t> descriptor) {
  auto device = std::make_shared<FakeHidDevice>();
  device->info.path = "/dev/hidraw" + std::to_string(devices.size());
  device->info.vendor = vendor;
  device->info.product = product;
  device->descriptor = std::move(descriptor);
  devices.push_back(device);
  return *device;
}

std::vector<HidrawInfo> FakeHidraw::Enumerate() {
  std::vector<HidrawInfo> list;
  for (const auto& device : devices) list.push_back(device->info);
  return list;
}

std::unique_ptr<HidrawDevice> FakeHidraw::Open(const std::string& path, bool readWrite) {
  for (const auto& device : devices) {
    if (device->info.path != path) continue;
    if (!(readWrite ? device->opensReadWrite : device->opensReadOnly)) return nullptr;
    ++device->opens;
    return std::make_unique<FakeHidrawDevice>(device);
  }
  return nullptr;
}

}  // namespace devices
