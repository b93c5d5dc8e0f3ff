#include "controls/widgets/tab_strip_model.h"

#include <algorithm>

#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "platform/system_colors.h"

namespace widgets {

void TabStripModel::SetNumTab(int32_t count) {
  tabs_.resize(static_cast<size_t>(std::clamp(count, 0, kMaxTabs)));
  Renumber();
}

const StripTab* TabStripModel::Tab(int32_t index) const {
  if (index < 0 || index >= NumTab()) return nullptr;
  return &tabs_[static_cast<size_t>(index)];
}

StripTab* TabStripModel::MutableTab(int32_t index) {
  if (index < 0 || index >= NumTab()) return nullptr;
  return &tabs_[static_cast<size_t>(index)];
}

void TabStripModel::SetSelectedTab(int32_t index) {
  if (index == -1 || Tab(index) != nullptr) selectedTab_ = index;
}

void TabStripModel::SetTabStr(int32_t index, const std::string& text, double textWidth) {
  StripTab* tab = MutableTab(index);
  if (tab == nullptr) return;
  tab->Text = text;
  tab->TextWidth = foundation::NearestInt32Saturated(textWidth);
  if (UseIndpWidth != 0) {
    tab->Width = std::max(tab->TextWidth + kTabTextMargin, TabMinWidth);
    return;
  }
  int32_t widest = 0;
  for (const StripTab& t : tabs_) widest = std::max(widest, t.TextWidth);
  for (StripTab& t : tabs_) t.Width = widest + kTabTextMargin;
}

void TabStripModel::SetTabWidth(int32_t index, int32_t width) {
  if (StripTab* tab = MutableTab(index)) tab->Width = width;
}

void TabStripModel::SetTabHidden(int32_t index, int32_t hidden) {
  StripTab* tab = MutableTab(index);
  if (tab == nullptr) return;
  tab->Hidden = hidden;
  Renumber();
}

void TabStripModel::Renumber() {
  int32_t number = 0;
  lastVisible_ = -1;
  for (int32_t i = 0; i < NumTab(); ++i) {
    StripTab& tab = tabs_[static_cast<size_t>(i)];
    if (tab.Hidden != 0) {
      tab.DisplayNumber = -1;
      continue;
    }
    tab.DisplayNumber = number++;
    lastVisible_ = i;
  }
}

std::vector<TabSpan> TabStripModel::Spans() const {
  std::vector<TabSpan> spans;
  double x = 0;
  for (int32_t i = 0; i < NumTab(); ++i) {
    const StripTab& tab = tabs_[static_cast<size_t>(i)];
    if (tab.Hidden != 0) continue;
    spans.push_back({i, x, x + tab.Width});
    x += tab.Width;
  }
  return spans;
}

int32_t TabStripModel::HitTest(double x) const {
  for (const TabSpan& span : Spans()) {
    if (span.left < x && x < span.right) return span.index;
  }
  return -1;
}

int32_t TabStripModel::Click(double x) {
  if (ClickDisabled != 0) return -1;
  const int32_t index = HitTest(x);
  if (index >= 0) selectedTab_ = index;
  return index;
}

int32_t TabStripModel::SelectFirstVisible() {
  if (ClickDisabled != 0) return -1;
  for (int32_t i = 0; i < NumTab(); ++i) {
    if (tabs_[static_cast<size_t>(i)].Hidden == 0) {
      selectedTab_ = i;
      return i;
    }
  }
  return -1;
}

std::array<int32_t, kTabBandLines> TabBandColours(int32_t base) {
  int16_t r = 0;
  int16_t g = 0;
  int16_t b = 0;
  foundation::SplitRgb(base, r, g, b);
  std::array<int32_t, kTabBandLines> colours{};
  for (int32_t j = 0; j < kTabBandLines; ++j) {
    const auto channel = [j](int16_t c) {
      return foundation::NearestInt32Saturated(255 - j * (255.0 - c) / 8);
    };
    colours[static_cast<size_t>(j)] = foundation::MakeRgb(channel(r), channel(g), channel(b));
  }
  return colours;
}

int32_t DimmedTabText(int32_t textColour) {
  return foundation::BlendColor(platform::ResolveColor(textColour), 0, 0, 0, 0.65F);
}

}  // namespace widgets
