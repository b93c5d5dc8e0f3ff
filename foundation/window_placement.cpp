#include "foundation/window_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/settings_store.h"

namespace foundation {

namespace {

// A restored window must keep this much of itself on the desktop to be grabbed again.
constexpr int64_t kRightMarginTwips = 600;
constexpr int64_t kBottomMarginTwips = 900;

struct DesktopExtent {
  int32_t right = 0;
  int32_t bottom = 0;
};

// Monitors are looked up on the user-interface thread only.
MonitorProvider& Provider() {
  static MonitorProvider provider;
  return provider;
}

DesktopExtent& CachedExtent() {
  static DesktopExtent extent;
  return extent;
}

int32_t RoundedTwips(double value) { return NearestInt32(value).value_or(0); }

// A stored position read as a whole number of twips, kept on the desktop: below 0, or past the
// desktop's far edge less the margin, it starts at 0.
int32_t LoadPosition(const std::string& key, double current, int32_t extentIndex,
                     int64_t marginTwips) {
  const std::string stored = LoadSettingValue(key, SettingValue(static_cast<float>(current)));
  int32_t position = ParseSettingInt(stored).value_or(RoundedTwips(current));
  const int64_t limit = static_cast<int64_t>(GetDesktopExtent(extentIndex, false)) - marginTwips;
  if (position < 0 || position > limit) position = 0;
  return position;
}

}  // namespace

void LoadWindowPlacement(PlacementForm& form, const std::string& suffix, bool keepSize,
                         bool keepState, bool keepPosition) {
  // A failure leaves the window where it stands, with the reason in the error log.
  RunTrapped("LoadWindowPlacement", [&] {
    if (form.WindowState() == PlacementForm::kNormal) {
      if (!keepPosition) {
        const int32_t left = LoadPosition("WindowLeft" + suffix, form.Left(), 0, kRightMarginTwips);
        const int32_t top = LoadPosition("WindowTop" + suffix, form.Top(), 1, kBottomMarginTwips);
        form.SetLeft(left);
        form.SetTop(top);
      }
      if (!keepSize) {
        const double height = form.Height();
        form.SetHeight(
            ParseSettingNumber(
                LoadSettingValue("WindowHeight" + suffix, SettingValue(static_cast<float>(height))))
                .value_or(height));
        const double width = form.Width();
        form.SetWidth(ParseSettingNumber(LoadSettingValue("WindowWidth" + suffix,
                                                          SettingValue(static_cast<float>(width))))
                          .value_or(width));
      }
    }
    if (!keepState) {
      const int16_t current = form.WindowState();
      const int32_t state = LoadSettingInt("WindowState" + suffix, current);
      // Only the three states a window can take; anything else keeps the current one.
      if (state >= PlacementForm::kNormal && state <= PlacementForm::kMaximized)
        form.SetWindowState(static_cast<int16_t>(state));
    }
  });
}

void SaveWindowPlacement(PlacementForm& form, const std::string& suffix, bool keepSize,
                         bool keepState) {
  RunTrapped("SaveWindowPlacement", [&] {
    const int16_t state = form.WindowState();
    if (state == PlacementForm::kNormal) {
      SaveSettingValue("WindowLeft" + suffix, SettingValue(static_cast<float>(form.Left())));
      SaveSettingValue("WindowTop" + suffix, SettingValue(static_cast<float>(form.Top())));
      if (!keepSize) {
        SaveSettingValue("WindowHeight" + suffix, SettingValue(static_cast<float>(form.Height())));
        SaveSettingValue("WindowWidth" + suffix, SettingValue(static_cast<float>(form.Width())));
      }
    }
    if (!keepState) SaveSettingValue("WindowState" + suffix, SettingValue(state));
  });
}

void SetMonitorProvider(MonitorProvider provider) {
  Provider() = std::move(provider);
  CachedExtent() = DesktopExtent{};
}

int32_t GetDesktopExtent(int32_t index, bool pixels) {
  int32_t result = 0;
  RunTrapped("GetDesktopExtent", [&] {
    DesktopExtent& extent = CachedExtent();
    if (extent.right < 1 && Provider()) {
      for (const MonitorRect& monitor : Provider()()) {
        extent.right = std::max(extent.right, monitor.right);
        extent.bottom = std::max(extent.bottom, monitor.bottom);
      }
    }
    int64_t value = 0;
    if (index == 0) value = extent.right;
    if (index == 1) value = extent.bottom;
    if (!pixels) value *= Globals().TwipsPerPixel;
    result = static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
  });
  return result;
}

}  // namespace foundation
