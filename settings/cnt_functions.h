#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace settings {

// The functions a remote contact input can have, by the index the settings store and the name
// table use.
enum class CntFunction : int32_t {
  kCommand = 0,      // "コマンド": the input is a trigger for CNT items
  kStart = 1,        // "START": likewise
  kStop = 2,         // "STOP"
  kFadeOut = 3,      // "FO"
  kClockAdjust = 4,  // "時刻較正": the PC clock is set from the serial time code
};
inline constexpr int32_t kCntFunctionCount = 5;
extern const std::array<std::string, kCntFunctionCount> CNTFunctionName;

// The index of a function name, compared exactly (case-sensitive); 0 when no name is equal, so a
// text that names none of them stands for "コマンド".
int32_t CNTFunctionIndex(const std::string& name);

// The contact inputs: four groups of eight (group 0 MIDI, 1 and 2 the serial links, 3 the HID
// unit).
inline constexpr int32_t kCntGroups = 4;
inline constexpr int32_t kCntInputs = 8;
inline constexpr int32_t kContactInputCount = kCntGroups * kCntInputs;

// One contact input: input n (1..8) of group g (0..3). The playout keeps the functions in one
// array, input by input across the groups; the dialog shows them as one table of 32 rows, group
// by group.
struct ContactInput {
  int32_t group = 0;
  int32_t input = 1;

  // Where the playout keeps its function: g + 4 (n - 1).
  int32_t FunctionIndex() const { return group + kCntGroups * (input - 1); }
  // The input of row 8 g + n - 1 (0..31) of the dialog's table.
  static ContactInput AtRow(int32_t row) { return {row / kCntInputs, row % kCntInputs + 1}; }
};

// The row's name: "MIDI-3", "シリアル1-1", "HID-8".
std::string CntInputName(int32_t group, int32_t input);

}  // namespace settings
