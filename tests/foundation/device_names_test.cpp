#include "foundation/device_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace foundation {
namespace {

TEST(DeviceNames, NumberingIsIgnored) {
  struct Case {
    const char* a;
    const char* b;
    int32_t match;
  };
  const Case cases[] = {
      {"Speakers (2- USB Audio Device)", "Speakers (USB Audio Device)", 1},
      {"SPEAKERS (USB AUDIO DEVICE)", "speakers (usb audio device)", 1},
      {"1- Line Out", "line out", 1},
      {"Line Out", "5- Line Out", 0},  // only 1 to 4 are numbering
      {"Speakers (2- USB)", "Speakers (3- USB)", 1},
      {"Line 1", "Line 2", 0},
      {"2- x", "x", 0},  // too short to carry numbering
      {"", "", 1},
      {"デバイス (4- ＵＳＢ)", "デバイス (ＵＳＢ)", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeviceNameMatches(c.a, c.b), c.match) << c.a << " / " << c.b;
    EXPECT_EQ(DeviceNameMatches(c.b, c.a), c.match) << c.b << " / " << c.a;
  }
}

TEST(DeviceNames, NameToDeviceNumber) {
  const std::vector<std::string> devices = {"default", "Speakers (2- USB Audio Device)",
                                            "1- Line Out", "sysdefault:CARD=PCH",
                                            "Speakers (USB Audio Device)"};
  struct Case {
    const char* wanted;
    std::optional<int32_t> number;
  };
  const Case cases[] = {
      {"", 0},
      {"   ", 0},
      {"3", 3},  // a number is taken as it is, even past the list
      {" 12 ", 12},
      {"-1", -1},
      {"SYSDEFAULT:CARD=PCH", 3},
      {"  Default ", 0},
      // An exact name wins over an earlier entry that only matches without numbering.
      {"speakers (usb audio device)", 4},
      {"Speakers (3- USB Audio Device)", 1},
      {"line out", 2},
      {"hdmi", std::nullopt},
      {"3a", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeviceNumberForName(devices, c.wanted), c.number) << c.wanted;
  }
  EXPECT_EQ(DeviceNumberForName({}, "hdmi"), 0) << "no devices: the first, without a search";
  EXPECT_EQ(DeviceNumberForName({}, "5"), 5);
  EXPECT_EQ(FindDeviceNameInList(devices, ""), -1);
  EXPECT_EQ(FindDeviceNameInList(devices, "line out"), 2);
}

}  // namespace
}  // namespace foundation
