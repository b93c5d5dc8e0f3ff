#include "platform/dialog_service.h"

namespace platform {

std::vector<int32_t> MessageBoxButtons(uint32_t style) {
  switch (style & kMbButtonMask) {
    case kMbOkCancel:
      return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore:
      return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel:
      return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo:
      return {kIdYes, kIdNo};
    case kMbRetryCancel:
      return {kIdRetry, kIdCancel};
    default:
      return {kIdOk};
  }
}

int32_t MessageBoxDefaultAnswer(uint32_t style) {
  const std::vector<int32_t> buttons = MessageBoxButtons(style);
  const size_t index = (style & kMbDefButtonMask) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int32_t MessageBoxEscapeAnswer(uint32_t style) {
  const std::vector<int32_t> buttons = MessageBoxButtons(style);
  for (int32_t answer : buttons) {
    if (answer == kIdCancel) return kIdCancel;
  }
  return buttons.size() == 1 ? buttons.front() : 0;
}

BoxPosition PlaceBoxOnCentre(const BoxCentre& centre, int32_t width, int32_t height) {
  // 64-bit sums: a centre or size near the 32-bit limits must not overflow.
  int64_t x = int64_t{centre.x} - width / 2;
  int64_t y = int64_t{centre.y} - height / 2;
  // An unknown desktop (no monitor reported) leaves the box where centring put it, rather than
  // pushing every box to the top-left corner.
  if (centre.desktopRight >= 1 && x + width > centre.desktopRight)
    x = int64_t{centre.desktopRight} - width;
  if (centre.desktopBottom >= 1 && y + height > centre.desktopBottom) {
    y = int64_t{centre.desktopBottom} - height;
  }
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (x > INT32_MAX) x = INT32_MAX;
  if (y > INT32_MAX) y = INT32_MAX;
  return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

}  // namespace platform
