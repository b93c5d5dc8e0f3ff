// ReDraw: the rows of the tree painted from the model.
#include <algorithm>

#include "controls/lists/view/row_drawing.h"
#include "controls/lists/view/uc_tree_view.h"
#include "foundation/conversions.h"
#include "foundation/font_table.h"
#include "platform/view/raster_ops.h"

namespace lists {

using foundation::NearestInt32Saturated;

// Paints each row the layout places: connectors and expand box in the line colour, the marks
// and the text in the text colour, the icon, and the box behind the current item's or the drop
// target's text.
class UC_TreeView::RowPainter final : public TreeRowPainter {
 public:
  RowPainter(UC_TreeView& view, platform::PictureSurface& s, double textOffset)
      : view_(view), s_(s), m_(view.metrics_), textOffset_(textOffset) {}

  void Row(const TreeRowPlace& place, const TreeItem& item) override {
    const double px = m_.twipsPerPixel;
    const double x0 = place.x0;
    const double y = place.y;
    const double midX = x0 + m_.markMid;
    if (item.HasChild == 1) {
      if (place.connector) s_.Line(midX, place.lineFrom, midX, y + m_.markNear, kLineColor);
      Outline(x0 + m_.markNear, y + m_.markNear, x0 + m_.markFar, y + m_.markFar);
      s_.Line(x0 + m_.markNear + 2 * px, y + m_.markMid, x0 + m_.markFar - px, y + m_.markMid,
              kTextColor);
      if (item.IsOpened != 1) {
        s_.Line(midX, y + m_.markNear + 2 * px, midX, y + m_.markFar - px, kTextColor);
      }
    } else if (place.connector) {
      s_.Line(midX, place.lineFrom, midX, y + m_.markMid, kLineColor);
      s_.Line(midX, y + m_.markMid, x0 + m_.oneHeight, y + m_.markMid, kLineColor);
    }
    const double textX = x0 + 2.5 * m_.oneHeight;
    s_.SetForeColor(kTextColor);
    s_.SetCurrentX(textX);
    s_.SetCurrentY(y + textOffset_);
    s_.Print(item.DispStr, false);

    const TreeModel& model = view_.model_;
    const bool current = place.index == model.CurrentItem();
    const int32_t icon = current ? item.IconType1 : item.IconType2;
    if (icon != -1) {
      DrawStripIcon(s_, NearestInt32Saturated((x0 + m_.oneHeight) / px),
                    NearestInt32Saturated(y / px + 1), view_.pictureIcons_, icon);
    }
    if (current || place.index == model.DropTarget()) {
      DrawModeBox(s_, textX - 3 * px, y, textX + s_.TextWidth(item.DispStr) + 3 * px,
                  y + m_.oneHeight, current ? kCurrentBoxColor : kDropBoxColor,
                  platform::R2_MERGEPENNOT);
    }
  }

  void RunOn(double x, double fromY) override {
    s_.Line(x, fromY, x, s_.ScaleHeight(), kLineColor);
  }

 private:
  // A box outline through both corners.
  void Outline(double x1, double y1, double x2, double y2) {
    s_.Line(x1, y1, x2, y1, kLineColor);
    s_.Line(x2, y1, x2, y2, kLineColor);
    s_.Line(x2, y2, x1, y2, kLineColor);
    s_.Line(x1, y2, x1, y1, kLineColor);
  }

  UC_TreeView& view_;
  platform::PictureSurface& s_;
  const TreeRowMetrics& m_;
  double textOffset_;
};

void UC_TreeView::ReDraw() {
  if (!ready_) return;
  platform::PictureSurface& s = pictureList_->Surface();
  s.Cls();
  if (model_.Count() == 0) {
    // An emptied tree has no height: the bar goes with its rows.
    model_.SetTreeHeight(0);
    return;
  }
  const double textHeight = s.TextHeight("|") * foundation::FontHeightFactor(listFontSlot_);
  RowPainter painter(*this, s, NearestInt32Saturated((metrics_.oneHeight - textHeight) / 2));
  const int64_t height =
      LayOutTreeRows(model_, metrics_, model_.TopRow(), s.ScaleHeight(), painter, shown_);
  model_.SetTreeHeight(static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX)));
}

}  // namespace lists
