#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace devices {

// What a HID report descriptor says about the reports' sizes, in the layout the device class
// works with: byte 0 of every report is its report ID (0 when the device does not number its
// reports), the data follows. Lengths count that byte; 0 means the device has no report of
// that kind.
struct HidReportLayout {
  bool numbered = false;  // the device puts a report ID in front of its reports
  int32_t inputLength = 0;
  int32_t outputLength = 0;
  int32_t featureLength = 0;
  uint8_t outputId = 0;  // ID of the longest output report (0 when not numbered)
};

// Reads the descriptor's items: the longest report of each kind over all report IDs. nullopt
// for a descriptor that is cut short, names report ID 0, nests Push deeper than the items
// allow, or describes a report longer than a HID report can be.
std::optional<HidReportLayout> ParseReportDescriptor(std::span<const uint8_t> descriptor);

}  // namespace devices
