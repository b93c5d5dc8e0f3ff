// ReDraw: the rows area painted from the model.
#include <algorithm>

#include "controls/lists/view/row_drawing.h"
#include "controls/lists/view/uc_list_view.h"
#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "foundation/text_fields.h"
#include "platform/twips.h"
#include "platform/view/raster_ops.h"

namespace lists {

double UC_ListView::CellTextRoom(int32_t c) const {
  const ListColumns& columns = model_->Columns();
  if (!columns.Has(c)) return 0;
  const bool first = c == columns.FirstShownColumn();
  return columns.Column(c)->TabWidth -
         double(first ? iconMargin_ : 6) * pictureList_->Surface().TwipsPerPixel();
}

void UC_ListView::ReDraw() {
  if (!initialised_ || oneHeight_ < 1) return;
  platform::PictureSurface& s = pictureList_->Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.Cls();
  const double h = oneHeight_;
  const int32_t visibleSlots = foundation::NearestInt32Saturated(s.ScaleHeight()) / oneHeight_;
  const ListModel& m = *model_;
  const ListColumns& columns = m.Columns();
  const int32_t top = m.TopItem();
  const int32_t current = m.SelectedItem();
  const int32_t count = m.ItemCount();
  const bool editorsShown = top <= current && current < static_cast<int64_t>(top) + visibleSlots &&
                            current < count && count >= 1 && hideTextCombo_ != 1;
  if (!editorsShown) HideAllEditors();

  s.SetDrawMode(platform::R2_COPYPEN);
  if (useMadara_ != 0) {
    const int32_t stripe = foundation::MakeRgb(204, 255, 255);
    for (int32_t i = 0; i <= visibleSlots; ++i) {
      if ((static_cast<int64_t>(top) + i) % 2 == 1) {
        s.Box(0, i * h + tpp, s.ScaleWidth(), (i + 1) * h, stripe);
      }
    }
  }

  const double hScroll = hScrollOffset_;
  if (count >= 1) {
    const bool icons = iconDisabled_ == 0;
    const int iconOffset = static_cast<int>((oneHeight_ / tpp - 16) / 2);
    double left = 0;
    double right = foundation::NearestInt32Saturated(s.ScaleWidth());
    if (invertSelectedData_ == 1) {
      const int32_t sel = m.SelectedData();
      left = sel > 0 && columns.Has(sel - 1) ? columns.Column(sel - 1)->TabRight : 0;
      right = columns.Has(sel) ? columns.Column(sel)->TabRight - 2.0 * tpp : 0;
    }
    const int32_t firstShown = columns.FirstShownColumn();
    for (int32_t i = 0; i <= visibleSlots && static_cast<int64_t>(top) + i < count; ++i) {
      const int32_t r = top + i;
      const ListRow& row = *m.Row(r);
      const double y = i * h;
      if (icons && hScroll < 16.0 * tpp && row.IconType != -1) {
        const int x = 2 - static_cast<int>(hScroll / tpp);
        const int iy = static_cast<int>(y / tpp) + iconOffset;
        DrawStripIcon(s, x, iy, pictureIcons_, row.IconType);
      }
      for (int32_t p = 0; p < columns.Count(); ++p) {
        const int32_t c = columns.ColumnAt(p);
        const ListColumn& col = *columns.Column(c);
        if (col.TabHidden != 0) {
          // Its editor would otherwise stay where the column was, over its neighbour, and still
          // write into the hidden cell.
          if (r == current) PlaceEditorsOnRow(c, y + editorTop_, std::string());
          continue;
        }
        const bool first = c == firstShown;
        s.SetForeColor(row.DispColor);
        const std::string text = static_cast<size_t>(c) < row.Data.size()
                                     ? row.Data[static_cast<size_t>(c)].Text()
                                     : std::string();
        const double width = CellTextRoom(c);
        s.SetCurrentY(y + textTop_);
        if (col.TabAlign != 1) {
          const std::string shown = foundation::FitTextToWidth(text, s, width, false);
          s.SetCurrentX(first ? iconMargin_ * double(tpp) - hScroll
                              : col.TabLeft - hScroll + 6.0 * tpp);
          s.Print(shown, false);
        } else {
          const std::string shown = foundation::FitTextToWidth(text, s, width, true);
          s.SetCurrentX(col.TabRight - s.TextWidth(shown) - 6.0 * tpp - hScroll);
          s.Print(shown, false);
        }
        if (r == current) PlaceEditorsOnRow(c, y + editorTop_, text);
      }
      if (row.IsSelected == 1) {
        DrawModeBox(s, left, y + tpp, right, y + rowBoxHeight_, selectedColor_, selectedColorMode_);
      }
      if (row.HLine != 0) s.Box(left, y + tpp, right, y, row.HLine);
      const size_t blankColumn = static_cast<size_t>(borderIfBlank_) - 1;
      if (borderIfBlank_ > 0 && blankColumn < row.Data.size() &&
          row.Data[blankColumn].Text().empty()) {
        DrawModeBox(s, left, y + tpp, right, y + rowBoxHeight_, 0xE0E0E0, selectedColorMode_);
      }
    }
  }

  for (int32_t k = 0; k < columns.Count(); ++k) {
    const ListColumn& col = *columns.Column(k);
    if (col.TabHidden != 0) continue;
    const double x = col.TabRight - hScroll - tpp;
    s.Line(x, 0, x, s.ScaleHeight(), vLineColor_);
  }
}

}  // namespace lists
