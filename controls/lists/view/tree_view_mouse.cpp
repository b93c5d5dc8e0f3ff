// The tree's rows under the mouse: selection by press, opening and closing by double click,
// the click events, dragging out, and drags over and drops onto items.
#include <QMimeData>

#include "controls/lists/tree_scroll.h"
#include "controls/lists/view/uc_tree_view.h"

namespace lists {

void UC_TreeView::ListMouseDown(int32_t button, double x, double y) {
  afterDblClick_ = 0;
  if (button == 1) dragOrigin_.Set(x, y);
  if (model_.Count() == 0) {
    model_.SetCurrentItem(-1);
    return;
  }
  const int32_t hit = model_.ItemAtY(y, metrics_.oneHeight);
  if (hit >= 0) model_.SetCurrentItem(hit);
  ReDraw();
}

void UC_TreeView::ListDblClick() {
  afterDblClick_ = 1;
  const int32_t current = model_.CurrentItem();
  if (current < 0 || current >= model_.Count()) return;
  if (model_.HasChild(current) == 1) {
    model_.SetIsOpened(current, model_.IsOpened(current) != 1 ? 1 : 0);
  }
  Refresh();
}

void UC_TreeView::ListMouseUp(int32_t button, double x, double y) {
  dragOrigin_.Clear();
  if (dragTookRelease_) {
    dragTookRelease_ = false;
    return;
  }
  if (afterDblClick_ == 1) {
    afterDblClick_ = 0;
    return;
  }
  const int32_t current = model_.CurrentItem();
  if (button == 2) {
    emit RightClicked(static_cast<float>(x), static_cast<float>(y));
  } else if (current >= 0 && current < model_.Count()) {
    const std::string data = model_.DataStr(current);
    if (data != model_.LastDataStr()) {
      emit Changed();
      model_.SetLastDataStr(data);
    } else {
      emit ReSelected();
    }
  }
  if (model_.DropTarget() != -1) {
    model_.SetDropTarget(-1);
    ReDraw();
  }
}

void UC_TreeView::ListMouseMove(int32_t button, double x, double y) {
  // A press becomes a drag only once the pointer has really moved, so an unsteady click stays
  // a click.
  if (button == 1 && model_.Count() > 0 &&
      dragOrigin_.TakeDragAt(x, y, pictureList_->Surface().TwipsPerPixel())) {
    StartDrag();
  }
}

void UC_TreeView::StartDrag() {
  if (model_.Count() < 1) return;
  const auto effect = dragDrop_->Drag(
      [this](QMimeData* data, int32_t* allowed) { emit OLEStartDrag(data, allowed); });
  if (effect) dragTookRelease_ = true;
}

void UC_TreeView::DragOverAt(double x, double y) {
  model_.SetDropTarget(-1);
  if (model_.Count() == 0) return;
  if (y != 0) {
    const int32_t target = model_.ItemAtY(y, metrics_.oneHeight);
    model_.SetDropTarget(target);
    // Hovering over a closed parent opens it, so the drag can go on to its children.
    if (target >= 0 && model_.HasChild(target) == 1) model_.SetIsOpened(target, 1);
  }
  UpdateTreeVBar();
  ReDraw();
  if (!vbar_->Visible()) return;
  const auto value = TreeDragScrollStep(y, metrics_.oneHeight, pictureList_->Height(),
                                        vbar_->Value(), vbar_->Min(), vbar_->Max());
  if (value) vbar_->SetValue(*value);
}

void UC_TreeView::DragLeft() {
  // The mark belongs to the drag; without this it stayed until the next release on the rows.
  if (model_.DropTarget() == -1) return;
  model_.SetDropTarget(-1);
  ReDraw();
}

void UC_TreeView::Dropped(RowsDrop& drop) {
  const int32_t target = model_.DropTarget();
  if (target == -1) return;
  if (target >= 0 && target < model_.Count()) {
    // The host gets a copy: it may change the tree in its handler.
    const std::string before = model_.DataStr(target);
    std::string data = before;
    emit OLEDragDrop(drop.data, &drop.effect, drop.button, drop.shift, drop.x, drop.y, &data);
    if (data != before && target < model_.Count()) model_.SetDataStr(target, data);
  }
  model_.SetDropTarget(-1);
  ReDraw();
}

}  // namespace lists
