#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/twips_rect.h"

namespace foundation {

// A window whose place and size are kept in the settings store, seen through the measures the
// store needs: left, top, width and height in twips and the window state.
class PlacementForm : public TwipsRect {
 public:
  static constexpr int16_t kNormal = 0;
  static constexpr int16_t kMinimized = 1;
  static constexpr int16_t kMaximized = 2;

  virtual int16_t WindowState() const = 0;
  virtual void SetWindowState(int16_t state) = 0;
};

// Restores WindowLeft<suffix>, WindowTop<suffix>, WindowHeight<suffix>, WindowWidth<suffix> and
// WindowState<suffix> from the instance's settings (missing INI keys are written with the form's
// current values). Position and size are applied only to a normal window; a left beyond the
// desktop's right edge less 600 twips, or a top beyond its bottom edge less 900 twips, starts at
// 0 so the window stays reachable (a value exactly on the limit is kept); negative ones become 0.
// An error part-way keeps what was applied so far and goes to the error log; nothing is thrown.
void LoadWindowPlacement(PlacementForm& form, const std::string& suffix = "", bool keepSize = false,
                         bool keepState = false, bool keepPosition = false);

// Stores the same values. Position and size are stored only while the window is normal, so a
// minimised or maximised window keeps its last normal place and size and comes back in its state.
// Failed writes are logged by the settings store; nothing is thrown.
void SaveWindowPlacement(PlacementForm& form, const std::string& suffix = "", bool keepSize = false,
                         bool keepState = false);

// One monitor's rectangle in pixels (right and bottom exclusive, as the system reports them).
struct MonitorRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Supplies the monitors of the desktop. The view installs one at start-up; tests install a fake.
using MonitorProvider = std::function<std::vector<MonitorRect>()>;

// Installs the provider and forgets the cached extent.
void SetMonitorProvider(MonitorProvider provider);

// The largest right (index 0) or bottom (index 1) edge over all monitors, in pixels when pixels
// is set, else in twips (times TwipsPerPixel). Found once and kept: monitors added or moved while
// the program runs are not seen (an extent still below 1 is looked up again). 0 for another
// index or when no monitor is known, and 0 (logged) when the provider fails.
int32_t GetDesktopExtent(int32_t index, bool pixels = false);

}  // namespace foundation
