#include "controls/lists/tree_rows.h"

#include <algorithm>
#include <cmath>

#include "foundation/conversions.h"

namespace lists {

namespace {

// For each level, the y at which the connector of the level's next item starts (0: none),
// and whether its run below the area was painted. Only levels in use are held, so any depth
// the items reach is served and none is indexed past.
class LevelLines {
 public:
  double Get(int32_t level) const {
    const auto at = Find(level);
    return at != lines_.end() && at->level == level ? at->y : 0;
  }
  void Set(int32_t level, double y) {
    auto at = Find(level);
    if (at == lines_.end() || at->level != level) at = lines_.insert(at, Line{level, 0, false});
    at->y = y;
    at->ranOn = false;
  }
  // True the first time for the present start of the level's line.
  bool TakeRunOn(int32_t level) {
    const auto at = Find(level);
    if (at == lines_.end() || at->level != level || at->ranOn) return false;
    at->ranOn = true;
    return true;
  }
  void ClearAbove(int32_t level) {
    while (!lines_.empty() && lines_.back().level > level) lines_.pop_back();
  }

 private:
  struct Line {
    int32_t level;
    double y;
    bool ranOn;
  };
  std::vector<Line>::iterator Find(int32_t level) {
    return std::lower_bound(lines_.begin(), lines_.end(), level,
                            [](const Line& line, int32_t l) { return line.level < l; });
  }
  std::vector<Line>::const_iterator Find(int32_t level) const {
    return std::lower_bound(lines_.begin(), lines_.end(), level,
                            [](const Line& line, int32_t l) { return line.level < l; });
  }
  std::vector<Line> lines_;
};

}  // namespace

TreeRowMetrics TreeMetricsFor(int32_t oneHeight, int32_t twipsPerPixel) {
  TreeRowMetrics m;
  m.oneHeight = oneHeight;
  m.markNear = foundation::NearestInt32Saturated(0.3 * oneHeight);
  m.markMid = foundation::NearestInt32Saturated(0.5 * oneHeight);
  m.markFar = foundation::NearestInt32Saturated(0.75 * oneHeight);
  m.twipsPerPixel = twipsPerPixel;
  return m;
}

int64_t LayOutTreeRows(TreeModel& model, const TreeRowMetrics& m, int32_t topRow, double areaHeight,
                       TreeRowPainter& painter, std::vector<uint8_t>& shown) {
  const double tpp = m.twipsPerPixel;
  const double windowTop = double(m.oneHeight) * topRow;
  const double windowBottom = std::nearbyint(windowTop + areaHeight);
  shown.assign(static_cast<size_t>(model.Count()), 0);
  LevelLines lines;
  int64_t height = 0;
  double y = 0;
  int32_t previousLevel = 0;
  for (int32_t i = 0; i < model.Count(); ++i) {
    if (!model.IsShown(i, shown)) {
      model.SetRowTop(i, -1);
      continue;
    }
    const TreeItem& item = *model.Item(i);
    const int32_t level = item.Level;
    height += m.oneHeight;
    const double x0 = double(level) * kTreeIndentTwips + kTreeMarginPixels * tpp;
    if (double(height) < windowTop) {
      lines.Set(level, tpp);
      model.SetRowTop(i, -1);
    } else if (double(height) > windowBottom) {
      // Every later item of the level would paint the same run again.
      if (lines.Get(level) != 0 && lines.TakeRunOn(level)) {
        painter.RunOn(x0 + m.markMid, lines.Get(level));
      }
      model.SetRowTop(i, -1);
    } else {
      model.SetRowTop(i, foundation::NearestInt32Saturated(y));
      TreeRowPlace place;
      place.index = i;
      place.x0 = x0;
      place.y = y;
      place.connector = i != 0;
      const double from = lines.Get(level);
      place.lineFrom = from != 0 ? from : y;
      painter.Row(place, item);
      lines.Set(level, item.HasChild == 1 ? y + m.markFar + tpp : y + m.markMid);
      y += m.oneHeight;
    }
    if (level < previousLevel) lines.ClearAbove(level);
    previousLevel = level;
  }
  return height;
}

}  // namespace lists
