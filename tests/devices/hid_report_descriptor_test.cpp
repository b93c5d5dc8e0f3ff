#include "devices/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace devices {
namespace {

TEST(HidReportDescriptorTest, ReportLengths) {
  struct Layout {
    bool numbered;
    int32_t input, output, feature;
    uint8_t outputId;
  };
  const struct {
    const char* what;
    std::vector<uint8_t> descriptor;
    Layout want;
  } cases[] = {
      {"unit: two bytes each way",
       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
        0x08, 0x95, 0x02, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0},
       {false, 3, 3, 0, 0}},
      {"bits round up to bytes",
       {0x75, 0x01, 0x95, 0x0B, 0x81, 0x02, 0x75, 0x03, 0x95, 0x01, 0x81, 0x01},
       {false, 3, 0, 0, 0}},
      {"numbered: the longest report of each kind",
       {0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x95, 0x01, 0x91,
        0x02, 0x85, 0x07, 0x95, 0x09, 0x91, 0x02, 0x95, 0x02, 0xB1, 0x02},
       {true, 5, 10, 3, 7}},
      {"push and pop keep size and count",
       {0x75, 0x08, 0x95, 0x02, 0xA4, 0x95, 0x10, 0x81, 0x02, 0xB4, 0x91, 0x02},
       {false, 17, 3, 0, 0}},
      {"long items and four-byte data are skipped over",
       {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x03, 0x00, 0x00, 0x00,
        0x81, 0x02},
       {false, 4, 0, 0, 0}},
      {"empty", {}, {false, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<HidReportLayout> layout = ParseReportDescriptor(c.descriptor);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->numbered, c.want.numbered);
    EXPECT_EQ(layout->inputLength, c.want.input);
    EXPECT_EQ(layout->outputLength, c.want.output);
    EXPECT_EQ(layout->featureLength, c.want.feature);
    EXPECT_EQ(layout->outputId, c.want.outputId);
  }
}

TEST(HidReportDescriptorTest, RefusesBrokenDescriptors) {
  const std::vector<std::vector<uint8_t>> broken = {
      {0x75},                    // data cut off
      {0x27, 0x01, 0x02},        // four-byte item cut off
      {0xFE, 0x05, 0x00, 0x01},  // long item cut off
      {0x85, 0x00},              // report ID 0
      {0xB4},                    // pop without push
      {0x77, 0xFF, 0xFF, 0x00, 0x00, 0x97, 0xFF, 0xFF, 0x00, 0x00, 0x81, 0x02},  // too long
  };
  for (const auto& d : broken) EXPECT_FALSE(ParseReportDescriptor(d).has_value()) << d.size();

  std::vector<uint8_t> deep(40, 0xA4);
  EXPECT_FALSE(ParseReportDescriptor(deep).has_value());
}

}  // namespace
}  // namespace devices
