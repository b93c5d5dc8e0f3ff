#include "devices/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace devices {

namespace {

// Item types and the tags this reader acts on (every other item is skipped).
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kMainInput = 8;
constexpr int kMainOutput = 9;
constexpr int kMainFeature = 11;
constexpr int kGlobalReportSize = 7;
constexpr int kGlobalReportId = 8;
constexpr int kGlobalReportCount = 9;
constexpr int kGlobalPush = 10;
constexpr int kGlobalPop = 11;
constexpr uint8_t kLongItem = 0xFE;

// Deeper Push nesting than this is not a real device's.
constexpr size_t kMaxPushDepth = 32;
// The longest report a HID transfer can carry, in bits.
constexpr int64_t kMaxReportBits = int64_t{65535} * 8;

struct Globals {
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint8_t reportId = 0;
};

int32_t LengthOf(int64_t bits) { return bits == 0 ? 0 : static_cast<int32_t>((bits + 7) / 8 + 1); }

}  // namespace

std::optional<HidReportLayout> ParseReportDescriptor(std::span<const uint8_t> descriptor) {
  // Bits of each kind (input, output, feature) per report ID.
  std::map<uint8_t, std::array<int64_t, 3>> bits;
  Globals g;
  std::vector<Globals> stack;
  bool numbered = false;
  size_t at = 0;
  while (at < descriptor.size()) {
    const uint8_t prefix = descriptor[at];
    if (prefix == kLongItem) {
      if (descriptor.size() - at < 3) return std::nullopt;
      const size_t size = descriptor[at + 1];
      if (descriptor.size() - at - 3 < size) return std::nullopt;
      at += 3 + size;
      continue;
    }
    static constexpr size_t kSizes[] = {0, 1, 2, 4};
    const size_t size = kSizes[prefix & 3];
    if (descriptor.size() - at - 1 < size) return std::nullopt;
    uint32_t data = 0;
    for (size_t i = 0; i < size; ++i) data |= uint32_t{descriptor[at + 1 + i]} << (8 * i);
    at += 1 + size;
    const int type = (prefix >> 2) & 3;
    const int tag = prefix >> 4;

    if (type == kTypeGlobal) {
      switch (tag) {
        case kGlobalReportSize:
          g.reportSize = data;
          break;
        case kGlobalReportCount:
          g.reportCount = data;
          break;
        case kGlobalReportId:
          if (data == 0 || data > 255) return std::nullopt;
          g.reportId = static_cast<uint8_t>(data);
          numbered = true;
          break;
        case kGlobalPush:
          if (stack.size() >= kMaxPushDepth) return std::nullopt;
          stack.push_back(g);
          break;
        case kGlobalPop:
          if (stack.empty()) return std::nullopt;
          g = stack.back();
          stack.pop_back();
          break;
        default:
          break;
      }
    } else if (type == kTypeMain &&
               (tag == kMainInput || tag == kMainOutput || tag == kMainFeature)) {
      const size_t kind = tag == kMainInput ? 0 : (tag == kMainOutput ? 1 : 2);
      int64_t& total = bits[g.reportId][kind];
      total += int64_t{g.reportSize} * g.reportCount;
      if (total > kMaxReportBits) return std::nullopt;
    }
  }

  HidReportLayout layout;
  layout.numbered = numbered;
  int64_t longestOutput = 0;
  for (const auto& [id, kinds] : bits) {
    layout.inputLength = std::max(layout.inputLength, LengthOf(kinds[0]));
    layout.featureLength = std::max(layout.featureLength, LengthOf(kinds[2]));
    if (kinds[1] > longestOutput) {
      longestOutput = kinds[1];
      layout.outputId = id;
    }
  }
  layout.outputLength = LengthOf(longestOutput);
  return layout;
}

}  // namespace devices
