// The header strip: its drawing, column sorting by click, border dragging and the menu of
// display positions; automatic column widths.
#include <QCursor>
#include <QMenu>
#include <algorithm>

#include "controls/lists/view/uc_list_view.h"
#include "foundation/conversions.h"
#include "foundation/text_fields.h"
#include "foundation/view/surface_drawing.h"
#include "platform/twips.h"

namespace lists {

void UC_ListView::ReDrawTab(int32_t pPushedData) {
  platform::PictureSurface& s = pictureTab_->Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.Cls();
  const ListColumns& columns = model_->Columns();
  const double listTop = ListTop();
  // The header cells' background: the gradient's left column stretched over the cell.
  const QImage strip = pictureTabGrad_.Image().copy(0, 0, 1, pictureTabGrad_.PixelHeight());
  for (int32_t p = 0; p < columns.Count(); ++p) {
    const int32_t c = columns.ColumnAt(p);
    const ListColumn& col = *columns.Column(c);
    if (col.TabHidden != 0) continue;
    const double x0 = double(col.TabLeft) - hScrollOffset_;
    if (tabDisabled_ == 0) {
      const int32_t pushed = c == pPushedData ? 1 : 0;
      const std::string caption =
          foundation::FitTextToWidth(col.TabName, s, CaptionRoom(c), col.TabAlign != 0);
      const int cellWidth = col.TabWidth / tpp;
      const int cellHeight = static_cast<int>(listTop) / tpp;
      if (cellWidth > 0 && cellHeight > 0 && !strip.isNull()) {
        s.BitBlt(static_cast<int>(x0) / tpp, 0, cellWidth, cellHeight,
                 strip.scaled(cellWidth, cellHeight), 0, 0, platform::SRCCOPY);
      }
      s.SetCurrentY((pushed + 3.0) * tpp);
      if (col.TabAlign != 1 || noAlign4Tab_ != 0) {
        s.SetCurrentX(x0 + (pushed + 6.0) * tpp);
      } else {
        s.SetCurrentX(col.TabRight - s.TextWidth(caption) - (pushed + 6.0) * tpp - hScrollOffset_);
      }
      s.Print(caption, false);
      foundation::DrawEdgeBox(s, static_cast<int32_t>(x0), 0, col.TabWidth,
                              static_cast<int32_t>(listTop), pushed);
    }
    PlaceEditorsAcross(col, x0);
  }
}

double UC_ListView::CaptionRoom(int32_t c) const {
  const ListColumns& columns = model_->Columns();
  if (!columns.Has(c)) return 0;
  return columns.Column(c)->TabWidth - 6.0 * pictureTab_->Surface().TwipsPerPixel();
}

void UC_ListView::SetPointer(int32_t pointer) {
  pointer_ = pointer;
  if (pointer == 9) {
    pictureAll_->setCursor(Qt::SizeHorCursor);
  } else {
    pictureAll_->unsetCursor();
  }
}

void UC_ListView::TabMouseDown(int32_t button, double x) {
  if (tabDisabled_ == 1 || button != 1) return;
  if (pointer_ == 9) {
    resizeColumn_ =
        model_->Columns().TabBorderAtX(hScrollOffset_ + x, pictureTab_->Surface().TwipsPerPixel());
  } else {
    ReDrawTab(TabAtX(x));
  }
}

void UC_ListView::TabMouseMove(int32_t button, double x) {
  if (tabDisabled_ == 1) return;
  ListColumns& columns = model_->Columns();
  const int32_t tpp = pictureTab_->Surface().TwipsPerPixel();
  if (button == 0) {
    SetPointer(columns.TabBorderAtX(hScrollOffset_ + x, tpp) >= 0 ? 9 : 0);
    return;
  }
  if (button != 1 || resizeColumn_ == -1 || pointer_ != 9) return;
  const ListColumn* col = columns.Column(resizeColumn_);
  if (col == nullptr) return;
  const int64_t grown =
      int64_t{col->TabWidth} +
      foundation::NearestInt32Saturated(hScrollOffset_ + x + 3.0 * tpp - col->TabRight);
  columns.SetTabWidth(resizeColumn_,
                      static_cast<int32_t>(std::clamp<int64_t>(grown, kMinTabWidth, INT32_MAX)));
  ReDrawTab(-1);
}

void UC_ListView::TabMouseUp(int32_t button, double x) {
  if (tabDisabled_ == 1) return;
  if (button == 1) {
    if (pointer_ == 9) {
      SetPointer(0);
      SetVbarParm();
      ReDrawTab(-1);
      ReDraw();
      emit TabMoved();
      return;
    }
    if (sortDisabled_ == 0 && clickDisabled_ == 0) model_->ReOrder(TabAtX(x), 0, -1);
    ReDrawTab(-1);
    ReDraw();
    return;
  }
  if (button == 2 && useTabOrder_ != 0) {
    rightClickedTab_ = TabAtX(x);
    const int32_t position = TabOrder(rightClickedTab_);
    const QList<QAction*> actions = menuRCTab_->actions();
    for (qsizetype i = 0; i < actions.size(); ++i) actions[i]->setEnabled(i != position);
    menuRCTab_->popup(QCursor::pos());
  }
}

void UC_ListView::MenuRCTab_Click(int32_t index) {
  model_->Columns().SetTabOrder(rightClickedTab_, index);
  ReDrawTab(-1);
  ReDraw();
  emit TabReOrderd();
}

void UC_ListView::SetTabWidthAuto() {
  const ListModel& m = *model_;
  if (m.ItemCount() < 1) return;
  ListColumns& columns = model_->Columns();
  const platform::PictureSurface& s = pictureList_->Surface();
  const int32_t tpp = s.TwipsPerPixel();
  std::vector<int32_t> widths(static_cast<size_t>(columns.Count()), 0);
  for (int32_t r = 0; r < m.ItemCount(); ++r) {
    const ListRow& row = *m.Row(r);
    for (size_t c = 0; c < widths.size() && c < row.Data.size(); ++c) {
      widths[c] =
          std::max(widths[c], foundation::NearestInt32Saturated(s.TextWidth(row.Data[c].Text())));
    }
  }
  for (int32_t c = 0; c < columns.Count(); ++c) {
    int64_t w = widths[static_cast<size_t>(c)];
    if (iconDisabled_ == 0 && columns.TabOrder(c) == 0) w += 16 * tpp;
    w += 16 * tpp;
    columns.SetTabWidth(c, static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX)));
  }
  ReDrawTab(-1);
  ReDraw();
}

}  // namespace lists
