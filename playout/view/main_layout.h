#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace playout {

// Where the main window's controls sit, in twips. Positions of the controls inside the top
// panel (PictureF) are relative to that panel, those inside the load panel (PictureLoad)
// relative to it; everything else is relative to the window's client area. Nothing here knows
// the toolkit: the window applies a layout to its widgets and reads the sizes back.
enum class MainControl : int32_t {
  kPictureF,  // the top panel: clock, count-down bar and ON AIR box
  kTextClock,
  kApsBar,
  kTextOA,
  kLVS0,         // the one-row on-air list
  kLVS1,         // the queue
  kPictureLoad,  // the load panel, over the queue while shown
  kLVS2,
  kLoadButton,
  kTextMes,
  kDelButton,  // the buttons under the queue
  kOPButtons,
  kSWButtons,
  kTextCom,   // the serial and HID trace, over the queue's right end
  kCommand1,  // the debug button under the trace
  kCount
};

struct TwipsBox {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;

  bool operator==(const TwipsBox&) const = default;
};

struct MainLayout {
  std::array<TwipsBox, static_cast<size_t>(MainControl::kCount)> boxes{};

  TwipsBox& operator[](MainControl c) { return boxes[static_cast<size_t>(c)]; }
  const TwipsBox& operator[](MainControl c) const { return boxes[static_cast<size_t>(c)]; }
  bool operator==(const MainLayout&) const = default;
};

// The client area the design was drawn for (SizeRate 1.0).
inline constexpr double kDesignedClientWidth = 12000;
inline constexpr double kDesignedClientHeight = 8700;

// The designed positions and sizes at SizeRate 1.0: the one table of them.
MainLayout DesignedLayout();

// Start-up's scaling by SizeRate (nothing changes at exactly 1.0): the top panel's size; the
// clock, count-down bar, ON AIR box, button strips and message line in place and size; the
// lists in place only. Each scaled measure is rounded to the nearest twip (halves to even) and
// cut down to whole pixels of the process's TwipsPerPixel.
MainLayout ScaleLayout(const MainLayout& designed, float sizeRate);

// What start-up places from measures only known once the controls exist.
struct StartUpMeasures {
  double onAirRowTwips = 0;  // the on-air list's row height (OneHeight)
  int32_t opButtons = 3;     // buttons on the operator strip
  int32_t numSWCH = 8;       // channel buttons
  float sizeRate = 1.0F;
};

// The on-air list one row high (its row plus 360 twips) with the queue 3 pixels under it; the
// load panel over the queue; the operator strip 900 twips (scaled) per button; the channel strip
// 4 pixels right of it, each button one and a half times as wide as the strip is high; the trace
// box just inside the queue's top.
MainLayout PlaceAtStartUp(const MainLayout& scaled, const StartUpMeasures& m,
                          int32_t twipsPerPixel);

// Form_Resize as a function of the client area W x H twips: centres the top panel, stretches
// the lists and the load panel and keeps the controls under them aligned (the queue's left
// margin doubles as the window's bottom and right margin). A size that would come out negative
// is 0. None (nothing to change) for a client area without height.
std::optional<MainLayout> FitToClient(const MainLayout& current, double W, double H,
                                      int32_t twipsPerPixel);

struct ClientSize {
  double width = 0;
  double height = 0;
};

// The smallest client area in which every control stays usable: the top panel whole, the
// button strips side by side without overlapping, the message line beside the load buttons,
// and room for `queueRows` rows of `rowTwips` in the queue and a load list the list control
// still draws.
ClientSize MinimumClientSize(const MainLayout& layout, double rowTwips, int32_t queueRows,
                             bool channelStripShown, int32_t twipsPerPixel);

}  // namespace playout
