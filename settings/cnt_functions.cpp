#include "settings/cnt_functions.h"

namespace settings {

const std::array<std::string, kCntFunctionCount> CNTFunctionName = {"コマンド", "START", "STOP",
                                                                    "FO", "時刻較正"};

int32_t CNTFunctionIndex(const std::string& name) {
  int32_t index = 0;
  for (int32_t i = 0; i < kCntFunctionCount; ++i) {
    if (CNTFunctionName[static_cast<size_t>(i)] == name) index = i;
  }
  return index;
}

std::string CntInputName(int32_t group, int32_t input) {
  std::string word = "HID";
  if (group == 0) word = "MIDI";
  if (group == 1 || group == 2) word = "シリアル" + std::to_string(group);
  return word + "-" + std::to_string(input);
}

}  // namespace settings
