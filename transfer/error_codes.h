#pragma once

#include <cstdint>
#include <string>

namespace transfer {

// The numbered results the transfer operations leave in ErrorCode. The numbers are shown to the
// operator and written to the debug log, so they never change.
enum TransferError : int32_t {
  kNoError = 0,
  kCanceled = 1,
  kTargetFolderFailed = 2,
  kNoTempName = 3,
  kSourceMissing = 4,
  kTargetNotDeleted = 5,
  kZeroSizeCopyFailed = 6,
  kReadFailed = 7,
  kWriteFailed = 8,
  kTargetNotReplaced = 9,
  kTargetExists = 10,
  kRenameFailed = 11,
  kSourceNotDeleted = 12,
  kLoopLimit = 13,
  kWalkLimit = 14,
};

// The operator's text of a code; "" for any number outside 0 to 14.
std::string ErrorCodeText(int32_t code);

}  // namespace transfer
