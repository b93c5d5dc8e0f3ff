#include "platform/dialog_service.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

TEST(MessageBoxStyle, ButtonsDefaultAndEscapeFollowTheStyleBits) {
  struct Case {
    uint32_t style;
    std::vector<int32_t> buttons;
    int32_t defaultAnswer;
    int32_t escapeAnswer;
  };
  const Case cases[] = {
      {kMbOk | kMbIconStop, {kIdOk}, kIdOk, kIdOk},
      {kMbOkCancel, {kIdOk, kIdCancel}, kIdOk, kIdCancel},
      {kMbAbortRetryIgnore | kMbDefButton3, {kIdAbort, kIdRetry, kIdIgnore}, kIdIgnore, 0},
      {kMbYesNoCancel | kMbDefButton2, {kIdYes, kIdNo, kIdCancel}, kIdNo, kIdCancel},
      {kMbYesNo | kMbIconQuestion, {kIdYes, kIdNo}, kIdYes, 0},  // style 36
      {kMbRetryCancel, {kIdRetry, kIdCancel}, kIdRetry, kIdCancel},
      // A default the box does not have falls back to the first button.
      {kMbYesNo | kMbDefButton3, {kIdYes, kIdNo}, kIdYes, 0},
      // Unknown button values show a lone OK.
      {0xE, {kIdOk}, kIdOk, kIdOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(MessageBoxButtons(c.style), c.buttons);
    EXPECT_EQ(MessageBoxDefaultAnswer(c.style), c.defaultAnswer);
    EXPECT_EQ(MessageBoxEscapeAnswer(c.style), c.escapeAnswer);
  }
}

TEST(MessageBoxPlacement, CentredThenKeptInsideTheDesktop) {
  struct Case {
    BoxCentre centre;
    int32_t width, height;
    int32_t x, y;
  };
  const Case cases[] = {
      // Plain centring: half the size (truncated) left and up.
      {{400, 300, 1024, 768}, 301, 151, 250, 225},
      // Past the right edge: moved back so the right edge meets the desktop's.
      {{1000, 300, 1024, 768}, 300, 100, 724, 250},
      // Past the bottom edge.
      {{400, 760, 1024, 768}, 200, 100, 300, 668},
      // Left of or above the desktop: 0.
      {{50, 20, 1024, 768}, 300, 100, 0, 0},
      // Bigger than the desktop: the left edge wins.
      {{512, 384, 1024, 768}, 1500, 100, 0, 334},
      // Unknown desktop: no edge clamp, still never negative.
      {{5000, 4000, 0, 0}, 300, 100, 4850, 3950},
      {{-100, -100, 0, 0}, 300, 100, 0, 0},
      // Extreme values do not overflow.
      {{INT32_MAX, INT32_MAX, 0, 0}, 2, 2, INT32_MAX - 1, INT32_MAX - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.centre.x << "," << c.centre.y << " " << c.width);
    const BoxPosition place = PlaceBoxOnCentre(c.centre, c.width, c.height);
    EXPECT_EQ(place.x, c.x);
    EXPECT_EQ(place.y, c.y);
  }
}

}  // namespace
}  // namespace platform
