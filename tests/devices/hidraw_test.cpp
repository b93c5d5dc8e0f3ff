#include "devices/hidraw.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace devices {
namespace {

TEST(HidrawTest, ReadsUeventIdentifiers) {
  const struct {
    const char* uevent;
    bool found;
    uint16_t vendor, product;
  } cases[] = {
      {"DRIVER=hid-generic\nHID_ID=0003:00000B33:00000030\nHID_NAME=x\n", true, 0x0B33, 0x0030},
      {"HID_ID=0005:0000045E:000002E0", true, 0x045E, 0x02E0},
      {"HID_NAME=no id\n", false, 0, 0},
      {"HID_ID=0003:00000B33\n", false, 0, 0},
      {"HID_ID=0003:000G0B33:00000030\n", false, 0, 0},
      {"HID_ID=0003:00010000:00000030\n", false, 0, 0},  // past 16 bits
      {"HID_ID=0003:00000B33:00000030:7\n", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    const std::optional<HidrawInfo> info = ParseHidUevent(c.uevent);
    ASSERT_EQ(info.has_value(), c.found) << c.uevent;
    if (!info) continue;
    EXPECT_EQ(info->vendor, c.vendor);
    EXPECT_EQ(info->product, c.product);
  }
}

// The class folder as the kernel lays it out: nodes in creation order, unreadable ones left out.
TEST(HidrawTest, EnumeratesTheClassFolder) {
  testsupport::TempDir dir;
  dir.WriteFile("class/hidraw10/device/uevent", "HID_ID=0003:00001209:00000001\n");
  dir.WriteFile("class/hidraw2/device/uevent", "HID_ID=0003:00000B33:00000030\n");
  dir.WriteFile("class/hidraw3/device/uevent", "garbage");
  dir.WriteFile("class/other/device/uevent", "HID_ID=0003:00000001:00000001\n");
  LinuxHidraw system(dir.Sub("class"), dir.Sub("dev"));
  const std::vector<HidrawInfo> found = system.Enumerate();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].path, dir.Sub("dev/hidraw2"));
  EXPECT_EQ(found[0].vendor, 0x0B33);
  EXPECT_EQ(found[1].path, dir.Sub("dev/hidraw10"));
  EXPECT_EQ(found[1].product, 1);
  EXPECT_EQ(system.Open(dir.Sub("dev/hidraw2"), true), nullptr);  // no such node

  // A node that is no HID device gives no descriptor.
  const std::string plain = dir.WriteFile("dev/hidraw10", "");
  std::unique_ptr<HidrawDevice> device = system.Open(plain, false);
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(device->ReportDescriptor().has_value());
}

}  // namespace
}  // namespace devices
