// Feeds arbitrary bytes to the HID report descriptor reader and the hidraw uevent reader, the
// two places where what a USB device reports comes into the program.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "devices/hid_report_descriptor.h"
#include "devices/hidraw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)devices::ParseReportDescriptor(std::span<const uint8_t>(data, size));
  (void)devices::ParseHidUevent(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
