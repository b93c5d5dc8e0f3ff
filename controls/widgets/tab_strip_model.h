#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace widgets {

// Twips added to a tab's text width for its margins.
inline constexpr int32_t kTabTextMargin = 180;
// Lines of the light band along a tab's top.
inline constexpr int32_t kTabBandLines = 10;

// One tab of a strip; widths in twips.
struct StripTab {
  std::string Text;
  int32_t Width = 0;
  int32_t TextWidth = 0;
  int32_t Hidden = 0;
  int32_t DisplayNumber = 0;  // place among the visible tabs, -1 while hidden
};

// A visible tab's place along the strip, twips from its left edge.
struct TabSpan {
  int32_t index = 0;
  double left = 0;
  double right = 0;
};

// The tab strip's tabs, widths, selection and hit test, free of drawing. Tab indices count from
// 0; an index outside the tabs is ignored by every setter.
class TabStripModel {
 public:
  // The most tabs a strip holds; larger counts are cut to it.
  static constexpr int32_t kMaxTabs = 1024;

  int32_t UseIndpWidth = 0;  // non-zero: each tab as wide as its own text
  int32_t TabMinWidth = 0;   // twips, with UseIndpWidth
  int32_t ClickDisabled = 0;

  int32_t NumTab() const { return static_cast<int32_t>(tabs_.size()); }
  // Keeps the tabs that remain (0 or more).
  void SetNumTab(int32_t count);
  const StripTab* Tab(int32_t index) const;
  int32_t SelectedTab() const { return selectedTab_; }
  // -1 (none) or a tab; other values are ignored.
  void SetSelectedTab(int32_t index);
  // The text and its measured width; the tab's width is the text width plus the margins (at
  // least TabMinWidth) with UseIndpWidth, else every tab gets the widest text's width.
  void SetTabStr(int32_t index, const std::string& text, double textWidth);
  void SetTabWidth(int32_t index, int32_t width);
  // Hides or shows a tab; the visible tabs are numbered again.
  void SetTabHidden(int32_t index, int32_t hidden);
  int32_t LastVisible() const { return lastVisible_; }

  // The visible tabs side by side from the left.
  std::vector<TabSpan> Spans() const;
  // The visible tab strictly inside whose span x lies; -1 on a border or past the last tab.
  int32_t HitTest(double x) const;
  // A click at x selects the tab there: its index, or -1 (nothing changed) for no tab or while
  // clicks are disabled.
  int32_t Click(double x);
  // Selects the first visible tab: its index, or -1 (nothing changed) when every tab is hidden
  // or clicks are disabled.
  int32_t SelectFirstVisible();

 private:
  StripTab* MutableTab(int32_t index);
  void Renumber();

  std::vector<StripTab> tabs_;
  int32_t selectedTab_ = 0;
  int32_t lastVisible_ = -1;
};

// The band's colours from the top: line j is 255 - j × (255 - c) / 8 for each channel c of the
// base colour, white at the top and the base colour at line 8.
std::array<int32_t, kTabBandLines> TabBandColours(int32_t base);

// The text colour of a tab that is not selected: the text colour (a system colour resolved
// first) blended 0.65 toward black.
int32_t DimmedTabText(int32_t textColour);

}  // namespace widgets
