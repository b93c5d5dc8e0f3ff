#pragma once

#include <cstdint>
#include <type_traits>

namespace playout {

// The numbered codes of the pass and of the operator's commands. Their numbers are what the
// debug log shows, so they never change.

// What a pass starts an item for ("StartBy=" in the start's log line).
enum class StartCause : int32_t {
  kNone = 0,
  kTime = 1,      // a TIME row at its second
  kSeq = 2,       // the SEQ row 0 after the item before it
  kCnt = 3,       // a contact row on its input, or on the operator's CNT
  kOperator = 4,  // the operator's START
};

// The operator's functions, by their place on the full operator strip ("CNT", "START", "STOP",
// "FO"). Without a remote device the strip has no CNT button and its buttons start at START.
enum class OpFunction : int32_t { kCnt = 0, kStart = 1, kStop = 2, kFadeOut = 3 };

// The buttons of the load panel and of the delete strip, by their place on the strip.
inline constexpr int32_t kLoadButtonLoad = 0;      // "ここから読み込み"; the other cancels
inline constexpr int32_t kDelButtonUpToHere = 0;   // "ここまで削除"
inline constexpr int32_t kDelButtonSelection = 1;  // "選択を削除"

// Which load-list row an automatic load continues from.
enum class LoadPick : int32_t {
  kCurrentItem = 0,  // the row of the item on air
  kNextItem = 1,     // the row of the item that was next
  kByClock = 2,      // the first row still to come by the clock
};

// The number a code stands for.
template <class Code>
constexpr std::underlying_type_t<Code> CodeOf(Code code) {
  return static_cast<std::underlying_type_t<Code>>(code);
}

}  // namespace playout
